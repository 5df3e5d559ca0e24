// The game's two ways of telling the player that its set-up is broken.
#pragma once

#include <string_view>

// A message box with the text, the caption "エラー" and an OK button, owned by the game window.
void ErrorBox(std::string_view text);

// ErrorBox naming a key that an ini file lacks: "初期化エラー\n<section>/<key>が設定されていません".
void ReportMissingIniKey(std::string_view section, std::string_view key);
