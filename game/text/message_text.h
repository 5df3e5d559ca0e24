// A message of the script: the speaker and the spoken text, the voice, the read marks, and the page
// waits KEYPROMPT and KEYWAIT.
#pragma once

#include <string>
#include <string_view>

struct SpeakerSplit {
  bool hasSpeaker;
  std::string_view speaker;
  std::string_view spoken;
};

// "＠name" on a line of its own, or a name before "「" or "（" within the first 16 bytes.
SpeakerSplit SplitSpeaker(std::string_view text);

// What the backlog keeps of a message: the speaker's name before the spoken words. Words that do
// not open with a bracket ("＠name" messages) go on a line of their own below the name, as the
// message window shows the name apart from them.
std::string BacklogTextOf(const SpeakerSplit& split);

// The voice of a message by this speaker: the pending single voice, else the speaker's next voice of
// its series (the counter moves on); empty for none.
std::string NextVoicePath(std::string_view speaker);

// Whether the actor of a voice path ("voice\A0100.ogg") wants to be heard; only the letters A to P
// name an actor.
bool ActorVoiceOn(std::string_view voicePath);

// Enters the handlers of the message text, KEYPROMPT and KEYWAIT.
void RegisterMessageText();
