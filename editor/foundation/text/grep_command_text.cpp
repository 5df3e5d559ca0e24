#include "editor/foundation/text/grep_command_text.h"

std::string DoubleQuotes(std::string_view text) {
  std::string doubled;
  doubled.reserve(text.size());
  for (const char c : text) {
    doubled += c;
    // A double quote is never the second byte of a Shift-JIS character, so every one is a quote.
    if (c == '"') doubled += '"';
  }
  return doubled;
}

std::string GrepLaunchText(const GrepLaunchRequest& request, GrepLetterOrder order) {
  std::string out = "-GREPMODE -GKEY=\"" + DoubleQuotes(request.key) + "\" -GFILE=\"" + DoubleQuotes(request.files) +
                    "\" -GFOLDER=\"" + DoubleQuotes(request.folder) + "\" -GCODE=" + std::to_string(request.code);
  const bool wordFirst = order == GrepLetterOrder::kWordAfterFolders;
  std::string letters;
  if (request.subFolder) letters += 'S';
  if (wordFirst && request.wordOnly) letters += 'W';
  if (request.loHiCase) letters += 'L';
  if (request.regularExp) letters += 'R';
  if (request.outputLine) letters += 'P';
  if (!wordFirst && request.wordOnly) letters += 'W';
  if (request.outputStyle == 1) letters += '1';
  if (request.outputStyle == 2) letters += '2';
  if (!letters.empty()) out += " -GOPT=" + letters;
  return out;
}
