#include "demo_player.h"

#include <algorithm>
#include <gtest/gtest.h>

#include "game/app/config.h"
#include "game/script/engine_state.h"
#include "game/script/message_log.h"
#include "game/text/message_window.h"
#include "game/app/run_state.h"
#include "game/script/script_lexer.h"
#include "game/script/script_text.h"
#include "game/script/script_tokens.h"
#include "game/stage/layer_module.h"
#include "game/text/text_box.h"
#include "platform/audio_mixer.h"
#include "platform/cursor_pos.h"
#include "platform/presenter.h"
#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/window_application.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_impl.h"
#include "tools/demo_art/demo_palette.h"

namespace {

namespace pal = demo_palette;

constexpr int kControlKey = 0x01000021;  // the toolkit's number for Ctrl, the skip key
// A step that has waited this many frames has lost its way: the run ends with a failure.
constexpr int kStepFrameLimit = 4000;
// Frames after which freshly defined buttons have glided in and faded to their plain pictures.
constexpr int kButtonsSettle = 75;
// A place to click that is on no button of any screen the player meets.
constexpr int kNeutralX = 400, kNeutralY = 100;
// The system screens take no press for a third of a second after the one that opened them.
constexpr int kScreenCoolDownFrames = 25;
// Samples of sound mixed per frame: 44,100 stereo frames a second at 60 frames a second.
constexpr size_t kSamplesPerFrame = 735 * 2;

// The size of one of the game's pictures, read through the game's own loader.
bool PictureSize(const char* file, int* width, int* height) {
  CMemPlane plane;
  if (plane.Load(file, 0, 100) != 0) return false;
  plane.GetSize(width, height);
  return true;
}

// The cell of the gallery for the scene at index i of its page.
int CellX(int i) { return 181 + 154 * (i % 4); }
int CellY(int i) { return 105 + 119 * (i / 4); }

}  // namespace

DemoPlayer::DemoPlayer(const ScopedTempDir& folder, const platform::Console& console)
    : m_folder(folder), m_console(console) {
  const std::string text = folder.Read("start.txt");
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    m_script.push_back(line);
    start = end + 1;
  }
  BuildSteps();
}

std::string DemoPlayer::StepName() const {
  if (m_steps.empty()) return {};
  return m_steps[std::min(m_step, m_steps.size() - 1)].name;
}

int DemoPlayer::Line(std::string_view text, std::string_view label) const {
  size_t i = 0;
  if (!label.empty()) {
    const std::string labelLine = "LABEL " + std::string(label);
    while (i < m_script.size() && m_script[i] != labelLine) ++i;
  }
  for (; i < m_script.size(); ++i)
    if (m_script[i] == text) return static_cast<int>(i) + 1;
  ADD_FAILURE() << "the script has no line " << text << " after " << label;
  return 0;
}

bool DemoPlayer::WaitingAt(int32_t token, int line, int frames) const {
  return m_token == token && m_line == line && m_still >= frames;
}

bool DemoPlayer::PageWaits(int line) const {
  return m_token == kTokenKeyPrompt && m_line == line && EngineState.presentation.message.prompt;
}

bool DemoPlayer::ScreenSettled() const { return m_framesInStep > kScreenCoolDownFrames; }

bool DemoPlayer::SkippedPast(int line) const { return m_token == kTokenLineFeed && m_line == line + 1; }

void DemoPlayer::MoveCursor(int x, int y) {
  m_input.push_back([x, y] {
    platform::SetCursorClientPos(GetAppWindowHandle(), x, y);
    platform::SimulateMouseMove(GetAppWindowHandle(), x, y);
  });
}

void DemoPlayer::Click(int x, int y) {
  MoveCursor(x, y);
  // The toolkit's events reach the game's input a frame or two after they are posted: the press
  // and the release are kept frames apart, so that the game sees the button held, then released.
  m_input.push_back(
      [x, y] { platform::SimulateMouseButton(GetAppWindowHandle(), platform::MouseButton::Left, true, x, y); });
  m_input.insert(m_input.end(), 2, [] {});
  m_input.push_back(
      [x, y] { platform::SimulateMouseButton(GetAppWindowHandle(), platform::MouseButton::Left, false, x, y); });
  m_input.insert(m_input.end(), 2, [] {});
  // The cursor leaves, so that nothing stays lit under it.
  MoveCursor(2, 2);
}

