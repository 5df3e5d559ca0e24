// TranslateMessage: the characters of a key-down. The toolkit gives a key's text with its press;
// it waits here, by the window's serial and the message's key code and bits, until the pump
// translates that very message.
#include "platform/key_text.h"

#include <algorithm>
#include <deque>

#include "platform/gui_app.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

struct KeyText {
  uint64_t serial;
  WPARAM vk;
  LPARAM lParam;
  std::string sjis;
};

constexpr size_t kKeptTexts = 32;

// Touched on the GUI thread only.
std::deque<KeyText>& Texts() {
  static std::deque<KeyText> texts;
  return texts;
}

}  // namespace

void RememberKeyText(const Window& window, WPARAM vk, LPARAM lParam, std::string sjis) {
  if (sjis.empty()) return;
  auto& texts = Texts();
  texts.push_back({LiveSerial(const_cast<Window*>(&window)), vk, lParam, std::move(sjis)});
  while (texts.size() > kKeptTexts) texts.pop_front();
}

// The characters go to the front of the queue, lead byte first, so that they come before any key
// pressed after this one, as they were typed.
BOOL TranslateMessage(const MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN || !IsGuiThread()) return 0;
  const uint64_t serial = LiveSerial(msg->hwnd);
  if (serial == 0) return 0;
  auto& texts = Texts();
  const auto found = std::find_if(texts.begin(), texts.end(), [&](const KeyText& t) {
    return t.serial == serial && t.vk == msg->wParam && t.lParam == msg->lParam;
  });
  if (found == texts.end()) return 0;
  const std::string sjis = std::move(found->sjis);
  // Texts of the window's earlier keys were never asked for: they will not be.
  std::deque<KeyText> kept;
  for (auto it = texts.begin(); it != texts.end(); ++it) {
    if (it > found || it->serial != serial) kept.push_back(std::move(*it));
  }
  texts = std::move(kept);
  for (auto byte = sjis.rbegin(); byte != sjis.rend(); ++byte) {
    QueueMessageFirst(MSG{msg->hwnd, WM_CHAR, static_cast<uint8_t>(*byte), msg->lParam});
  }
  return 1;
}

}  // namespace platform
