// The outline parsers: one per outline type, each a pass over the document's lines that appends
// its entries to the list. They only read the document (its lines, display lines, path and the
// settings it was given), so they run on any document, with or without a window.
#pragma once

#include <span>

class CEditDoc;
class COutlineItemList;

// Outline types of the type settings.
namespace outline_type {
inline constexpr int kText = 0;
inline constexpr int kCpp = 1;
inline constexpr int kPlsql = 2;
inline constexpr int kTextTree = 3;
inline constexpr int kJava = 4;
inline constexpr int kCobol = 5;
inline constexpr int kAsm = 6;
inline constexpr int kPerl = 7;
inline constexpr int kVisualBasic = 8;
inline constexpr int kWzText = 9;
inline constexpr int kHtml = 10;
inline constexpr int kTex = 11;
inline constexpr int kRuleFile = 12;
inline constexpr int kTextList = 13;
inline constexpr int kBookmarks = 14;
}  // namespace outline_type

void ParseOutlineCpp(CEditDoc& doc, COutlineItemList& list);
void ParseOutlineJava(CEditDoc& doc, COutlineItemList& list);
void ParseOutlinePlsql(CEditDoc& doc, COutlineItemList& list);
void ParseOutlineCobol(CEditDoc& doc, COutlineItemList& list);
void ParseOutlineAsm(CEditDoc& doc, COutlineItemList& list);
void ParseOutlinePerl(CEditDoc& doc, COutlineItemList& list);
// A path ending in ".cls" (any case) is a class module.
void ParseOutlineVb(CEditDoc& doc, COutlineItemList& list);
// Heading marks from the common settings (none without them).
void ParseOutlineText(CEditDoc& doc, COutlineItemList& list);
void ParseOutlineWzText(CEditDoc& doc, COutlineItemList& list);
void ParseOutlineHtml(CEditDoc& doc, COutlineItemList& list);
void ParseOutlineTex(CEditDoc& doc, COutlineItemList& list);
// The rule file of the document's type setting; no file, no rules, no entries.
void ParseOutlineByRules(CEditDoc& doc, COutlineItemList& list);
void ParseOutlineBookmarks(CEditDoc& doc, COutlineItemList& list);
// The parser of the outline type (every unknown type reads text topics).
void ParseOutlineOfType(CEditDoc& doc, int nOutlineType, COutlineItemList& list);

// One mark of a rule file and the group it puts its lines in.
struct OutlineRule {
  static constexpr int kMaxText = 255;
  char szText[kMaxText + 1] = {};
  int nLength = 0;
  char szGroupName[kMaxText + 1] = {};
};
inline constexpr int kMaxOutlineRules = 1024;
inline constexpr int kMaxOutlineRuleLine = 10240;

// Reads the rule file (absolute, or relative to the program's folder) into rules; the number read.
// A missing file gives none; marks beyond the array are left out; a line longer than
// kMaxOutlineRuleLine bytes keeps only its start.
int ReadOutlineRuleFile(const char* pszFileName, std::span<OutlineRule> rules);

// True when the last character before the line end (LF, CR LF, LF CR LF...) is a backslash that
// is not the second byte of a two-byte character.
bool EndsWithLineContinuation(const char* pText, int nLen);
// The word is "operator" or ends with ":operator".
bool IsOperatorName(const char* pWord, int nLen);
