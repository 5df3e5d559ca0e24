// Points the user's home and data folders (HOME, XDG_DATA_HOME) into a test's folder for the life
// of the object, so that what the program keeps there (the trash above all) is the test's own.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

class HomeScope {
 public:
  // home: a folder (UTF-8) made when missing; the data folder is home/.local/share.
  explicit HomeScope(const std::string& home) {
    Set("HOME", home, m_home);
    Set("XDG_DATA_HOME", home + "/.local/share", m_data);
  }
  ~HomeScope() {
    Restore("HOME", m_home);
    Restore("XDG_DATA_HOME", m_data);
  }
  HomeScope(const HomeScope&) = delete;
  HomeScope& operator=(const HomeScope&) = delete;

 private:
  static void Set(const char* name, const std::string& value, std::optional<std::string>& old) {
    if (const char* v = std::getenv(name)) old = v;
    std::filesystem::create_directories(value);
    ::setenv(name, value.c_str(), 1);
  }
  static void Restore(const char* name, const std::optional<std::string>& old) {
    if (old) {
      ::setenv(name, old->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  std::optional<std::string> m_home;
  std::optional<std::string> m_data;
};
