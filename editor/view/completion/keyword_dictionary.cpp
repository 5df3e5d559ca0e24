#include "editor/view/completion/keyword_dictionary.h"

#include <cstring>
#include <string>

#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/sjis_compare.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/view/completion/text_mode_lines.h"

namespace {

constexpr std::string_view kSeparator = " /// ";

// Opens the file of a setting: exact when absolute, else beside the executable.
bool OpenSettingFile(std::string_view path, CTextModeLines& lines) {
  if (path.empty()) return false;
  const std::string name(path);
  return lines.Open(IsAbsolutePath(name.c_str()) ? name : GetExeRelativePath(name.c_str()));
}

// The text up to the first CR or LF.
std::string_view UpToLineEnd(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') return text.substr(0, i);
  }
  return text;
}

bool SameWord(std::string_view key, std::string_view word) {
  // Equal last bytes, folded or not, are needed for a match and rule out most keys at once.
  return key.size() == word.size() && AsciiToUpper(key.back()) == AsciiToUpper(word.back()) &&
         SjisMemICmp(key.data(), word.data(), static_cast<int>(word.size())) == 0;
}

bool HasPrefix(std::string_view text, std::string_view prefix, bool ignoreCase) {
  if (text.size() < prefix.size()) return false;
  if (ignoreCase) return SjisMemICmp(text.data(), prefix.data(), static_cast<int>(prefix.size())) == 0;
  return std::memcmp(text.data(), prefix.data(), prefix.size()) == 0;
}

}  // namespace

bool CKeywordDictionary::Search(std::string_view word, CMemory* out, std::string_view path) const {
  if (word.empty() || !out) return false;
  CTextModeLines lines(kKeywordDictionaryLine);
  if (!OpenSettingFile(path, lines)) return false;
  std::string_view line;
  bool lineEnd = false;
  while (lines.Next(&line, &lineEnd)) {
    if (line.size() < word.size() + kSeparator.size() || line[0] == ';') continue;
    const size_t separator = line.find(kSeparator);
    if (separator == std::string_view::npos) continue;
    std::string_view keys = line.substr(0, separator);
    for (;;) {
      const size_t comma = keys.find(',');
      if (SameWord(keys.substr(0, comma), word)) {
        const std::string_view text = UpToLineEnd(line.substr(separator + kSeparator.size()));
        out->Assign(text.data(), static_cast<int>(text.size()));
        return true;
      }
      if (comma == std::string_view::npos) break;
      keys.remove_prefix(comma + 1);
    }
  }
  return false;
}

int CKeywordDictionary::SearchCandidates(std::string_view prefix, bool ignoreCase, CMemory* out, int maxCount,
                                         std::string_view path) const {
  if (!out) return 0;
  out->Clear();
  CTextModeLines lines(kCompletionWordLine);
  if (!OpenSettingFile(path, lines)) return 0;
  int count = 0;
  std::string_view line;
  bool lineEnd = false;
  while ((maxCount <= 0 || count < maxCount) && lines.Next(&line, &lineEnd)) {
    if (line.empty() || line[0] == ';') continue;
    // The word itself is never offered, also on a last line without a line end.
    const std::string_view word = UpToLineEnd(line);
    if (word.size() <= prefix.size() || !HasPrefix(word, prefix, ignoreCase)) continue;
    out->Append(word.data(), static_cast<int>(word.size()));
    out->Append("\n", 1);
    ++count;
  }
  return count;
}
