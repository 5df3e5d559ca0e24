// The clipboard in the shape the editor speaks: open, empty, set and get data by format, close.
//
// Contract:
// - Formats: CF_TEXT and CF_OEMTEXT are the clipboard's plain text as Shift-JIS with a final NUL;
//   CF_UNICODETEXT is the same text as UTF-16LE with a final NUL character. The conversion happens
//   here: what goes in up to its first NUL becomes the desktop's text, and the desktop's text
//   comes back in the asked form (a character without a Shift-JIS code as "?"). Setting any of the
//   three sets the one plain text; the last set wins.
// - RegisterClipboardFormat gives each name (compared without ASCII case) a number in
//   0xC000-0xFFFF taken from the name itself, so every process of the program gives a name the
//   same number; data of a registered format N travels as the MIME type
//   "application/x-tovara-N", byte for byte. 0 for an empty name.
// - OpenClipboard(owner) fails while another owner of this process has it open. EmptyClipboard
//   starts new contents, which SetClipboardData fills and CloseClipboard hands to the desktop at
//   once; SetClipboardData without EmptyClipboard adds to the current contents. GetClipboardData
//   and EnumClipboardFormats need it open; IsClipboardFormatAvailable does not.
// - EnumClipboardFormats(0) gives the first available format, EnumClipboardFormats(f) the one after
//   f, 0 after the last: the three text formats when there is text, then the registered formats
//   present (those of names this process registered, and any "application/x-tovara-N").
// - OwnsClipboard tells whether the contents are still this process's own: the desktop says so,
//   or what the clipboard holds is what this process last handed it (CloseClipboard after changes,
//   PutClipboardSnapshot). Another program's copy ends it.
// - SnapshotClipboard copies every MIME type the clipboard holds, bytes as they are (the text as
//   "text/plain" in UTF-8); PutClipboardSnapshot makes exactly those types the contents, as this
//   process's own. It fails while the clipboard is open or for a snapshot without entries.
// - On the GUI thread only, except the two calls about names; elsewhere every call fails.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/clipboard_snapshot.h"
#include "platform/win_types.h"

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_OEMTEXT = 7;
constexpr UINT CF_UNICODETEXT = 13;

namespace platform {

BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
BOOL SetClipboardData(UINT format, std::string_view data);
// The bytes of a format (as described above for the text formats); nothing when it is absent or
// the clipboard is not open.
std::optional<std::string> GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
UINT EnumClipboardFormats(UINT format);
UINT RegisterClipboardFormat(std::string_view name);
// The name a registered format was registered under in this process; empty when none.
std::string GetClipboardFormatName(UINT format);
// The MIME type a registered format travels as ("application/x-tovara-N"), empty for another
// format; and the registered format a MIME type names, 0 for none. Drag and drop carries the
// registered formats the same way.
std::string RegisteredFormatMimeType(UINT format);
UINT RegisteredFormatOfMimeType(std::string_view mimeType);

bool OwnsClipboard();
ClipboardSnapshot SnapshotClipboard();
bool PutClipboardSnapshot(const ClipboardSnapshot& snapshot);

}  // namespace platform
