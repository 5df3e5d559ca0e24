#include "game/script_app.h"

#include "game/config.h"
#include "game/editor_launch.h"
#include "game/frame_input.h"
#include "game/frame_rate_adapter.h"
#include "game/message_log.h"
#include "game/run_state.h"
#include "game/screen_fade.h"
#include "game/script_executor.h"
#include "game/script_loader.h"
#include "platform/quit_signal.h"
#include "sdk/framework/game_key_input.h"
#include "platform/window.h"
#include "sdk/framework/full_screen.h"
#include "sdk/framework/win_main_args.h"
#include "sdk/framework/window_application.h"

CScriptApp* RunningScriptApp = nullptr;

namespace {

// The guard that keeps the click which started the game from counting as the first click.
constexpr int kStartGuardPolls = 20;

// Window or full screen at the configured size.
void ApplyScreenMode(CWindowApplication* app) {
  SetFullScreen(!Config.windowMode);
  if (app) app->GetWindow().ChangeScreen();
}

}  // namespace

CScriptApp::CScriptApp(CWindowApplication* app) : m_app(app) {}

CScriptApp::~CScriptApp() {
  if (RunningScriptApp == this) RunningScriptApp = nullptr;
  SetFrameInputMouse(nullptr);
}

void CScriptApp::MainLoop() {
  // Initialisation.
  RunningScriptApp = this;
  SetFrameInputMouse(&m_mouse);
  if (HWND window = GetAppWindowHandle()) platform::SetWindowText(window, Config.title);
  ApplyScreenMode(m_app);
  if (m_app) m_app->SetBlockWhileMinimised(true);
  m_mouse.SetGuard(kStartGuardPolls);
  FrameRateAdapter rate(Config.fps);
  Config.fps = rate.fps();
  m_timer.SetFPS(static_cast<unsigned>(rate.fps()));
  CGameKeyInput keys;
  int16_t previousWheel = m_mouse.GetWheel();
  InitScriptEngine();
  SetScriptHost({nullptr, [] { QuitRequest = true; }});
  LoadScript(nullptr, Config.script);
  SetScriptRunning(true);

  // The frame loop.
  while (m_app && m_app->PumpMessages() && !QuitRequest && !platform::QuitSignalled()) {
    keys.Input();
    m_mouse.Update();
    ReadFrameInput(keys, m_mouse, previousWheel);
    if (keys.IsPress(game_key::kQuit)) break;
    // On the push only: a held key would flip the mode on every frame.
    if (keys.IsPush(game_key::kFullScreen)) {
      Config.windowMode = !Config.windowMode;
      ApplyScreenMode(m_app);
    }
    if (rate.Step(m_timer.IsSkip())) {
      Config.fps = rate.fps();
      m_timer.SetFPS(static_cast<unsigned>(rate.fps()));
    }
    OnFrame(kFrameNormal);
    NoPresent = false;
    m_timer.WaitFrame();
  }

  // Exit.
  SaveReadFlags();
  SetScriptHost({});
  RunningScriptApp = nullptr;
}

bool CScriptApp::OnFrame(int mode) {
  if (IsScriptRunning()) StepScript();
  if (mode == kFrameNormal || mode == kFrameNoInterface) {
    AdvanceFade(Fades.black);
    AdvanceFade(Fades.white);
    if (mode == kFrameNoInterface) return true;
  }
  AgeMessageLog(Config.fps);
  return true;
}

void CScriptApp::OpenEditor(const char* scriptPath, int line) {
  LaunchEditor(m_editorFactory, AppInstanceHandle, scriptPath ? scriptPath : "", line);
}
