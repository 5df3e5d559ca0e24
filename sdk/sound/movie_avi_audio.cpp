#include "sdk/sound/movie_avi_audio.h"

#include <algorithm>
#include <cstring>

#include "platform/sjis_literal.h"
#include "sdk/sound/direct_sound.h"
#include "sdk/sound/movie_avi.h"
#include "sdk/sound/sound_log.h"

using namespace platform;

namespace {

std::atomic<int> idleWaitMs{500};

// A sound sample larger than this is no sound: the stream is read no further.
constexpr uint32_t kMaxSourceBlock = 16u << 20;
// The loop flag rereads a short stream; bounded, since nothing rewinds it.
constexpr int kMaxLoopReads = 8;

}  // namespace

void CMovieAVIAUDIO::SetIdleWaitMs(int ms) { idleWaitMs = ms; }

CMovieAVIAUDIO::CMovieAVIAUDIO(CMovieAVI* owner) : m_clock(nullptr, false), m_owner(owner) { AddSoundDeviceUser(); }

CMovieAVIAUDIO::~CMovieAVIAUDIO() {
  Close();
  // The worker reads this part's fields: it ends here, before they go, not in the base.
  InvalidateThread();
  StopThread();
  RemoveSoundDeviceUser();
}

void CMovieAVIAUDIO::ThreadBody() {
  while (IsThreadValid()) UpdateStream();
}

int CMovieAVIAUDIO::OpenAudioStrema(AviFile* file) {
  if (file == nullptr) return -1;
  if (file->GetStream(streamtypeAUDIO, 0, m_stream) != AVIERR_OK) {
    SoundLog("%s", "CMovieAVIAUDIO::OpenAudioStrema not found AudioStrema");
    return -1;
  }
  const std::span<const uint8_t> format = m_stream->Format();
  m_sourceFormat.assign(format.begin(), format.end());
  return 0;
}

int CMovieAVIAUDIO::InitAudio() {
  if (!m_stream || m_sourceFormat.size() < sizeof(WAVEFORMATEX)) return -1;
  WAVEFORMATEX source;
  std::memcpy(&source, m_sourceFormat.data(), sizeof source);
  m_output = WAVEFORMATEX{};
  m_output.wFormatTag = 1;
  // A format without blocks, channels or a rate describes no sound, and MPEG sound that does not
  // agree with its first frames cannot be sized: the film plays silent.
  if (source.nBlockAlign == 0 || source.nChannels == 0 || source.nSamplesPerSec == 0 ||
      (source.wFormatTag == WAVE_FORMAT_MPEGLAYER3 && !FitToFirstFrames()) ||
      AcmFormatSuggest(m_sourceFormat, m_output) != MMSYSERR_NOERROR) {
    SoundLog("CMovieAVIAUDIO::InitAudio acmFormatSuggest. No such ACM? %x", source.wFormatTag);
    return -1;
  }
  m_conversion = std::make_unique<AcmStream>();
  if (m_conversion->Open(m_sourceFormat, m_output) != MMSYSERR_NOERROR) {
    SoundLog("CMovieAVIAUDIO::InitAudio acmStreamOpen. No such ACM? %x", source.wFormatTag);
    m_conversion.reset();
    return 0;
  }
  if (m_conversion->Size(source.nBlockAlign, m_minimumBlock, ACM_STREAMSIZEF_SOURCE) != MMSYSERR_NOERROR) {
    SoundLog("%s", "Minimun BUffer Unknowm.");
    m_minimumBlock = 0;
  }
  const uint64_t fourSeconds = uint64_t{m_output.nBlockAlign} * m_output.nSamplesPerSec * 4;
  uint32_t sourceBytes = 0;
  m_bufferSize = 0;
  if (fourSeconds <= kMaxBufferBytes &&
      m_conversion->Size(static_cast<uint32_t>(fourSeconds), sourceBytes, ACM_STREAMSIZEF_DESTINATION) ==
          MMSYSERR_NOERROR &&
      m_conversion->Size(sourceBytes, m_bufferSize, ACM_STREAMSIZEF_SOURCE) != MMSYSERR_NOERROR)
    m_bufferSize = 0;
  AudioDevice* device = SharedSoundDevice();
  if (device == nullptr) return -1;
  DSBUFFERDESC desc;
  desc.dwFlags = 0x18180;
  desc.dwBufferBytes = m_bufferSize;
  desc.lpwfxFormat = &m_output;
  if (device->CreateSoundBuffer(desc, m_buffer) != DS_OK) {
    m_buffer.reset();
    SoundLog("%s", "CMovieAVI: CreateSoundBuffer Error");
    return -1;
  }
  return 0;
}

