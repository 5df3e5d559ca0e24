// The find and the replace dialog of one document. The view's per-document object owns them and
// hands them to the document's panes; the replace commands read the replace dialog's mode and
// paste flag and leave their count there even while it is closed. The replace dialog follows the
// document's active pane.
#pragma once

#include "editor/view/search/find_dialog.h"
#include "editor/view/search/replace_dialog.h"

class CSearchDialogs {
 public:
  CFindDialog& Find() { return m_find; }
  CReplaceDialog& Replace() { return m_replace; }

 private:
  CFindDialog m_find;
  CReplaceDialog m_replace;
};
