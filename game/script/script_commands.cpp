#include "game/script/script_commands.h"

#include "game/commands/button_commands.h"
#include "game/commands/gallery_commands.h"
#include "game/commands/layer_commands.h"
#include "game/commands/message_commands.h"
#include "game/commands/screen_fade_commands.h"
#include "game/script/script_lexer.h"
#include "game/commands/sound_commands.h"
#include "game/commands/system_commands.h"
#include "game/commands/text_commands.h"
#include "game/commands/time_commands.h"

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