bool CMovieAVIAUDIO::FitToFirstFrames() {
  // Enough for a few seconds of frames at any bit rate.
  constexpr int32_t kFirstBytes = 64 * 1024;
  std::vector<uint8_t> first(kFirstBytes);
  const int32_t all =
      static_cast<int32_t>(std::min<int64_t>(int64_t{m_stream->Start()} + m_stream->Length(), INT32_MAX));
  int32_t bytes = 0, samples = 0;
  if (m_stream->Read(m_stream->Start(), all, first.data(), kFirstBytes, &bytes, &samples) != AVIERR_OK) return false;
  const MpegFrames frames = ScanMpegFrames(std::span<const uint8_t>(first.data(), static_cast<size_t>(bytes)));
  return AcmFitMpegFormat(m_sourceFormat, frames) == MMSYSERR_NOERROR;
}

int CMovieAVIAUDIO::Close() {
  Stop();
  m_stream.reset();
  m_conversion.reset();
  if (m_buffer) m_buffer->Stop();
  m_buffer.reset();
  m_decoded = {};
  m_source = {};
  m_sourceBytes = 0;
  m_remainder = m_remainderOffset = 0;
  return 0;
}

int CMovieAVIAUDIO::Play() {
  Stop();
  m_pauseCount = 0;
  m_playing = 1;
  if (m_buffer) {
    Restart(0);
    m_buffer->Play(0, 0, DSBPLAY_LOOPING);
    // Without a buffer the worker would only spin.
    if (!IsThreadStarted()) CreateThread();
  }
  return 0;
}

int CMovieAVIAUDIO::Stop() {
  if (!m_stream) return -1;
  if (NestedPause::Stop(m_pauseCount, m_playing)) StopNow();
  return 0;
}

int CMovieAVIAUDIO::Replay() {
  if (!m_stream) return -1;
  if (NestedPause::Replay(m_pauseCount, m_playing)) RestartNow();
  return 0;
}

void CMovieAVIAUDIO::StopNow() {
  if (m_buffer) m_buffer->Stop();
  InvalidateThread();
  StopThread();
  m_playing = 0;
}

void CMovieAVIAUDIO::RestartNow() {
  Stop();
  m_pauseCount = 0;
  m_playing = 1;
  if (m_buffer) {
    Restart(m_owner ? m_owner->GetCurrentPos() : 0);
    m_buffer->Play(0, 0, DSBPLAY_LOOPING);
    if (!IsThreadStarted()) CreateThread();
  }
}

int CMovieAVIAUDIO::SetLoop(uint8_t loop) {
  if (loop == m_loop) return 1;
  m_loop = loop;
  return 0;
}

int CMovieAVIAUDIO::SetCurrentPos(int) {
  Pause();
  Replay();
  return 0;
}

int CMovieAVIAUDIO::SetVolume(int32_t attenuation) {
  if (!m_buffer) return -1;
  return m_buffer->SetVolume(attenuation);
}

int32_t CMovieAVIAUDIO::GetVolume() {
  if (!m_buffer) return -10000;
  int32_t volume = -10000;
  if (m_buffer->GetVolume(&volume) != DS_OK) return -10000;
  return volume;
}

