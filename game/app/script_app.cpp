#include "game/app/script_app.h"

#include <cstring>

#include "game/app/config.h"
#include "game/app/editor_launch.h"
#include "game/app/frame_input.h"
#include "game/app/frame_rate_adapter.h"
#include "game/app/frame_scale.h"
#include "game/app/info_overlay.h"
#include "game/app/overlay_draw.h"
#include "game/app/run_state.h"
#include "game/script/engine_state.h"
#include "game/script/message_log.h"
#include "game/script/script_commands.h"
#include "game/script/script_executor.h"
#include "game/script/script_loader.h"
#include "game/sound/sound_channels.h"
#include "game/stage/image_cache.h"
#include "game/stage/layer_module.h"
#include "game/stage/picture_layers.h"
#include "game/stage/screen_fade.h"
#include "game/system/scene_gallery.h"
#include "game/system/script_buttons.h"
#include "game/system/system_menu.h"
#include "game/text/backlog.h"
#include "game/text/cursor_prompt.h"
#include "game/text/message_window.h"
#include "game/text/text_box.h"
#include "game/text/tool_tip.h"
#include "platform/menu.h"
#include "platform/quit_signal.h"
#include "platform/window.h"
#include "sdk/framework/game_key_input.h"
#include "sdk/framework/win_main_args.h"
#include "sdk/framework/window_application.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_impl.h"

CScriptApp* RunningScriptApp = nullptr;

namespace {

// The guard that keeps the click which started the game from counting as the first click.
constexpr int kStartGuardPolls = 20;

}  // namespace

CScriptApp::CScriptApp(CWindowApplication* app) : m_app(app), m_hook(*this) {}

CScriptApp::~CScriptApp() {
  if (m_picture == Picture::kInSource) SetWaitingGamePicture(nullptr);
  if (RunningScriptApp == this) RunningScriptApp = nullptr;
  SetFrameInputMouse(nullptr);
}

void CScriptApp::MainLoop() {
  // Initialisation.
  RunningScriptApp = this;
  SetFrameInputMouse(&m_mouse);
  if (HWND window = GetAppWindowHandle()) platform::SetWindowText(window, Config.title);
  m_hook.UpdateMenu();
  m_display.SetDisplayMode(!Config.windowMode, Config.screenWidth, Config.screenHeight, 0);
  if (m_app) m_app->SetBlockWhileMinimised(true);
  m_mouse.SetGuard(kStartGuardPolls);
  FrameRateAdapter rate(Config.fps);
  Config.fps = rate.fps();
  m_timer.SetFPS(static_cast<unsigned>(rate.fps()));
  CGameKeyInput keys;
  int16_t previousWheel = m_mouse.GetWheel();
  InitTextBoxes();
  InitLayers();
  InitSound();
  LoadPromptImage();
  InitBacklog();
  InitButtons();
  InitSceneMode();
  RegisterScriptCommands();
  InitScriptEngine();
  CreateSystemInterface();
  SetScriptHost({.systemScreenOpen = [] { return SaveScreenOpen || LoadScreenOpen || SettingsScreenOpen; },
                 .requestQuit = [] { QuitRequest = true; },
                 .openEditor =
                     [](const char* path, int line) {
                       if (RunningScriptApp) RunningScriptApp->OpenEditor(path, line);
                     }});
  LoadScript(nullptr, Config.script);
  SetScriptRunning(true);

  // The frame loop.
  while (m_app && m_app->PumpMessages() && !QuitRequest && !platform::QuitSignalled()) {
    // The game stands still while the player is in the menu bar: auto mode would turn pages under
    // an open menu, and a save item would save a later state than the one on the screen.
    if (platform::IsMenuOpen(GetAppWindowHandle())) {
      m_timer.WaitFrame();
      continue;
    }
    keys.Input();
    m_mouse.Update();
    ReadFrameInput(keys, m_mouse, previousWheel);
    if (keys.IsPress(game_key::kQuit)) break;
    // On the push only: a held key would flip the mode on every frame.
    if (keys.IsPush(game_key::kFullScreen)) {
      Config.windowMode = !Config.windowMode;
      SetDisplayMode(!Config.windowMode);
      // The menu's screen marks show the mode, however it was changed.
      m_hook.UpdateMenu();
    }
    // Skipped pages come faster than frames are due: that lateness says nothing about the machine.
    if (!IsSkipping() && rate.Step(m_timer.IsSkip())) {
      Config.fps = rate.fps();
      m_timer.SetFPS(static_cast<unsigned>(rate.fps()));
    }
    OnFrame(kFrameNormal);
    if (!NoPresent) m_display.Refresh(nullptr, true);
    NoPresent = false;
    m_timer.WaitFrame();
  }

  // Exit.
  m_systemMenu.reset();
  m_toolTip.reset();
  SaveReadFlags();
  ReleaseTextBoxes();
  ReleaseButtons();
  ReleaseBacklog();
  FreePromptImage();
  ReleaseLayers();
  ReleaseSound();
  ReleaseTextBoxes();
  SetScriptHost({});
  RunningScriptApp = nullptr;
}

void CScriptApp::CreateSystemInterface() {
  m_systemMenu = std::make_unique<CSystemMenu>();
  m_toolTip = std::make_unique<CToolTip>();
}

const CMemPlane* CScriptApp::GamePicture() const {
  switch (m_picture) {
    case Picture::kInSource:
      return m_pictureSource;
    case Picture::kKept:
      return &m_gamePicture;
    case Picture::kNone:
      break;
  }
  return nullptr;
}

