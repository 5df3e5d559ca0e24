// The pane's side of grep: the result document, the cancel dialog and the run's undo step around
// the window-free walk of grep_engine.
#include <cstdio>
#include <memory>
#include <string>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/regexp_dll.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/ui/cancel_dialog.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/search/grep_dialog.h"
#include "editor/view/search/grep_engine.h"
#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kCancelTemplate = 134;
constexpr int kFolderText = 1123;
constexpr int kCountText = 1124;
constexpr int kFileText = 1310;
constexpr int kRealTimeCheck = 1477;
constexpr size_t kGrepKeyBytes = 260;
// The window keeps answering as if messages were pumped at every line, for a fraction of the cost.
constexpr uint32_t kPumpIntervalMs = 20;

// The run's output goes into the pane's document at its end; progress into the cancel dialog.
class PaneGrepSink final : public IGrepSink {
 public:
  PaneGrepSink(CEditView& view, const CCancelDialog& dialog) : m_view(view), m_dialog(dialog) {}

  void Append(std::string_view text) override {
    m_view.Command_ADDTAIL(text.data(), static_cast<int>(text.size()));
  }
  bool Cancelled() override {
    const uint32_t now = platform::NowMs();
    if (!m_bPumped || now - m_nLastPump >= kPumpIntervalMs) {
      m_bPumped = true;
      // A quit request ends the run as the cancel button does; the pump posts it again.
      if (!PumpPendingMessages(m_dialog.GetHwnd())) m_bQuit = true;
      m_nLastPump = platform::NowMs();
    }
    return m_bQuit || m_dialog.m_bCanceled != 0;
  }
  bool RealTime() override {
    const HWND hwnd = m_dialog.GetHwnd();
    const bool on = hwnd && platform::IsDlgButtonChecked(hwnd, kRealTimeCheck) == BST_CHECKED;
    m_view.m_bDrawSWITCH = on ? 1 : 0;
    return on;
  }
  void ShowFolder(std::string_view folder) override { SetText(kFolderText, folder); }
  void ShowFile(std::string_view text) override { SetText(kFileText, text); }
  void ShowCount(int count) override {
    if (const HWND hwnd = m_dialog.GetHwnd()) platform::SetDlgItemInt(hwnd, kCountText, static_cast<UINT>(count), 0);
  }

 private:
  void SetText(int id, std::string_view text) {
    if (const HWND hwnd = m_dialog.GetHwnd()) platform::SetDlgItemText(hwnd, id, std::string(text).c_str());
  }

  CEditView& m_view;
  const CCancelDialog& m_dialog;
  bool m_bPumped = false;
  bool m_bQuit = false;
  uint32_t m_nLastPump = 0;
};

// The folder with a final "/": its last character is looked at as a whole, so a double-byte
// character whose trail byte is "/" or "\" never counts as one.
std::string WithFinalSlash(const char* pszFolder) {
  std::string folder = pszFolder ? pszFolder : "";
  const auto* p = reinterpret_cast<const unsigned char*>(folder.data());
  const int len = static_cast<int>(folder.size());
  int last = -1;
  for (int at = 0; at < len; at += SjisCharSize(p, len, at)) last = at;
  if (last < 0 || folder[static_cast<size_t>(last)] != '/' || SjisCharSize(p, len, last) != 1) folder += '/';
  return folder;
}

}  // namespace

