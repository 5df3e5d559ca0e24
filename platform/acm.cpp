#include "platform/acm.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

extern "C" {
#include <libavutil/opt.h>
}

#include "platform/libav.h"

namespace platform {
namespace {

constexpr uint16_t kBitrates[2][3][16] = {
    // MPEG-1 layers I, II, III
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
    // MPEG-2 and 2.5
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}},
};

enum class Kind { kPcm, kAdpcm, kLaw, kMpeg };

bool KindOf(uint16_t tag, Kind& kind) {
  switch (tag) {
    case WAVE_FORMAT_PCM:
      kind = Kind::kPcm;
      return true;
    case WAVE_FORMAT_ADPCM:
    case WAVE_FORMAT_IMA_ADPCM:
      kind = Kind::kAdpcm;
      return true;
    case WAVE_FORMAT_ALAW:
    case WAVE_FORMAT_MULAW:
      kind = Kind::kLaw;
      return true;
    case WAVE_FORMAT_MPEGLAYER3:
      kind = Kind::kMpeg;
      return true;
    default:
      return false;
  }
}

// Samples per channel in one ADPCM block, from its size.
uint32_t AdpcmSamplesPerBlock(const WAVEFORMATEX& f) {
  const uint32_t ch = f.nChannels;
  if (f.wFormatTag == WAVE_FORMAT_ADPCM) {
    if (f.nBlockAlign <= 7 * ch) return 0;
    return (f.nBlockAlign - 7 * ch) * 2 / ch + 2;
  }
  if (f.nBlockAlign <= 4 * ch || (f.nBlockAlign - 4 * ch) % (4 * ch) != 0) return 0;
  return (f.nBlockAlign - 4 * ch) * 2 / ch + 1;
}

// Reads the fixed part of a format block; false when the block cannot be one.
bool ReadFormat(std::span<const uint8_t> block, WAVEFORMATEX& f, Kind& kind) {
  if (block.size() < kPcmFormatBytes) return false;
  f = WAVEFORMATEX{};
  std::memcpy(&f, block.data(), std::min(block.size(), sizeof f));
  if (!KindOf(f.wFormatTag, kind)) return false;
  if (f.nChannels < 1 || f.nChannels > 2 || f.nSamplesPerSec == 0) return false;
  switch (kind) {
    case Kind::kPcm:
      return (f.wBitsPerSample == 8 || f.wBitsPerSample == 16) && f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8;
    case Kind::kAdpcm:
      return AdpcmSamplesPerBlock(f) != 0;
    case Kind::kLaw:
      return f.nBlockAlign == f.nChannels;
    // Frames are resampled to the format's rate: one an MPEG stream can have, so that a damaged
    // header cannot ask for millions of samples a frame.
    case Kind::kMpeg:
      return f.nAvgBytesPerSec != 0 && f.nSamplesPerSec >= 8000 && f.nSamplesPerSec <= 48000;
  }
  return false;
}

// Walks the MPEG frames in data as the converter decodes them: a byte that starts no usable
// header is skipped, a frame that the data does not hold whole ends the walk. Calls frame(offset,
// header) for each whole frame and returns where the walk stopped: what follows may still become
// a frame when more data comes.
template <class F>
size_t WalkMpegFrames(std::span<const uint8_t> data, F&& frame) {
  size_t i = 0;
  while (i + 4 <= data.size()) {
    MpegHeader h;
    if (!ParseMpegHeader(data.data() + i, h)) {
      ++i;
      continue;
    }
    if (i + h.frameBytes > data.size()) break;  // the rest of the frame comes later
    frame(i, h);
    i += h.frameBytes;
  }
  return i;
}

AVCodecID AdpcmCodec(uint16_t tag) {
  return tag == WAVE_FORMAT_ADPCM ? AV_CODEC_ID_ADPCM_MS : AV_CODEC_ID_ADPCM_IMA_WAV;
}

}  // namespace

uint32_t MpegBitrateKbps(bool mpeg1, int layer, unsigned index) {
  if (layer < 1 || layer > 3 || index > 15) return 0;
  return kBitrates[mpeg1 ? 0 : 1][layer - 1][index];
}

