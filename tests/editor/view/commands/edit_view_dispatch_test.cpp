#include <Qt>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "editor/foundation/beep_capture.h"
#include "editor/foundation/document/fake_ports.h"
#include "editor/foundation/message_box_capture.h"
#include "editor/foundation/text/ope_blk.h"
#include "editor/view/commands/command_ids.h"
#include "editor/view/pane/view_fixture.h"
#include "platform/clock.h"
#include "platform/recording_window.h"
#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"
#include "recording_handlers.h"

namespace {

constexpr int kUp = 30311;          // a recordable cursor command
constexpr int kHalfPageUp = 30340;  // a cursor command no key macro records
constexpr int kSearchNext = 30902;
constexpr int kExecCommand = 31271;

// Key-macro recording and macro slots as the dispatcher reaches them.
class FakeViewMacros : public IViewMacros {
 public:
  FakeViewMacros() { SetViewMacros(this); }
  ~FakeViewMacros() override { SetViewMacros(nullptr); }
  struct Recorded {
    int slot, command;
    LPARAM argument;
    CEditView* view;
  };
  void RecordCommand(int slot, int command, LPARAM argument, CEditView* view) override {
    recorded.push_back({slot, command, argument, view});
  }
  bool ExecuteSlot(int slot, HINSTANCE, CEditView* view) override {
    slotsRun.push_back(slot);
    flagWhileRunning = view->m_bExecutingKeyMacro;
    blockWhileRunning = view->m_pcOpeBlk != nullptr;
    return slotSucceeds;
  }
  std::vector<Recorded> recorded;
  std::vector<int> slotsRun;
  bool slotSucceeds = false;
  bool flagWhileRunning = false;
  bool blockWhileRunning = true;
};

// An undo record of an insertion at the document's start, as an editing handler appends it.
void AppendRecord(CEditView& view) {
  ASSERT_NE(view.m_pcOpeBlk, nullptr) << "a handler found no open undo block";
  auto* record = new COpeRecord;
  record->m_nKind = COpeRecord::OPE_INSERT;
  record->m_nCaretPosX_PHY_Before = record->m_nCaretPosY_PHY_Before = 0;
  record->m_nCaretPosX_PHY_After = record->m_nCaretPosY_PHY_After = 0;
  view.m_pcOpeBlk->AppendOpe(record);
}

class DispatchTest : public ViewFixture {
 protected:
  std::unique_ptr<CEditView> SecondPane() {
    auto pane = std::make_unique<CEditView>();
    pane->SetEditWindow(&editWindow);
    pane->AttachDocument(doc.get(), 1);
    return pane;
  }
  LRESULT Run(int command, LPARAM argument = 0, bool redraw = true) {
    return view->RunCommand(command, redraw, argument, 0, 0, 0);
  }
  void SetPort(FakeFrame* frame, FakeSplitter* splitter, FakePane* third) {
    DocPorts ports = doc->Ports();
    ports.frame = frame;
    ports.splitter = splitter;
    ports.panes[2] = third;
    doc->SetPorts(ports);
  }

