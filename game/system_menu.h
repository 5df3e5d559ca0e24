// The player's interface beside the script: the six buttons on the message window, the settings
// screen, and the save and load screens with six slots a page over 100 pages. The running game
// object owns the one instance; every module reaches it through RunningScriptApp->SystemMenu().
#pragma once

#include <string_view>

class CMemPlane;

class CSystemMenu {
 public:
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
};