void CScriptApp::KeepGamePicture() {
  if (m_picture != Picture::kInSource) return;
  SetWaitingGamePicture(nullptr);
  m_picture = Picture::kNone;
  const CMemPlaneImpl* from = m_pictureSource->GetImpl();
  CMemPlaneImpl* to = m_gamePicture.GetImpl();
  // Every pixel is copied over: the plane needs no fill of its own.
  if (to->Width() != from->Width() || to->Height() != from->Height() || !to->GetPixels()) {
    if (to->AllocPixels(from->Width(), from->Height()) != 0) return;
  }
  std::memcpy(to->GetPixels(), from->GetPixels(),
              static_cast<size_t>(from->Width()) * static_cast<size_t>(from->Height()) * sizeof(uint32_t));
  m_picture = Picture::kKept;
}

void CScriptApp::SetDisplayMode(bool fullScreen) {
  KeepGamePicture();
  m_display.SetDisplayMode(fullScreen, 0, 0, 0);
}

bool CScriptApp::OnFrame(int mode) {
  SetCursorKind(0);
  UpdateWindowHiding();
  // However little the statements wait, the run gives the frame back when the frame's time is spent.
  if (!BacklogOpen && IsScriptRunning() && !SystemScreenOpen()) StepScript(FrameMs());
  CMemPlane* backBuffer = GetScreenSurface();
  if (mode == kFrameNormal || mode == kFrameNoInterface) {
    // The last frame's picture is drawn over now; nothing asks for it while the new one is drawn.
    if (m_picture == Picture::kInSource) SetWaitingGamePicture(nullptr);
    m_picture = Picture::kNone;
    m_display.SetDirty();
    m_display.Clear(nullptr);  // the back buffer's fill colour
    if (!ScreenCovered(Fades())) DrawLayers();
    if (!WindowHidden && !ScreenCovered(Fades())) DrawSceneMode();
    if (!SaveScreenOpen && !LoadScreenOpen && ButtonsActive && !ScreenCovered(Fades())) ButtonUpdate();
    AdvanceFade(Fades().black);
    if (backBuffer && Fades().black.level != 0) backBuffer->FadeEffect(255 - Fades().black.level, nullptr);
    AdvanceFade(Fades().white);
    if (backBuffer && Fades().white.level != 0) {
      const uint32_t level = static_cast<uint32_t>(Fades().white.level);
      backBuffer->GetImpl()->AddColor((level << 16) | (level << 8) | level, nullptr);
    }
    if (const CMemPlane* picture = LayerPictureTarget(); picture && picture->GetImpl()->GetPixels()) {
      m_pictureSource = picture;
      m_picture = Picture::kInSource;
      SetWaitingGamePicture(this);
    }
    if (mode == kFrameNoInterface) return true;
    // Each of these may hide the window, which stops the ones after it.
    if (!WindowHidden && IsScriptRunning()) DrawMessageWindow();
    if (!WindowHidden) BacklogDraw();
    if (!WindowHidden && m_systemMenu) m_systemMenu->OnFrame();
    if (!WindowHidden) DrawTextBoxes();
    if (!SystemScreenOpen()) DrawCursorAndPrompt();
    if (!WindowHidden && m_toolTip) m_toolTip->Draw();
  }
  UpdateSound();
  if (backBuffer && (Config.showFps || Config.showCacheRate)) {
    KeepGamePicture();
    const InfoOverlayFigures figures = InfoOverlayFiguresOf(m_timer, ImageCacheHits(), ImageCacheLookups());
    DrawInfoOverlay(*backBuffer, InfoOverlayText(Config.showFps, Config.showCpu, Config.showCacheRate, figures));
    m_display.SetDirty();
  }
  if (MessageLog.count > 0) {
    KeepGamePicture();
    if (backBuffer) DrawMessageLog(*backBuffer, MessageLog);
    AgeMessageLog(Config.fps);
  }
  return true;
}

// The right button hides and shows the message window, and ends skip mode.
void CScriptApp::UpdateWindowHiding() {
  if (SkipMode) {
    m_rightWasHeld = FrameInput.rightHeld;
    m_leftWasHeld = FrameInput.leftHeld;
    if (FrameInput.rightClick) {
      SkipMode = false;
      ResetInputEdges();
    }
    return;
  }
  // Pushes, not releases: the release of the same press is what closes the backlog.
  const bool rightPushed = FrameInput.rightHeld && !m_rightWasHeld;
  const bool leftPushed = FrameInput.leftHeld && !m_leftWasHeld;
  m_rightWasHeld = FrameInput.rightHeld;
  m_leftWasHeld = FrameInput.leftHeld;
  // The save and load screens and the scene gallery take the buttons for themselves.
  if (SaveScreenOpen || LoadScreenOpen || SceneGallery.active) return;
  const bool windowOpen = EngineState.presentation.window.state == 1;
  if (rightPushed && !WindowHidden && !BacklogOpen && !SystemScreenOpen() && !ButtonsActive && windowOpen) {
    WindowHidden = true;
  } else if (rightPushed && WindowHidden && !BacklogOpen && SceneReplay) {
    ReturnToGame();
    WindowHidden = false;
  } else if (rightPushed) {
    WindowHidden = false;
  } else if (leftPushed && WindowHidden && !BacklogOpen) {
    WindowHidden = false;
  } else {
    return;
  }
  ResetInputEdges();
}

void CScriptApp::OpenEditor(const char* scriptPath, int line) {
  LaunchEditor(m_editorFactory, AppInstanceHandle, scriptPath ? scriptPath : "", line);
}
