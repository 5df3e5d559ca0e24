// The player's interface beside the script: the six buttons on the message window, the settings
// screen, and the save and load screens with six slots a page over 100 pages. The running game
// object owns the one instance; every module reaches it through RunningScriptApp->SystemMenu().
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "sdk/graphics/mem_plane.h"

constexpr int kSlotsPerPage = 6;
constexpr int kSavePages = 100;

class CSystemMenu {
 public:
  // Loads the images of the screens and the window buttons and makes the caption text boxes.
  CSystemMenu();
  virtual ~CSystemMenu();
  CSystemMenu(const CSystemMenu&) = delete;
  CSystemMenu& operator=(const CSystemMenu&) = delete;

  // The per-frame work: the save or load screen, else the settings screen, else the window's buttons.
  void OnFrame();
  // Writes the snapshot and its thumbnail; false when nothing was saved.
  bool Save(std::string_view path);
  // Restores a save; false when the file is missing or refused (nothing changed then).
  bool Load(std::string_view path);
  // The six slot captions and thumbnails of the shown page.
  void UpdateSlots();
  // The load screen as the script opens it: no save tab, slots rebuilt on the next frame.
  void OpenLoadScreenFromScript();

  // A button of the message window at (x, y) from the window's origin, of the size given, whose
  // hover picture is image. True on the frame it is pressed; a held button presses again only
  // after the cool-down (a third of a second).
  bool HitBarButton(int32_t x, int32_t y, int32_t width, int32_t height, CMemPlane* image, const char* tip);
  // A button on the screen at (x, y) of its hover picture's size; as HitBarButton otherwise.
  bool HitScreenButton(int32_t x, int32_t y, CMemPlane* image, const char* tip);
  // The cursor is over one of the six message-window buttons: a click there is not the page's.
  bool CursorOverWindowButton() const;

  // What tests look at.
  int32_t ShownPage() const { return m_shownPage; }
  int32_t CoolDown() const { return m_coolDown; }
  const CMemPlane* SlotThumbnail(int slot) const;

 private:
  void SaveLoadScreen();
  void SettingsScreen();
  void WindowButtons();
  // The common part of every button: hover picture, pointing cursor, tip, and the press.
  bool Hit(bool inside, CMemPlane* image, int32_t drawX, int32_t drawY, const char* tip);
  bool Pressed();
  void ClearSlots();
  void CloseAllScreens();
  void ReleaseClosedScreens();

  // Always loaded.
  // Shared with the image cache: the interface only draws these.
  std::shared_ptr<CMemPlane> m_saveTab, m_loadTab, m_bar;
  std::shared_ptr<CMemPlane> m_onOver, m_onSelect, m_offOver, m_offSelect;
  std::shared_ptr<CMemPlane> m_right, m_left, m_rightOver, m_leftOver;
  std::shared_ptr<CMemPlane> m_backToGame, m_backToTitle, m_windowMode, m_fullScreenMode, m_quit;
  std::shared_ptr<CMemPlane> m_auto, m_skip, m_backlog, m_quickSave, m_quickLoad, m_system;
  // Loaded on first use, released when their screen closes.
  std::unique_ptr<CMemPlane> m_settingsBackground;
  std::unique_ptr<CMemPlane> m_screenBackground;  // of the save or the load screen
  bool m_screenBackgroundIsLoad = false;
  std::unique_ptr<CMemPlane> m_noData;
  std::array<std::unique_ptr<CMemPlane>, kSlotsPerPage> m_thumbnails;
  int32_t m_shownPage = -1;  // -1: rebuilt on the next frame
  int32_t m_coolDown = 0;
};
