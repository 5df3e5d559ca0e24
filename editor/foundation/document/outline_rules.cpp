// The outline of a rule file: each rule is a mark that starts a heading line and the group whose
// depth it takes.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/document/outline_scan.h"
#include "editor/foundation/ui/system_utils.h"

using namespace outline_scan;

namespace {

constexpr int kMaxText = 511;
constexpr std::string_view kSeparator = " /// ";

// The first position of the byte c (below 0x40, so never a second byte) or of the text; npos.
size_t FindOnCharStart(std::string_view text, std::string_view what) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const int len = static_cast<int>(text.size());
  for (int pos = 0; pos < len; pos += SjisCharSize(s, len, pos)) {
    if (text.substr(static_cast<size_t>(pos)).starts_with(what)) return static_cast<size_t>(pos);
  }
  return std::string_view::npos;
}

void CopyCut(char* out, int size, std::string_view text) {
  const int kept = WholeCharsPrefixLength(text.data(), static_cast<int>(text.size()), size - 1);
  std::memcpy(out, text.data(), static_cast<size_t>(kept));
  out[kept] = '\0';
}

// Adds the rules of one line; false when the array is full.
bool ReadRuleLine(std::string_view line, std::span<OutlineRule> rules, int& count) {
  if (line.empty() || line[0] == ';') return true;
  const size_t separator = FindOnCharStart(line, kSeparator);
  if (separator == std::string_view::npos) return true;
  std::string_view group = line.substr(separator + kSeparator.size());
  const size_t lineEnd = group.find_first_of("\r\n");
  if (lineEnd != std::string_view::npos) group = group.substr(0, lineEnd);
  std::string_view marks = line.substr(0, separator);
  while (true) {
    const size_t comma = FindOnCharStart(marks, ",");
    const std::string_view mark = marks.substr(0, comma);
    // An empty mark would make every line a heading.
    if (!mark.empty()) {
      if (count >= static_cast<int>(rules.size())) return false;
      OutlineRule& rule = rules[static_cast<size_t>(count++)];
      CopyCut(rule.szText, sizeof rule.szText, mark);
      rule.nLength = static_cast<int>(std::strlen(rule.szText));
      CopyCut(rule.szGroupName, sizeof rule.szGroupName, group);
    }
    if (comma == std::string_view::npos) return true;
    marks = marks.substr(comma + 1);
  }
}

}  // namespace

int ReadOutlineRuleFile(const char* pszFileName, std::span<OutlineRule> rules) {
  if (!pszFileName || !pszFileName[0]) return 0;
  std::unique_ptr<FILE, int (*)(FILE*)> file(OpenFileExeRelative(pszFileName, "rb"), &std::fclose);
  if (!file) return 0;
  int count = 0;
  std::string line;
  line.reserve(kMaxOutlineRuleLine);
  bool more = true;
  while (more) {
    // One line, of which only the first bytes are kept: the rest of an over-long line is
    // dropped, never read as a line of its own.
    line.clear();
    int c = 0;
    while ((c = std::fgetc(file.get())) != EOF && c != '\n') {
      if (line.size() < static_cast<size_t>(kMaxOutlineRuleLine)) line.push_back(static_cast<char>(c));
    }
    more = c != EOF;
    if (!more && line.empty()) break;
    const int kept = WholeCharsPrefixLength(line.data(), static_cast<int>(line.size()), kMaxOutlineRuleLine);
    if (!ReadRuleLine(std::string_view(line.data(), static_cast<size_t>(kept)), rules, count)) break;
  }
  return count;
}

void ParseOutlineByRules(CEditDoc& doc, COutlineItemList& list) {
  if (!doc.m_pShareData) return;
  const int type = doc.m_nSettingType >= 0 && doc.m_nSettingType < kTypeSlots ? doc.m_nSettingType : 0;
  std::vector<OutlineRule> rules(kMaxOutlineRules);
  const int count = ReadOutlineRuleFile(doc.m_pShareData->TypeList[type].szOutlineRuleFilename, rules);
  if (count == 0) return;
  LevelStack groups;
  LineWalk lines(doc);
  while (lines.Next()) {
    const char* text = lines.Text();
    const int len = LengthWithoutLineEnd(text, lines.Length());
    const int pos = SkipBlanksWide(text, len, 0);
    for (int i = 0; i < count; ++i) {
      const OutlineRule& rule = rules[static_cast<size_t>(i)];
      if (len - pos < rule.nLength || std::memcmp(text + pos, rule.szText, static_cast<size_t>(rule.nLength)) != 0) {
        continue;
      }
      const int depth = groups.DepthOf(rule.szGroupName);
      if (depth >= 0) {
        BoundedText<kMaxText> name;
        name.Append(text + pos, len - pos);
        Record(lines, list, lines.Index(), 0, name.View(), outline_kind::kPlain, depth);
      }
      break;
    }
  }
}
