// Driving dialogs from tests: a hook that runs inside each modal loop, the user's actions by
// control id (never by pixels), and what each control shows.
//
// Contract:
// - The shown-hook runs once for each modal dialog, inside its loop, after the dialog is shown.
//   It ends the dialog (through the controls, or EndDialog), or leaves something queued that will:
//   the loop waits for that as it would for a person. With a hook set, modal dialogs run without
//   a screen too.
// - The actions act at once, as the user's would, through the toolkit's own handling: the
//   dialog's procedure hears their notifications before they return. A control that is disabled
//   or hidden, or sits in a disabled dialog, refuses them (false, nothing happens); so does a
//   control of a kind the action does not fit.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog.h"

namespace platform::dialog_test {

using ShownHook = std::function<void(HWND dialog)>;
// Installs the hook (an empty one removes it) and returns the one it replaces.
ShownHook SetShownHook(ShownHook hook);

// A push button, check box or radio button is clicked; a drop-down list or combo box opens.
bool Click(HWND dialog, int id);
// Types Shift-JIS text into an edit or a combo box's edit, character by character (non-ASCII
// characters as an input method commits them), after the text it holds; the control takes the
// focus first. "\n" is the Enter key.
bool Type(HWND dialog, int id, std::string_view text);
// The same, but with a character that has no Shift-JIS code (given in UTF-8).
bool TypeUtf8(HWND dialog, int id, std::string_view utf8);
// Pastes UTF-8 text from the clipboard into an edit at its caret.
bool Paste(HWND dialog, int id, std::string_view utf8);
// Picks an item of a list box, drop-down list or combo box (closing an open list), a row of a
// list view (which also scrolls it into view), or an item of a tree view by its place in
// ControlState::tree (the levels above it are opened).
bool Select(HWND dialog, int id, int index);
// Double-clicks an item of a list box, a row of a list view or an item of a tree view.
bool DoubleClick(HWND dialog, int id, int index);
// Clicks the header of a list view's column.
bool ClickHeader(HWND dialog, int id, int column);
// Clicks the up or the down arrow of an up-down control.
bool Spin(HWND dialog, int id, bool up);
// Presses a key (a virtual-key code: a letter, a digit, an arrow, Return, Delete, F1-F12 ...) in a
// control, which takes the focus first, with the modifiers held around it (GetKeyState sees them).
enum Modifier : unsigned { kShift = 1, kControl = 2, kAlt = 4 };
bool KeyDown(HWND dialog, int id, int virtualKey, unsigned modifiers = 0);
enum class Key { kEnter, kEscape, kTab, kBackTab, kF1 };
// Presses a key where the focus is (the dialog itself when no control has it).
bool PressKey(HWND dialog, Key key);
// Right-clicks a control.
bool ContextMenu(HWND dialog, int id);
// The title bar's close button.
bool CloseButton(HWND dialog);
// The user drags the dialog or its frame, to the client area's top left corner or size (a dialog
// is placed and measured by its client area; a dialog that cannot be resized refuses a size).
bool MoveTo(HWND dialog, int x, int y);
bool ResizeTo(HWND dialog, int width, int height);

struct ControlState {
  ControlKind kind = ControlKind::kStaticText;
  int id = 0;
  std::string text;  // Shift-JIS, as GetWindowText gives it
  bool enabled = false;
  bool visible = false;
  bool focused = false;
  bool isDefault = false;
  UINT check = BST_UNCHECKED;
  std::vector<std::string> items;  // a list view's: the rows' first column
  int selection = -1;
  int limit = 0;  // edits and combo boxes
  int progressMin = 0;
  int progressMax = 0;
  int progressPos = 0;
  // A list view's headers, their widths in pixels, every row's texts by column, and the row that
  // has the focus (-1 none).
  std::vector<std::string> columns;
  std::vector<int> columnWidths;
  std::vector<std::vector<std::string>> rows;
  int focusedRow = -1;
  // A tree view's items, parents before their children (items and selection follow this order).
  struct TreeItem {
    HTREEITEM item = nullptr;
    int depth = 0;
    std::string text;
    bool expanded = false;
    bool selected = false;
  };
  std::vector<TreeItem> tree;
};

// Every control, in the order of its declaration (which is also the Tab order).
std::vector<ControlState> Controls(HWND dialog);
std::optional<ControlState> Query(HWND dialog, int id);
// Every dialog there is (modal or modeless, shown or not), for dialogs a test did not open itself.
std::vector<HWND> OpenDialogs();
// The template a dialog was made from ("134", or its name); empty for a handle that is not a dialog.
std::string TemplateOf(HWND dialog);
// The id of the control that has the focus; 0 when none has it.
int FocusedControl(HWND dialog);
// Writes what the dialog shows (its client area) to a PNG file.
bool SaveImage(HWND dialog, const char* pngPath);

}  // namespace platform::dialog_test
