#include "game/text/message_text.h"

#include <cstdio>

#include "game/text/backlog.h"
#include "game/app/config.h"
#include "game/script/engine_state.h"
#include "game/text/fixed_text.h"
#include "game/app/frame_input.h"
#include "game/text/message_window.h"
#include "game/script/read_flag_table.h"
#include "game/script/script_executor.h"
#include "game/script/script_lexer.h"
#include "game/script/script_loader.h"
#include "game/script/script_text.h"
#include "game/script/script_tokens.h"
#include "game/sound/sound_channels.h"
#include "game/text/text_box.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"

namespace {

constexpr std::string_view kVoicePrefixDir = "voice\\";
constexpr size_t kSpeakerSearchBytes = 16;

MessageState& Message() { return EngineState.presentation.message; }

// The byte offset of a double-byte character whose two bytes both lie within the first bytes of the
// text, found character by character.
size_t FindCharacterWithin(std::string_view text, std::string_view character, size_t limit) {
  for (size_t i = 0; i + 1 < text.size() && i + 1 < limit;) {
    if (platform::IsSjisLead(static_cast<unsigned char>(text[i]))) {
      if (text.substr(i, 2) == character) return i;
      i += 2;
    } else {
      ++i;
    }
  }
  return std::string_view::npos;
}

ScriptFlow RunMessage() {
  // Taken first, while every saved value is as it was before this message: a save made now resumes
  // at the message's first line and plays the same voice again.
  TakeSaveSnapshot();
  const int32_t readLine = LineOfPosition(ScriptLexer.readPos);
  HideTextBox(1);
  const std::string text(TokenText());
  SetAutoCounters(static_cast<int64_t>(text.size()));

  MessageState& message = Message();
  const SpeakerSplit split = SplitSpeaker(text);
  message.namePresent = split.hasSpeaker ? 1 : 0;
  if (split.hasSpeaker) CopyFixedText(message.speakerName, split.speaker);
  SetTextBoxText(0, split.spoken);
  CopyFixedText(EngineStateSnapshot.messageText, split.spoken);
  CopyFixedText(EngineState.messageText, split.spoken);

  std::string voice;
  if (split.hasSpeaker) {
    voice = NextVoicePath(split.speaker);
    if (!voice.empty() && !IsSkipping() && ActorVoiceOn(voice)) PlayVoice(voice.c_str(), 0);
  }
  BacklogAddText(BacklogTextOf(split), voice);

  ScriptLexer.token = kTokenKeyPrompt;
  if (IsLineRead(readLine)) {
    if (Config.readTextAlpha) SetTextBoxAlpha(0, 192);
    if (Config.readTextFast) SetTextBoxProgress(0, 99999);
    CurrentTextRead = true;
  } else if (!Config.skipUnread) {
    CurrentTextRead = false;
    SkipMode = false;
  }
  MarkLineRead(readLine);
  return ScriptFlow::kNext;
}

ScriptFlow RunKeyPrompt() {
  MessageState& message = Message();
  if (IsSkipping()) {
    ShowTextBoxAll(0);
    GetToken();
    message.prompt = 0;
    StopVoice();
    return ScriptFlow::kYield;
  }
  // At speed 0 nothing reveals by itself, and the script's auto-play would never end the page.
  if (Config.messageSpeed <= 0) ShowTextBoxAll(0);
  if (IsTextBoxDone(0)) {
    message.prompt = 1;
    if (!WaitKey()) return ScriptFlow::kYield;
    ResetInputEdges();
    StopVoice();
    HideTextBox(1);
    message.prompt = 0;
    GetToken();
    return ScriptFlow::kNext;
  }
  if (WaitKey()) {
    // The click completes the text; it does not end the page.
    ShowTextBoxAll(0);
    ResetInputEdges();
  }
  return ScriptFlow::kYield;
}

ScriptFlow RunKeyWait() {
  if (Config.autoOn && !KeyWaitStarted) {
    SetAutoCounters(100);
    KeyWaitStarted = true;
  }
  const bool ended = WaitKey();
  if (!ended && !Message().movie) return ScriptFlow::kYield;
  Message().movie = 0;
  if (!CurrentTextRead) SkipMode = false;
  KeyWaitStarted = false;
  ResetInputEdges();
  GetToken();
  return ScriptFlow::kNext;
}

}  // namespace

SpeakerSplit SplitSpeaker(std::string_view text) {
  const std::string_view at = "＠"_sj;
  if (text.substr(0, at.size()) == at) {
    const std::string_view rest = text.substr(at.size());
    const size_t lineEnd = rest.find('\n');
    if (lineEnd == std::string_view::npos) return {true, rest, {}};
    return {true, rest.substr(0, lineEnd), rest.substr(lineEnd + 1)};
  }
  for (std::string_view open : {std::string_view("「"_sj), std::string_view("（"_sj)}) {
    const size_t at_ = FindCharacterWithin(text, open, kSpeakerSearchBytes);
    if (at_ != std::string_view::npos) return {true, text.substr(0, at_), text.substr(at_)};
  }
  return {false, {}, text};
}

std::string BacklogTextOf(const SpeakerSplit& split) {
  std::string text(split.hasSpeaker ? split.speaker : std::string_view());
  const bool opensWithBracket = split.spoken.starts_with(std::string_view("「"_sj)) ||
                                split.spoken.starts_with(std::string_view("（"_sj));
  if (!text.empty() && !opensWithBracket) text += '\n';
  text.append(split.spoken);
  return text;
}

std::string NextVoicePath(std::string_view speaker) {
  MessageState& message = Message();
  std::string path(kVoicePrefixDir);
  if (message.singleVoicePending) {
    message.singleVoicePending = 0;
    path.append(FixedText(message.singleVoice)).append(".ogg");
    return path;
  }
  for (VoicePrefix& entry : message.voicePrefixes) {
    const std::string_view name = FixedText(entry.speaker);
    if (name.empty() || name != speaker) continue;
    char number[16];
    std::snprintf(number, sizeof number, "%04d", entry.counter);
    if (entry.series[0] != '\0') path += entry.series[0];
    path.append(number).append(".ogg");
    if (entry.counter < INT32_MAX) ++entry.counter;
    return path;
  }
  return {};
}

bool ActorVoiceOn(std::string_view voicePath) {
  const std::string_view name = voicePath.substr(std::min(voicePath.size(), kVoicePrefixDir.size()));
  if (name.empty() || name[0] < 'A' || name[0] > 'P') return true;
  return Config.actorVoiceOn[name[0] - 'A'];
}

void RegisterMessageText() {
  SetScriptHandler(kTokenMessage, RunMessage);
  SetScriptHandler(kTokenKeyPrompt, RunKeyPrompt);
  SetScriptHandler(kTokenKeyWait, RunKeyWait);
}
