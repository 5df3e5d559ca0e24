#include "game/script_harness.h"

#include <cstring>

#include "game/backlog.h"
#include "game/engine_state.h"
#include "game/fixed_text.h"
#include "game/message_log.h"
#include "game/picture_layers.h"
#include "game/run_state.h"
#include "game/scene_gallery.h"
#include "game/screen_fade.h"
#include "game/script_app.h"
#include "game/script_buttons.h"
#include "game/script_commands.h"
#include "game/script_lexer.h"
#include "game/script_loader.h"
#include "game/script_symbol_table.h"
#include "game/script_text.h"
#include "game/sound_channels.h"
#include "game/text_box.h"
#include "platform/sjis_literal.h"
#include "sdk/graphics/mem_plane.h"

namespace {

int harnessQuitRequests = 0;
bool harnessScreenOpen = false;
std::array<int, kLastStatementToken - kFirstStatementToken + 1> harnessDispatches{};

void RecordQuit() { ++harnessQuitRequests; }
// The test's own answer, or the system interface's screens as the game answers.
bool ScreenOpen() { return harnessScreenOpen || SaveScreenOpen || LoadScreenOpen || SettingsScreenOpen; }
void RecordDispatch(int32_t token) {
  if (token >= kFirstStatementToken && token <= kLastStatementToken) ++harnessDispatches[token - kFirstStatementToken];
}

}  // namespace

ScriptHarness::ScriptHarness() : m_savedConfig(Config) {
  harnessQuitRequests = 0;
  harnessScreenOpen = false;
  harnessDispatches = {};
  ScriptHost host;
  host.requestQuit = RecordQuit;
  host.systemScreenOpen = ScreenOpen;
  SetScriptHost(host);
  SetDispatchObserver(RecordDispatch);
  m_savedConsole = platform::SetConsole(&m_console);
  EndSceneMode();
  std::memset(&EngineState, 0, sizeof EngineState);
  std::memset(&EngineStateSnapshot, 0, sizeof EngineStateSnapshot);
  ClearMessageLog();
  ResetFreeSymbolCursor();
  ResetScriptEngine();
  SetScriptRunning(false);
}

ScriptHarness::~ScriptHarness() {
  if (m_screen) SetLayerDrawTarget(nullptr);
  m_app.reset();
  m_screen.reset();
  FrameInput = {};
  Config = m_savedConfig;
  SetScriptHost({});
  SetDispatchObserver(nullptr);
  platform::SetConsole(m_savedConsole);
  EndSceneMode();
  SetScriptRunning(false);
  ScriptText.Clear();
}

void ScriptHarness::Load(std::string_view script, std::string_view name) {
  LoadScriptText(name, script);
  SetScriptRunning(true);
}

void ScriptHarness::Step(int frames) {
  for (int i = 0; i < frames; ++i) {
    if (IsScriptRunning()) StepScript();
  }
}

void ScriptHarness::StartSystemInterface() {
  MakeApp();
  RunningScriptApp = m_app.get();
  m_app->CreateSystemInterface();
}

void ScriptHarness::MakeApp() {
  if (!m_screen) {
    m_screen = std::make_unique<CMemPlane>();
    m_screen->Create(Config.screenWidth > 0 ? Config.screenWidth : 320,
                     Config.screenHeight > 0 ? Config.screenHeight : 240, 0);
    SetLayerDrawTarget(m_screen.get());
    m_app = std::make_unique<CScriptApp>(nullptr);
  }
}

void ScriptHarness::Frame(int frames, const FrameInputState& input) {
  MakeApp();
  for (int i = 0; i < frames; ++i) {
    FrameInput = input;
    if (i > 0) {
      FrameInput.click = FrameInput.rightClick = FrameInput.scrollUp = FrameInput.scrollDown = false;
    }
    m_app->OnFrame(CScriptApp::kFrameNormal);
  }
}

std::optional<double> ScriptHarness::Var(std::string_view name) const {
  const ScriptSymbol* entry = FindSymbol(name);
  if (!entry) return std::nullopt;
  return entry->value;
}

std::vector<std::string> ScriptHarness::Log() const {
  std::vector<std::string> lines;
  for (int i = 0; i < MessageLog.count; ++i) lines.emplace_back(MessageLog.lines[i]);
  return lines;
}

int32_t ScriptHarness::CurrentLine() const { return LineOfPosition(ScriptLexer.readPos); }
int32_t ScriptHarness::Token() const { return ScriptLexer.token; }
bool ScriptHarness::Running() const { return IsScriptRunning(); }
int ScriptHarness::QuitRequests() const { return harnessQuitRequests; }
void ScriptHarness::SetSystemScreenOpen(bool open) { harnessScreenOpen = open; }

int ScriptHarness::Dispatches(int32_t token) const {
  if (token < kFirstStatementToken || token > kLastStatementToken) return 0;
  return harnessDispatches[token - kFirstStatementToken];
}

const ScreenFades& ScriptHarness::Fades() const { return ::Fades(); }

std::vector<std::pair<std::string, std::string>> ScriptHarness::GalleryList() const {
  std::vector<std::pair<std::string, std::string>> list;
  for (int i = 0; i < SceneGallery.count && i < kGalleryEntries; ++i) {
    list.emplace_back(FixedText(SceneGallery.keys[i]), FixedText(SceneGallery.thumbs[i]));
  }
  return list;
}

bool ScriptHarness::GalleryActive() const { return SceneGallery.active; }

platform::ConsoleRead ScriptConsole::ReadLine(std::string& line) {
  ++reads;
  if (m_lines.empty()) return m_open ? platform::ConsoleRead::kPending : platform::ConsoleRead::kEnd;
  if (m_lines.front().readsLate > 0) {
    --m_lines.front().readsLate;
    return platform::ConsoleRead::kPending;
  }
  line = std::move(m_lines.front().line);
  m_lines.pop_front();
  return platform::ConsoleRead::kLine;
}

void ReleaseGameModules() {
  ReleaseTextBoxes();
  ReleaseButtons();
  ReleaseBacklog();
  ReleaseLayers();
  ReleaseSound();
}

std::string CrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string ErrorLine(int line, std::string_view message, std::string_view text, std::string_view script) {
  std::string out = "ERROR : ";
  out += script;
  out += "(" + std::to_string(line) + "行目)["_sj;
  out += message;
  out += "]-->";
  out += text;
  out += ".\n";
  return out;
}

ScopedScriptHandler::ScopedScriptHandler(int32_t token, ScriptHandler handler)
    : m_token(token), m_previous(GetScriptHandler(token)) {
  SetScriptHandler(token, handler);
}

ScopedScriptHandler::~ScopedScriptHandler() { SetScriptHandler(m_token, m_previous); }

ScopedCommands::ScopedCommands() {
  for (int32_t t = kFirstStatementToken; t <= kLastStatementToken; ++t)
    m_saved[static_cast<size_t>(t - kFirstStatementToken)] = GetScriptHandler(t);
  RegisterScriptCommands();
}

ScopedCommands::~ScopedCommands() {
  for (int32_t t = kFirstStatementToken; t <= kLastStatementToken; ++t)
    SetScriptHandler(t, m_saved[static_cast<size_t>(t - kFirstStatementToken)]);
}
