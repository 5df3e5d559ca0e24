// The input method's events of a canvas, turned into the composition messages of its window. A
// committed text waits here, by the window's serial, until its queued message is dispatched.
#include "platform/ime_composition.h"

#include <QInputMethodEvent>
#include <algorithm>
#include <deque>
#include <map>
#include <utility>

#include "platform/gui_app.h"
#include "platform/sjis.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

struct Composition {
  std::deque<std::string> results;  // committed, their messages still queued
  std::string preedit;
  int cursor = 0;
};

struct State {
  std::map<uint64_t, Composition> windows;
  // The commit whose message is being dispatched, and its window.
  uint64_t dispatching = 0;
  std::string result;
};

// Touched on the GUI thread only.
State& Compositions() {
  static State state;
  return state;
}

// The window's entry; entries with nothing in them are let go of (those of windows gone too).
Composition& Of(uint64_t serial) {
  auto& windows = Compositions().windows;
  std::erase_if(windows, [serial](const auto& entry) {
    return entry.first != serial && entry.second.results.empty() && entry.second.preedit.empty();
  });
  return windows[serial];
}

const Composition* Find(HWND hwnd) {
  if (!IsGuiThread()) return nullptr;
  const auto& windows = Compositions().windows;
  auto it = windows.find(LiveSerial(hwnd));
  return it == windows.end() ? nullptr : &it->second;
}

// A character's code as the messages carry it.
WPARAM CharacterAt(std::string_view sjis, size_t& i) {
  const auto lead = static_cast<uint8_t>(sjis[i++]);
  if (!IsSjisLead(lead) || i >= sjis.size()) return lead;
  return (WPARAM{lead} << 8) | static_cast<uint8_t>(sjis[i++]);
}

}  // namespace

void InputMethodToMessages(Window& window, const QInputMethodEvent& event) {
  const uint64_t serial = LiveSerial(&window);
  if (serial == 0) return;
  Composition& composition = Of(serial);
  // The replaced range becomes the selection first, so the commit then takes its place.
  if (const auto range = ReplacedRange(window, event)) {
    window.queue(WM_IME_REQUEST, IMR_CONFIRMRECONVERTSTRING,
                 MAKELPARAM(static_cast<unsigned>(range->first), static_cast<unsigned>(range->second)));
  }
  if (!event.commitString().isEmpty()) {
    std::string result = QStringToSjis(event.commitString());
    size_t i = 0;
    const WPARAM first = CharacterAt(result, i);
    composition.results.push_back(std::move(result));
    window.queue(WM_IME_COMPOSITION, first, GCS_RESULTSTR);
  }
  const QString preedit = event.preeditString();
  int cursor = static_cast<int>(preedit.size());
  for (const QInputMethodEvent::Attribute& a : event.attributes()) {
    if (a.type == QInputMethodEvent::Cursor) cursor = a.start;
  }
  std::string sjis = QStringToSjis(preedit);
  const int sjisCursor = static_cast<int>(QStringToSjis(preedit.left(std::clamp(cursor, 0, static_cast<int>(preedit.size())))).size());
  if (sjis == composition.preedit && sjisCursor == composition.cursor) return;
  composition.preedit = std::move(sjis);
  composition.cursor = sjisCursor;
  window.queue(WM_IME_COMPOSITION, 0, GCS_COMPSTR | GCS_CURSORPOS);
  // The canvas draws it over the picture (platform/ime_query.h).
  if (window.imeProvider()) window.canvas()->update();
}

LRESULT DispatchComposition(Window& window, const MSG& msg) {
  State& state = Compositions();
  const uint64_t serial = LiveSerial(&window);
  std::string result;
  if ((msg.lParam & GCS_RESULTSTR) && serial != 0) {
    Composition& composition = Of(serial);
    if (!composition.results.empty()) {
      result = std::move(composition.results.front());
      composition.results.pop_front();
    }
  }
  // A composition message sent while another is handled has its own text.
  const uint64_t outerSerial = std::exchange(state.dispatching, serial);
  std::string outer = std::exchange(state.result, std::move(result));
  const LRESULT answer = window.send(msg.message, msg.wParam, msg.lParam);
  state.dispatching = outerSerial;
  state.result = std::move(outer);
  return answer;
}

void DefaultComposition(HWND hwnd, LPARAM lParam) {
  if (!(lParam & GCS_RESULTSTR)) return;
  const std::string result = ImeResultString(hwnd);
  for (size_t i = 0; i < result.size();) SendMessage(hwnd, WM_IME_CHAR, CharacterAt(result, i), 1);
}

std::string ImeResultString(HWND hwnd) {
  if (!IsGuiThread()) return {};
  const State& state = Compositions();
  return state.dispatching != 0 && state.dispatching == LiveSerial(hwnd) ? state.result : std::string();
}

std::string ImeCompositionString(HWND hwnd) {
  const Composition* composition = Find(hwnd);
  return composition ? composition->preedit : std::string();
}

int ImeCompositionCursor(HWND hwnd) {
  const Composition* composition = Find(hwnd);
  return composition ? composition->cursor : 0;
}

}  // namespace platform
