#include "editor/shell/window/window_list_menu.h"

#include <algorithm>
#include <cstring>

#include "editor/foundation/settings/recent_menus.h"
#include "editor/foundation/text/sjis_char.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kGrepTextShown = 64;

}  // namespace

// "1" to "9", then "A" to "Z"; past "Z" the item has no access key (a byte beyond would start a
// double-byte character and swallow the blank after it).
char WindowListAccessChar(int place) {
  if (place < 9) return static_cast<char>('1' + place);
  if (place < 9 + 26) return static_cast<char>('A' + place - 9);
  return 0;
}

std::string WindowListItemText(int place, const RecentFileRecord& info, bool outputWindow, CShareData* nicknames,
                               const WindowItemWords& words) {
  std::string text;
  if (const char key = WindowListAccessChar(place)) {
    text += '&';
    text += key;
    text += ' ';
  }
  if (info.bGrepWindow) {
    const char* grep = info.szGrepText;
    const int length = static_cast<int>(strnlen(grep, sizeof info.szGrepText));
    const int shown = WholeCharsPrefixLength(grep, length, kGrepTextShown);
    text += "【Grep】\""_sj;
    const std::string key(grep, static_cast<size_t>(shown));
    text += words.doubleGrepAmpersands ? DoubleMenuAmpersands(key.c_str()) : key;
    if (shown < length) text += words.cut;
    text += '"';
    return text;
  }
  if (outputWindow) return text + "アウトプット"_sj;
  char path[kMaxPath] = {};
  std::memcpy(path, info.szPath, kMaxPath - 1);
  if (path[0] == '\0') {
    text += words.untitled;
  } else {
    char shown[kMaxPath];
    const char* named = nicknames ? nicknames->ApplyFileNameNicknames(path, shown, sizeof shown) : path;
    text += DoubleMenuAmpersands(named ? named : path);
  }
  text += info.bModified ? " *" : "  ";
  text += MenuCodeSuffix(info.nCharCode);
  return text;
}

POINT WindowListMenuAnchor(bool atCursor, POINT cursor, const RECT& pane, const RECT& workArea) {
  constexpr int kLeftOfCorner = 150;
  POINT at = atCursor ? cursor : POINT{std::max(pane.right - kLeftOfCorner, pane.left), pane.top};
  at.x = std::max(at.x, workArea.left);
  at.y = std::min(at.y, workArea.bottom);
  return at;
}

void CWindowListMenu::Build(HMENU popup, std::span<const EditWindowEntry> windows, EditWindowId self,
                            CShareData& share, IMenuDrawer& drawer, const FileInfoSource& fileInfo) {
  m_windows.fill(0);
  share.ExpandNicknameSources();
  const SharedSettings* record = share.GetShareData();
  int place = 0;
  for (const EditWindowEntry& entry : windows) {
    const int position = entry.nWindowNumber;
    if (position < 0 || position >= kEditWindowSlots) continue;
    const RecentFileRecord info = fileInfo ? fileInfo(entry.hwnd) : kEmptyRecentFileRecord;
    const bool output = record && record->hwndOutput != 0 && record->hwndOutput == entry.hwnd;
    const std::string text = WindowListItemText(place++, info, output, &share);
    const UINT flags = MF_STRING | (entry.hwnd == self ? MF_CHECKED : MF_UNCHECKED);
    drawer.MyAppendMenu(popup, flags, static_cast<uintptr_t>(kWindowListFirstId + position), text.c_str(), false);
    m_windows[static_cast<size_t>(position)] = entry.hwnd;
  }
}

EditWindowId CWindowListMenu::WindowOf(int command) const {
  if (command < kWindowListFirstId || command > kWindowListLastId) return 0;
  return m_windows[static_cast<size_t>(command - kWindowListFirstId)];
}