bool ParseMpegHeader(const uint8_t* b, MpegHeader& h) {
  if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0) return false;
  const int versionBits = (b[1] >> 3) & 3;
  const int layerBits = (b[1] >> 1) & 3;
  const int rateIndex = (b[2] >> 2) & 3;
  const int bitrateIndex = b[2] >> 4;
  if (versionBits == 1 || layerBits == 0 || rateIndex == 3 || bitrateIndex == 0 || bitrateIndex == 15) return false;
  h.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
  h.layer = 4 - layerBits;
  static constexpr uint32_t kRates[3] = {44100, 48000, 32000};
  h.sampleRate = kRates[rateIndex] / (h.version == 1 ? 1 : h.version == 2 ? 2 : 4);
  h.bitrate = kBitrates[h.version == 1 ? 0 : 1][h.layer - 1][bitrateIndex];
  h.channels = (b[3] >> 6) == 3 ? 1 : 2;
  const uint32_t padding = (b[2] >> 1) & 1;
  if (h.layer == 1) {
    h.samples = 384;
    h.frameBytes = (12 * h.bitrate * 1000 / h.sampleRate + padding) * 4;
  } else {
    h.samples = h.layer == 3 && h.version != 1 ? 576 : 1152;
    h.frameBytes = h.samples / 8 * h.bitrate * 1000 / h.sampleRate + padding;
  }
  return h.frameBytes >= 4;
}

uint32_t MpegFrames::ByteRate() const {
  if (samples == 0) return 0;
  const uint64_t rate = (bytes * sampleRate + samples - 1) / samples;
  return static_cast<uint32_t>(std::min<uint64_t>(rate, UINT32_MAX));
}

MpegFrames ScanMpegFrames(std::span<const uint8_t> data) {
  MpegFrames f;
  WalkMpegFrames(data, [&f](size_t at, const MpegHeader& h) {
    f.bytes = at + h.frameBytes;
    if (f.count == 0) {
      f.sampleRate = h.sampleRate;
      f.version = h.version;
      f.layer = h.layer;
    } else if (h.sampleRate != f.sampleRate) {
      f.sampleRate = 0;
    }
    ++f.count;
    f.samples += h.samples;
  });
  if (f.count != 0 && f.sampleRate == 0) f.samples = 0;  // no one rate to play them at
  return f;
}

int32_t AcmFitMpegFormat(std::span<uint8_t> block, const MpegFrames& frames) {
  WAVEFORMATEX f;
  if (block.size() < sizeof f) return MMSYSERR_INVALPARAM;
  std::memcpy(&f, block.data(), sizeof f);
  if (f.wFormatTag != WAVE_FORMAT_MPEGLAYER3) return ACMERR_NOTPOSSIBLE;
  if (frames.count == 0 || frames.sampleRate == 0 || frames.sampleRate != f.nSamplesPerSec) return ACMERR_NOTPOSSIBLE;
  if (f.nAvgBytesPerSec != 0) {
    // Byte rates of the lowest and the highest bit rate of the frames' version and layer.
    const bool mpeg1 = frames.version == 1;
    const uint32_t lowest = MpegBitrateKbps(mpeg1, frames.layer, 1) * 125;
    const uint32_t highest = MpegBitrateKbps(mpeg1, frames.layer, 14) * 125;
    if (f.nAvgBytesPerSec < lowest || f.nAvgBytesPerSec > highest) return ACMERR_NOTPOSSIBLE;
  }
  f.nAvgBytesPerSec = frames.ByteRate();
  if (f.nAvgBytesPerSec == 0) return ACMERR_NOTPOSSIBLE;
  std::memcpy(block.data(), &f, sizeof f);
  return MMSYSERR_NOERROR;
}

int32_t AcmFormatSuggest(std::span<const uint8_t> source, WAVEFORMATEX& pcm) {
  WAVEFORMATEX f;
  Kind kind;
  if (source.size() < kPcmFormatBytes) return MMSYSERR_INVALPARAM;
  if (!ReadFormat(source, f, kind)) return ACMERR_NOTPOSSIBLE;
  pcm = WAVEFORMATEX{};
  pcm.wFormatTag = WAVE_FORMAT_PCM;
  pcm.nChannels = f.nChannels;
  pcm.nSamplesPerSec = f.nSamplesPerSec;
  pcm.wBitsPerSample = kind == Kind::kPcm ? f.wBitsPerSample : 16;
  pcm.nBlockAlign = static_cast<uint16_t>(pcm.nChannels * pcm.wBitsPerSample / 8);
  pcm.nAvgBytesPerSec = pcm.nSamplesPerSec * pcm.nBlockAlign;
  return MMSYSERR_NOERROR;
}

