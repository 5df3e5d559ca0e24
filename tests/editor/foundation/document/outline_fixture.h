// A document of a given text on a record of its own, and the entries a parser finds in it.
#pragma once

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

#include "doc_fixture.h"
#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/text/sjis_char.h"
#include "tests/editor/foundation/text/doc_text.h"

struct Entry {
  std::string name;
  int line;  // 1-based document line
  int kind;
  int depth;
  bool operator==(const Entry&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Entry& e) {
  return os << "{\"" << e.name << "\", line " << e.line << ", kind " << e.kind << ", depth " << e.depth << "}";
}

using Parser = void (*)(CEditDoc&, COutlineItemList&);

// One named source and what its outline must hold.
struct OutlineCase {
  const char* label;
  std::string text;
  std::vector<Entry> expected;
};

inline std::ostream& operator<<(std::ostream& os, const OutlineCase& c) { return os << c.label; }

class OutlineFixture : public DocFixture {
 protected:
  // Makes the document of the text (lines cut after each line end, wrapped by the record's basic
  // type) and runs the parser on it.
  std::vector<Entry> Parse(Parser parser, const std::string& text, const char* path = "") {
    Load(text, path);
    return Run(parser);
  }
  void Load(const std::string& text, const char* path = "") {
    NewDocument();
    LoadDocText(doc->m_cDocLineMgr, text);
    doc->SetFilePath(path);
    doc->m_cLayoutMgr.RewrapAll(nullptr);
  }
  std::vector<Entry> Run(Parser parser) {
    list.Clear();
    parser(*doc, list);
    std::vector<Entry> entries;
    for (int i = 0; i < list.GetCount(); ++i) {
      const COutlineItem* item = list.GetAt(i);
      entries.push_back({std::string(item->m_cName.View()), item->m_nFileLine, item->m_nKind, item->m_nDepth});
    }
    return entries;
  }
  std::vector<int> DisplayLines() const {
    std::vector<int> lines;
    for (int i = 0; i < list.GetCount(); ++i) lines.push_back(list.GetAt(i)->m_nDisplayLine);
    return lines;
  }

  COutlineItemList list;
};

// Each name is whole Shift-JIS characters: no lead byte stands last without its second byte.
inline bool NamesAreWholeCharacters(const COutlineItemList& list) {
  for (int i = 0; i < list.GetCount(); ++i) {
    const std::string_view name = list.GetAt(i)->m_cName.View();
    const auto* s = reinterpret_cast<const unsigned char*>(name.data());
    const int len = static_cast<int>(name.size());
    int pos = 0;
    while (pos < len) {
      if (IsSjisLeadByte(s[pos]) && pos + 1 >= len) return false;
      pos += SjisCharSize(s, len, pos);
    }
  }
  return true;
}
