// The game object: owns the mouse and the frame timer, initialises the game's modules, runs the
// frame loop with its adaptive frame rate and draws each frame in a fixed order.
#pragma once

#include <memory>

#include "game/app/script_app_hook.h"
#include "sdk/framework/app_scoped_object.h"
#include "sdk/framework/editor_process_factory.h"
#include "sdk/framework/frame_timer.h"
#include "sdk/framework/mouse_input.h"
#include "sdk/graphics/dib_draw.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_impl.h"

class CSystemMenu;
class CToolTip;
class CWindowApplication;

class CScriptApp : public CAppScopedObject {
 public:
  static constexpr int kFrameNormal = 0;
  static constexpr int kFrameNoPicture = 1;    // sound, overlay and log only
  static constexpr int kFrameNoInterface = 2;  // the picture without the message window and above

  explicit CScriptApp(CWindowApplication* app);
  ~CScriptApp() override;

  // The whole game; returns when it ends.
  void MainLoop() override;
  // Initialisation step 8: the system interface and the tool tip.
  void CreateSystemInterface();
  // One frame in the given mode; true.
  bool OnFrame(int mode);
  // Opens the script in the editor and waits until the editor closes (debug mode).
  void OpenEditor(const char* scriptPath, int line);

  // The display and its back buffer, which every drawing of the game goes to.
  CDIBDraw& Display() { return m_display; }
  CMemPlane* GetScreenSurface() { return m_display.GetSecondary(); }
  CMouseInputEx& Mouse() { return m_mouse; }
  CFrameTimer& Timer() { return m_timer; }
  CWindowApplication* Application() const { return m_app; }
  // The tool tip of the system interface's buttons, from initialisation to exit; null otherwise.
  CToolTip* ToolTip() const { return m_toolTip.get(); }
  // The system interface (window buttons, settings, save and load screens), from initialisation to
  // exit; null otherwise.
  CSystemMenu* SystemMenu() const { return m_systemMenu.get(); }
  // The game window's menu commands and its check marks.
  CScriptAppHook& Hook() { return m_hook; }
  // The colour depth the menu's depth change left the display in; 0 in a window.
  int ColorDepth() const { return m_colorDepth; }
  void SetColorDepth(int depth) { m_colorDepth = depth; }
  // The last drawn game picture without window, text or interface (save thumbnails take it, so a
  // save never draws a frame of its own); null before the first picture was drawn and while the
  // next one is being drawn.
  const CMemPlane* GamePicture() const;
  // Switches the display between a window and the full screen; the back buffer made anew takes the
  // game picture with it, so the picture is kept first.
  void SetDisplayMode(bool fullScreen);
  // Called before anything is drawn over the picture of this frame: the picture is kept aside.
  // Until then the picture is the plane it was drawn in, and nothing is copied; a frame that
  // draws no interface copies nothing.
  void KeepGamePicture();

 private:
  void UpdateWindowHiding();

  CWindowApplication* m_app;
  CEditorProcessFactory m_editorFactory;
  // Before the display: the display leaves the window's hooks first.
  CScriptAppHook m_hook;
  CDIBDraw m_display;
  CMouseInputEx m_mouse;
  CFrameTimer m_timer;
  std::unique_ptr<CSystemMenu> m_systemMenu;
  std::unique_ptr<CToolTip> m_toolTip;
  // Where the game picture is: nowhere (before the first frame, and while a frame draws one), in
  // the plane it was drawn in (m_pictureSource, with nothing drawn over it yet), or kept aside in
  // m_gamePicture.
  enum class Picture { kNone, kInSource, kKept };
  Picture m_picture = Picture::kNone;
  const CMemPlane* m_pictureSource = nullptr;
  CMemPlane m_gamePicture;
  int m_colorDepth = 0;
  // The buttons as the last frame saw them, for their pushes.
  bool m_rightWasHeld = false;
  bool m_leftWasHeld = false;
};

// The running game object, or null.
extern CScriptApp* RunningScriptApp;