int CEditView::RunGrep(const char* pszKey, const char* pszFile, const char* pszFolder, bool bGrepSubFolder,
                       bool bGrepLoHiCase, bool bGrepRegularExp, int nGrepCharSet, bool bGrepOutputLine,
                       bool bGrepWordOnly, int nGrepOutputStyle) {
  if (!m_pcEditDoc) return 0;
  CEditDoc& doc = *m_pcEditDoc;
  doc.m_nGrepRunning = 1;
  // A run started outside a command gets an undo step of its own.
  const bool bOwnBlock = m_pcOpeBlk == nullptr;
  if (bOwnBlock) m_pcOpeBlk = std::make_unique<COpeBlk>();
  // Every way out leaves the document as a finished run does: not running, its step stored, the
  // pane drawing again.
  struct RunEnd {
    CEditView& view;
    bool ownBlock;
    ~RunEnd() {
      CEditDoc& d = *view.m_pcEditDoc;
      if (ownBlock) {
        std::unique_ptr<COpeBlk> block = std::move(view.m_pcOpeBlk);
        if (block && block->GetNum() > 0) d.m_cUndoBuffer.AppendBlock(block.release());
      }
      d.SetModified(false, true);
      d.m_nGrepRunning = 0;
      view.m_bDrawSWITCH = 1;
      view.RepaintAll();
    }
  } runEnd{*this, bOwnBlock};

  GrepConditions c;
  c.key = pszKey ? pszKey : "";
  c.files = pszFile ? pszFile : "";
  c.folder = WithFinalSlash(pszFolder);
  c.bSubFolder = bGrepSubFolder;
  c.bLoHiCase = bGrepLoHiCase;
  c.bRegularExp = bGrepRegularExp;
  c.nCharSet = nGrepCharSet;
  c.bOutputLine = bGrepOutputLine;
  c.bWordOnly = bGrepWordOnly;
  c.nOutputStyle = nGrepOutputStyle == 2 ? 2 : 1;

  // The result shows its hits as a search for the key would.
  if (c.bRegularExp && !LoadRegexDllOrWarn(m_hWnd, m_CurRegexp, true)) return 0;
  SetSearchHighlight(c.key.c_str(), c.bRegularExp, c.bLoHiCase, m_bCurSrchWordOnly);

  const bool bRealTime = Common().bGrepRealTime != 0;
  auto dialog = std::make_unique<CCancelDialog>();
  IDocFrame* frame = doc.Ports().frame;
  dialog->DoModeless(m_hInstance, frame ? frame->FrameWindow() : nullptr, kCancelTemplate);
  if (const HWND hwnd = dialog->GetHwnd()) {
    platform::SetDlgItemInt(hwnd, kCountText, 0, 0);
    platform::SetDlgItemText(hwnd, kFileText, " ");
    platform::CheckDlgButton(hwnd, kRealTimeCheck, bRealTime ? BST_CHECKED : BST_UNCHECKED);
  }

  doc.m_szGrepKey = std::string(GrepCutText(c.key, static_cast<int>(kGrepKeyBytes)));
  doc.m_bGrepWindow = true;
  if (frame) {
    frame->SetIcons(LoadGrepIcon(m_hInstance, true),
                    LoadGrepIcon(m_hInstance, false));
  }

  const int nHeaderLine = Layout().GetLineCount();
  const std::string header = BuildGrepHeader(c, Type().nQuoteEscape);
  Command_ADDTAIL(header.data(), static_cast<int>(header.size()));

  CRegexpDll regexp;
  if (c.bRegularExp &&
      (regexp.Load() != 0 || !regexp.Compile(c.key.c_str(), nullptr, c.bLoHiCase ? CRegexpDll::kCaseSensitive : 0))) {
    return 0;
  }

  m_bDrawSWITCH = bRealTime ? 1 : 0;
  PaneGrepSink sink(*this, *dialog);
  CGrepEngine engine(c, c.bRegularExp ? &regexp : nullptr, sink);
  const int result = engine.GrepFolder(c.folder, 0);
  std::string footer;
  if (result == -1) footer += "中断しました。\r\n"_sj;
  char count[64];
  std::snprintf(count, sizeof count, "%d", engine.Total());
  footer += count;
  footer += " 個が検索されました。\r\n"_sj;
  Command_ADDTAIL(footer.data(), static_cast<int>(footer.size()));

  PlaceCursor(0, nHeaderLine, true, 20);
  m_nCaretPosX_Prev = m_nCaretPosX;
  dialog.reset();
  if (frame) frame->Activate();
  return engine.Total();
}
