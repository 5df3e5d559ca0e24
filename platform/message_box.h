// Modal questions to the user. Every message box goes through one hook so that tests can answer
// it and nothing ever blocks without a person in front of the screen.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/win_types.h"

namespace platform {

struct MessageBoxRequest {
  HWND owner = nullptr;
  std::string text;     // Shift-JIS
  std::string caption;  // Shift-JIS
  UINT flags = MB_OK;
};

// Answers a request with IDOK, IDYES, ... as the user would.
using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;

// Installs a hook (an empty one restores the default) and returns the previous one.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

// Shows the box through the hook. The default hook shows a real dialog when a screen is there and
// otherwise prints the text to standard error and answers with the box's first button. Every window
// is sent WM_CANCELMODE first, hook or not: the input under way belongs to the box from then on.
int MessageBox(HWND owner, std::string_view text, std::string_view caption, UINT flags);

// The toolkit's dialog for the request, shown and waited for: what the default hook shows when a
// screen is there. Its buttons read as the system's own Japanese boxes do ("はい(&Y)", "いいえ(&N)",
// "OK", "キャンセル", ...), the second one the default with MB_DEFBUTTON2.
int ShowMessageDialog(const MessageBoxRequest& request);

}  // namespace platform
