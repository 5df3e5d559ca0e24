// The text grep writes: the conditions header, the code labels and the hit lines. The tag jump
// reads these lines back, so every byte of them is fixed.
#pragma once

#include <string>
#include <string_view>

struct GrepConditions {
  std::string key;
  std::string files;   // the pattern list as given
  std::string folder;  // ending with "/"
  bool bSubFolder = false;
  bool bLoHiCase = false;
  bool bRegularExp = false;
  int nCharSet = 0;  // 99: detected per file
  bool bOutputLine = true;
  bool bWordOnly = false;
  int nOutputStyle = 1;  // 1 or 2
};

// The header before the hits. nQuoteEscape is the result document's string escape setting: 1
// doubles quotes in the key, 0 escapes backslashes and quotes with a backslash.
std::string BuildGrepHeader(const GrepConditions& c, int nQuoteEscape);

// "  [SJIS]" .. "  [UniBE]" for codes 0-6, "  [(DetectError)]" otherwise.
std::string_view GrepCodeLabel(int code);

// The longest part of text of whole characters that is at most limit bytes.
std::string_view GrepCutText(std::string_view text, int limit);

// One hit line, appended to out. Style 1: path(line,column)label: text; style 2: the short form
// under the file's header line. text is the line without its line end with bOutputLine, else the
// matched bytes; it is cut on a whole character at 2000 (style 1) or 2500 (style 2) bytes.
void FormatGrepHit(std::string& out, int nStyle, std::string_view path, int64_t line, int column,
                   std::string_view label, std::string_view text, bool bOutputLine);

// The style-2 file line and the line of a file listed for an empty key.
void AppendGrepFileLine(std::string& out, int nStyle, std::string_view path, std::string_view label);