struct AcmStream::Impl {
  WAVEFORMATEX src{};
  WAVEFORMATEX out{};
  Kind kind = Kind::kPcm;
  uint32_t samplesPerBlock = 0;  // ADPCM
  uint32_t mpegFrameBytes = 0;   // MPEG: the least input worth a size
  uint32_t mpegFramePcm = 0;     // MPEG: the output of one frame

  AVCodecContext* codec = nullptr;
  int codecLayer = 0;  // MPEG: the layer the decoder was made for
  SwrContext* swr = nullptr;
  int swrRate = 0;
  int swrFormat = -1;
  int swrChannels = 0;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  std::vector<uint8_t> packetBytes;
  std::vector<uint8_t> mpegInput;  // bytes not yet part of a whole frame
  std::vector<uint8_t> pending;    // decoded output not yet handed out
  size_t pendingStart = 0;

  // Plain PCM passes through without the media libraries, which stay unopened.
  ~Impl() {
    if (codec) Av().avcodec_free_context(&codec);
    if (swr) Av().swr_free(&swr);
    if (packet) Av().av_packet_free(&packet);
    if (frame) Av().av_frame_free(&frame);
  }

  bool MakeDecoder(AVCodecID id, uint32_t rate, uint32_t channels, uint32_t blockAlign) {
    Av().avcodec_free_context(&codec);
    const AVCodec* c = Av().avcodec_find_decoder(id);
    if (!c) return false;
    codec = Av().avcodec_alloc_context3(c);
    if (!codec) return false;
    codec->sample_rate = static_cast<int>(rate);
    Av().av_channel_layout_default(&codec->ch_layout, static_cast<int>(channels));
    codec->block_align = static_cast<int>(blockAlign);
    codec->bits_per_coded_sample = kind == Kind::kAdpcm ? 4 : kind == Kind::kLaw ? 8 : 0;
    if (Av().avcodec_open2(codec, c, nullptr) < 0) {
      Av().avcodec_free_context(&codec);
      return false;
    }
    return true;
  }

  // Sends one packet and appends what it decodes, as the output format, to pending.
  void Decode(const uint8_t* data, size_t size) {
    packetBytes.assign(data, data + size);
    packetBytes.resize(size + AV_INPUT_BUFFER_PADDING_SIZE, 0);
    packet->data = packetBytes.data();
    packet->size = static_cast<int>(size);
    if (Av().avcodec_send_packet(codec, packet) < 0) {
      Av().avcodec_flush_buffers(codec);
      return;
    }
    while (Av().avcodec_receive_frame(codec, frame) == 0) {
      Append(*frame);
      Av().av_frame_unref(frame);
    }
  }

  void Append(const AVFrame& f) {
    const int channels = f.ch_layout.nb_channels;
    if (channels < 1 || f.sample_rate <= 0 || f.nb_samples <= 0) return;
    if (!swr || swrRate != f.sample_rate || swrFormat != f.format || swrChannels != channels) {
      Av().swr_free(&swr);
      AVChannelLayout outLayout, inLayout;
      Av().av_channel_layout_default(&outLayout, out.nChannels);
      Av().av_channel_layout_default(&inLayout, channels);
      if (Av().swr_alloc_set_opts2(&swr, &outLayout, AV_SAMPLE_FMT_S16, static_cast<int>(out.nSamplesPerSec), &inLayout,
                              static_cast<AVSampleFormat>(f.format), f.sample_rate, 0, nullptr) < 0 ||
          Av().swr_init(swr) < 0) {
        Av().swr_free(&swr);
        return;
      }
      swrRate = f.sample_rate;
      swrFormat = f.format;
      swrChannels = channels;
    }
    const int room = Av().swr_get_out_samples(swr, f.nb_samples);
    if (room <= 0) return;
    const size_t at = pending.size();
    pending.resize(at + static_cast<size_t>(room) * out.nBlockAlign);
    uint8_t* dst = pending.data() + at;
    const int made = Av().swr_convert(swr, &dst, room, const_cast<const uint8_t**>(f.extended_data), f.nb_samples);
    pending.resize(at + static_cast<size_t>(std::max(made, 0)) * out.nBlockAlign);
  }

