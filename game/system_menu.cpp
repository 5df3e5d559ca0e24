#include "game/system_menu.h"

#include "game/game_menu_refresh.h"
#include "game/run_state.h"
#include "game/save_file.h"
#include "game/save_thumbnail.h"
#include "game/script_app.h"

CSystemMenu::CSystemMenu() = default;
CSystemMenu::~CSystemMenu() = default;

void CSystemMenu::OnFrame() {}

bool CSystemMenu::Save(std::string_view path) {
  const bool saved = SaveSlot(path, RunningScriptApp ? RunningScriptApp->GamePicture() : nullptr);
  RefreshGameMenu();
  return saved;
}

bool CSystemMenu::Load(std::string_view path) {
  if (!LoadSaveFile(path)) return false;
  SaveScreenOpen = false;
  LoadScreenOpen = false;
  RefreshGameMenu();
  return true;
}

void CSystemMenu::UpdateSlots() {}

void CSystemMenu::OpenLoadScreenFromScript() {
  LoadScreenOpen = true;
  LoadScreenByScript = true;
}
