// The pane window's message table: typed characters and the input method's text become commands.
#include <string>
#include <vector>

#include "editor/view/commands/recording_handlers.h"
#include "pane_window_fixture.h"
#include "platform/ime_composition.h"
#include "platform/input_method.h"
#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kChar = 30200;
constexpr int kCharIme = 30201;
constexpr int kInsText = 30606;

class PaneMessagesTest : public PaneWindowFixture {
 protected:
  void SetUp() override {
    PaneWindowFixture::SetUp();
    platform::SetFocus(view->Window());
    Pump();
    // The text lives only while its command runs.
    handlers.actions[kInsText] = [this](CEditView&, const CommandCall& call) {
      inserted = call.Text(0);
      insertedLength = call.lparam[1];
    };
  }
  RecordingHandlers handlers{kChar, kCharIme, kInsText};
  std::string inserted;
  LPARAM insertedLength = 0;
};

TEST_F(PaneMessagesTest, CharactersBecomeCharAndOverwriteModeImeCharacters) {
  platform::SendMessage(view->Window(), WM_CHAR, 'a', 0);
  platform::SendMessage(view->Window(), WM_IME_CHAR, 0x82A0, 0);  // insert mode: the string came before
  ASSERT_EQ(handlers.Ids(), std::vector<int>{kChar});
  EXPECT_EQ(handlers.calls[0].call.lparam[0], 'a');

  view->SetInsertMode(false);
  platform::SendMessage(view->Window(), WM_IME_CHAR, 0x82A0, 0);
  ASSERT_EQ(handlers.Ids(), (std::vector<int>{kChar, kCharIme}));
  EXPECT_EQ(handlers.calls[1].call.lparam[0], 0x82A0);
}

TEST_F(PaneMessagesTest, CommittedTextIsOneInsTextInInsertModeAndCharactersInOverwriteMode) {
  EXPECT_TRUE(platform::IsInputMethodEnabled(view->Window()));
  platform::SimulateInputMethod(view->Window(), {.preedit = "かん"_sj});
  Pump();
  EXPECT_TRUE(handlers.calls.empty()) << "a preedit is no text yet";

  platform::SimulateInputMethod(view->Window(), {.commit = "漢字"_sj});
  Pump();
  ASSERT_EQ(handlers.Ids(), std::vector<int>{kInsText});
  EXPECT_EQ(inserted, "漢字"_sj);
  EXPECT_EQ(insertedLength, 4);

  handlers.calls.clear();
  view->SetInsertMode(false);
  platform::SimulateInputMethod(view->Window(), {.commit = "漢字"_sj});
  Pump();
  ASSERT_EQ(handlers.Ids(), (std::vector<int>{kCharIme, kCharIme}));
  EXPECT_EQ(handlers.calls[0].call.lparam[0], 0x8ABF);
  EXPECT_EQ(handlers.calls[1].call.lparam[0], 0x8E9A);
}

}  // namespace
