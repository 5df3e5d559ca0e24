#include "platform/clipboard_keeper.h"

#include <unistd.h>

#include "platform/clipboard.h"
#include "platform/gui_app.h"
#include "platform/window.h"
#include "platform/window_tree.h"

namespace platform {
namespace {

// What a WM_COPYDATA between the keeper and the others carries.
constexpr uintptr_t kHandOverTag = 0x54564B48;  // "TVKH": a snapshot to keep
constexpr uintptr_t kQuestionTag = 0x54564B51;  // "TVKQ": send back what you keep
constexpr uintptr_t kAnswerTag = 0x54564B41;    // "TVKA": a snapshot, the answer

constexpr const char* kAskerClass = "ClipboardKeeperAsker";

struct Question {
  std::optional<ClipboardSnapshot> answer;
};

LRESULT AskerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COPYDATA) return DefWindowProc(hwnd, message, wParam, lParam);
  auto* question = reinterpret_cast<Question*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (!question || !data || data->dwData != kAnswerTag) return 0;
  question->answer = DecodeClipboardSnapshot({static_cast<const char*>(data->lpData), data->cbData});
  return question->answer ? 1 : 0;
}

bool RegisterAskerClass() {
  WNDCLASSEX existing;
  if (GetClassInfoEx(nullptr, kAskerClass, &existing)) return true;
  WNDCLASSEX wc;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = AskerProc;
  wc.lpszClassName = kAskerClass;
  return RegisterClassEx(&wc) != 0;
}

}  // namespace

bool HandOverClipboard(ipc::WindowId keeper) {
  if (keeper == 0 || ipc::ProcessOf(keeper) == ::getpid() || !OwnsClipboard()) return false;
  const ClipboardSnapshot snapshot = SnapshotClipboard();
  if (snapshot.empty()) return false;
  return ipc::SendCopyData(keeper, 0, kHandOverTag, EncodeClipboardSnapshot(snapshot)) == 1;
}

LRESULT KeepClipboard(WPARAM wParam, LPARAM lParam) {
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (!data || (data->cbData > 0 && !data->lpData)) return 0;
  const std::string_view bytes(static_cast<const char*>(data->lpData), data->cbData);
  if (data->dwData == kHandOverTag) {
    const auto snapshot = DecodeClipboardSnapshot(bytes);
    return snapshot && PutClipboardSnapshot(*snapshot) ? 1 : 0;
  }
  if (data->dwData == kQuestionTag && wParam != 0) {
    const auto asker = static_cast<ipc::WindowId>(wParam);
    return ipc::SendCopyData(asker, 0, kAnswerTag, EncodeClipboardSnapshot(SnapshotClipboard())) == 1 ? 1 : 0;
  }
  return 0;
}

std::optional<ClipboardSnapshot> AskKeptClipboard(ipc::WindowId keeper) {
  if (!IsGuiThread() || !RegisterAskerClass()) return std::nullopt;
  Question question;
  const HWND hwnd = CreateWindowEx(0, kAskerClass, kAskerClass, 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (!hwnd) return std::nullopt;
  SetWindowLongPtr(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&question));
  const ipc::WindowId self = ipc::RegisterWindow(hwnd, kAskerClass);
  if (self != 0) ipc::SendCopyData(keeper, self, kQuestionTag, {});
  if (self != 0) ipc::UnregisterWindow(self);
  DestroyWindow(hwnd);
  return question.answer;
}

}  // namespace platform
