// The grey and check rules of the edit window's commands, as tables of (state, command, answer):
// each state is made on a fresh document and record, so a case shows only its own rule.
#include "editor/shell/window/command_state.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/gui_app.h"
#include "window_fixture.h"

namespace {

class CommandStateTest : public WindowFixture {
 protected:
  CommandStateTest() : WindowFixture("command-state-test") {}

  struct Case {
    const char* name;
    std::function<void()> state;
    int command;
    bool expected;
  };
  // Each case on a fresh document, frame, panes and macros, and the record's defaults.
  void Check(const std::vector<Case>& cases, bool (*rule)(const CEditDoc&, const SharedSettings&, int)) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      CShareData::InitDefaults(*record);
      ports = FakePorts();
      Fresh();
      if (c.state) c.state();
      EXPECT_EQ(rule(*doc, *record, c.command), c.expected) << c.command;
    }
  }
  void SetClipboard(const char* text) {
    ASSERT_TRUE(platform::OpenClipboard(nullptr));
    platform::EmptyClipboard();
    if (text) platform::SetClipboardData(CF_OEMTEXT, std::string_view(text, std::strlen(text) + 1));
    platform::CloseClipboard();
  }
};

TEST_F(CommandStateTest, EnabledRules) {
  platform::EnsureGuiApp();
  const auto readOnly = [this] { doc->m_bReadOnly = true; };
  const auto path = [this] { std::strcpy(doc->m_szFilePath, "/tmp/a.txt"); };
  const auto selection = [this] { pane().selection = true; };
  const auto recordingHere = [this] {
    ports.frame.id = 7;
    record->bKeyMacroRecording = 1;
    record->hwndKeyMacroRecorder = 7;
  };
  const auto recordingElsewhere = [this] {
    ports.frame.id = 7;
    record->bKeyMacroRecording = 1;
    record->hwndKeyMacroRecorder = 8;
  };
  const std::vector<Case> cases = {
      {"an editing command of a read-only document", readOnly, 30221, false},
      {"an editing command of a writable document", nullptr, 30221, true},
      {"a lock the document could not take refuses editing",
       [this] {
         doc->m_nLockMode = CEditDoc::kLockExclusive;  // and no lock is held
       },
       30601, false},
      {"a command that does not edit, read-only", readOnly, 30602, true},
      {"new window below the limit", [this] { record->nEditWindowCount = 255; }, 30101, true},
      {"new window at the limit", [this] { record->nEditWindowCount = 256; }, 30101, false},
      {"grep at the limit", [this] { record->nEditWindowCount = 256; }, 30910, false},
      {"save, unmodified", nullptr, 30103, false},
      {"save, modified", [this] { doc->m_bIsModified = true; }, 30103, true},
      {"save, unmodified but overwriting allowed", [this] { record->Common.bEnableUnmodifiedOverwrite = 1; }, 30103,
       true},
      {"save, modified but read-only",
       [this] {
         doc->m_bIsModified = true;
         doc->m_bReadOnly = true;
       },
       30103, false},
      {"file properties without a path", nullptr, 30190, false},
      {"file properties with a path", path, 30190, true},
      {"header and source switch without a path", nullptr, 30162, false},
      {"copy the path with a path", path, 30621, true},
      {"direct tag jump without a path", nullptr, 30944, false},
      {"keyword tag jump with a path", path, 30946, true},
      {"undo with nothing to undo", nullptr, 30210, false},
      {"undo with a step", [this] { MakeUndoable(); }, 30210, true},
      {"redo with nothing undone", [this] { MakeUndoable(); }, 30211, false},
      {"redo after an undo",
       [this] {
         MakeUndoable();
         bool modified = false;
         doc->m_cUndoBuffer.StepBack(&modified);
       },
       30211, true},
      {"cut line without a selection", nullptr, 30244, true},
      {"cut line with a selection", selection, 30244, false},
      {"select word with a selection", selection, 30400, false},
      {"history back without an older entry", nullptr, 30370, false},
      {"history back with an older entry", [this] { pane().historyPrev = true; }, 30370, true},
      {"history forward with an older entry only", [this] { pane().historyPrev = true; }, 30371, false},
      {"history forward with a newer entry", [this] { pane().historyNext = true; }, 30371, true},
      {"history of a pane that is not active",
       [this] {
         ports.panes[1].historyPrev = true;
       },
       30370, false},
      {"box selection with a proportional font", [this] { record->Common.bFontIs_FIXED_PITCH = 0; }, 30510, false},
      {"box selection with a fixed-pitch font", [this] { record->Common.bFontIs_FIXED_PITCH = 1; }, 30510, true},
      {"paste with an empty clipboard", [this] { SetClipboard(nullptr); }, 30604, false},
      {"paste with text", [this] { SetClipboard("x"); }, 30604, true},
      {"box paste with text, proportional font",
       [this] {
         SetClipboard("x");
         record->Common.bFontIs_FIXED_PITCH = 0;
       },
       30605, false},
      {"box paste with text, fixed-pitch font",
       [this] {
         SetClipboard("x");
         record->Common.bFontIs_FIXED_PITCH = 1;
       },
       30605, true},
      {"lower case without a selection", nullptr, 30800, false},
      {"lower case with a selection", selection, 30800, true},
      {"copy lines with a selection", selection, 30612, true},
      {"code conversion without a selection", nullptr, 30856, false},
      {"uudecode with a selection", selection, 30880, true},
      {"back to the search start, none", nullptr, 30909, false},
      {"back to the search start, remembered", [this] { pane().searchStart = true; }, 30909, true},
      {"compare with one window", [this] { record->nEditWindowCount = 1; }, 30950, false},
      {"compare with two windows", [this] { record->nEditWindowCount = 2; }, 30950, true},
      {"next difference without marks", nullptr, 30978, false},
      {"next difference with marks", [this] { doc->m_cDocLineMgr.SetDiffStateRange(1, 0, 0); }, 30978, true},
      {"reset differences with marks", [this] { doc->m_cDocLineMgr.SetDiffStateRange(1, 0, 0); }, 30980, true},
      {"start recording, not recording", nullptr, 31250, true},
      {"end recording here", recordingHere, 31250, true},
      {"end recording in another window's menu", recordingElsewhere, 31250, false},
      {"load while another window records", recordingElsewhere, 31252, false},
      {"save without a recorded macro", nullptr, 31251, false},
      {"save with a recorded macro", [this] { macros.temporaryKeyMacro = true; }, 31251, true},
      {"save while recording here", recordingHere, 31251, true},
      {"save while another window records",
       [&] {
         recordingElsewhere();
         macros.temporaryKeyMacro = true;
       },
       31251, false},
      {"run without a macro file", nullptr, 31253, false},
      {"run with a macro file", [this] { std::strcpy(record->szKeyMacroFile, "/tmp/RecKey.mac"); }, 31253, true},
      {"run while another window records",
       [&] {
         recordingElsewhere();
         std::strcpy(record->szKeyMacroFile, "/tmp/RecKey.mac");
       },
       31253, false},
      {"group windows without tabs", [this] { record->Common.bDispTabWnd = 0; }, 31333, false},
      {"group windows with tabs", [this] { record->Common.bDispTabWnd = 1; }, 31333, true},
      {"any other command", readOnly, 31455, true},
  };
  Check(cases, IsCommandEnabled);
}

