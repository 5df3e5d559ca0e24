// The edit window's bars: the toolbar with its search box, the status bar with its progress bar,
// their states and notifications, the layout of bars and document on every size, the caption
// message, and the switch into and out of the print preview.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "editor/foundation/settings/recent_menus.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/shell/commands/command_catalog.h"
#include "editor/shell/commands/key_bindings.h"
#include "editor/shell/window/command_state.h"
#include "editor/shell/window/edit_wnd.h"
#include "platform/desktop.h"
#include "platform/dc_text.h"
#include "platform/menu.h"
#include "platform/popup_menu.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "platform/status_bar.h"
#include "platform/sys_color.h"
#include "platform/toolbar.h"
#include "platform/window_tree.h"

namespace {

constexpr char kCaption[] = "tovara";
constexpr DWORD kWsVScroll = 0x00200000;
constexpr DWORD kWsTabStop = 0x00010000;
constexpr uint8_t kSearchBoxStyle = 0x40;
constexpr int kSearchBoxWidth = 160;
constexpr int kSearchBoxLimit = 259;
constexpr int kRecentFileFirst = 11000;
constexpr int kRecentFolderFirst = 12000;
constexpr int kNewCommand = 30101;
constexpr int kOpenCommand = 30102;
constexpr int kChgmodIns = 31001;
constexpr int kKeyMacroRecord = 31250;
constexpr int kJumpDialog = 30920;

// The texts each status part is measured on, from part 1 to part 6.
const char* const kPartSamples[kStatusParts - 1] = {"99999 行 9999 列"_sj, "CRLF", "0000", "Unicode", "REC",
                                                    "上書"_sj};

// The bars' font: the status bar draws its texts in it, and its parts are measured on it.
std::optional<platform::Font> BarFont() {
  LOGFONT lf;
  lf.lfHeight = 12;
  lf.lfWeight = 400;
  std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "ＭＳ Ｐゴシック"_sj);
  return platform::CreateFontIndirect(&lf);
}

int TextWidth(const platform::Font* font, const char* text) {
  if (!font) return 0;
  platform::MemDC dc;
  platform::SelectFont(&dc, font);
  SIZE size{};
  platform::GetTextExtentPoint32A(&dc, text, static_cast<int>(std::strlen(text)), &size);
  return size.cx;
}

int HeightOf(HWND hwnd) {
  RECT rc{};
  if (!hwnd || !platform::GetWindowRect(hwnd, &rc)) return 0;
  return rc.bottom - rc.top;
}

}  // namespace

// ---- The right edges of the status parts ----------------------------------------------------------

std::array<int, kStatusParts> StatusPartEdges(int barWidth, bool maximized, const platform::Font* font) {
  std::array<int, kStatusParts> edges{};
  int right = barWidth;
  if (!maximized) right -= platform::GetSystemMetrics(SM_CXEDGE) + platform::GetSystemMetrics(SM_CXVSCROLL);
  const int gap = platform::GetSystemMetrics(SM_CXFRAME) + 2 * platform::GetSystemMetrics(SM_CXEDGE);
  edges[kStatusParts - 1] = right;
  for (int part = kStatusParts - 2; part >= 0; --part) {
    edges[static_cast<size_t>(part)] = edges[static_cast<size_t>(part) + 1] - TextWidth(font, kPartSamples[part]) - gap;
  }
  return edges;
}

std::string CaptionMessageText(const char* text) {
  std::string out;
  int characters = 0;
  const size_t length = text ? std::strlen(text) : 0;
  for (size_t i = 0; i < length && characters < kCaptionMessageChars; ++characters) {
    const size_t step = platform::IsSjisLead(static_cast<unsigned char>(text[i])) && i + 1 < length ? 2 : 1;
    out.append(text + i, step);
    i += step;
  }
  out.append(static_cast<size_t>(kCaptionMessageChars - characters), ' ');
  return out;
}

// ---- Toolbar --------------------------------------------------------------------------------------