  BeepCapture beeps;
  FakeViewMacros macros;
};

struct TypedCase {
  const char* name;
  std::vector<LPARAM> typed;                     // Char arguments, one command each
  std::vector<std::pair<int, LPARAM>> expected;  // handler calls: id, argument
  size_t beeps;
};

class TypedBytes : public DispatchTest, public testing::WithParamInterface<TypedCase> {};

TEST_P(TypedBytes, PairAndFilterAsCharacters) {
  RecordingHandlers handlers({cmd::kChar, cmd::kCharIme});
  for (const LPARAM byte : GetParam().typed) EXPECT_EQ(Run(cmd::kChar, byte), 1);
  std::vector<std::pair<int, LPARAM>> seen;
  for (const auto& c : handlers.calls) seen.emplace_back(c.call.nCommand, c.call.lparam[0]);
  EXPECT_EQ(seen, GetParam().expected);
  EXPECT_EQ(beeps.beeps, std::vector<UINT>(GetParam().beeps, MB_ICONHAND));
}

INSTANTIATE_TEST_SUITE_P(
    Dispatch, TypedBytes,
    testing::Values(TypedCase{"LeadThenTrail", {0x82, 0xA0}, {{cmd::kCharIme, 0x82A0}}, 0},
                    TypedCase{"LeadThenTrailBelow0x80", {0x88, 0x40}, {{cmd::kCharIme, 0x8840}}, 0},
                    TypedCase{"LeadThenLeadPairs", {0x81, 0x81}, {{cmd::kCharIme, 0x8181}}, 0},
                    TypedCase{"LeadThenBlankLosesTheLead", {0x81, 0x20}, {{cmd::kChar, 0x20}}, 0},
                    TypedCase{"LeadThenDelBeeps", {0x81, 0x7F}, {}, 1}, TypedCase{"LeadAloneWaits", {0xE0}, {}, 0},
                    TypedCase{"PairThenAscii", {0x82, 0xA0, 'a'}, {{cmd::kCharIme, 0x82A0}, {cmd::kChar, 'a'}}, 0},
                    TypedCase{"BellBeeps", {7}, {}, 1},
                    TypedCase{
                        "TabLineFeedReturn", {9, 10, 13}, {{cmd::kChar, 9}, {cmd::kChar, 10}, {cmd::kChar, 13}}, 0},
                    TypedCase{"HalfWidthKana", {0xA1, 0xDF}, {{cmd::kChar, 0xA1}, {cmd::kChar, 0xDF}}, 0},
                    TypedCase{"BytesNoCharacterStartsWith", {0x80, 0xA0, 0xFD, 0xFF}, {}, 4}),
    [](const testing::TestParamInfo<TypedCase>& info) { return info.param.name; });

TEST_F(DispatchTest, TwoPanesLeadBytesNeverPair) {
  RecordingHandlers handlers({cmd::kChar, cmd::kCharIme});
  const auto other = SecondPane();
  Run(cmd::kChar, 0x82);
  other->RunCommand(cmd::kChar, true, 0xA1, 0, 0, 0);  // half-width kana in the other pane
  Run(cmd::kChar, 0xA1);
  ASSERT_EQ(handlers.calls.size(), 2u);
  EXPECT_EQ(handlers.calls[0].view, other.get());
  EXPECT_EQ(handlers.calls[0].call.nCommand, cmd::kChar);
  EXPECT_EQ(handlers.calls[0].call.lparam[0], 0xA1);
  EXPECT_EQ(handlers.calls[1].view, view.get());
  EXPECT_EQ(handlers.calls[1].call.nCommand, cmd::kCharIme);
  EXPECT_EQ(handlers.calls[1].call.lparam[0], 0x82A1);
}

TEST_F(DispatchTest, LineEndShortcutsRunOneChgmodEolEach) {
  RecordingHandlers handlers({cmd::kChgmodEOL, cmd::kCancelMode});
  const struct {
    int command;
    LPARAM lineEnd;
  } cases[] = {{cmd::kEolCrLf, 1}, {cmd::kEolLf, 3}, {cmd::kEolCr, 4}};
  for (const auto& c : cases) {
    handlers.calls.clear();
    EXPECT_EQ(view->RunCommand(c.command, false, 0, 0, 0, 0), 1);
    ASSERT_EQ(handlers.Ids(), (std::vector<int>{cmd::kChgmodEOL, cmd::kCancelMode})) << c.command;
    EXPECT_EQ(handlers.calls[0].call.lparam[0], c.lineEnd);
    EXPECT_FALSE(handlers.calls[0].call.bRedraw);
  }
}

TEST_F(DispatchTest, RecordsAfterANestedCommandLandInAStep) {
  RecordingHandlers handlers({kExecCommand, cmd::kChar});
  handlers.actions[cmd::kChar] = [](CEditView& v, const CommandCall&) { AppendRecord(v); };
  handlers.actions[kExecCommand] = [](CEditView& v, const CommandCall&) {
    AppendRecord(v);
    v.RunCommand(cmd::kChar, true, 'x', 0, 0, 0);
    AppendRecord(v);
    AppendRecord(v);
  };
  Run(kExecCommand);
  EXPECT_EQ(view->m_pcOpeBlk, nullptr);
  CUndoBuffer& undo = doc->m_cUndoBuffer;
  ASSERT_EQ(undo.GetCount(), 2);
  bool modified = false;
  const COpeBlk* after = undo.StepBack(&modified);
  const COpeBlk* before = undo.StepBack(&modified);
  ASSERT_TRUE(after && before);
  EXPECT_EQ(before->GetNum(), 2);  // the outer record before the nested command and the nested one
  EXPECT_EQ(after->GetNum(), 2);   // what the outer handler recorded afterwards
}

TEST_F(DispatchTest, UndoStepsOnlyForCommandsThatRecord) {
  RecordingHandlers handlers({kSearchNext, cmd::kChar});
  handlers.actions[cmd::kChar] = [](CEditView& v, const CommandCall&) { AppendRecord(v); };
  FakeSplitter splitter;
  splitter.rows = 2;
  FakePane lower;
  SetPort(nullptr, &splitter, &lower);

  Run(kSearchNext);
  EXPECT_EQ(doc->m_cUndoBuffer.GetCount(), 0);
  EXPECT_EQ(view->m_pcOpeBlk, nullptr);
  EXPECT_EQ(lower.redraws, 0);

  Run(cmd::kChar, 'a');
  EXPECT_EQ(doc->m_cUndoBuffer.GetCount(), 1);
  EXPECT_EQ(view->m_pcOpeBlk, nullptr);
  EXPECT_EQ(lower.redraws, 1);  // the other pane of the split shows the change
}

TEST_F(DispatchTest, RecordingClearsTheRedoSteps) {
  RecordingHandlers handlers({cmd::kChar});
  handlers.actions[cmd::kChar] = [](CEditView& v, const CommandCall&) { AppendRecord(v); };
  Run(cmd::kChar, 'a');
  Run(cmd::kChar, 'b');
  bool modified = false;
  doc->m_cUndoBuffer.StepBack(&modified);
  ASSERT_TRUE(doc->m_cUndoBuffer.CanRedo());
  Run(cmd::kChar, 'c');
  EXPECT_FALSE(doc->m_cUndoBuffer.CanRedo());
  EXPECT_EQ(doc->m_cUndoBuffer.GetCount(), 2);
}

TEST_F(DispatchTest, PrintPreviewRefusesAllButItself) {
  RecordingHandlers handlers({cmd::kUndo, cmd::kPrintPreview});
  editWindow.printPreview = true;
  EXPECT_EQ(Run(cmd::kUndo), -1);
  EXPECT_EQ(beeps.beeps, std::vector<UINT>{MB_ICONHAND});
  EXPECT_TRUE(handlers.calls.empty());
  EXPECT_EQ(Run(cmd::kPrintPreview), 1);
  EXPECT_EQ(handlers.Ids(), std::vector<int>{cmd::kPrintPreview});
  EXPECT_EQ(beeps.beeps.size(), 1u);
  EXPECT_EQ(doc->m_nCommandExecNum, 2);
}

TEST_F(DispatchTest, ReadOnlyDocumentRefusesEditingQuietly) {
  RecordingHandlers handlers({cmd::kChar, kUp});
  doc->m_bReadOnly = true;
  EXPECT_EQ(Run(cmd::kChar, 'a'), 1);
  EXPECT_TRUE(handlers.calls.empty());
  EXPECT_TRUE(beeps.beeps.empty());
  EXPECT_EQ(doc->m_nCommandExecNum, 0);
  Run(kUp);
  EXPECT_EQ(handlers.Ids(), std::vector<int>{kUp});
  EXPECT_EQ(doc->m_nCommandExecNum, 1);
}

TEST_F(DispatchTest, SameCommandTwiceRepeats) {
  RecordingHandlers handlers({kUp, kHalfPageUp});
  Run(kUp);
  Run(kUp);
  Run(kHalfPageUp);
  Run(kUp);
  ASSERT_EQ(handlers.calls.size(), 4u);
  EXPECT_FALSE(handlers.calls[0].call.bRepeat);
  EXPECT_TRUE(handlers.calls[1].call.bRepeat);
  EXPECT_FALSE(handlers.calls[2].call.bRepeat);
  EXPECT_FALSE(handlers.calls[3].call.bRepeat);
}

TEST_F(DispatchTest, RecordingInThisWindowRecordsWithoutRepeat) {
  RecordingHandlers handlers({kUp, kHalfPageUp});
  FakeFrame frame;
  frame.id = 41;
  SetPort(&frame, nullptr, nullptr);
  record->bKeyMacroRecording = 1;
  record->hwndKeyMacroRecorder = 41;
  Run(kUp, 5);
  Run(kUp, 5);
  Run(kHalfPageUp);
  ASSERT_EQ(macros.recorded.size(), 2u);  // the page move is not recordable
  EXPECT_EQ(macros.recorded[0].slot, -1);
  EXPECT_EQ(macros.recorded[0].command, kUp);
  EXPECT_EQ(macros.recorded[0].argument, 5);
  EXPECT_EQ(macros.recorded[0].view, view.get());
  ASSERT_EQ(handlers.calls.size(), 3u);
  EXPECT_FALSE(handlers.calls[1].call.bRepeat);
}

TEST_F(DispatchTest, AnotherWindowRecordingRecordsNothingHere) {
  RecordingHandlers handlers({kUp});
  FakeFrame frame;
  frame.id = 42;
  SetPort(&frame, nullptr, nullptr);
  record->bKeyMacroRecording = 1;
  record->hwndKeyMacroRecorder = 41;
  Run(kUp);
  Run(kUp);
  EXPECT_TRUE(macros.recorded.empty());
  EXPECT_TRUE(handlers.calls[1].call.bRepeat);
}

TEST_F(DispatchTest, RunningMacroClearsRepeat) {
  RecordingHandlers handlers({kUp});
  view->m_bExecutingKeyMacro = true;
  Run(kUp);
  Run(kUp);
  EXPECT_FALSE(handlers.calls[1].call.bRepeat);
}

TEST_F(DispatchTest, FailingMacroSlotIsReported) {
  MessageBoxCapture boxes;
  std::strcpy(record->MacroSlots[3].Name, "tidy");
  EXPECT_EQ(Run(cmd::kMacroSlotFirst + 3), 1);
  EXPECT_EQ(macros.slotsRun, std::vector<int>{3});
  EXPECT_TRUE(macros.flagWhileRunning);
  EXPECT_FALSE(macros.blockWhileRunning);
  EXPECT_FALSE(view->m_bExecutingKeyMacro);
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text, std::string("マクロ 3 (tidy) の実行に失敗しました。"_sj));
  EXPECT_EQ(boxes.requests[0].caption, "tovara");
  EXPECT_EQ(boxes.requests[0].flags & MB_ICONINFORMATION, static_cast<UINT>(MB_ICONINFORMATION));

