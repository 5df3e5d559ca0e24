#include "editor/foundation/settings/html_help_dll.h"

#include "editor/foundation/text/show_message_box.h"
#include "platform/sjis_literal.h"

int CHtmlHelpDll::InitDll() {
  const ImportEntry entries[] = {{&m_HtmlHelpA, "HtmlHelpA"}, {nullptr, nullptr}};
  if (BindEntryPoints(entries)) return 0;
  m_HtmlHelpA = nullptr;
  return 1;
}

const char* CHtmlHelpDll::GetDllName(const char*) { return "HHCTRL.OCX"; }

CHtmlHelpDll& GetHtmlHelpDll() {
  static CHtmlHelpDll instance;
  return instance;
}

HWND OpenHtmlHelp(HWND owner, const char* file, UINT command, uintptr_t data, bool warnWhenMissing) {
  CHtmlHelpDll& help = GetHtmlHelpDll();
  if (help.Load() == 0 && help.HtmlHelpA()) return help.HtmlHelpA()(owner, file, command, data);
  if (warnWhenMissing) {
    ShowMessageBox(owner, MB_OK | MB_ICONEXCLAMATION, "情報"_sj, "%s",
                   "HHCTRL.OCXが見つかりません。\r\nHTMLヘルプを利用するにはHHCTRL.OCXが必要です。\r\n"_sj);
  }
  return nullptr;
}
