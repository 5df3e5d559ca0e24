// The type settings the editor's benchmarks wrap with.
#pragma once

#include <cstring>
#include <memory>

#include "editor/foundation/settings/shared_settings.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "platform/sjis_literal.h"

// Width 80 with every rule on, the Japanese line-head and line-end characters, and comments and
// strings coloured.
inline std::unique_ptr<TypeSettings> MakeEditorBenchWrapType() {
  auto t = std::make_unique<TypeSettings>();
  t->nWrapColumn = 80;
  t->nTabWidth = 4;
  t->bEnglishWordWrap = 1;
  t->bKinsokuHead = t->bKinsokuTail = t->bKinsokuRet = t->bKinsokuKuto = 1;
  std::strcpy(t->szKinsokuHead, "!%),.:;?]}°’”‰′″℃、。々〉》」』】〕゛゜ゝゞ・ヽヾ！％），．：；？］｝｡｣､･ﾞﾟ"_sj);
  std::strcpy(t->szKinsokuTail, "$([{\\‘“〈《「『【〔＄（［｛｢"_sj);
  t->LineComments.Set(0, "//", -1);
  t->BlockComments.SetPair(0, "/*", "*/");
  t->Colors[CWrapLineMgr::COLOR_LINE_COMMENT].bShow = 1;
  t->Colors[CWrapLineMgr::COLOR_SINGLE_QUOTE].bShow = 1;
  t->Colors[CWrapLineMgr::COLOR_DOUBLE_QUOTE].bShow = 1;
  return t;
}