  macros.slotSucceeds = true;
  EXPECT_EQ(Run(cmd::kMacroSlotLast), 1);
  EXPECT_EQ(macros.slotsRun, (std::vector<int>{3, 49}));
  EXPECT_EQ(boxes.requests.size(), 1u);
}

TEST_F(DispatchTest, OnlyListedCommandsReturnTheirHandlersResult) {
  RecordingHandlers handlers({cmd::kOutline, cmd::kFileSave, kSearchNext});
  handlers.results = {{cmd::kOutline, 0}, {cmd::kFileSave, 7}, {kSearchNext, 0}};
  EXPECT_EQ(Run(cmd::kOutline), 0);
  EXPECT_EQ(Run(cmd::kFileSave), 7);
  EXPECT_EQ(Run(kSearchNext), 1);
  EXPECT_EQ(Run(30999), 1);  // no handler at all
}

TEST_F(DispatchTest, SourceComesFromTheHighWord) {
  RecordingHandlers handlers({kUp});
  Run(MAKEWPARAM(kUp, CEditView::kSourceMouse));
  ASSERT_EQ(handlers.calls.size(), 1u);
  EXPECT_EQ(handlers.calls[0].call.nCommand, kUp);
  EXPECT_EQ(handlers.calls[0].call.nSource, CEditView::kSourceMouse);
}