void CMovieAVIAUDIO::ResetReading() {
  m_remainder = m_remainderOffset = 0;
  m_sourceBytes = 0;
  // A stateful decoder must not carry what it held from the old place into the new one.
  if (m_conversion) {
    m_conversion->Close();
    m_conversion->Open(m_sourceFormat, m_output);
  }
}

uint8_t CMovieAVIAUDIO::Restart(int32_t ms) {
  if (m_buffer) m_buffer->SetCurrentPosition(0);
  m_lastPlay = 0;
  m_writePosition = 0;
  m_carry = 0;
  m_nextSample = m_stream ? m_stream->TimeToSample(ms) : 0;
  ResetReading();
  WriteSoundBuffer(m_bufferSize / 8 * 7);
  return 1;
}

int CMovieAVIAUDIO::UpdateStream() {
  if (!m_buffer) return -1;
  uint32_t play = 0, write = 0;
  m_buffer->GetCurrentPosition(&play, &write);
  const uint32_t last = m_lastPlay;
  if (play == last) {
    // Stop ends this wait at once.
    WaitThreadEvent(idleWaitMs);
    return 0;
  }
  uint32_t n = play > last ? play - last : m_bufferSize - last + play;
  if (write > m_writePosition && m_writePosition + n > write) {
    // Never past the write cursor; what is cut is owed to the next write.
    m_carry += m_writePosition + n - write;
    n = write - m_writePosition;
  }
  m_lastPlay = play;
  WriteSoundBuffer(n);
  return 0;
}

int CMovieAVIAUDIO::WriteSoundBuffer(uint32_t n) {
  if (!m_buffer || m_bufferSize == 0) return 0;
  n = std::min<uint64_t>(uint64_t{n} + m_carry, m_bufferSize);
  m_carry = 0;
  uint32_t wrapped = 0;
  if (m_writePosition + n > m_bufferSize) {
    wrapped = n - (m_bufferSize - m_writePosition);
    n = m_bufferSize - m_writePosition;
  }
  void* part = nullptr;
  uint32_t partBytes = 0;
  void* part2 = nullptr;
  uint32_t part2Bytes = 0;
  HRESULT r = m_buffer->Lock(m_writePosition, n, &part, &partBytes, &part2, &part2Bytes, 0);
  if (r == DSERR_BUFFERLOST) {
    m_buffer->Restore();
    r = m_buffer->Lock(m_writePosition, n, &part, &partBytes, &part2, &part2Bytes, 0);
  }
  if (r != DS_OK) {
    SoundLog("%s", "Lock Fail");
    m_buffer->Stop();
    return 8;
  }
  const uint32_t got = ReadSoundStream(static_cast<uint8_t*>(part), partBytes);
  r = m_buffer->Unlock(part, partBytes, part2, part2Bytes);
  if (r != DS_OK) {
    SoundLog("CSound::LoadWaveのUnlock()に失敗！%x"_sj, static_cast<unsigned>(r));
    return 10;
  }
  m_writePosition = (m_writePosition + got) % m_bufferSize;
  // Both the part that would have wrapped and the part not read are owed.
  m_carry = std::min<uint64_t>(uint64_t{wrapped} + (n - std::min(got, n)), m_bufferSize);
  return 0;
}

uint32_t CMovieAVIAUDIO::TakeRemainder(uint8_t*& dst, uint32_t& bytes) {
  const uint32_t k = std::min(m_remainder, bytes);
  if (k) std::memcpy(dst, m_decoded.data() + m_remainderOffset, k);
  dst += k;
  bytes -= k;
  m_remainder -= k;
  m_remainderOffset = m_remainder ? m_remainderOffset + k : 0;
  return k;
}