  uint32_t TakePending(std::span<uint8_t> dst) {
    const size_t n = std::min(dst.size(), pending.size() - pendingStart);
    if (n == 0) return 0;
    std::memcpy(dst.data(), pending.data() + pendingStart, n);
    pendingStart += n;
    if (pendingStart == pending.size()) {
      pending.clear();
      pendingStart = 0;
    }
    return static_cast<uint32_t>(n);
  }

  void DecodeMpeg() {
    const size_t stop = WalkMpegFrames(mpegInput, [this](size_t at, const MpegHeader& h) {
      if (h.layer != codecLayer) {
        static constexpr AVCodecID kIds[3] = {AV_CODEC_ID_MP1, AV_CODEC_ID_MP2, AV_CODEC_ID_MP3};
        codecLayer = MakeDecoder(kIds[h.layer - 1], h.sampleRate, h.channels, 0) ? h.layer : 0;
      }
      if (codec) Decode(mpegInput.data() + at, h.frameBytes);
    });
    mpegInput.erase(mpegInput.begin(), mpegInput.begin() + static_cast<ptrdiff_t>(stop));
  }
};

AcmStream::AcmStream() = default;
AcmStream::~AcmStream() = default;

bool AcmStream::IsOpen() const { return m_impl != nullptr; }
void AcmStream::Close() { m_impl.reset(); }

int32_t AcmStream::Open(std::span<const uint8_t> source, const WAVEFORMATEX& pcm) {
  Close();
  WAVEFORMATEX suggested;
  if (int32_t r = AcmFormatSuggest(source, suggested); r != MMSYSERR_NOERROR) return r;
  if (pcm.wFormatTag != suggested.wFormatTag || pcm.nChannels != suggested.nChannels ||
      pcm.nSamplesPerSec != suggested.nSamplesPerSec || pcm.wBitsPerSample != suggested.wBitsPerSample ||
      pcm.nBlockAlign != suggested.nBlockAlign) {
    return ACMERR_NOTPOSSIBLE;
  }
  std::unique_ptr<Impl> impl;
  try {
    impl = std::make_unique<Impl>();
    ReadFormat(source, impl->src, impl->kind);
    impl->out = suggested;
    if (impl->kind != Kind::kPcm) {
      if (!LibAvAvailable()) return ACMERR_NOTPOSSIBLE;
      impl->packet = Av().av_packet_alloc();
      impl->frame = Av().av_frame_alloc();
      if (!impl->packet || !impl->frame) return MMSYSERR_NOMEM;
    }
    const WAVEFORMATEX& f = impl->src;
    switch (impl->kind) {
      case Kind::kPcm:
        break;
      case Kind::kAdpcm:
        impl->samplesPerBlock = AdpcmSamplesPerBlock(f);
        if (!impl->MakeDecoder(AdpcmCodec(f.wFormatTag), f.nSamplesPerSec, f.nChannels, f.nBlockAlign)) {
          return ACMERR_NOTPOSSIBLE;
        }
        break;
      case Kind::kLaw:
        if (!impl->MakeDecoder(f.wFormatTag == WAVE_FORMAT_ALAW ? AV_CODEC_ID_PCM_ALAW : AV_CODEC_ID_PCM_MULAW,
                               f.nSamplesPerSec, f.nChannels, f.nBlockAlign)) {
          return ACMERR_NOTPOSSIBLE;
        }
        break;
      case Kind::kMpeg: {
        const uint32_t samples = f.nSamplesPerSec >= 32000 ? 1152 : 576;
        impl->mpegFramePcm = samples * suggested.nBlockAlign;
        uint32_t frameBytes = static_cast<uint32_t>(uint64_t{samples} * f.nAvgBytesPerSec / f.nSamplesPerSec);
        if (source.size() >= sizeof(MPEGLAYER3WAVEFORMAT) && f.cbSize >= 12) {
          MPEGLAYER3WAVEFORMAT m;
          std::memcpy(&m, source.data(), sizeof m);
          if (m.nBlockSize != 0) frameBytes = m.nBlockSize;
        }
        impl->mpegFrameBytes = std::max<uint32_t>(frameBytes, 1);
        break;
      }
    }
  } catch (const std::bad_alloc&) {
    return MMSYSERR_NOMEM;
  }
  m_impl = std::move(impl);
  return MMSYSERR_NOERROR;
}

