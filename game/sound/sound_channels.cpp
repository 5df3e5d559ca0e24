#include "game/sound/sound_channels.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "game/app/config.h"
#include "game/script/engine_state.h"
#include "game/app/frame_scale.h"
#include "game/script/message_log.h"
#include "game/script/saturate.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/window_application.h"
#include "sdk/sound/ogg_reader.h"
#include "sdk/sound/sound.h"
#include "sdk/sound/sound_device.h"
#include "sdk/sound/streaming_buffer.h"

float BgmLevel[2] = {};
float BgmFadeStep[2] = {};
int32_t CurrentBgm = 0;

namespace {

struct StreamChannel {
  std::shared_ptr<COggReader> reader;
  std::unique_ptr<CStreamingBuffer> buffer;

  bool ReaderOpen() const { return reader && reader->IsOpen(); }
  // The buffer goes first: a stopped buffer never touches its source again, and its thread ends.
  void Renew() {
    buffer.reset();
    if (reader) reader->Close();
    buffer = std::make_unique<CStreamingBuffer>();
  }
};

std::unique_ptr<CSoundDevice> soundDevice;
std::array<std::unique_ptr<CSound>, kSeChannelCount> seChannels;
std::array<std::unique_ptr<CSound>, kSystemSoundCount> systemSounds;
std::array<StreamChannel, 2> bgmChannels;
StreamChannel voiceChannel;

struct SystemSoundFile {
  int index;
  const char* file;
};
constexpr SystemSoundFile kSystemSoundFiles[] = {
    {0, "system\\se\\twopen.wav"},
    {1, "system\\se\\twclose.wav"},
    {2, "system\\se\\nextline.wav"},
    {3, "system\\se\\ボタンオーバー.wav"_sj},
    {4, "system\\se\\ボタンプッシュ.wav"_sj},
    {5, "system\\se\\switch.wav"},
    {6, "system\\se\\volume.wav"},
    {7, "system\\se\\mclick.wav"},
    {10, "system\\se\\sdopen.wav"},
    {11, "system\\se\\sdclose.wav"},
};

MusicRecord& Record(int channel) { return EngineState.music[channel]; }

int32_t SeAttenuation() { return Config.se.on ? VolumeToAttenuation(Config.se.volume) : kSilentAttenuation; }

int32_t MusicAttenuation(float level) {
  if (!Config.bgm.on) return kSilentAttenuation;
  return VolumeToAttenuation(SaturateToInt32(level * 0.01 * Config.bgm.volume));
}

}  // namespace

int32_t VolumeToAttenuation(int32_t volume) {
  const double value = Config.masterVolume * 0.01 * (static_cast<int64_t>(volume) * 30) - 3000.0;
  const int32_t attenuation = SaturateToInt32(value);
  return attenuation < -10000 ? -10000 : (attenuation > 0 ? 0 : attenuation);
}

uint8_t InitSound() {
  for (auto& sound : seChannels) sound.reset();
  for (auto& sound : systemSounds) sound.reset();
  for (const SystemSoundFile& entry : kSystemSoundFiles)
    systemSounds[static_cast<size_t>(entry.index)] = LoadWave(entry.file);
  for (int i = 0; i < 2; ++i) {
    BgmLevel[i] = 0;
    BgmFadeStep[i] = 0;
    Record(i).active = 0;
    bgmChannels[static_cast<size_t>(i)] = {};
  }
  voiceChannel = {};
  CurrentBgm = 0;
  soundDevice = std::make_unique<CSoundDevice>();
  if (!soundDevice->Create(GetAppWindowHandle())) {
    soundDevice.reset();
    DebugPrintText("DirectSound初期化失敗"_sj);
    return 0;
  }
  for (StreamChannel* channel : {&bgmChannels[0], &bgmChannels[1], &voiceChannel}) {
    channel->reader = std::make_shared<COggReader>();
    channel->buffer = std::make_unique<CStreamingBuffer>();
  }
  return 1;
}

