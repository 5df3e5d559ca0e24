// A document shown in one window-free pane of 80 x 50 cells in the default editor font, on a
// settings record of its own: what the editor's pane benchmarks paint and edit. Without a window
// the pane paints what an edit invalidates at once, so a timed command includes its painting.
// Also the generated Shift-JIS lines the editing benchmarks type into and replace in.
#pragma once

#include <memory>
#include <random>
#include <string>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/line_end.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/view/pane/edit_view.h"
#include "platform/win_types.h"
#include "tests/scoped_named_objects.h"

class EditorBenchPane {
 public:
  static constexpr int kColumns = 80;
  static constexpr int kRows = 50;

  // The record at its defaults and an empty document of the type given; set the type's settings
  // and append the lines, then Show.
  EditorBenchPane(const char* recordStem, int typeIndex) : names(recordStem) {
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), names.c_str());
    doc = std::make_unique<CEditDoc>();
    doc->m_nSettingType = typeIndex;
  }

  TypeSettings& Type() { return record->TypeList[doc->m_nSettingType]; }

  void AppendLine(const std::string& line) {
    doc->m_cDocLineMgr.AppendLine(line.data(), static_cast<int>(line.size()), CLineEnd::CRLF);
  }

  // Lays the document out with its type's settings and shows it in the pane.
  void Show() {
    ++Type().nChangeCounter;
    doc->m_cLayoutMgr.SetWrapSettings(true, nullptr, Type());
    view = std::make_unique<CEditView>();
    view->AttachDocument(doc.get(), 0);
    DocPorts ports;
    ports.panes[0] = view.get();
    doc->SetPorts(ports);
    // The client size that makes the text area kColumns x kRows cells.
    view->SetClientSize(1200, 1200);
    const int width = view->m_nViewAlignLeft + kColumns * view->ColumnWidth() +
                      (view->m_nClientWidth - view->m_nViewAlignLeft - view->m_nViewCx);
    const int height = view->m_nViewAlignTop + kRows * view->LineHeight() +
                       (view->m_nClientHeight - view->m_nViewAlignTop - view->m_nViewCy);
    view->SetClientSize(width, height);
  }

  // The pane has its font and its size.
  bool Ready() const {
    return view && view->GetViewDC() && view->GetFontFor(false, false) && view->m_nViewColNum == kColumns &&
           view->m_nViewRowNum == kRows;
  }
  RECT Client() const { return RECT{0, 0, view->m_nClientWidth, view->m_nClientHeight}; }

  // The document's bytes, every line with its own line end.
  std::string Bytes() const {
    std::string bytes;
    for (const CDocLine* line = doc->m_cDocLineMgr.GetFirstLine(); line; line = line->m_pNext) {
      bytes += line->m_pLine->View();
    }
    return bytes;
  }

  const ScopedNamedObjects names;
  std::unique_ptr<SharedSettings> record = std::make_unique<SharedSettings>();
  CShareData share;
  std::unique_ptr<CEditDoc> doc;
  std::unique_ptr<CEditView> view;
};

// Lines of 58 bytes of kanji, hiragana, katakana, ASCII letters, blanks and tabs and a CR LF, the
// same on every run; `word` (when given) stands at byte 10 of each.
class EditorBenchLines {
 public:
  static constexpr int kTextBytes = 58;
  static constexpr int kWordAt = 10;

  std::string Next(const std::string& word = {}) {
    std::string line;
    if (!word.empty()) {
      FillTo(line, kWordAt);
      line += word;
    }
    FillTo(line, kTextBytes);
    return line + "\r\n";
  }

 private:
  // Random characters up to `size` bytes; a double-byte one only where it fits whole.
  void FillTo(std::string& line, size_t size) {
    while (line.size() < size) {
      const bool room = line.size() + 2 <= size;
      const unsigned kind = m_rng() % 10;
      if (room && kind < 3) {  // kanji of the first level
        unsigned trail = 0x40 + m_rng() % 188;
        if (trail >= 0x7F) ++trail;
        line += static_cast<char>(0x89 + m_rng() % 15);
        line += static_cast<char>(trail);
      } else if (room && kind < 5) {  // hiragana
        line += '\x82';
        line += static_cast<char>(0x9F + m_rng() % 83);
      } else if (room && kind < 6) {  // katakana
        unsigned trail = 0x40 + m_rng() % 86;
        if (trail >= 0x7F) ++trail;
        line += '\x83';
        line += static_cast<char>(trail);
      } else if (kind < 7) {
        line += '\t';
      } else {
        line += kind == 9 ? ' ' : static_cast<char>('a' + m_rng() % 26);
      }
    }
  }

  std::mt19937 m_rng{932};
};
