// Sound files made from generated tones: wave files in every format the game reads, MPEG audio
// streams and Ogg Vorbis. Used by tools/make_sounds (demo sounds), the sound tests and benchmarks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sound_writer {

enum class WaveKind { kPcm8, kPcm16, kMsAdpcm, kImaAdpcm, kALaw, kMuLaw, kMp3 };

// Interleaved 16-bit samples of a sine tone (both channels alike), with a short fade at both ends
// when fade is set.
std::vector<int16_t> Tone(uint32_t rate, uint16_t channels, uint32_t frames, double hz, double amplitude,
                          bool fade = false);

// A RIFF WAVE file holding the samples in the given format, with a "fact" chunk of their length when
// the format is compressed; false when the encoder is missing.
bool MakeWave(WaveKind kind, const std::vector<int16_t>& pcm, uint32_t rate, uint16_t channels,
              std::vector<uint8_t>& out);

// MPEG layer III frames at 128 kbit/s (a plain .mp3 stream, no tags).
bool MakeMp3(const std::vector<int16_t>& pcm, uint32_t rate, uint16_t channels, std::vector<uint8_t>& out);

// An Ogg Vorbis stream.
bool MakeOggVorbis(const std::vector<int16_t>& pcm, uint32_t rate, uint16_t channels, float quality,
                   std::vector<uint8_t>& out);

// Little-endian numbers and chunk tags appended to file bytes.
void Put16(std::vector<uint8_t>& bytes, uint32_t value);
void Put32(std::vector<uint8_t>& bytes, uint32_t value);
void PutTag(std::vector<uint8_t>& bytes, const char* tag);

// Writes bytes to a host path (folders made as needed); false on failure.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace sound_writer
