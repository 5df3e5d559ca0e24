#include "sdk/sound/acm_reader.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/sjis_literal.h"
#include "sdk/sound/sound_log.h"

using platform::ACM_STREAMSIZEF_DESTINATION;
using platform::ACM_STREAMSIZEF_SOURCE;
using platform::MMSYSERR_NOERROR;

kmACMtoPCM::~kmACMtoPCM() {
  m_file.reset();
  m_stream.Close();
}

uint8_t kmACMtoPCM::Open(const char* name) {
  std::unique_ptr<kmWaveFile> file = CreateWaveFile(name);
  if (!file) return 0;
  const WAVEFORMATEX* source = file->GetFormat();
  if (!source) {
    SoundLog("%s", "kmACMtoPCM:getWaveFotmat失敗"_sj);
    return 0;
  }
  if (source->wFormatTag == platform::WAVE_FORMAT_PCM) return 0;
  const auto* formatBytes = reinterpret_cast<const uint8_t*>(source);
  m_sourceBlock.assign(formatBytes, formatBytes + file->GetFormatSize());
  platform::MpegFrames frames;
  if (source->wFormatTag == platform::WAVE_FORMAT_MPEGLAYER3 && !FitToFrames(*file, frames)) {
    SoundLog("kmACMtoPCM::open MPEG frames do not match the format. %x", source->wFormatTag);
    return 0;
  }
  const std::span<const uint8_t> block(m_sourceBlock);
  WAVEFORMATEX output{};
  output.wFormatTag = platform::WAVE_FORMAT_PCM;
  if (platform::AcmFormatSuggest(block, output) != MMSYSERR_NOERROR) {
    SoundLog("kmACMtoPCM::open acmFormatSuggest. No such ACM? %x", source->wFormatTag);
    return 0;
  }
  if (m_stream.Open(block, output) != MMSYSERR_NOERROR) {
    SoundLog("kmACMtoPCM::open acmStreamOpen. No such ACM? %x", source->wFormatTag);
    return 0;
  }
  m_output = output;
  m_source = reinterpret_cast<const WAVEFORMATEX*>(m_sourceBlock.data());
  m_mpegPcmSize.reset();
  if (frames.count != 0) {
    // The frames decode to exactly this much, whatever the byte rates make of the data's size.
    const uint64_t pcm = frames.samples * output.nBlockAlign;
    if (pcm > UINT32_MAX) return 0;
    m_mpegPcmSize = static_cast<uint32_t>(pcm);
  }
  uint32_t minimum = 0;
  if (m_stream.Size(m_source->nBlockAlign, minimum, ACM_STREAMSIZEF_SOURCE) != MMSYSERR_NOERROR) {
    minimum = 0;
    SoundLog("%s", "Minimun BUffer Unknowm.");
  }
  // A block is never larger than all the sound there is.
  m_minimumBlock = m_mpegPcmSize ? std::min(minimum, *m_mpegPcmSize) : minimum;
  m_file = std::move(file);
  return 1;
}

bool kmACMtoPCM::FitToFrames(kmWaveFile& file, platform::MpegFrames& frames) {
  try {
    m_sourceBuffer.resize(file.GetSize());
  } catch (const std::bad_alloc&) {
    SoundLog("kmACMtoPCM::alloc. %d byte Allocation Error: %x.", static_cast<int>(file.GetSize()), 8u);
    return false;
  }
  const int32_t got = std::max(file.Read(m_sourceBuffer.data(), static_cast<uint32_t>(m_sourceBuffer.size())), 0);
  file.Rewind();
  frames = platform::ScanMpegFrames(std::span<const uint8_t>(m_sourceBuffer.data(), static_cast<size_t>(got)));
  return m_sourceBlock.size() >= sizeof(WAVEFORMATEX) &&
         platform::AcmFitMpegFormat(m_sourceBlock, frames) == MMSYSERR_NOERROR;
}

bool kmACMtoPCM::GrowSource(uint32_t& bytes) {
  // More than the whole data (and one byte, so that a short read still tells the end) is never read;
  // a format with a wild byte rate must not make the reader ask for gigabytes.
  bytes = static_cast<uint32_t>(std::min<uint64_t>(bytes, uint64_t{m_file->GetSize()} + 1));
  if (m_sourceBuffer.size() >= bytes) return true;
  try {
    m_sourceBuffer.resize(bytes);
  } catch (const std::bad_alloc&) {
    SoundLog("kmACMtoPCM::alloc. %d byte Allocation Error: %x.", static_cast<int>(bytes), 8u);
    return false;
  }
  return true;
}

uint32_t kmACMtoPCM::Convert(std::span<const uint8_t> src, uint8_t* dst, uint32_t dstBytes) {
  uint32_t used = 0, produced = 0;
  const int32_t r = m_stream.Convert(src, std::span<uint8_t>(dst, dstBytes), used, produced);
  if (r != MMSYSERR_NOERROR) {
    SoundLog("kmACMtoPCM::convert acmStreamConvertで失敗:%x"_sj, static_cast<unsigned>(r));
    return 0;
  }
  if (used < src.size()) m_file->Seek(-static_cast<int32_t>(src.size() - used));
  if (produced > 0) return produced;
  std::memset(dst, Silence(), dstBytes);
  return dstBytes;
}

