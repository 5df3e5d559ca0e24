// The game's sound channels over the mixer in manual rendering, in a fresh folder holding short
// music, voice and effect files, with the sound settings at full volume and 60 frames a second.
#pragma once

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "game/config.h"
#include "game/engine_state.h"
#include "game/sound_channels.h"
#include "platform/audio_mixer.h"
#include "scoped_temp_dir.h"
#include "sdk/framework/path_functions.h"
#include "sdk/sound/ogg_reader.h"
#include "sdk/sound/sound.h"
#include "sdk/sound/streaming_buffer.h"
#include "tools/make_sounds/sound_writer.h"

class SoundFolder {
 public:
  SoundFolder() : m_previous(std::filesystem::current_path()) {
    std::filesystem::current_path(m_dir.path());
    RecordCurrentDir();
    platform::SetAudioManualRender(true);
    const auto tone = sound_writer::Tone(22050, 1, 4410, 440, 8000);
    std::vector<uint8_t> ogg;
    sound_writer::MakeOggVorbis(tone, 22050, 1, 0.3f, ogg);
    std::vector<uint8_t> wave;
    sound_writer::MakeWave(sound_writer::WaveKind::kPcm16, tone, 22050, 1, wave);
    for (const char* name :
         {"a.ogg", "b.ogg", "voice/v.ogg", "voice/A0100.ogg", "voice/A0101.ogg", "voice/B0007.ogg"}) {
      Write(name, ogg);
    }
    for (const char* name : {"s.wav", "system/se/mclick.wav"}) Write(name, wave);
    // The button sounds have Japanese names; the folder holds them under their UTF-8 names.
    for (const char8_t* name : {u8"system/se/ボタンオーバー.wav", u8"system/se/ボタンプッシュ.wav"}) {
      Write(reinterpret_cast<const char*>(name), wave);
    }
  }
  ~SoundFolder() {
    ReleaseSound();
    platform::SetAudioManualRender(false);
    std::filesystem::current_path(m_previous);
    RecordCurrentDir();
  }
  SoundFolder(const SoundFolder&) = delete;
  SoundFolder& operator=(const SoundFolder&) = delete;

  const ScopedTempDir& dir() const { return m_dir; }

  static void FullVolume() {
    Config.fps = 60;
    Config.masterVolume = 100;
    Config.bgm = {100, true};
    Config.se = {100, true};
    Config.voice = {100, true};
    Config.bgmDownForVoice = false;
    for (bool& on : Config.actorVoiceOn) on = true;
  }

  static int32_t Attenuation(CStreamingBuffer* buffer) {
    int32_t volume = 1;
    if (buffer) buffer->GetVolume(&volume);
    return volume;
  }

 private:
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    m_dir.Write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }

  ScopedTempDir m_dir;
  std::filesystem::path m_previous;
};
