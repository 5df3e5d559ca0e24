#include "game/commands/gallery_commands.h"

#include <array>
#include <string>

#include "game/system/scene_gallery.h"
#include "game/script/script_args.h"
#include "game/script/script_commands.h"
#include "game/script/script_lexer.h"
#include "game/script/script_tokens.h"
#include "game/system/seen_lists.h"
#include "platform/sjis_literal.h"

namespace {

// SETSCENE name: the scene is recorded as seen.
ScriptFlow RunSetScene() {
  const std::string name = ArgString("ファイル名の指定がありません"_sj);
  AddSeenScene(name);
  GetToken();
  return ScriptFlow::kNext;
}

// SCENEMODE key, thumbnail {, key, thumbnail}: any tokens, taken by their text. The separator between
// a key and its thumbnail is read without being looked at. The gallery keeps what fits and opens.
ScriptFlow RunSceneMode() {
  EndSceneMode();
  do {
    const std::string key = ArgTokenText();
    GetToken();
    const std::string thumbnail = ArgTokenText();
    AddSceneModeKey(key);
    AddSceneModeThumb(thumbnail);
    GetToken();
  } while (ScriptLexer.token == ',');
  StartSceneMode();
  return ScriptFlow::kNext;
}

ScriptFlow RunSceneModeEnd() {
  EndSceneMode();
  GetToken();
  return ScriptFlow::kNext;
}

// CGMODE word {, word}: read and passed over.
ScriptFlow RunCgMode() {
  do {
    GetToken();
    GetToken();
  } while (ScriptLexer.token == ',');
  return ScriptFlow::kNext;
}

constexpr std::array kGalleryCommands = {
    ScriptCommand{kTokenSetScene, RunSetScene},         ScriptCommand{kTokenSceneMode, RunSceneMode},
    ScriptCommand{kTokenSceneModeEnd, RunSceneModeEnd}, ScriptCommand{kTokenCgMode, RunCgMode},
    ScriptCommand{kTokenCgModeEnd, RunWithoutEffect},
};

}  // namespace

void RegisterGalleryCommands() { RegisterCommandTable(kGalleryCommands); }
