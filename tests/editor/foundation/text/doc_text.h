// Document lines made from a text the way a loader makes them, and the text read back.
#pragma once

#include <string>

#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/line_end.h"

// Lines cut after each line end.
inline void LoadDocText(CDocLineMgr& mgr, const std::string& text) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    int code = 0;
    while (end < text.size()) {
      code = DetectLineEnd(text.data() + end, static_cast<int>(text.size() - end));
      if (code != 0) break;
      ++end;
    }
    const size_t next = end + CLineEnd(code).GetLen();
    mgr.AppendLine(text.data() + pos, static_cast<int>(next - pos), code);
    pos = next;
  }
  mgr.ClearModifiedFlags();
}

inline std::string DocText(const CDocLineMgr& mgr) {
  std::string s;
  for (const CDocLine* line = mgr.GetFirstLine(); line; line = line->m_pNext) {
    int len = 0;
    const char* p = line->GetText(&len);
    s.append(p ? p : "", len);
  }
  return s;
}