void DemoPlayer::ClickConfigured(const char* file, int x, int y, bool inWindow) {
  int w = 0, h = 0;
  ASSERT_TRUE(PictureSize(file, &w, &h)) << file;
  if (inWindow) {
    x += Config.messageWindowX;
    y += Config.messageWindowY;
  }
  Click(x + w / 2, y + h / 2);
}

void DemoPlayer::HoldSkip(bool on) {
  m_input.push_back([on] { platform::SimulateKey(GetAppWindowHandle(), kControlKey, on); });
}

uint32_t DemoPlayer::Pixel(int x, int y) const {
  std::vector<uint32_t> front;
  int w = 0, h = 0;
  if (!platform::CaptureFrontImage(GetAppWindowHandle(), &front, &w, &h) || x < 0 || y < 0 || x >= w || y >= h)
    return 0;
  return front[static_cast<size_t>(y) * w + x];
}

void DemoPlayer::CollectLog() {
  std::vector<std::string> now;
  for (int i = 0; i < MessageLog.count && i < kMessageLogLines; ++i) now.emplace_back(MessageLog.lines[i]);
  // Lines are added at the end and aged out at the front: what is new follows the longest tail of
  // the last frame's lines that the log still begins with.
  size_t kept = 0;
  for (size_t drop = 0; drop <= m_log.size(); ++drop) {
    const size_t n = m_log.size() - drop;
    if (n <= now.size() && std::equal(m_log.begin() + static_cast<ptrdiff_t>(drop), m_log.end(), now.begin())) {
      kept = n;
      break;
    }
  }
  for (size_t i = kept; i < now.size(); ++i) {
    std::string line = now[i];
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    m_logLines.push_back(line);
  }
  m_log = std::move(now);
}

void DemoPlayer::OnIdle() {
  ++m_frame;
  std::vector<int16_t> sound(kSamplesPerFrame);
  platform::RenderAudio(sound);
  CollectLog();
  const int32_t token = ScriptLexer.token;
  const int line = static_cast<int>(ScriptText.LineFeedsBefore(ScriptLexer.tokenStart)) + 1;
  m_still = token == m_token && line == m_line ? m_still + 1 : 0;
  m_token = token;
  m_line = line;
  if (!m_input.empty()) {
    m_input.front()();
    m_input.pop_front();
    return;
  }
  if (Finished()) return;
  // A page still showing its text a glyph at a time is completed by a click, as an impatient
  // reader does; the step then sees it whole.
  if (m_token != kTokenKeyPrompt) m_completedPage = 0;
  if (m_token == kTokenKeyPrompt && m_completedPage != m_line && !EngineState.presentation.message.prompt) {
    m_completedPage = m_line;
    Click(kNeutralX, kNeutralY);
    return;
  }
  Step& step = m_steps[m_step];
  if (step.ready()) {
    step.act();
    ++m_step;
    m_framesInStep = 0;
  } else if (++m_framesInStep > kStepFrameLimit) {
    ADD_FAILURE() << "waited " << kStepFrameLimit << " frames for: " << step.name << " (the script stands at line "
                  << m_line << ", token " << m_token << ")";
    QuitRequest = true;
  }
}

