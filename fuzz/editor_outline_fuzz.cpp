// The outline parsers and the PL/SQL line count of the jump over a random document. The first byte
// picks one (its value modulo 16: an outline type, or 15 for the line count), the second the wrap
// width (0: the basic type's), the rest is the document; for the rule-file type the same bytes are
// also the rule file. Every entry must name a line of the document and a display line of it, carry
// a name within the longest buffer (of whole characters when the document is: a lone lead byte is a
// character of its own), and a depth no stack could exceed. The line count (the number asked for
// and the block's first line taken from the second byte) must reach a line of the document whose
// count is the number asked for, or the last line when the count falls short, and a display row.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/doc_text.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/view/outline/jump_target.h"
#include "fuzz_support.h"

namespace {

struct Environment {
  Environment() {
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), "CShareData-fuzz-outline");
  }
  std::unique_ptr<SharedSettings> record = std::make_unique<SharedSettings>();
  CShareData share;
};

constexpr int kLongestName = 1021;
constexpr int kLineCount = 15;

// The jump's PL/SQL count from the block's first line: the line reached must be where the count
// first reaches the number, or the last line when it never does.
void CheckPlsqlCount(CEditDoc& doc, uint8_t choice) {
  CDocLineMgr& lines = doc.m_cDocLineMgr;
  const int count = lines.GetLineCount();
  const int first = choice >> 4;
  const int target = (choice & 15) + 1;
  const int reached = FindPlsqlLine(lines, first, 0, target);
  if (count == 0) {
    if (reached != -1) std::abort();
    return;
  }
  if (reached < 0 || reached >= count) std::abort();
  if (first < count) {
    PlsqlLexState state = PlsqlLexState::kNormal;
    int counted = 0;
    int index = first;
    for (CDocLine* line = lines.GetLine(first); line && counted < target; line = line->m_pNext, ++index) {
      int len = 0;
      const char* text = line->GetText(&len);
      if (PlsqlLineCounts(std::string_view(text ? text : "", text ? static_cast<size_t>(len) : 0), &state)) ++counted;
      if (counted == target && index != reached) std::abort();
    }
    if (counted < target && reached != count - 1) std::abort();
  } else if (reached != count - 1) {
    std::abort();
  }
  JumpRequest request;
  request.nLineNum = target;
  request.bPlsql = true;
  request.bDocumentLines = (choice & 1) != 0;
  request.bPlsqlBaseInDocumentLines = (choice & 2) != 0;
  request.nPlsqlBaseLine = first + 1;
  const int row = JumpTargetRow(lines, doc.m_cLayoutMgr, request);
  const int rows = doc.m_cLayoutMgr.GetLineCount();
  if (rows == 0 ? row != -1 : row < 0 || row >= rows) std::abort();
}

// No lead byte stands last without its second byte.
bool WholeCharacters(std::string_view name) {
  const auto* s = reinterpret_cast<const unsigned char*>(name.data());
  const int len = static_cast<int>(name.size());
  for (int pos = 0; pos < len; pos += SjisCharSize(s, len, pos)) {
    if (IsSjisLeadByte(s[pos]) && pos + 1 == len) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 65536) return 0;
  const ScopedTempDir& dir = fuzz::Environment();
  static Environment environment;

  const int type = data[0] % 16;
  const std::string text(fuzz::Text(data + 2, size - 2));
  if (type == outline_type::kRuleFile) {
    fuzz::WriteFile("rules.txt", std::span<const uint8_t>(data + 2, size - 2));
    const std::string path = dir.path().string() + "/rules.txt";
    std::strncpy(environment.record->TypeList[0].szOutlineRuleFilename, path.c_str(), kMaxPath - 1);
  }
  CEditDoc doc;
  LoadDocText(doc.m_cDocLineMgr, text);
  int index = 0;
  for (CDocLine* line = doc.m_cDocLineMgr.GetFirstLine(); line; line = line->m_pNext) line->SetBookmark(index++ % 3 == 0);
  doc.SetFilePath(data[1] & 1 ? "/f/module.cls" : "/f/source");
  if (data[1] > 1) {
    doc.m_cLayoutMgr.SetTabAndWrapWidth(nullptr, 4, 10 + data[1]);
  } else {
    doc.m_cLayoutMgr.RewrapAll(nullptr);
  }

  if (type == kLineCount) {
    CheckPlsqlCount(doc, data[1]);
    return 0;
  }

  COutlineItemList list;
  ParseOutlineOfType(doc, type, list);
  const bool wholeText = [&] {
    // Every lead byte inside the text has its second byte too.
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const int len = static_cast<int>(text.size());
    for (int pos = 0; pos < len; pos += SjisCharSize(s, len, pos)) {
      if (IsSjisLeadByte(s[pos]) && SjisCharSize(s, len, pos) == 1) return false;
    }
    return true;
  }();
  const int lines = doc.m_cDocLineMgr.GetLineCount();
  const int displayLines = doc.m_cLayoutMgr.GetLineCount();
  for (int i = 0; i < list.GetCount(); ++i) {
    const COutlineItem* item = list.GetAt(i);
    if (item->m_nFileLine < 1 || item->m_nFileLine > lines) std::abort();
    if (item->m_nDisplayLine < 1 || item->m_nDisplayLine > displayLines) std::abort();
    const std::string_view name = item->m_cName.View();
    if (name.size() > static_cast<size_t>(kLongestName)) std::abort();
    if (wholeText && !WholeCharacters(name)) std::abort();
    if (item->m_nDepth < 0) std::abort();
    // Only dotted headings take their depth from the text itself; every other parser keeps a stack.
    if (type != outline_type::kWzText && item->m_nDepth > 32) std::abort();
  }
  return 0;
}
