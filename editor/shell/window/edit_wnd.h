// The edit window: the top-level window of an edit-window process, holding one document with its
// panes, the toolbar with its search box, the status bar and the places of the function-key and
// tab bars. It registers itself in the shared window list, answers the other processes' requests
// (file information, caret, lines, added text, close), keeps its placement in the shared settings,
// takes dropped files and runs the process's message loop.
//
// It is what the panes know as their edit window (IEditWindow), what the document knows as its
// frame (IDocFrame) and what the command routing asks of its window (IEditCommandHost).
//
// Its parent, the resident process's tray window, lives in another process: it is only recorded
// and told of the window's end. GUI thread only.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/ui/wnd.h"
#include "editor/shell/commands/icon_bitmap.h"
#include "editor/shell/commands/menu_drawer.h"
#include "editor/shell/window/command_router.h"
#include "editor/shell/window/edit_menu_bar.h"
#include "editor/shell/window/frame_bar.h"
#include "editor/shell/window/print_preview_port.h"
#include "editor/view/pane/edit_window.h"
#include "editor/foundation/text/job_progress.h"
#include "platform/accelerator.h"
#include "platform/dialog.h"
#include "platform/font.h"
#include "platform/timer.h"

class CShareData;
namespace platform {
struct DroppedFiles;
}

// The window class of every edit window (kEditWindowClass of the shared record).
constexpr int kEditWindowLimit = 256;
// The status bar's and the toolbar's control ids.
constexpr int kStatusBarId = 123;
constexpr int kToolBarId = 100;
// The frame's timers: the file-change and auto-save tick, and the toolbar's states.
constexpr UINT_PTR kTickTimer = 455;
constexpr UINT_PTR kToolbarTimer = 456;
// The status bar's parts.
constexpr int kStatusParts = 7;
constexpr int kStatusRecPart = 5;
// HELPINFO's context type of a menu item (F1 on an item asks for its command's topic).
constexpr int kHelpOnMenuItem = 2;
// Characters of the caption message.
constexpr int kCaptionMessageChars = 30;

// Where a new edit window starts: the saved size and place (as the settings keep them), the
// command line's request over them, or the placement saved for the tabs' one window (moved by the
// work area's origin); what none decides is left to a default inside the work area.
struct EditWindowStart {
  int x = 0, y = 0, cx = 0, cy = 0;
  bool tabPlacement = false;
};
EditWindowStart EditWindowStartRect(const SharedSettings& settings, const RecentFileRecord& request, const RECT& work);

// The right edges of the status bar's seven parts on a bar that wide, the samples measured in the
// font given (null: no font, every sample 0 wide).
std::array<int, kStatusParts> StatusPartEdges(int barWidth, bool maximized, const platform::Font* font);
// The caption message as drawn: the first 30 characters, padded with spaces to 30.
std::string CaptionMessageText(const char* text);

class CEditWnd : public CWnd, public IEditWindow, public IDocFrame, public IEditCommandHost {
 public:
  explicit CEditWnd(CShareData& share);
  ~CEditWnd() override;

  // Makes the window (hidden bars as the settings say), registers it in the shared window list
  // and loads the file (null: an empty document). residentWindow is the tray window to tell of
  // the window's end (0: none). nDocumentType -1 keeps the type the file's name chooses. Null when
  // the window cannot be made or the list is full (the user has been told).
  HWND Create(HINSTANCE hInstance, EditWindowId residentWindow, const char* pszPath, int nCharCode, bool bReadOnly,
              int nDocumentType);
  // The process's loop; returns once the window is gone. A quit request taken while the window
  // stands closes it as WM_CLOSE does (a cancelled close keeps it, and the loop, going); its exit
  // code is returned for the caller to post again once the window's own quit is taken.
  std::optional<int> RunMessageLoop();

  // The window's size and place asked on the command line (nRequestWidth ... nRequestY); before
  // Create. The process takes them from its command-line options.
  void SetWindowRequest(const RecentFileRecord& request) { m_request = request; }
  // The bars that stand in the function-key bar's and the tab bar's places; before Create.
  void SetFrameBars(std::unique_ptr<IFrameBar> funcKeys, std::unique_ptr<IFrameBar> tabs);
  // What makes the print preview; before the preview is entered.
  void SetPrintPreviewMaker(PrintPreviewMaker maker) { m_previewMaker = std::move(maker); }

