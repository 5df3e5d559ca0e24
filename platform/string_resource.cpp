#include "platform/string_resource.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/sjis.h"

namespace platform {
namespace {

struct Registry {
  std::mutex lock;
  // Texts are kept behind their own allocation so a view handed out survives later inserts.
  std::map<UINT, std::unique_ptr<std::string>> texts;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

void RegisterString(UINT id, std::string_view text) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  r.texts[id] = std::make_unique<std::string>(text);
}

std::string_view FindString(UINT id) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  const auto it = r.texts.find(id);
  return it == r.texts.end() ? std::string_view() : std::string_view(*it->second);
}

}  // namespace platform

int LoadString(HINSTANCE, UINT uID, char* lpBuffer, int cchBufferMax) {
  if (!lpBuffer || cchBufferMax < 1) return 0;
  const std::string_view text = platform::FindString(uID);
  int n = 0;
  while (n < static_cast<int>(text.size())) {
    const int step =
        platform::IsSjisLead(static_cast<unsigned char>(text[n])) && n + 1 < static_cast<int>(text.size()) ? 2 : 1;
    if (n + step > cchBufferMax - 1) break;
    n += step;
  }
  if (n > 0) std::memcpy(lpBuffer, text.data(), n);
  lpBuffer[n] = '\0';
  return n;
}