void ReleaseSound() {
  // Whatever still plays fades out at once: one after another, a session that left its loops
  // playing would take a fade's time for each of up to 64 sounds before the game could end.
  std::vector<CSound*> playing;
  for (const auto* channels : {&seChannels, &systemSounds}) {
    for (const auto& sound : *channels) playing.push_back(sound.get());
  }
  CSound::StopTogether(playing);
  for (auto& sound : seChannels) sound.reset();
  for (auto& sound : systemSounds) sound.reset();
  for (StreamChannel* channel : {&bgmChannels[0], &bgmChannels[1], &voiceChannel}) {
    channel->buffer.reset();
    channel->reader.reset();
  }
  soundDevice.reset();
}

std::unique_ptr<CSound> LoadWave(const char* name) {
  auto sound = std::make_unique<CSound>();
  sound->Load(name ? name : "");
  return sound;
}

uint8_t PlayBgm(const char* name, int32_t /*unused*/, uint8_t loop) {
  if (!name) return 0;
  const size_t length = std::strlen(name);
  MusicRecord& current = Record(CurrentBgm);
  if (length >= sizeof current.name) return 0;
  if (std::strcmp(name, Record(0).name) == 0 && current.active) return 1;
  std::memcpy(Record(0).name, name, length + 1);
  if (!Config.bgm.on || !soundDevice) return 1;
  BgmFadeStep[CurrentBgm] = static_cast<float>(-FrameScale());
  CurrentBgm = 1 - CurrentBgm;
  StreamChannel& channel = bgmChannels[static_cast<size_t>(CurrentBgm)];
  Record(CurrentBgm).active = 0;
  channel.Renew();
  if (!channel.reader->Open(name)) return 0;
  if (!channel.buffer->Open(soundDevice->Holder(), channel.reader)) return 0;
  channel.buffer->SetVolume(VolumeToAttenuation(Config.bgm.volume));
  channel.reader->SetLoopCount(loop ? -1 : 0);
  channel.buffer->Play();
  BgmLevel[CurrentBgm] = 80;
  BgmFadeStep[CurrentBgm] = 1.0f;
  Record(CurrentBgm).active = 1;
  return 1;
}

void FadeOutBgm() {
  if (!Record(CurrentBgm).active) return;
  Record(0).name[0] = '\0';
  Record(CurrentBgm).active = 0;
  BgmFadeStep[CurrentBgm] = static_cast<float>(-FrameScale() * 2);
}

void ResumeBgm() {
  if (Record(0).active || Record(1).active) {
    char name[sizeof MusicRecord::name];
    std::memcpy(name, Record(0).name, sizeof name);
    name[sizeof name - 1] = '\0';
    Record(0).name[0] = '\0';
    PlayBgm(name, 0, 1);
  } else {
    FadeOutBgm();
  }
}

void UpdateSound() {
  StreamChannel& current = bgmChannels[static_cast<size_t>(CurrentBgm)];
  if (Config.bgmDownForVoice && Config.bgm.on && voiceChannel.buffer && current.buffer && current.ReaderOpen() &&
      current.buffer->IsPlaying()) {
    const bool speaking = voiceChannel.ReaderOpen() && voiceChannel.buffer->IsPlaying();
    const double volume = speaking ? Config.bgm.volume * 0.9 : Config.bgm.volume;
    current.buffer->SetVolume(VolumeToAttenuation(SaturateToInt32(BgmLevel[CurrentBgm] * 0.01 * volume)));
  }
  for (int i = 0; i < 2; ++i) {
    if (BgmFadeStep[i] == 0) continue;
    StreamChannel& channel = bgmChannels[static_cast<size_t>(i)];
    BgmLevel[i] += BgmFadeStep[i];
    if (BgmLevel[i] < 0) {
      BgmFadeStep[i] = 0;
      BgmLevel[i] = 0;
      if (channel.ReaderOpen()) {
        // Stopped first: from then on the refill thread leaves the reader alone.
        channel.buffer->Stop();
        channel.reader->Close();
      }
      Record(i).active = 0;
    } else if (BgmLevel[i] > 100) {
      BgmFadeStep[i] = 0;
      BgmLevel[i] = 100;
    } else if (channel.ReaderOpen()) {
      channel.buffer->SetVolume(MusicAttenuation(BgmLevel[i]));
    }
  }
}