  // ---- Shared roles and the list -----------------------------------------------------------
  void SetAsOutputWindow();
  void ReleaseOutputWindow();
  void UpdateWindowListEntry(const char* pszPath, const char* pszTabCaption, bool bGrepWindow);
  // 0 toggles, 1 sets, 2 clears the topmost state; other modes do nothing.
  void SetTopMost(int mode) override;
  void StartTimer(bool on);

  // ---- Icons ---------------------------------------------------------------------------------
  static void LoadAppIcons(HICON* phIconBig, HICON* phIconSmall);
  static void LoadFileTypeIcons(const char* pszPath, HICON* phIconBig, HICON* phIconSmall);
  void ReplaceWindowIcon(HICON hIcon, WPARAM which);

  // ---- Closing and files -------------------------------------------------------------------
  // Whether the window may close (the document agrees); the next listed window is activated.
  bool OnClose();
  // Dropped files, in the drop's order.
  void OnDropFiles(const std::vector<std::string>& files);
  // WM_DROPFILES: the drop's files (a path too long for the editor is left out), then the drop
  // is finished.
  void OnDropFiles(platform::DroppedFiles* drop);

  // ---- Bars (edit_wnd_bars.cpp) ------------------------------------------------------------
  void BuildToolBar();
  void RemoveToolBar();
  void BuildStatusBar();
  void RemoveStatusBar();
  void ShowMessageText(const char* text) override;
  void SetStatusText(const char* text);
  void DrawCaptionMessage(const char* text);
  void TogglePrintPreview() override;
  void RunPrintSettingDialog();
  int ShowFilePopupMenu(HWND hwndToolbar);
  // The tip of a toolbar button: the command's name and a line per key bound to it.
  std::string ToolTipText(int command) const;
  // Posts every toolbar button's enabled and checked state (timer 456).
  void UpdateToolbarStates();

  // ---- What tests and the process read ---------------------------------------------------------
  EditWindowId WindowId() const override { return m_id; }
  CEditDoc& Document() { return m_cEditDoc; }
  HWND ToolBar() const { return m_hwndToolBar; }
  HWND StatusBar() const { return m_hwndStatusBar; }
  HWND ProgressBar() const { return m_hwndProgress; }
  HWND SearchBox() const override { return m_hwndSearchBox; }
  HACCEL Accelerators() const { return m_hAccel; }
  IFrameBar& FuncKeyBar() { return *m_pFuncKeyBar; }
  IFrameBar& TabBar() { return *m_pTabBar; }
  bool IsPreviewing() const { return m_pPrintPreview != nullptr; }
  // The caption message as last drawn (30 characters, padded).
  const std::string& CaptionMessage() const { return m_captionMessage; }

  // ---- IEditWindow -------------------------------------------------------------------------
  HWND Window() const override { return m_hWnd; }
  bool IsActiveWindow() const override;
  void TakeFocus() override;
  bool HasStatusBar() const override { return m_hwndStatusBar != nullptr; }
  void SetStatusText(int part, const char* text) override;
  bool HasFuncKeyBarAtBottom() const override;
  bool IsMaximized() const override;
  void SetCaptionMessage(const char* text) override { DrawCaptionMessage(text); }
  bool IsPrintPreview() const override { return IsPreviewing(); }
  bool GetCommandName(int command, char* buffer, int size) const override;
  bool IsCommandEnabled(int command) const override;
  bool IsCommandChecked(int command) const override;
  IMenuDrawer* MenuDrawer() override { return &m_cMenuDrawer; }
  bool GetKeyBindList(CMemory* out) const override;
  int KeyCommand(int nAccelCmd) const override;
  // edit_wnd_commands.cpp
  void ToggleBar(Bar bar) override;
  void QuitAll() override { QuitResidentProcess(); }
  void ShowWindowListMenu(bool atMouse) override;

  // ---- IDocFrame -----------------------------------------------------------------------------
  HWND FrameWindow() const override { return m_hWnd; }
  bool IsMinimized() const override;
  void Activate() override;
  void SetCaption(const char* text) override;
  void SetWindowListEntry(const char* tabCaption, const char* path, bool grepWindow) override;
  void SetIcons(HICON small, HICON big) override;
  CJobProgressBar* ShowProgress() override;
  void HideProgress() override;
  void ReleaseOutputRole() override { ReleaseOutputWindow(); }
  void RestartFunctionKeys() override;
  bool HasToolBar() const override { return m_hwndToolBar != nullptr; }
  bool HasFuncKeyBar() const override { return m_pFuncKeyBar->IsOpen(); }
  bool HasTabBar() const override { return m_pTabBar->IsOpen(); }
  bool IsTopMost() const override;