void CEditWnd::BuildToolBar() {
  SharedSettings* s = Settings();
  if (!s || !m_hWnd || m_hwndToolBar) return;
  m_hwndToolBar = platform::CreateWindowEx(0, "ToolbarWindow32", nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS,
                                           0, 0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(intptr_t{kToolBarId}),
                                           m_hInstance, nullptr);
  if (!m_hwndToolBar) {
    s->Common.bDispTOOLBAR = 0;
    ShowMessageBox(m_hWnd, MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST, kCaption, "%s",
                   "ツールバーの作成に失敗しました。"_sj);
    return;
  }
  if (const platform::Bitmap* strip = m_cIcons.Strip()) {
    platform::SetToolbarIcons(m_hwndToolBar, platform::ToolbarIconStrip{strip, CIconBitmap::kCellSize,
                                                                         CIconBitmap::kCellsPerRow,
                                                                         m_cIcons.TransparentColor()});
  }
  platform::SendMessage(m_hwndToolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

  // A row break belongs to the button before it; runs of separators show as one.
  std::vector<TBBUTTON> buttons;
  const int count = std::clamp(s->Common.nToolBarButtonNum, 0, kToolBarButtonSlots);
  for (int i = 0; i < count; ++i) {
    const int entry = s->Common.nTBB[i];
    if (entry < 0 || entry >= CMenuDrawer::kCatalogueEntries) continue;
    const TBBUTTON& button = m_cMenuDrawer.GetCatalogueEntry(entry);
    if (button.fsState & TBSTATE_WRAP) {
      if (!buttons.empty()) buttons.back().fsState |= TBSTATE_WRAP;
      continue;
    }
    if (button.fsStyle == TBSTYLE_SEP && !buttons.empty() && buttons.back().fsStyle == TBSTYLE_SEP) {
      buttons.back() = button;
      continue;
    }
    buttons.push_back(button);
  }

  for (const TBBUTTON& button : buttons) {
    if (button.fsStyle == TBSTYLE_DROPDOWN) {
      platform::SendMessage(m_hwndToolBar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    }
    if (button.fsStyle == kSearchBoxStyle && button.idCommand == kSearchBoxCommand && !m_hwndSearchBox) {
      TBBUTTON gap{};
      gap.idCommand = kSearchBoxCommand;
      gap.fsStyle = TBSTYLE_SEP;
      platform::SendMessage(m_hwndToolBar, TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(&gap));
      TBBUTTONINFO info;
      info.dwMask = TBIF_SIZE;
      info.cx = kSearchBoxWidth;
      platform::SendMessage(m_hwndToolBar, TB_SETBUTTONINFO, kSearchBoxCommand, reinterpret_cast<LPARAM>(&info));
      const LRESULT index = platform::SendMessage(m_hwndToolBar, TB_BUTTONCOUNT, 0, 0) - 1;
      RECT rc{};
      platform::SendMessage(m_hwndToolBar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc));
      m_hwndSearchBox = platform::CreateWindowEx(
          0, "COMBOBOX", "Combo", WS_CHILD | WS_VISIBLE | kWsVScroll | kWsTabStop | CBS_AUTOHSCROLL | CBS_DROPDOWN,
          rc.left, rc.top + 1, rc.right - rc.left, (rc.bottom - rc.top) * 10, m_hwndToolBar,
          reinterpret_cast<HMENU>(intptr_t{kSearchBoxCommand}), m_hInstance, nullptr);
      if (m_hwndSearchBox) {
        platform::SendMessage(m_hwndSearchBox, CB_LIMITTEXT, kSearchBoxLimit, 0);
        FillSearchBox();
      }
      continue;
    }
    platform::SendMessage(m_hwndToolBar, TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(&button));
  }

  if (s->Common.bToolBarIsFlat) {
    const LRESULT style = platform::SendMessage(m_hwndToolBar, TB_GETSTYLE, 0, 0);
    platform::SendMessage(m_hwndToolBar, TB_SETSTYLE, 0, style | TBSTYLE_FLAT);
    platform::InvalidateRect(m_hwndToolBar, nullptr, 1);
  }
}

void CEditWnd::RemoveToolBar() {
  if (!m_hwndToolBar) return;
  if (m_hwndSearchBox) {
    platform::DestroyWindow(m_hwndSearchBox);
    m_hwndSearchBox = nullptr;
    m_cRouter.OnCommand(kSearchBoxLostFocus, kSearchBoxCommand, nullptr);
  }
  platform::DestroyWindow(m_hwndToolBar);
  m_hwndToolBar = nullptr;
}

void CEditWnd::UpdateToolbarStates() {
  const SharedSettings* s = Settings();
  if (m_pPrintPreview || !m_hwndToolBar || !s) return;
  const int count = std::clamp(s->Common.nToolBarButtonNum, 0, kToolBarButtonSlots);
  for (int i = 0; i < count; ++i) {
    const int entry = s->Common.nTBB[i];
    if (entry < 0 || entry >= CMenuDrawer::kCatalogueEntries) continue;
    const int command = m_cMenuDrawer.GetCatalogueEntry(entry).idCommand;
    if (command == 0) continue;
    platform::PostMessage(m_hwndToolBar, TB_ENABLEBUTTON, static_cast<WPARAM>(command),
                          MAKELPARAM(IsCommandEnabled(command) ? 1 : 0, 0));
    platform::PostMessage(m_hwndToolBar, TB_CHECKBUTTON, static_cast<WPARAM>(command),
                          MAKELPARAM(IsCommandChecked(command) ? 1 : 0, 0));
  }
}

// ---- Status bar -----------------------------------------------------------------------------------

void CEditWnd::BuildStatusBar() {
  if (!m_hWnd || m_hwndStatusBar) return;
  m_hwndStatusBar = platform::CreateStatusWindow(WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | 0x1000, "", m_hWnd,
                                                 kStatusBarId);
  if (!m_hwndStatusBar) return;
  m_hwndProgress = platform::CreateWindowEx(WS_EX_TOOLWINDOW, "msctls_progress32", nullptr, WS_CHILD, 3, 5, 150, 13,
                                            m_hwndStatusBar, nullptr, m_hInstance, nullptr);
  if (m_pFuncKeyBar->IsOpen()) m_pFuncKeyBar->SetSizeGrip(false);
}

void CEditWnd::RemoveStatusBar() {
  if (m_hwndProgress) platform::DestroyWindow(m_hwndProgress);
  m_hwndProgress = nullptr;
  m_pProgress.reset();
  if (m_hwndStatusBar) platform::DestroyWindow(m_hwndStatusBar);
  m_hwndStatusBar = nullptr;
  const SharedSettings* s = Settings();
  if (m_pFuncKeyBar->IsOpen() && s && s->Common.nFUNCKEYWND_Place != 0) m_pFuncKeyBar->SetSizeGrip(true);
}

void CEditWnd::ShowMessageText(const char* text) {
  if (m_hwndStatusBar) SetStatusText(text);
  else DrawCaptionMessage(text);
}

void CEditWnd::SetStatusText(const char* text) { SetStatusText(0, text); }

void CEditWnd::DrawCaptionMessage(const char* text) {
  m_captionMessage = CaptionMessageText(text);
  if (m_hWnd) platform::SetMenuBarCornerText(m_hWnd, m_captionMessage);
}

void CEditWnd::DrawRecPart(const DRAWITEMSTRUCT& item) {
  const SharedSettings* s = Settings();
  const bool recording = s && s->bKeyMacroRecording && m_id && s->hwndKeyMacroRecorder == m_id;
  HDC dc = item.hDC;
  if (!dc) return;
  // The bar's own font where the desktop lacks it, so that the mark always shows.
  const std::optional<platform::Font> font = BarFont();
  const platform::Font* previous = font ? platform::SelectFont(dc, &*font) : nullptr;
  SIZE size{};
  platform::GetTextExtentPoint32A(dc, "REC", 3, &size);
  const int y = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - size.cy + 1) / 2;
  platform::SetBkMode(dc, platform::TRANSPARENT);
  platform::SetTextColor(dc, platform::GetSysColor(recording ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
  platform::TextOutA(dc, item.rcItem.left, y, "REC", 3);
  // Drawn twice, a pixel apart: the bold look of a running recording.
  if (recording) platform::TextOutA(dc, item.rcItem.left + 1, y, "REC", 3);
  if (font) platform::SelectFont(dc, previous);
}

// ---- Layout ---------------------------------------------------------------------------------------

void CEditWnd::OnSizeFrame(WPARAM sizeType, int width, int height) {
  SharedSettings* s = Settings();
  if (!s) return;
  CommonSettings& c = s->Common;
  if (sizeType != SIZE_MINIMIZED && c.bSaveWindowSize == 1) {
    if (sizeType == SIZE_MAXIMIZED) {
      c.nWinSizeType = 2;
    } else if (c.nWinSizeType != static_cast<int>(sizeType) || c.nWinSizeCX != width || c.nWinSizeCY != height) {
      // A window's size here is its client size (the window manager's frame is outside it), so the
      // size kept is the one the next window is made with, and windows never grow by their frame.
      c.nWinSizeType = static_cast<int>(sizeType);
      c.nWinSizeCX = width;
      c.nWinSizeCY = height;
    }
  }
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (platform::GetWindowPlacement(m_hWnd, &placement)) s->wpSavedEditWindow = placement;
  m_nWinSizeType = sizeType;

  const LPARAM size = MAKELPARAM(width, height);
  int toolHeight = 0, statusHeight = 0;
  if (m_hwndToolBar) {
    platform::SendMessage(m_hwndToolBar, WM_SIZE, sizeType, size);
    toolHeight = HeightOf(m_hwndToolBar);
  }
  const int funcHeight = m_pFuncKeyBar->IsOpen() ? m_pFuncKeyBar->OnFrameSize(sizeType, width, height) : 0;
  const int tabHeight = m_pTabBar->IsOpen() ? m_pTabBar->OnFrameSize(sizeType, width, height) : 0;
  if (m_hwndStatusBar) {
    platform::SendMessage(m_hwndStatusBar, WM_SIZE, sizeType, size);
    statusHeight = HeightOf(m_hwndStatusBar);
    PlaceStatusParts(sizeType);
  }

  const bool funcKeysOnTop = c.nFUNCKEYWND_Place == 0;
  if (m_pTabBar->IsOpen()) m_pTabBar->Move(0, funcKeysOnTop ? toolHeight + funcHeight : toolHeight, width, tabHeight);
  if (m_pFuncKeyBar->IsOpen()) {
    if (funcKeysOnTop) {
      m_pFuncKeyBar->Move(0, toolHeight, width, funcHeight);
    } else {
      m_pFuncKeyBar->Move(0, height - statusHeight - funcHeight, width, funcHeight);
      m_pFuncKeyBar->SetSizeGrip(!m_hwndStatusBar && sizeType != SIZE_MAXIMIZED);
    }
  }
  const int documentTop = funcKeysOnTop ? toolHeight + funcHeight + tabHeight : toolHeight + tabHeight;
  const int documentHeight = height - statusHeight - tabHeight - funcHeight - toolHeight;
  m_cEditDoc.MoveDocWindow(0, documentTop, width, std::max(0, documentHeight));
  if (m_pPrintPreview) m_pPrintPreview->DispatchEvent(m_hWnd, WM_SIZE, sizeType, size);
}

void CEditWnd::PlaceStatusParts(WPARAM sizeType) {
  RECT rc{};
  platform::GetClientRect(m_hwndStatusBar, &rc);
  const std::optional<platform::Font> font = BarFont();
  const std::array<int, kStatusParts> edges =
      StatusPartEdges(rc.right - rc.left, sizeType == SIZE_MAXIMIZED, font ? &*font : nullptr);
  SetStatusText("");
  platform::SendMessage(m_hwndStatusBar, SB_SETPARTS, kStatusParts, reinterpret_cast<LPARAM>(edges.data()));
  // The recording mark is the frame's to draw.
  platform::SendMessage(m_hwndStatusBar, SB_SETTEXT, kStatusRecPart | SBT_OWNERDRAW, 0);
}

// ---- Notifications --------------------------------------------------------------------------------

LRESULT CEditWnd::OnNotifyFrame(LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (!header) return 0;
  if (m_hwndStatusBar && header->hwndFrom == m_hwndStatusBar) return OnStatusNotify(*header, lParam);
  if (header->code == TBN_DROPDOWN) {
    const int command = ShowFilePopupMenu(m_hwndToolBar);
    if (command != 0) m_cRouter.OnCommand(kCommandFromMenu, command, nullptr);
    return TBDDRET_DEFAULT;
  }
  if (header->code == TTN_NEEDTEXT) {
    auto* tip = reinterpret_cast<NMTTDISPINFO*>(lParam);
    m_tipText = ToolTipText(static_cast<int>(header->idFrom));
    tip->lpszText = m_tipText.data();
    return 0;
  }
  return 0;
}

std::string CEditWnd::ToolTipText(int command) const {
  const SharedSettings* s = Settings();
  char name[256] = {};
  CCommandCatalog(s).GetCommandName(command, name, sizeof name);
  std::string text = name;
  // Id 0 is what every unassigned key holds: no command has it.
  if (s && command != 0) {
    std::vector<std::string> keys;
    GetAllKeyNamesForCommand(s->nKeyAssignCount, s->KeyAssigns, keys, command);
    for (const std::string& key : keys) text += "\n        " + key;
  }
  // The tip holds 1024 bytes with its terminator; a character is never cut in half.
  text.resize(platform::SjisWholePrefix(text, platform::kToolTipBytes - 1));
  return text;
}

LRESULT CEditWnd::OnStatusNotify(const NMHDR& header, LPARAM lParam) {
  // Only the mouse notes carry the part; any other note is a bare header.
  if (header.code != NM_DBLCLK && header.code != NM_RCLICK) return 0;
  const auto& mouse = *reinterpret_cast<const NMMOUSE*>(lParam);
  const int part = static_cast<int>(static_cast<intptr_t>(mouse.dwItemSpec));
  if (header.code == NM_DBLCLK) {
    int command = 0;
    if (part == 6) command = kChgmodIns;
    else if (part == kStatusRecPart) command = kKeyMacroRecord;
    else if (part == 1) command = kJumpDialog;
    if (command) m_cEditDoc.HandleCommand(command);
    return 0;
  }
  if (header.code == NM_RCLICK && part == 2) {
    HMENU popup = CreatePopupMenu();
    AppendMenu(popup, MF_STRING, 31081, "入力改行コード指定(&CRLF)"_sj);
    AppendMenu(popup, MF_STRING, 31082, "入力改行コード指定(&LF)"_sj);
    AppendMenu(popup, MF_STRING, 31083, "入力改行コード指定(C&R)"_sj);
    POINT at = mouse.pt;
    platform::MapWindowPoints(m_hwndStatusBar, nullptr, &at, 1);
    const int command = static_cast<int>(platform::TrackPopupMenu(
        popup, TPM_RETURNCMD | TPM_BOTTOMALIGN | TPM_CENTERALIGN, at.x, at.y, 0, m_hWnd, nullptr));
    DestroyMenu(popup);
    if (command) m_cEditDoc.HandleCommand(command);
  }
  return 0;
}

int CEditWnd::ShowFilePopupMenu(HWND hwndToolbar) {
  m_cMenuDrawer.ClearItems();
  CRecentFileMenu files(&m_share);
  HMENU popup = files.CreatePopup(m_cMenuDrawer);
  if (!popup) return 0;
  if (files.GetCount() > 0) m_cMenuDrawer.MyAppendMenu(popup, MF_SEPARATOR, 0, nullptr);
  CRecentFolderMenu folders(&m_share);
  HMENU folderPopup = folders.CreatePopup(m_cMenuDrawer);
  const UINT grey = folders.List().GetCount() == 0 ? MF_GRAYED : 0;
  m_cMenuDrawer.MyAppendMenu(popup, MF_POPUP | grey, reinterpret_cast<uintptr_t>(folderPopup),
                             "最近使ったフォルダ(&D)"_sj);
  m_cMenuDrawer.MyAppendMenu(popup, MF_SEPARATOR, 0, nullptr);
  m_cMenuDrawer.MyAppendMenu(popup, MF_STRING, kNewCommand, "新規作成(&N)"_sj);
  m_cMenuDrawer.MyAppendMenu(popup, MF_STRING, kOpenCommand, "開く(&O)..."_sj);
  RECT bar{};
  if (hwndToolbar) platform::GetWindowRect(hwndToolbar, &bar);
  POINT cursor{};
  platform::GetCursorPos(&cursor);
  const int command = static_cast<int>(
      platform::TrackPopupMenu(popup, TPM_RETURNCMD, cursor.x, bar.bottom - 2, 0, m_hWnd, hwndToolbar ? &bar : nullptr));
  DestroyMenu(popup);
  return command;
}

// ---- Print preview --------------------------------------------------------------------------------

void CEditWnd::ShowBars(bool show) {
  const int command = show ? SW_SHOW : SW_HIDE;
  if (const IDocSplitter* splitter = m_cEditDoc.Ports().splitter) platform::ShowWindow(splitter->Window(), command);
  if (m_hwndToolBar) platform::ShowWindow(m_hwndToolBar, command);
  if (m_hwndStatusBar) platform::ShowWindow(m_hwndStatusBar, command);
  m_pFuncKeyBar->Show(show);
  m_pTabBar->Show(show);
}

void CEditWnd::TogglePrintPreview() {
  if (!m_hWnd) return;
  if (m_pPrintPreview) {
    DocPorts ports = m_cEditDoc.Ports();
    ports.preview = nullptr;
    m_cEditDoc.SetPorts(ports);
    m_pPrintPreview.reset();
    ShowBars(true);
    platform::SetFocus(m_hWnd);
    platform::SetMenu(m_hWnd, platform::LoadMenu(m_hInstance, kEditMenuResourceName));
    platform::DrawMenuBar(m_hWnd);
    platform::InvalidateRect(m_hWnd, nullptr, 1);
    return;
  }
  const SharedSettings* s = Settings();
  if (!s || !m_previewMaker) return;
  HMENU old = platform::GetMenu(m_hWnd);
  platform::SetMenu(m_hWnd, nullptr);
  if (old) DestroyMenu(old);
  ShowBars(false);
  const int type = std::clamp(m_cEditDoc.m_nSettingType, 0, kTypeSlots - 1);
  const int setting = std::clamp(s->TypeList[type].nPrintSetting, 0, kPrintSettingSlots - 1);
  m_pPrintPreview = m_previewMaker(m_hWnd, setting);
  if (m_pPrintPreview && m_pPrintPreview->Init()) {
    DocPorts ports = m_cEditDoc.Ports();
    ports.preview = m_pPrintPreview.get();
    m_cEditDoc.SetPorts(ports);
    SendSizeAgain();
    platform::InvalidateRect(m_hWnd, nullptr, 1);
    return;
  }
  ShowMessageBox(m_hWnd, MB_OK | MB_ICONINFORMATION | MB_TOPMOST, kCaption, "%s",
                 "印刷プレビューを実行する前に、プリンタをインストールしてください。\n"_sj);
  if (!m_pPrintPreview) m_pPrintPreview = m_previewMaker(m_hWnd, setting);
  if (m_pPrintPreview) {
    TogglePrintPreview();
  } else {
    ShowBars(true);
    platform::SetMenu(m_hWnd, platform::LoadMenu(m_hInstance, kEditMenuResourceName));
  }
}

void CEditWnd::RunPrintSettingDialog() {
  // The print settings dialog comes with printing; until then the window is only brought up to
  // date, as after a cancelled dialog.
  if (m_hWnd) platform::UpdateWindow(m_hWnd);
}

namespace {

class CNoPrinterPreview final : public IEditPrintPreview {
 public:
  bool Init() override { return false; }
  LRESULT DispatchEvent(HWND, UINT, WPARAM, LPARAM) override { return 0; }
  void SetPrintSetting(int) override {}
  int CurrentPage() const override { return 1; }
  int PageCount() const override { return 0; }
};

}  // namespace

PrintPreviewMaker NoPrinterPreviewMaker() {
  return [](HWND, int) -> std::unique_ptr<IEditPrintPreview> { return std::make_unique<CNoPrinterPreview>(); };
}