// One pass of a read: what the remainder and one conversion give. wrapped tells that the file
// ended and was rewound for the next pass.
uint32_t kmACMtoPCM::ReadOnce(uint8_t* dst, uint32_t bytes, bool& wrapped) {
  wrapped = false;
  const uint32_t k = std::min(m_remainder, bytes);
  if (k) {
    std::memcpy(dst, m_decoded.data() + m_remainderOffset, k);
    m_remainder -= k;
    m_remainderOffset = m_remainder ? m_remainderOffset + k : 0;
  }
  if (k == bytes) return k;
  const uint32_t r = bytes - k;
  if (r < m_minimumBlock) {
    uint32_t need = 0;
    if (m_stream.Size(m_minimumBlock, need, ACM_STREAMSIZEF_DESTINATION) != MMSYSERR_NOERROR) {
      SoundLog("ACM::Read StreamSize Failed:%d (min:%d)", static_cast<int>(r), static_cast<int>(m_minimumBlock));
      return k;
    }
    try {
      if (m_decoded.size() < m_minimumBlock) m_decoded.resize(m_minimumBlock);
    } catch (const std::bad_alloc&) {
      SoundLog("kmACMtoPCM::alloc. %d byte Allocation Error: %x.", static_cast<int>(m_minimumBlock), 8u);
      return k;
    }
    if (!GrowSource(need)) return k;
    const int32_t got = std::max(m_file->Read(m_sourceBuffer.data(), need), 0);
    // The next read starts over; this one ends with what the block gives.
    if (static_cast<uint32_t>(got) < need && m_loop) m_file->Rewind();
    m_remainder = Convert(std::span<const uint8_t>(m_sourceBuffer.data(), static_cast<size_t>(got)), m_decoded.data(),
                          m_minimumBlock);
    m_remainderOffset = 0;
    const uint32_t give = std::min(m_remainder, r);
    std::memcpy(dst + k, m_decoded.data(), give);
    m_remainder -= give;
    m_remainderOffset = m_remainder ? give : 0;
    return k + give;
  }
  uint32_t need = 0;
  if (m_stream.Size(r, need, ACM_STREAMSIZEF_DESTINATION) != MMSYSERR_NOERROR) {
    SoundLog("ACM::Read StreamSize Failed:%d (min:%d)", static_cast<int>(r), static_cast<int>(m_minimumBlock));
    return k;
  }
  if (!GrowSource(need)) return k;
  const int32_t got = std::max(m_file->Read(m_sourceBuffer.data(), need), 0);
  const uint32_t b = Convert(std::span<const uint8_t>(m_sourceBuffer.data(), static_cast<size_t>(got)), dst + k, r);
  if (static_cast<uint32_t>(got) < need && m_loop) {
    m_file->Rewind();
    wrapped = true;
  }
  return k + b;
}

uint32_t kmACMtoPCM::Read(void* dst, uint32_t bytes) {
  if (!dst || !m_file) return 0;
  auto* out = static_cast<uint8_t*>(dst);
  uint32_t total = 0;
  // A looping read goes on from the start after a wrap, as long as each pass gives something: a
  // file that gives nothing must not keep it going for ever.
  for (;;) {
    bool wrapped = false;
    const uint32_t got = ReadOnce(out + total, bytes - total, wrapped);
    total += got;
    if (!wrapped || total == bytes || got == 0) return total;
  }
}

uint32_t kmACMtoPCM::GetPCMSize() {
  if (m_file && m_mpegPcmSize) return *m_mpegPcmSize;
  uint32_t size = 0;
  if (!m_file || m_stream.Size(m_file->GetSize(), size, ACM_STREAMSIZEF_SOURCE) != MMSYSERR_NOERROR) return 0;
  return size;
}

uint64_t kmACMtoPCM::GetLength() { return BytesToMsAt(GetPCMSize(), m_output.nAvgBytesPerSec); }

int64_t kmACMtoPCM::GetPosition() {
  if (!m_file || !m_source || m_source->nAvgBytesPerSec == 0) return -1;
  const int32_t at = m_file->Tell();
  if (at < 0) return -1;
  return static_cast<int64_t>(BytesToMsAt(static_cast<uint64_t>(at), m_source->nAvgBytesPerSec));
}

uint8_t kmACMtoPCM::SetPosition(uint32_t bytes) {
  if (!m_file) return 0;
  uint32_t source = 0;
  if (m_stream.Size(bytes, source, ACM_STREAMSIZEF_DESTINATION) != MMSYSERR_NOERROR) source = 0;
  m_file->Rewind();
  m_file->Seek(static_cast<int32_t>(std::min<uint32_t>(source, INT32_MAX)));
  return 1;
}

uint8_t kmACMtoPCM::SetLoop(uint8_t loop) {
  const uint8_t old = m_loop;
  m_loop = loop;
  return old;
}

uint32_t kmACMtoPCM::SecondsToBytes(uint32_t seconds) {
  const uint64_t pcm = uint64_t{m_output.nBlockAlign} * m_output.nSamplesPerSec * seconds;
  uint32_t source = 0, back = 0;
  if (pcm > UINT32_MAX ||
      m_stream.Size(static_cast<uint32_t>(pcm), source, ACM_STREAMSIZEF_DESTINATION) != MMSYSERR_NOERROR ||
      m_stream.Size(source, back, ACM_STREAMSIZEF_SOURCE) != MMSYSERR_NOERROR) {
    return 0;
  }
  return back;
}

uint32_t kmACMtoPCM::MsToBytes(uint32_t ms) { return MsToWholeSecondBytes(ms, m_output.nAvgBytesPerSec); }

uint64_t kmACMtoPCM::BytesToMs(uint32_t bytes) { return BytesToMsAt(bytes, m_output.nAvgBytesPerSec); }
