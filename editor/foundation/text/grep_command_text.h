// The command text that starts a grep window: what the grep dialog, the tray and the grep command
// hand to a new editor process, and the quoting it shares with the other launch texts.
#pragma once

#include <string>
#include <string_view>

// The text with every double quote doubled, as the editor's grammar reads a quote inside a quoted
// token.
std::string DoubleQuotes(std::string_view text);

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

// The order of the option letters. The new process reads them in any order; the edit window's
// grep command and the tray each keep their own, so their command texts stay what they were.
enum class GrepLetterOrder {
  kWordLast,          // S L R P W: the tray
  kWordAfterFolders,  // S W L R P: the edit window's grep command
};

// "-GREPMODE -GKEY="key" -GFILE="files" -GFOLDER="folder" -GCODE=code", each text with its double
// quotes doubled, then " -GOPT=" with S (subfolders), L (case-sensitive), R (regular expression),
// P (whole lines), W (whole word) in the given order and the output style 1 or 2, when any of them
// applies.
std::string GrepLaunchText(const GrepLaunchRequest& request, GrepLetterOrder order = GrepLetterOrder::kWordLast);
