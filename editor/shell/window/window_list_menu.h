// The window list as menu items (the window menu's tail and the window-list popup): one item per
// edit window, labelled with its file, its state and its code, and the window each item was made
// for. The list may change between building the menu and the click; the click then goes to the
// window the item named, never to whichever window holds that list position by then.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>

#include "editor/foundation/settings/menu_drawer_interface.h"
#include "editor/foundation/settings/share_data.h"
#include "platform/sjis_literal.h"

// The first id of the window items: 10000 + the window's position in the shared list.
constexpr int kWindowListFirstId = 10000;
constexpr int kWindowListLastId = kWindowListFirstId + kEditWindowSlots - 1;

// The access key of the window item at that place of a menu (0 first): "1" to "9", then "A" to
// "Z"; 0 further on.
char WindowListAccessChar(int place);

// The words the window items use where the frame's list and the tray's menu differ.
struct WindowItemWords {
  const char* cut;            // after a grep key cut short
  const char* untitled;       // for a window without a file
  bool doubleGrepAmpersands;  // an "&" of the grep key shows as one
};
inline constexpr WindowItemWords kFrameWindowItemWords{"・・・"_sj, "(無題)"_sj, false};

// The label of the window at that place of the menu (0 first): an access key ("1" to "9", then "A"
// to "Z"; none further on), then the grep key, "アウトプット", or the path with its nicknames, "*"
// when modified, and the code's tag.
std::string WindowListItemText(int place, const RecentFileRecord& info, bool outputWindow, CShareData* nicknames,
                               const WindowItemWords& words = kFrameWindowItemWords);

// Where the window-list popup opens: at the cursor, or 150 pixels left of the active pane's top
// right corner (not left of the pane); then x at least the work area's left and y at most its
// bottom. Screen coordinates.
POINT WindowListMenuAnchor(bool atCursor, POINT cursor, const RECT& pane, const RECT& workArea);

class CWindowListMenu {
 public:
  // A window's file information (its answer to MYWM_GETFILEINFO).
  using FileInfoSource = std::function<RecentFileRecord(EditWindowId)>;

  // Appends an item per window (in the order given; each entry's first field is its position in
  // the shared list), the item of self checked, and remembers each item's window.
  void Build(HMENU popup, std::span<const EditWindowEntry> windows, EditWindowId self, CShareData& share,
             IMenuDrawer& drawer, const FileInfoSource& fileInfo);
  // The window the item of that command was made for; 0 when no item of the last build has it.
  EditWindowId WindowOf(int command) const;

 private:
  std::array<EditWindowId, kEditWindowSlots> m_windows{};
};
