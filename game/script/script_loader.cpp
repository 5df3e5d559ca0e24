#include "game/script/script_loader.h"

#include <cstring>

#include "game/app/config.h"
#include "game/script/engine_state.h"
#include "game/text/fixed_text.h"
#include "game/text/message_window.h"
#include "game/script/read_flag_table.h"
#include "game/script/script_control_flow.h"
#include "game/script/script_error.h"
#include "game/script/script_executor.h"
#include "game/script/script_lexer.h"
#include "game/script/script_symbol_table.h"
#include "game/script/script_text.h"
#include "game/text/text_box.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/file_buffer.h"

void ResetScriptEngine() {
  EngineState.interpreter.runThrough = 0;
  ResetMessageWindowFlags();
  MessageState& message = EngineState.presentation.message;
  message.singleVoicePending = 0;
  std::memset(message.singleVoice, 0, sizeof message.singleVoice);
  message.namePresent = 0;
  std::memset(message.voicePrefixes, 0, sizeof message.voicePrefixes);
  EngineState.presentation.window.state = 0;  // closed
  EngineState.presentation.window.opacity = 0;
  ScriptText.Clear();
  ResetScriptLexer();
  RegisterKeywords();
  EngineState.scriptLine = 1;
  ClearReadFlags();
}

void InitScriptEngine() {
  CreateTextBox(0, Config.fontSize, Config.fontColor, Config.fontShadow, Config.fontHMargin);
  CreateTextBox(1, Config.nameSize, Config.nameColor, Config.nameShadow, 0);
  SetTextBoxPos(0, Config.normalText.x + Config.messageWindowX, Config.normalText.y + Config.messageWindowY,
                Config.normalText.width, Config.normalText.height);
  SetTextBoxProgress(0, Config.messageSpeed);
  ResetScriptEngine();
  EngineState.presentation.window.originX = Config.messageWindowX;
  EngineState.presentation.window.originY = Config.messageWindowY;
  LoadMessageWindowPicture();
  LoadReadFlags(kReadFlagFile);
}

void LoadScriptText(std::string_view name, std::string_view text) {
  ScriptText.Clear();
  ScriptText.Assign(text);
  InterpreterState& interp = EngineState.interpreter;
  interp.runThrough = 1;
  CopyFixedText(interp.scriptName, name);
  SeekScript(0);
  ScanLabels(kSymbolAdd);
  interp.gosubDepth = 0;
  interp.forDepth = 0;
  interp.macroDepth = 0;
  SeekScript(0);
  // A save taken before the first message must not be an empty block.
  TakeSaveSnapshot();
}

bool LoadScript(const void* /*unused*/, const std::string& name) {
  CFileBuffer file;
  const bool read = file.Read(name) == 0;
  // In debug mode the script is opened in the editor first; the game starts when the editor closes.
  if (const ScriptHost& host = GetScriptHost(); Config.debug && host.openEditor) host.openEditor(name.c_str(), 0);
  if (!read) {
    LoadScriptText(name, {});
    ScriptError("ファイルが見つかりません"_sj);
    return false;
  }
  LoadScriptText(name, {reinterpret_cast<const char*>(file.GetData()), file.GetSize()});
  return true;
}

void SaveReadFlags() {
  ScriptText.Clear();
  FreeMessageWindowPicture();
  WriteReadFlags(kReadFlagFile);
}

void TakeSaveSnapshot() {
  // Inside a statement the line it began on, plus one, as jumps count lines: a load resumes at the
  // start of that statement, so a message of several lines keeps its speaker and voice.
  const int32_t statementLine = DispatchedStatementLine();
  EngineState.scriptLine = statementLine > 0 ? statementLine + 1 : LineOfPosition(ScriptLexer.readPos);
  std::memcpy(&EngineStateSnapshot, &EngineState, sizeof EngineState);
}

void RestoreScriptLine() {
  SanitizeInterpreterState(EngineState);
  ScanLabels(kSymbolFindOrAdd);
  SeekScript(PositionOfLine(EngineState.scriptLine));
  // A script that had run off its end runs again from the loaded line.
  SetScriptRunning(true);
}