void ApplySoundSettings() {
  StreamChannel& current = bgmChannels[static_cast<size_t>(CurrentBgm)];
  if (Record(CurrentBgm).active && current.ReaderOpen())
    current.buffer->SetVolume(MusicAttenuation(BgmLevel[CurrentBgm]));
  for (auto& sound : seChannels) {
    if (sound) sound->SetVolume(SeAttenuation());
  }
}

void PlaySe(int32_t channel, const char* name, uint8_t loop) {
  if (channel < 0 || channel >= kSeChannelCount) return;
  std::unique_ptr<CSound>& slot = seChannels[static_cast<size_t>(channel)];
  if (slot) {
    slot->Stop();
    slot->Release();
    slot.reset();
  }
  slot = LoadWave(name);
  if (!slot) return;
  slot->SetVolume(SeAttenuation());
  slot->SetLoop(loop);
  slot->Play();
}

void LoopSe(int32_t channel, const char* name) { PlaySe(channel, name, 1); }

void StopSe(int32_t channel) {
  if (channel < 0 || channel >= kSeChannelCount) return;
  std::unique_ptr<CSound>& slot = seChannels[static_cast<size_t>(channel)];
  if (!slot) return;
  slot->Stop();
  slot.reset();
}

void PlaySystemSe(int32_t index) {
  if (index < 0 || index >= kSystemSoundCount) return;
  CSound* sound = systemSounds[static_cast<size_t>(index)].get();
  if (!sound) return;
  sound->Stop();
  sound->SetVolume(SeAttenuation());
  sound->Play();
}

void PlayVoice(const char* name, int32_t /*unused*/) {
  if (!soundDevice || !voiceChannel.reader) return;
  voiceChannel.Renew();
  // A switched-off voice is not started at all, as IsVoicePlaying already takes it to be silent.
  if (!Config.voice.on || !name) return;
  if (!voiceChannel.reader->Open(name)) return;
  if (!voiceChannel.buffer->Open(soundDevice->Holder(), voiceChannel.reader)) return;
  voiceChannel.buffer->SetVolume(VolumeToAttenuation(Config.voice.volume));
  voiceChannel.buffer->Play();
}

void StopVoice() {
  if (voiceChannel.ReaderOpen() && voiceChannel.buffer) voiceChannel.buffer->Stop();
}

uint8_t IsVoicePlaying() {
  if (!Config.voice.on || !voiceChannel.ReaderOpen() || !voiceChannel.buffer) return 0;
  return voiceChannel.buffer->IsPlaying();
}

CStreamingBuffer* BgmBuffer(int channel) {
  return channel == 0 || channel == 1 ? bgmChannels[static_cast<size_t>(channel)].buffer.get() : nullptr;
}
COggReader* BgmReader(int channel) {
  return channel == 0 || channel == 1 ? bgmChannels[static_cast<size_t>(channel)].reader.get() : nullptr;
}
CStreamingBuffer* VoiceBuffer() { return voiceChannel.buffer.get(); }
COggReader* VoiceReader() { return voiceChannel.reader.get(); }
CSound* SeChannel(int channel) {
  return channel >= 0 && channel < kSeChannelCount ? seChannels[static_cast<size_t>(channel)].get() : nullptr;
}
CSound* SystemSound(int index) {
  return index >= 0 && index < kSystemSoundCount ? systemSounds[static_cast<size_t>(index)].get() : nullptr;
}
