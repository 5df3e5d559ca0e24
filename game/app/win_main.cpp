#include "game/app/win_main.h"

#include "game/stage/avi_movie_player.h"
#include "game/app/config.h"
#include "game/system/game_menu_resource.h"
#include "game/stage/movie_player.h"
#include "game/app/run_state.h"
#include "game/app/script_app_shell.h"
#include "game/system/seen_lists.h"
#include "platform/message_box.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/single_instance_checker.h"
#include "sdk/framework/win_main_args.h"

namespace {

const std::string kSceneHeader = std::string("MERIDIANE シーン回想ファイル "_sj) + kSeenMakerMark +
                                 "※このファイルをむやみやたらに変更してはいけません"_sj;
const std::string kPictureHeader = std::string("MERIDIANE CGモードファイル "_sj) + kSeenMakerMark +
                                   "※このファイルをむやみやたらに変更してはいけません"_sj;

void WriteBack() {
  if (!ExchangeConfig("vrel.xml", kConfigWrite)) {
    // The game's window is gone: the box has no owner.
    platform::MessageBox(nullptr, "設定ファイルの書き出しに失敗しました"_sj, "致命的エラー"_sj, MB_OK);
  }
  ExchangeSeenLists(kSeenListsWrite);
  SceneProfile.WriteProfile(nullptr, kSceneHeader.c_str());
  PictureProfile.WriteProfile(nullptr, kPictureHeader.c_str());
}

}  // namespace

int WinMain(HINSTANCE instance, HINSTANCE previous, char* commandLine, int showCommand) {
  ResetRunState(false);
  ClearSeenLists();
  // Reading appends to what a profile holds: each run of the game starts from empty ones.
  SceneProfile = CIniProfile();
  PictureProfile = CIniProfile();
  if (!SceneProfile.ReadProfile("scene.ini")) return 0;
  if (!PictureProfile.ReadProfile("picture.ini")) return 0;
  if (!ExchangeSeenLists(kSeenListsRead)) return 0;
  if (!ExchangeConfig("vrel.xml", kConfigRead)) return 0;
  ResetRunState(true);
  SetWinMainArgs(instance, previous, commandLine, showCommand);
  SetMoviePlayerFactory(&MakeAviMoviePlayer);
  RegisterGameMenu();
  CSingleInstanceChecker checker;
  if (!checker.IsValid()) return 0;
  {
    CScriptAppShell shell;
    shell.Run();
  }
  WriteBack();
  return 0;
}
