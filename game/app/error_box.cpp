#include "game/app/error_box.h"

#include <string>

#include "platform/message_box.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/window_application.h"

void ErrorBox(std::string_view text) { platform::MessageBox(GetAppWindowHandle(), text, "エラー"_sj, MB_OK); }

void ReportMissingIniKey(std::string_view section, std::string_view key) {
  std::string text = "初期化エラー\n"_sj;
  text.append(section).append("/").append(key).append("が設定されていません"_sj);
  ErrorBox(text);
}
