#include "editor/foundation/settings/edit_window_limit.h"

#include "editor/foundation/text/show_message_box.h"
#include "platform/message_box.h"
#include "platform/sjis_literal.h"

void ShowEditWindowLimit(HWND owner) {
  ShowMessageBox(owner, MB_OK, "tovara", "編集ウィンドウ数の上限は%dです。\nこれ以上は同時に開けません。"_sj,
                 kEditWindowMax);
}

bool BelowEditWindowLimit(const SharedSettings* record, HWND owner) {
  if (!record || record->nEditWindowCount < kEditWindowMax) return true;
  ShowEditWindowLimit(owner);
  return false;
}
