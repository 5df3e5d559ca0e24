#include "game/error_box.h"

#include <string>

#include "platform/message_box.h"
#include "sdk/framework/window_application.h"

void ErrorBox(std::string_view text) { platform::MessageBox(GetAppWindowHandle(), text, "エラー", MB_OK); }

void ReportMissingIniKey(std::string_view section, std::string_view key) {
  std::string text = "初期化エラー\n";
  text.append(section).append("/").append(key).append("が設定されていません");
  ErrorBox(text);
}
