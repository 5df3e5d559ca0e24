#include "game/script_commands.h"

#include "game/button_commands.h"
#include "game/gallery_commands.h"
#include "game/layer_commands.h"
#include "game/message_commands.h"
#include "game/screen_fade_commands.h"
#include "game/script_lexer.h"
#include "game/sound_commands.h"
#include "game/system_commands.h"
#include "game/text_commands.h"
#include "game/time_commands.h"

void RegisterCommandTable(std::span<const ScriptCommand> commands) {
  for (const ScriptCommand& c : commands) SetScriptHandler(c.token, c.handler);
}

ScriptFlow RunWithoutEffect() {
  GetToken();
  return ScriptFlow::kNext;
}

void RegisterScriptCommands() {
  RegisterLayerCommands();
  RegisterTimeCommands();
  RegisterTextCommands();
  RegisterSoundCommands();
  RegisterMessageCommands();
  RegisterButtonCommands();
  RegisterScreenFadeCommands();
  RegisterGalleryCommands();
  RegisterSystemCommands();
}