TEST_F(DispatchTest, IndentSpaceTypesABlankUnlessSeveralLinesAreSelected) {
  RecordingHandlers handlers({cmd::kChar, cmd::kIndentSpace});
  Run(cmd::kIndentSpace);
  view->m_sSelect = SelectRange{2, 1, 2, 4};
  Run(cmd::kIndentSpace);
  view->m_sSelect = SelectRange{2, 1, 3, 0};
  Run(cmd::kIndentSpace);
  EXPECT_EQ(handlers.Ids(), (std::vector<int>{cmd::kChar, cmd::kChar, cmd::kIndentSpace}));
  EXPECT_EQ(handlers.calls[0].call.lparam[0], ' ');
}

TEST_F(DispatchTest, EnterOnAGrepResultJumps) {
  RecordingHandlers handlers({cmd::kChar, cmd::kTagJump});
  doc->m_bGrepWindow = true;
  common().bGTJW_RETURN = 1;
  Run(cmd::kChar, '\r');
  Run(cmd::kChar, 'a');
  {
    platform_test::ChildWindowFixture windows;
    platform::SimulateKey(windows.child, Qt::Key_Control, true);
    platform_test::PumpTranslated();
    Run(cmd::kChar, '\n');
    platform::SimulateKey(windows.child, Qt::Key_Control, false);
    platform_test::PumpTranslated();
  }
  common().bGTJW_RETURN = 0;
  Run(cmd::kChar, '\n');
  EXPECT_EQ(handlers.Ids(), (std::vector<int>{cmd::kTagJump, cmd::kChar, cmd::kTagJump, cmd::kChar}));
  EXPECT_EQ(handlers.calls[0].call.lparam[0], 0);  // the window stays
  EXPECT_EQ(handlers.calls[2].call.lparam[0], 1);  // Ctrl: the window closes after the jump
}

