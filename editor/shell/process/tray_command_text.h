// The command texts the tray application starts editor processes with, and the labels of its
// window items. Each text is what the new process reads as its command line (the part after the
// executable's path).
#pragma once

#include <string>

#include "editor/foundation/settings/shared_settings.h"

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

// What the grep dialog asks for.
struct GrepLaunchRequest {
  std::string key;
  std::string files;
  std::string folder;
  int code = 0;
  bool subFolder = false;
  bool loHiCase = false;
  bool regularExp = false;
  bool outputLine = false;
  bool wordOnly = false;
  int outputStyle = 1;  // 1 or 2
};

// "-GREPMODE -GKEY="key" -GFILE="files" -GFOLDER="folder" -GCODE=code", each text with its double
// quotes doubled, then " -GOPT=" with S (subfolders), L (case-sensitive), R (regular expression),
// P (whole lines), W (whole word) and the output style 1 or 2, when any of them applies.
std::string GrepLaunchText(const GrepLaunchRequest& request);

// The tray menu's item for a window at that place of the menu (0 first): an access key ("1" to
// "9", then "A" to "Z", none further on), then for a grep window "【Grep】" and its key in quotes
// (64 bytes of whole characters at most, "…" after a cut, each "&" doubled), for any other the path
// with the nicknames applied and each "&" doubled or "（無題）", "*" when modified, and the code's
// tag.
std::string TrayWindowItemText(int place, const RecentFileRecord& info, CShareData* nicknames);