TEST_F(CommandStateTest, CheckedRules) {
  const auto code = [this](int c) { return [this, c] { doc->m_nCharCode = c; }; };
  const std::vector<Case> cases = {
      {"reopen SJIS with code 0", code(0), 30111, true},
      {"reopen JIS with code 0", code(0), 30112, false},
      {"reopen EUC with code 2", code(2), 30113, true},
      {"reopen Unicode with code 3", code(3), 30114, true},
      {"reopen UTF-8 with code 4", code(4), 30115, true},
      {"reopen UTF-7 with code 5", code(5), 30116, true},
      {"reopen UnicodeBE with code 6", code(6), 30117, true},
      {"reopen UTF-8 with code 6", code(6), 30115, false},
      {"read-only, writable document", nullptr, 30185, false},
      {"read-only, read-only document", [this] { doc->m_bReadOnly = true; }, 30185, true},
      {"function list closed", nullptr, 30931, false},
      {"function list open", [this] { ports.companions.outlineOpen = true; }, 30931, true},
      {"incremental search in this mode", [this] { pane().iSearchCommand = 30984; }, 30984, true},
      {"incremental search in another mode", [this] { pane().iSearchCommand = 30983; }, 30984, false},
      {"insert mode on", [this] { doc->m_bInsMode = true; }, 31001, true},
      {"insert mode off", [this] { doc->m_bInsMode = false; }, 31001, false},
      {"line end CR LF", [this] { doc->m_nNewLineType = CLineEnd::CRLF; }, 31081, true},
      {"line end LF", [this] { doc->m_nNewLineType = CLineEnd::LF; }, 31082, true},
      {"line end CR", [this] { doc->m_nNewLineType = CLineEnd::CR; }, 31083, true},
      {"line end LF asked for CR", [this] { doc->m_nNewLineType = CLineEnd::LF; }, 31083, false},
      {"line end LF CR matches none", [this] { doc->m_nNewLineType = CLineEnd::LFCR; }, 31081, false},
      {"toolbar shown", [this] { ports.frame.toolBar = true; }, 31100, true},
      {"toolbar hidden", nullptr, 31100, false},
      {"function keys shown", [this] { ports.frame.funcKeyBar = true; }, 31101, true},
      {"status bar shown", [this] { ports.frame.statusBar = true; }, 31102, true},
      {"tab bar shown", [this] { ports.frame.tabBar = true; }, 31103, true},
      {"status bar asked, only the toolbar shown", [this] { ports.frame.toolBar = true; }, 31102, false},
      {"recording here",
       [this] {
         ports.frame.id = 3;
         record->bKeyMacroRecording = 1;
         record->hwndKeyMacroRecorder = 3;
       },
       31250, true},
      {"recording elsewhere",
       [this] {
         ports.frame.id = 3;
         record->bKeyMacroRecording = 1;
         record->hwndKeyMacroRecorder = 4;
       },
       31250, false},
      {"grouped in one tab window",
       [this] {
         record->Common.bDispTabWnd = 1;
         record->Common.bDispTabWndMultiWin = 0;
       },
       31333, true},
      {"tabs over several windows",
       [this] {
         record->Common.bDispTabWnd = 1;
         record->Common.bDispTabWndMultiWin = 1;
       },
       31333, false},
      {"topmost", [this] { ports.frame.topMost = true; }, 31334, true},
      {"not topmost", nullptr, 31334, false},
      {"any other command", [this] { doc->m_bReadOnly = true; }, 30602, false},
  };
  Check(cases, IsCommandChecked);
}

// A document without windows around it (no frame, panes or dialogs) answers without them.
TEST_F(CommandStateTest, ADocumentWithoutWindows) {
  CEditDoc bare;
  for (int command : {30370, 30371, 30909, 31251}) EXPECT_FALSE(IsCommandEnabled(bare, *record, command)) << command;
  for (int command : {30931, 30981, 31100, 31334}) EXPECT_FALSE(IsCommandChecked(bare, *record, command)) << command;
  record->bKeyMacroRecording = 1;
  record->hwndKeyMacroRecorder = 0;
  EXPECT_FALSE(IsCommandEnabled(bare, *record, 31250)) << "recording belongs to a window";
}

}  // namespace
