// The game's sounds: two music channels that cross-fade, 32 sound-effect channels, the system
// sounds and one voice channel that lowers the music while it speaks.
#pragma once

#include <cstdint>
#include <memory>

class CSound;
class CStreamingBuffer;
class COggReader;

constexpr int kSeChannelCount = 32;
constexpr int kSystemSoundCount = 32;
// Attenuation of a channel whose switch is off: silence. A volume slider at 0 is still audible.
constexpr int32_t kSilentAttenuation = -10000;

// Each music channel's level in percent of the music volume, its change per frame (0: no fade),
// and the channel that plays the newest piece.
extern float BgmLevel[2];
extern float BgmFadeStep[2];
extern int32_t CurrentBgm;

// Volume 0..100 to attenuation in 1/100 dB, scaled by the master volume: 100 -> 0, 0 -> -3000.
int32_t VolumeToAttenuation(int32_t volume);

// 0 when no sound device could be made; the game then goes on without sound.
uint8_t InitSound();
void ReleaseSound();

// 0 when the file could not be opened or played; 1 otherwise (also with music switched off or no
// device). A name of 256 bytes or more is refused with 0 and the piece playing goes on.
uint8_t PlayBgm(const char* name, int32_t unused, uint8_t loop);
void FadeOutBgm();
// After a saved state was read: the saved piece plays again, looping, or the music fades out.
void ResumeBgm();

void PlaySe(int32_t channel, const char* name, uint8_t loop);
void LoopSe(int32_t channel, const char* name);
void StopSe(int32_t channel);
void PlaySystemSe(int32_t index);

void PlayVoice(const char* name, int32_t unused);
void StopVoice();
uint8_t IsVoicePlaying();

// A whole-file sound with the file loaded; a missing file gives a sound that plays nothing.
std::unique_ptr<CSound> LoadWave(const char* name);

void ApplySoundSettings();
void UpdateSound();

// What the channels hold, for the game's tests: null when empty or without a device.
CStreamingBuffer* BgmBuffer(int channel);
COggReader* BgmReader(int channel);
CStreamingBuffer* VoiceBuffer();
COggReader* VoiceReader();
CSound* SeChannel(int channel);
CSound* SystemSound(int index);