uint32_t CMovieAVIAUDIO::ReadSoundStream(uint8_t* dst, uint32_t n) {
  if (dst == nullptr || !m_conversion) return 0;
  uint32_t placed = TakeRemainder(dst, n);
  if (n == 0) return placed;
  if (n < m_minimumBlock) {
    uint32_t need = 0;
    if (m_conversion->Size(m_minimumBlock, need, ACM_STREAMSIZEF_DESTINATION) != MMSYSERR_NOERROR) {
      SoundLog("CMovieAVIAUDIO::ReadSoundStream StreamSize Failed:%d (min:%d)", static_cast<int>(n),
               static_cast<int>(m_minimumBlock));
      return placed;
    }
    if (m_decoded.size() < m_minimumBlock) m_decoded.resize(m_minimumBlock);
    ReadAviAudio(need);
    m_remainder = ConverSoundStream(m_decoded.data(), m_minimumBlock);
    m_remainderOffset = 0;
    return placed + TakeRemainder(dst, n);
  }
  for (int round = 0; round <= kMaxLoopReads && n > 0; ++round) {
    uint32_t need = 0;
    if (m_conversion->Size(n, need, ACM_STREAMSIZEF_DESTINATION) != MMSYSERR_NOERROR) {
      SoundLog("CMovieAVIAUDIO::ReadSoundStream StreamSize Failed:%d (min:%d)", static_cast<int>(n),
               static_cast<int>(m_minimumBlock));
      return placed;
    }
    const uint32_t got = ReadAviAudio(need);
    const uint32_t b = ConverSoundStream(dst, n);
    placed += b;
    dst += b;
    n -= b;
    if (got == need || !m_loop || b == 0) break;
  }
  return placed;
}

uint32_t CMovieAVIAUDIO::ReadAviAudio(uint32_t want) {
  if (!m_stream) return 0;
  if (want <= m_sourceBytes) return 0;
  want -= m_sourceBytes;
  if (m_source.size() < uint64_t{m_sourceBytes} + want) m_source.resize(uint64_t{m_sourceBytes} + want);
  const int32_t all =
      static_cast<int32_t>(std::min<int64_t>(int64_t{m_stream->Start()} + m_stream->Length(), INT32_MAX));
  int32_t bytes = 0, samples = 0;
  HRESULT r =
      m_stream->Read(m_nextSample, all, m_source.data() + m_sourceBytes, static_cast<int32_t>(want), &bytes, &samples);
  if (r == AVIERR_BUFFERTOOSMALL && bytes > 0 && static_cast<uint32_t>(bytes) <= kMaxSourceBlock) {
    // The next sample is larger than the read: the block grows to hold it whole.
    m_source.resize(uint64_t{m_sourceBytes} + static_cast<uint32_t>(bytes));
    r = m_stream->Read(m_nextSample, 1, m_source.data() + m_sourceBytes, bytes, &bytes, &samples);
  }
  if (r != AVIERR_OK) return 0;
  m_nextSample += samples;
  m_sourceBytes += static_cast<uint32_t>(bytes);
  return static_cast<uint32_t>(bytes);
}

uint32_t CMovieAVIAUDIO::ConverSoundStream(uint8_t* dst, uint32_t dstBytes) {
  if (!m_conversion) return 0;
  uint32_t used = 0, produced = 0;
  if (m_conversion->Convert(std::span<const uint8_t>(m_source.data(), m_sourceBytes), std::span<uint8_t>(dst, dstBytes),
                            used, produced) != MMSYSERR_NOERROR) {
    SoundLog("CMovieAVIAUDIO::ConverSoundStream acmStreamConvertで失敗:%x"_sj, 0u);
    m_sourceBytes = 0;
    return 0;
  }
  used = std::min(used, m_sourceBytes);
  // What the converter left is the start of the next conversion.
  if (used && m_sourceBytes > used) std::memmove(m_source.data(), m_source.data() + used, m_sourceBytes - used);
  m_sourceBytes -= used;
  if (produced) return produced;
  std::memset(dst, m_output.wBitsPerSample == 8 ? 0x80 : 0, dstBytes);
  return dstBytes;
}
