// Pins the process's time zone for the life of the object, so local times in a test do not depend
// on the machine it runs on.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

class TimeZoneScope {
 public:
  explicit TimeZoneScope(const char* zone) {
    if (const char* old = std::getenv("TZ")) m_previous = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~TimeZoneScope() {
    if (m_previous) {
      setenv("TZ", m_previous->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  TimeZoneScope(const TimeZoneScope&) = delete;
  TimeZoneScope& operator=(const TimeZoneScope&) = delete;

 private:
  std::optional<std::string> m_previous;
};