TEST_F(DispatchTest, CustomMenuPostsTheChosenItem) {
  RecordingHandlers handlers({cmd::kCustMenuFirst + 2});
  bool blockOpen = true;
  handlers.actions[cmd::kCustMenuFirst + 2] = [&](CEditView& v, const CommandCall&) {
    blockOpen = v.m_pcOpeBlk != nullptr;
  };
  handlers.results[cmd::kCustMenuFirst + 2] = cmd::kUndo;
  platform_test::ChildWindowFixture windows;
  editWindow.window = windows.parent;
  EXPECT_EQ(Run(cmd::kCustMenuFirst + 2), 1);
  EXPECT_FALSE(blockOpen);
  platform_test::PumpTranslated();
  const auto commands = platform_test::SeenBy(windows.parent, [](UINT m) { return m == WM_COMMAND; });
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wParam, static_cast<WPARAM>(cmd::kUndo));

  handlers.results[cmd::kCustMenuFirst + 2] = 0;  // nothing chosen
  Run(cmd::kCustMenuFirst + 2);
  platform_test::PumpTranslated();
  EXPECT_EQ(platform_test::SeenBy(windows.parent, [](UINT m) { return m == WM_COMMAND; }).size(), 1u);
}

struct QuoteCase {
  const char* name;
  std::string given;
  std::string kept;
};

class QuotePrefix : public DispatchTest, public testing::WithParamInterface<QuoteCase> {};

TEST_P(QuotePrefix, KeepsWholeCharactersOf31Bytes) {
  Run(cmd::kSetMsgQuoteStr, reinterpret_cast<LPARAM>(GetParam().given.c_str()));
  EXPECT_EQ(std::string(common().szInyouKigou), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Dispatch, QuotePrefix,
    testing::Values(QuoteCase{"Short", "> ", "> "},
                    QuoteCase{"FortyBytesOfKanji", std::string("漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字"_sj),
                              std::string("漢字漢字漢字漢字漢字漢字漢字漢"_sj)},
                    QuoteCase{"KanjiEndingAt31", std::string(29, '-') + "漢"_sj, std::string(29, '-') + "漢"_sj},
                    QuoteCase{"KanjiAcross31", std::string(30, '-') + "漢"_sj, std::string(30, '-')},
                    QuoteCase{"FortyAsciiBytes", std::string(40, 'q'), std::string(31, 'q')},
                    QuoteCase{"LoneLeadByteAtTheEnd", "ab\x82", "ab"}),
    [](const testing::TestParamInfo<QuoteCase>& info) { return info.param.name; });

TEST_F(DispatchTest, NullQuoteLeavesThePrefix) {
  std::strcpy(common().szInyouKigou, "| ");
  Run(cmd::kSetMsgQuoteStr, 0);
  EXPECT_STREQ(common().szInyouKigou, "| ");
}

TEST_F(DispatchTest, EveryCommandMarksTheTime) {
  platform::ManualClock clock(5000);
  Run(30999);
  EXPECT_EQ(view->m_dwLastCommandTick, 5000u);
  EXPECT_EQ(doc->m_nCommandExecNum, 1);
}

}  // namespace