int32_t AcmStream::Size(uint32_t bytes, uint32_t& out, uint32_t flags) const {
  if (!m_impl) return MMSYSERR_INVALHANDLE;
  if (flags != ACM_STREAMSIZEF_SOURCE && flags != ACM_STREAMSIZEF_DESTINATION) return MMSYSERR_INVALPARAM;
  const Impl& s = *m_impl;
  const bool fromSource = flags == ACM_STREAMSIZEF_SOURCE;
  uint64_t r = 0;
  switch (s.kind) {
    case Kind::kPcm:
      r = bytes / s.out.nBlockAlign * s.out.nBlockAlign;
      break;
    case Kind::kLaw:
      r = fromSource ? uint64_t{bytes} * 2 : bytes / 2;
      break;
    case Kind::kAdpcm: {
      const uint64_t pcmPerBlock = uint64_t{s.samplesPerBlock} * s.out.nBlockAlign;
      const uint64_t blocks = fromSource ? bytes / s.src.nBlockAlign : bytes / pcmPerBlock;
      if (blocks == 0) return ACMERR_NOTPOSSIBLE;
      r = fromSource ? blocks * pcmPerBlock : blocks * s.src.nBlockAlign;
      break;
    }
    case Kind::kMpeg:
      if (bytes < (fromSource ? s.mpegFrameBytes : s.mpegFramePcm)) return ACMERR_NOTPOSSIBLE;
      if (fromSource) {
        r = uint64_t{bytes} * s.out.nAvgBytesPerSec / s.src.nAvgBytesPerSec;
        r -= r % s.out.nBlockAlign;
      } else {
        r = uint64_t{bytes} * s.src.nAvgBytesPerSec / s.out.nAvgBytesPerSec;
      }
      break;
  }
  if (r > UINT32_MAX) return ACMERR_NOTPOSSIBLE;
  out = static_cast<uint32_t>(r);
  return MMSYSERR_NOERROR;
}

int32_t AcmStream::Convert(std::span<const uint8_t> src, std::span<uint8_t> dst, uint32_t& used, uint32_t& produced) {
  used = produced = 0;
  if (!m_impl) return MMSYSERR_INVALHANDLE;
  Impl& s = *m_impl;
  try {
    switch (s.kind) {
      case Kind::kPcm: {
        const size_t n = std::min(src.size(), dst.size()) / s.out.nBlockAlign * s.out.nBlockAlign;
        if (n) std::memcpy(dst.data(), src.data(), n);
        used = produced = static_cast<uint32_t>(n);
        return MMSYSERR_NOERROR;
      }
      case Kind::kLaw: {
        const size_t n = std::min(src.size(), dst.size() / 2) / s.src.nBlockAlign * s.src.nBlockAlign;
        if (n) s.Decode(src.data(), n);
        used = static_cast<uint32_t>(n);
        break;
      }
      case Kind::kAdpcm: {
        const size_t pcmPerBlock = size_t{s.samplesPerBlock} * s.out.nBlockAlign;
        const size_t blocks = std::min(src.size() / s.src.nBlockAlign, dst.size() / pcmPerBlock);
        for (size_t b = 0; b < blocks; ++b) {
          const size_t before = s.pending.size();
          s.Decode(src.data() + b * s.src.nBlockAlign, s.src.nBlockAlign);
          // A block the decoder refuses still stands for its length of sound.
          if (s.pending.size() == before) s.pending.resize(before + pcmPerBlock, 0);
        }
        used = static_cast<uint32_t>(blocks * s.src.nBlockAlign);
        break;
      }
      case Kind::kMpeg:
        s.mpegInput.insert(s.mpegInput.end(), src.begin(), src.end());
        used = static_cast<uint32_t>(src.size());
        s.DecodeMpeg();
        break;
    }
    produced = s.TakePending(dst);
  } catch (const std::bad_alloc&) {
    return MMSYSERR_NOMEM;
  }
  return MMSYSERR_NOERROR;
}

}  // namespace platform