  // ---- IEditCommandHost ----------------------------------------------------------------------
  std::string SearchBoxText() const override;
  void FocusActivePane() override;
  void QuitResidentProcess() override;
  void ShowAboutDialog() override;
  bool ActivateWindow(EditWindowId window) override;

 protected:
  LRESULT DispatchEvent(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  // The window shows itself as Create says, not at once.
  void AfterCreate() override {}

 private:
  // The progress bar on the status bar, as a long job sees it.
  class CStatusProgress final : public CJobProgressBar {
   public:
    explicit CStatusProgress(HWND bar) : m_bar(bar) {}
    void SetRange(int32_t low, int32_t high) override {
      platform::SendMessage(m_bar, PBM_SETRANGE32, static_cast<WPARAM>(low), high);
    }
    void SetPos(int32_t pos) override { platform::SendMessage(m_bar, PBM_SETPOS, static_cast<WPARAM>(pos), 0); }

   private:
    HWND m_bar;
  };

  SharedSettings* Settings() const;
  HWND ActivePaneWindow() const;
  IDocPane* ActivePane() const;
  // A command with the pane's arguments (added text) on the active pane.
  void RunPaneCommand(int command, LPARAM lparam1, LPARAM lparam2);
  void ClampToWorkArea();
  void ShowAtStart(bool tabPlacement);
  void RebuildAccelerators();
  void OnDestroyFrame();
  void OnTimerTick();
  void OnSizeFrame(WPARAM sizeType, int width, int height);
  void OnActivateFrame(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetFocusFrame(HWND hwnd, WPARAM wParam, LPARAM lParam);
  void OnSettingsChanged();
  void OnMenuSelect(int command, int flags);
  // WM_HELP: the topic of the menu item's command, when the item has one.
  void ShowMenuItemHelp(const HELPINFO* info);
  // The window's placement, and its place when the settings keep it (WM_MOVE, and at its end).
  void KeepPlacement();
  // The active pane's IME composition window at its caret.
  void PlaceImeWindow();
  void SetExchangePosition();
  LRESULT CopyLineToExchange(WPARAM line);
  void WriteCaretToExchange();
  void AddTextAtEnd();
  bool HandleSearchBoxKey(MSG& msg);
  void FillSearchBox();
  void SendSizeAgain();
  void PlaceStatusParts(WPARAM sizeType);
  LRESULT OnStatusNotify(const NMHDR& header, LPARAM lParam);
  LRESULT OnNotifyFrame(LPARAM lParam);
  void DrawRecPart(const DRAWITEMSTRUCT& item);
  void ShowBars(bool show);
  void LoadFileHere(const char* path);
  void ShowWindowCountLimit(HWND owner);
  // Whether the document holds something the user would lose (a drop then opens a new window).
  bool IsDocumentInUse() const;

  CShareData& m_share;
  CEditDoc m_cEditDoc;
  EditWindowId m_hwndResident = 0;
  EditWindowId m_id = 0;
  HWND m_hwndToolBar = nullptr;
  HWND m_hwndStatusBar = nullptr;
  HWND m_hwndProgress = nullptr;
  std::unique_ptr<CStatusProgress> m_pProgress;
  std::unique_ptr<IFrameBar> m_pFuncKeyBar;
  std::unique_ptr<IFrameBar> m_pTabBar;
  CIconBitmap m_cIcons;
  CMenuDrawer m_cMenuDrawer;
  CEditMenuBar m_cMenuBar;
  CCommandRouter m_cRouter;
  WPARAM m_nWinSizeType = SIZE_RESTORED;
  bool m_bDragMode = false;
  POINT m_ptDragPosOrg{};
  PrintPreviewMaker m_previewMaker;
  std::unique_ptr<IEditPrintPreview> m_pPrintPreview;
  HWND m_hwndSearchBox = nullptr;
  std::string m_captionMessage;
  std::string m_tipText;
  int m_nTimerCount = 0;
  // The exit code of a quit the process's other user (the game) asked for while the loop ran.
  std::optional<int> m_othersQuit;
  HACCEL m_hAccel = nullptr;
  HICON m_hIcons[2] = {nullptr, nullptr};
  // The window request of the command line, taken at Create.
  RecentFileRecord m_request = kEmptyRecentFileRecord;
  // The rectangle the window starts in, kept inside the work area.
  RECT m_adjusted{};
};
