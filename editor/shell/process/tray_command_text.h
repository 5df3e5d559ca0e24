// The command texts the tray application starts editor processes with, and the labels of its
// window items. Each text is what the new process reads as its command line (the part after the
// executable's path).
#pragma once

#include <string>

#include "editor/foundation/settings/shared_settings.h"
#include "editor/foundation/text/grep_command_text.h"

class CShareData;

// The code that asks the new window to detect the file's code: no "-CODE=" is written for it.
constexpr int kDetectCharCode = 99;

// The text given (when not null or empty), then "-CODE=<code>" unless the code is 99, then "-R"
// when read-only; one blank between the pieces.
std::string EditorLaunchText(const char* text, int code, bool readOnly);

// The text that reopens a recent file where it was left: the path in double quotes (when there is
// one), then -X, -Y, -VX and -VY one higher than the stored 0-based values (each only when that
// value is 0 or more), -CODE when the code is 0 or more and not 99, -R when read-only.
std::string EditorLaunchTextForFile(const RecentFileRecord& record, bool readOnly);

// A path as one token of a command text: in double quotes when it holds a blank (its own quotes
// doubled), as it stands otherwise. Without the quotes the new process would read the text before
// the blank as the file when such a file exists.
std::string PathToken(const char* path);


// The tray menu's item for the window at that position of the shared list (0 first): an access
// key ("1" to "9", then "A" onwards up to "~", none further on), then for a grep window "【Grep】"
// and its key in quotes (64 bytes of whole characters at most, "…" after a cut, each "&" doubled),
// for any other the path with the nicknames applied and each "&" doubled or "（無題）", "*" when
// modified, and the code's tag.
std::string TrayWindowItemText(int position, const RecentFileRecord& info, CShareData* nicknames);
