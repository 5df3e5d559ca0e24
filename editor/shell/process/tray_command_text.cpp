#include "editor/shell/process/tray_command_text.h"

#include "sdk/framework/editor_process_factory.h"

#include <cstdint>
#include <cstring>

#include "editor/foundation/settings/share_data.h"
#include "editor/shell/process/launch_arguments.h"
#include "editor/shell/window/window_list_menu.h"
#include "platform/sjis_literal.h"

namespace {

void AppendPiece(std::string& text, const std::string& piece) {
  if (piece.empty()) return;
  if (!text.empty()) text += ' ';
  text += piece;
}

// A stored 0-based value as the 1-based option, written in 64 bits: the record comes from shared
// memory, and INT32_MAX + 1 must not wrap.
void AppendOneBased(std::string& text, const char* name, int32_t value) {
  if (value < 0) return;
  AppendPiece(text, std::string("-") + name + "=" + std::to_string(int64_t{value} + 1));
}

// A fixed-size text field of the record, never read past its end.
template <size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

}  // namespace

std::string EditorLaunchText(const char* text, int code, bool readOnly) {
  std::string out;
  if (text) AppendPiece(out, text);
  if (code != kDetectCharCode) AppendPiece(out, "-CODE=" + std::to_string(code));
  if (readOnly) AppendPiece(out, "-R");
  return out;
}

std::string EditorLaunchTextForFile(const RecentFileRecord& record, bool readOnly) {
  std::string out;
  const std::string path = FieldText(record.szPath);
  if (!path.empty()) out = '"' + DoubleQuotes(path) + '"';
  AppendOneBased(out, "X", record.nX);
  AppendOneBased(out, "Y", record.nY);
  AppendOneBased(out, "VX", record.nViewLeftCol);
  AppendOneBased(out, "VY", record.nViewTopLine);
  if (record.nCharCode >= 0 && record.nCharCode != kDetectCharCode)
    AppendPiece(out, "-CODE=" + std::to_string(record.nCharCode));
  if (readOnly) AppendPiece(out, "-R");
  return out;
}

std::string PathToken(const char* path) {
  if (!path) return {};
  return EditorCommandToken(path);
}

std::string TrayWindowItemText(int position, const RecentFileRecord& info, CShareData* nicknames) {
  static constexpr WindowItemWords kTrayWords{"…"_sj, "（無題）"_sj, true};
  return WindowListItemText(position, info, false, nicknames, kTrayWords);
}