void DemoPlayer::BuildSteps() {
  const int title = Line("GETBUTTON T");
  const int corner = Line("GETBUTTON C");
  const int gallery = Line("GETBUTTON PICK");
  const int quickChoice = Line("GETBUTTON Q");
  const int quickSavePage = Line("メッセージウィンドウの「Qセーブ」ボタンを押してから、クリックしてください。"_sj);
  const int quickLoadPage = Line("つぎのボタンでクイックロードすると、ひとつ前の文にもどります。"_sj);
  const auto titleButton = [](int i) {
    return std::pair{pal::kTitleButtonX, pal::kTitleButtonY + i * pal::kTitleButtonStep};
  };
  const auto cornerButton = [](int i) { return std::pair{280, 140 + 56 * i}; };
  const auto clickSystemBar = [this] {
    ClickConfigured(Config.systemButton.file, Config.systemButton.x, Config.systemButton.y, true);
  };
  const auto pickTitle = [this, titleButton](int i) {
    const auto [x, y] = titleButton(i);
    ClickScriptButton(x, y);
  };
  const auto pickCorner = [this, cornerButton](int i) {
    const auto [x, y] = cornerButton(i);
    ClickScriptButton(x, y);
  };

  m_steps = {
      // The title: the buttons have glided in and faded to their plain pictures.
      {"the title's buttons settle", [=, this] { return WaitingAt(kTokenGetButton2, title, kButtonsSettle); },
       [=, this] {
         m_captures.overlayShown = Config.showFps || Config.showCacheRate;
         m_captures.titleButton = Pixel(pal::kTitleButtonX + pal::kButtonPlainX, pal::kTitleButtonY + 22);
         pickTitle(2);
       }},
      {"the load screen opened by FLOAD", [this] { return LoadScreenOpen && ScreenSettled(); },
       [this] { ClickConfigured(Config.backToGameButton.file, Config.backToGameButton.x, Config.backToGameButton.y); }},
      {"the title, to start the story", [=, this] { return WaitingAt(kTokenGetButton2, title); },
       [=] { pickTitle(0); }},
      // BLACK, then a wait: the whole screen is black.
      {"the wait after BLACK", [this] { return WaitingAt(kTokenWaitCountdown, Line("WAIT 30", "story"), 1); },
       [this] {
         std::vector<uint32_t> front;
         int w = 0, h = 0;
         m_captures.blackAfterBlack =
             platform::CaptureFrontImage(GetAppWindowHandle(), &front, &w, &h) && w == 800 && h == 600 &&
             std::all_of(front.begin(), front.end(), [](uint32_t p) { return p == 0xFF000000u; });
       }},
      // The opening film fills the screen. From here the skip key passes the pages.
      {"the opening film", [this] { return WaitingAt(kTokenWaitCountdown, Line("WAIT 240", "story"), 10); },
       [this] {
         std::vector<uint32_t> front;
         if (platform::CaptureFrontImage(GetAppWindowHandle(), &front, &m_captures.filmWidth, &m_captures.filmHeight))
           m_captures.filmBlackPixels =
               static_cast<int>(std::count(front.begin(), front.end(), 0xFF000000u));
         HoldSkip(true);
       }},
      // The way to the town is read, so that the wipe runs: it must take its picture of the hill
      // after the characters have faded out.
      {"the choice of the way", [this] { return WaitingAt(kTokenGetButton2, Line("GETBUTTON ROUTE")); },
       [this] {
         HoldSkip(false);
         ClickScriptButton(280, 200);
       }},
      {"the morning's last page", [this] { return PageWaits(Line("ミオ「町へ行こう。市場をのぞいてみたい。」"_sj)); },
       [this] { Click(kNeutralX, kNeutralY); }},
      {"the wipe to the town", [] { return LayerModule.transitionRunning && LayerModule.before; },
       [this] {
         CMemPlane hill;
         if (hill.Load("cg\\bg_sky.png", 0, 100) == 0) {
           const CMemPlaneImpl& wipe = *LayerModule.before->GetImpl();
           const CMemPlaneImpl& bare = *hill.GetImpl();
           if (wipe.Width() == bare.Width() && wipe.Height() == bare.Height()) {
             m_captures.ghostPixels = 0;
             for (int y = 0; y < wipe.Height(); ++y)
               for (int x = 0; x < wipe.Width(); ++x)
                 if ((wipe.GetRow(y)[x] ^ bare.GetRow(y)[x]) & 0xFFFFFFu) ++m_captures.ghostPixels;
           }
         }
       }},
      // A TRANSITION passed by the skip key leaves a running wipe alone: skipping starts once this
      // one is over, so that it does not go on over the next scene.
      {"the wipe's end", [] { return !LayerModule.transitionRunning; }, [this] { HoldSkip(true); }},
      // The night's first page, passed by the skip key: the open window over the room's floor.
      {"the night's first page", [this] { return SkippedPast(Line("夜。窓の外に、まるい月が出ている。"_sj)); },
       [this] { m_captures.windowOverFloor = Pixel(20, 590); }},
      {"the ending's card", [this] { return WaitingAt(kTokenKeyWait, Line("KEYWAIT")); },
       [this] {
         HoldSkip(false);
         Click(kNeutralX, kNeutralY);
       }},
      // The gallery: seen and unseen scenes, a replay left through the settings screen.
      {"the title, to the gallery", [=, this] { return WaitingAt(kTokenGetButton2, title); }, [=] { pickTitle(1); }},
      {"the gallery's cells", [=, this] { return WaitingAt(kTokenGetButton2, gallery, 3); },
       [this] {
         m_captures.seenCell = Pixel(CellX(0) + 1, CellY(0) + 1);
         m_captures.unseenCell = Pixel(CellX(2) + 30, CellY(2) + 20);
         CMemPlane empty;
         if (empty.Load("cg\\system_empty.png", 0, 100) == 0)
           m_captures.unseenPicture = empty.GetImpl()->GetPixel(30, 20) | 0xFF000000u;
         Click(CellX(0) + 60, CellY(0) + 45);
       }},
      {"the replay's first page", [this] { return PageWaits(Line("朝の丘。やわらかな風が、草の上を渡っていく。"_sj)); },
       [=] { clickSystemBar(); }},
      {"the settings screen during the replay", [this] { return SettingsScreenOpen && ScreenSettled(); },
       [this] { ClickConfigured(Config.backToGameButton.file, Config.backToGameButton.x, Config.backToGameButton.y); }},
      {"the gallery after the replay", [=, this] { return WaitingAt(kTokenGetButton2, gallery, 3) && !SceneReplay; },
       [this] { Click(80, 500); }},
      // The command corner.
      {"the title, to the corner", [=, this] { return WaitingAt(kTokenGetButton2, title); }, [=] { pickTitle(3); }},
      {"the corner, to INPUT", [=, this] { return WaitingAt(kTokenGetButton2, corner); }, [=] { pickCorner(0); }},
      {"the page before INPUT",
       [this] { return PageWaits(Line("ゲームを起動した端末に数を打ちこんで、Enter キーを押してください。"_sj)); },
       [this] { Click(kNeutralX, kNeutralY); }},
      {"the printed number", [this] { return PageWaits(Line("KEYPROMPT", "cornerInput")); },
       [this] {
         m_printed = TextBoxes[0].text;
         Click(kNeutralX, kNeutralY);
       }},
      {"the corner, to the quiet commands", [=, this] { return WaitingAt(kTokenGetButton2, corner); },
       [=] { pickCorner(2); }},
      {"the page after the quiet commands",
       [this] { return PageWaits(Line("いま、画面には何も起きない命令を二十個つづけて実行しました。"_sj)); },
       [this] { Click(kNeutralX, kNeutralY); }},
      {"the corner, to the films", [=, this] { return WaitingAt(kTokenGetButton2, corner); },
       [=, this] {
         HoldSkip(true);
         pickCorner(3);
       }},
      {"the corner, to the quick load", [=, this] { return WaitingAt(kTokenGetButton2, corner); },
       [=, this] {
         HoldSkip(false);
         pickCorner(1);
       }},
      {"the page that asks for a quick save", [=, this] { return PageWaits(quickSavePage); },
       [this] {
         ++m_quickSavePages;
         ClickConfigured(Config.quickSaveButton.file, Config.quickSaveButton.x, Config.quickSaveButton.y, true);
       }},
      {"the quick save written", [this] { return m_folder.Exists("savedata/quicksave.sav"); },
       [this] { Click(kNeutralX, kNeutralY); }},
      {"the page before the quick load", [=, this] { return PageWaits(quickLoadPage); },
       [this] { Click(kNeutralX, kNeutralY); }},
      {"the choice to load", [=, this] { return WaitingAt(kTokenGetButton2, quickChoice); },
       [this] { ClickScriptButton(280, 200); }},
      {"the saved page again", [=, this] { return PageWaits(quickSavePage); },
       [this] {
         ++m_quickSavePages;
         Click(kNeutralX, kNeutralY);
       }},
      {"the page before the quick load again", [=, this] { return PageWaits(quickLoadPage); },
       [this] { Click(kNeutralX, kNeutralY); }},
      {"the choice not to load", [=, this] { return WaitingAt(kTokenGetButton2, quickChoice); },
       [this] { ClickScriptButton(280, 256); }},
      {"the corner, to SELECT", [=, this] { return WaitingAt(kTokenGetButton2, corner); }, [=] { pickCorner(4); }},
      {"the page before SELECT",
       [this] {
         return PageWaits(Line(
             "このあと SELECT で選択肢を集めますが、それを表示するしくみがないので、GETSELECT はいつまでも待ちます。"_sj));
       },
       [this] { Click(kNeutralX, kNeutralY); }},
      {"GETSELECT waiting", [this] { return WaitingAt(kTokenGetSelect, Line("GETSELECT"), 5); },
       [=] { clickSystemBar(); }},
      {"the settings screen, back to the title", [this] { return SettingsScreenOpen && ScreenSettled(); },
       [this] {
         ClickConfigured(Config.backToTitleButton.file, Config.backToTitleButton.x, Config.backToTitleButton.y);
       }},
      {"the title, to end", [=, this] { return WaitingAt(kTokenGetButton2, title); }, [=] { pickTitle(4); }},
  };
}
