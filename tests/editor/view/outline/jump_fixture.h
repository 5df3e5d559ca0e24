// A pane over a small document with the document's jump dialog and find dialogs, on a shared
// record whose jump unit and search options the tests set.
#pragma once

#include <climits>
#include <set>
#include <string>

#include "editor/foundation/text/doc_line.h"
#include "editor/view/outline/jump_dialog.h"
#include "editor/view/search/search_fixture.h"

class JumpFixture : public SearchFixture {
 protected:
  static constexpr int kJumpDialog = 30920;
  static constexpr int kJump = 30921;
  static constexpr int kBookmarkSet = 30970;
  static constexpr int kBookmarkNext = 30971;
  static constexpr int kBookmarkPrev = 30972;
  static constexpr int kBookmarkReset = 30973;
  static constexpr int kBookmarkPattern = 30975;
  static constexpr int kBeginSelect = 30410;

  void SetUp() override {
    SearchFixture::SetUp();
    view->SetJumpDialog(&jumpDialog);
    record->bLineNumIsCRLF = 1;
  }
  void TearDown() override {
    view->SetJumpDialog(nullptr);
    SearchFixture::TearDown();
  }

  // The document lines (0-based) that carry a bookmark.
  std::set<int> Bookmarks() {
    std::set<int> marked;
    int index = 0;
    for (CDocLine* line = doc->m_cDocLineMgr.GetFirstLine(); line; line = line->m_pNext, ++index) {
      if (line->IsBookmarked()) marked.insert(index);
    }
    return marked;
  }
  void Mark(std::initializer_list<int> lines) {
    for (const int i : lines) doc->m_cDocLineMgr.GetLine(i)->SetBookmark(true);
  }
  // The caret's document line (0-based).
  int CaretDocLine() const { return view->m_nCaretPosY_PHY; }

  CJumpDialog jumpDialog;
};
