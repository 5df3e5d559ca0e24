// A pane over a small document with the document's find and replace dialogs, on a shared record
// whose search history and options the tests set; positions are (column, row) of the display.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "editor/view/commands/edit_fixture.h"
#include "editor/view/search/search_dialogs.h"
#include "platform/clipboard.h"

struct Pos {
  int column;
  int row;
  bool operator==(const Pos&) const = default;
};

inline void PrintTo(const Pos& p, std::ostream* os) { *os << "(" << p.column << ", " << p.row << ")"; }

class SearchFixture : public EditFixture {
 protected:
  static constexpr int kSearchDialog = 30901;
  static constexpr int kSearchNext = 30902;
  static constexpr int kSearchPrev = 30903;
  static constexpr int kReplaceDialog = 30904;
  static constexpr int kSearchClearMark = 30905;
  static constexpr int kReplace = 30906;
  static constexpr int kReplaceAll = 30907;
  static constexpr int kReplaceAllLine = 30912;

  void SetUp() override {
    EditFixture::SetUp();
    dialogs = std::make_unique<CSearchDialogs>();
    view->SetSearchDialogs(dialogs.get());
    common().bSearchAll = 0;
    common().bSearchNOTIFYNOTFOUND = 0;
    common().bSearchRegularExp = 0;
    common().bSearchLoHiCase = 0;
    common().bSearchWordOnly = 0;
    common().bSearchSelectedArea = 0;
    SetClipboardPlain("");
  }
  void TearDown() override {
    dialogs.reset();
    EditFixture::TearDown();
  }

  // The newest search key with its options.
  void SetKey(const std::string& key, bool regexp = false, bool caseSensitive = false, bool wordOnly = false) {
    share.AddSearchKey(key.c_str());
    common().bSearchRegularExp = regexp;
    common().bSearchLoHiCase = caseSensitive;
    common().bSearchWordOnly = wordOnly;
  }
  void SetReplacement(const std::string& text) { share.AddReplaceKey(text.c_str()); }

  LRESULT Run(int command, LPARAM first = 0, LPARAM second = 0) {
    return view->RunCommand(command, true, first, second, 0, 0);
  }
  void PlaceAt(Pos p) {
    view->PlaceCursor(p.column, p.row, true, 20);
    view->m_nCaretPosX_Prev = view->m_nCaretPosX;
  }
  Pos Where() const { return Pos{view->m_nCaretPosX, view->m_nCaretPosY}; }
  void Select(Pos from, Pos to) {
    PlaceAt(from);
    view->BeginSelectionAtCaret();
    PlaceAt(to);
    view->ChangeSelectionTo(to.column, to.row);
  }
  // The selection as (from, to); none without one.
  std::optional<std::pair<Pos, Pos>> Selected() const {
    if (!view->IsTextSelected()) return std::nullopt;
    const SelectRange& s = view->m_sSelect;
    return std::make_pair(Pos{s.nColumnFrom, s.nLineFrom}, Pos{s.nColumnTo, s.nLineTo});
  }
  std::string Status() { return editWindow.status[0]; }

  // Puts plain text on the clipboard as another program would ("" leaves it without text).
  static void SetClipboardPlain(const std::string& text) {
    ASSERT_TRUE(platform::OpenClipboard(nullptr));
    platform::EmptyClipboard();
    if (!text.empty()) platform::SetClipboardData(CF_OEMTEXT, text);
    platform::CloseClipboard();
  }

  std::unique_ptr<CSearchDialogs> dialogs;
};
