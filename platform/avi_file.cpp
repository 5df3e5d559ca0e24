#include "platform/avi_file.h"

#include <algorithm>
#include <cstring>

#include "platform/audio_format.h"
#include "platform/avi_file_impl.h"
#include "platform/path.h"

namespace platform {

namespace {

// Headers larger than this are not a film's.
constexpr uint32_t kMaxHeaderBytes = 16u << 20;

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// The stream headers and formats of the "hdrl" list, walked with every size checked.
bool ParseStreamList(std::span<const uint8_t> list, std::vector<AviStreamDesc>& out) {
  size_t at = 0;
  while (at + 8 <= list.size()) {
    const uint32_t id = Le32(&list[at]);
    const uint32_t size = Le32(&list[at + 4]);
    if (size > list.size() - at - 8) return !out.empty();
    const std::span<const uint8_t> body = list.subspan(at + 8, size);
    if (id == MakeFourCC('L', 'I', 'S', 'T') && size >= 4 && Le32(body.data()) == MakeFourCC('s', 't', 'r', 'l')) {
      AviStreamDesc desc;
      bool haveHeader = false;
      size_t in = 4;
      while (in + 8 <= body.size()) {
        const uint32_t cid = Le32(&body[in]);
        const uint32_t csize = Le32(&body[in + 4]);
        if (csize > body.size() - in - 8) break;
        const uint8_t* c = &body[in + 8];
        if (cid == MakeFourCC('s', 't', 'r', 'h') && csize >= 48) {
          AviStreamHeader& h = desc.header;
          h.fccType = Le32(c);
          h.fccHandler = Le32(c + 4);
          h.dwScale = Le32(c + 20);
          h.dwRate = Le32(c + 24);
          h.dwStart = Le32(c + 28);
          h.dwLength = Le32(c + 32);
          h.dwSuggestedBufferSize = Le32(c + 36);
          h.dwSampleSize = Le32(c + 44);
          haveHeader = true;
        } else if (cid == MakeFourCC('s', 't', 'r', 'f')) {
          desc.format.assign(c, c + csize);
        }
        in += 8 + static_cast<size_t>(csize) + (csize & 1);
      }
      // Every stream list stands for one demuxer stream, a broken one included, so that the
      // numbering stays the demuxer's.
      if (!haveHeader) desc.header = {};
      if (desc.header.fccType == streamtypeAUDIO) {
        // The sound format as a WAVEFORMATEX whose extra bytes are the ones really there.
        std::vector<uint8_t> f(sizeof(WAVEFORMATEX), 0);
        if (!desc.format.empty()) std::memcpy(f.data(), desc.format.data(), std::min(desc.format.size(), f.size()));
        const size_t there = desc.format.size() > f.size() ? desc.format.size() - f.size() : 0;
        uint16_t claimed = 0;
        if (desc.format.size() >= f.size()) std::memcpy(&claimed, &desc.format[16], 2);
        const uint16_t extra = static_cast<uint16_t>(std::min<size_t>(claimed, there));
        std::memcpy(&f[16], &extra, 2);
        // Only a format longer than the structure has bytes after it to take.
        if (extra > 0) {
          f.insert(f.end(), desc.format.begin() + static_cast<ptrdiff_t>(f.size()),
                   desc.format.begin() + static_cast<ptrdiff_t>(f.size() + extra));
        }
        desc.format = std::move(f);
      }
      out.push_back(std::move(desc));
    }
    at += 8 + static_cast<size_t>(size) + (size & 1);
  }
  return !out.empty();
}

bool ReadHeaders(const std::string& hostPath, std::vector<AviStreamDesc>& streams) {
  std::FILE* f = std::fopen(hostPath.c_str(), "rb");
  if (!f) return false;
  uint8_t head[24];
  bool ok = std::fread(head, 1, sizeof head, f) == sizeof head && Le32(head) == MakeFourCC('R', 'I', 'F', 'F') &&
            Le32(head + 8) == MakeFourCC('A', 'V', 'I', ' ') && Le32(head + 12) == MakeFourCC('L', 'I', 'S', 'T') &&
            Le32(head + 20) == MakeFourCC('h', 'd', 'r', 'l');
  const uint32_t listSize = ok ? Le32(head + 16) : 0;
  if (ok && (listSize < 4 || listSize > kMaxHeaderBytes)) ok = false;
  std::vector<uint8_t> list;
  if (ok) {
    list.resize(listSize - 4);
    list.resize(std::fread(list.data(), 1, list.size(), f));
    ok = ParseStreamList(list, streams);
  }
  std::fclose(f);
  return ok;
}

}  // namespace

// ---- the demuxer of one stream

int AviDemuxer::ReadCallback(void* opaque, uint8_t* buffer, int size) {
  auto* self = static_cast<AviDemuxer*>(opaque);
  const size_t n = std::fread(buffer, 1, static_cast<size_t>(size), self->m_file);
  return n == 0 ? AVERROR_EOF : static_cast<int>(n);
}

int64_t AviDemuxer::SeekCallback(void* opaque, int64_t offset, int whence) {
  auto* self = static_cast<AviDemuxer*>(opaque);
  if (whence & AVSEEK_SIZE) {
    const long here = std::ftell(self->m_file);
    std::fseek(self->m_file, 0, SEEK_END);
    const long size = std::ftell(self->m_file);
    std::fseek(self->m_file, here, SEEK_SET);
    return size;
  }
  whence &= ~AVSEEK_FORCE;
  if (std::fseek(self->m_file, static_cast<long>(offset), whence) != 0) return -1;
  return std::ftell(self->m_file);
}

bool AviDemuxer::Open() {
  Close();
  // Without the media libraries no stream can be read.
  if (!LibAvAvailable()) return false;
  m_file = std::fopen(m_path.c_str(), "rb");
  if (!m_file) return false;
  constexpr int kBuffer = 32768;
  auto* buffer = static_cast<uint8_t*>(Av().av_malloc(kBuffer));
  if (!buffer) return false;
  m_io = Av().avio_alloc_context(buffer, kBuffer, 0, this, &ReadCallback, nullptr, &SeekCallback);
  if (!m_io) {
    Av().av_free(buffer);
    return false;
  }
  m_context = Av().avformat_alloc_context();
  if (!m_context) return false;
  m_context->pb = m_io;
  m_context->flags |= AVFMT_FLAG_CUSTOM_IO;
  const AVInputFormat* avi = Av().av_find_input_format("avi");
  if (!avi || Av().avformat_open_input(&m_context, nullptr, avi, nullptr) < 0) {
    m_context = nullptr;  // freed by the failed open
    return false;
  }
  if (m_index < 0 || static_cast<unsigned>(m_index) >= m_context->nb_streams) return false;
  for (unsigned i = 0; i < m_context->nb_streams; ++i)
    m_context->streams[i]->discard = static_cast<int>(i) == m_index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
  return true;
}

void AviDemuxer::Close() {
  if (m_context) Av().avformat_close_input(&m_context);
  if (m_io) {
    Av().av_freep(&m_io->buffer);
    Av().avio_context_free(&m_io);
  }
  if (m_file) {
    std::fclose(m_file);
    m_file = nullptr;
  }
}

bool AviDemuxer::Next(AVPacket* packet) {
  if (!m_context) return false;
  for (;;) {
    if (Av().av_read_frame(m_context, packet) < 0) return false;
    if (packet->stream_index == m_index) return true;
    Av().av_packet_unref(packet);
  }
}

bool AviDemuxer::SeekKey(int64_t timestamp) {
  return m_context && Av().av_seek_frame(m_context, m_index, timestamp, AVSEEK_FLAG_BACKWARD) >= 0;
}

const AVCodecParameters* AviDemuxer::Codec() const {
  return m_context ? m_context->streams[m_index]->codecpar : nullptr;
}

AVRational AviDemuxer::TimeBase() const {
  return m_context ? m_context->streams[m_index]->time_base : AVRational{0, 1};
}

// ---- streams

AviStream::AviStream(std::unique_ptr<AviStreamImpl> impl) : m_impl(std::move(impl)) {}
AviStream::~AviStream() = default;

const AviStreamHeader& AviStream::Info() const { return m_impl->desc.header; }

int32_t AviStream::Start() const {
  return static_cast<int32_t>(std::min<uint32_t>(m_impl->desc.header.dwStart, INT32_MAX));
}

int32_t AviStream::Length() const {
  return static_cast<int32_t>(std::min<uint32_t>(m_impl->desc.header.dwLength, INT32_MAX));
}

std::span<const uint8_t> AviStream::Format() const { return m_impl->desc.format; }

int32_t AviStream::TimeToSample(int32_t ms) const {
  const AviStreamHeader& h = m_impl->desc.header;
  if (h.dwRate == 0 || h.dwScale == 0) return 0;
  // The product of a 32-bit time and a 32-bit rate fits 64 bits; so does scale * 1000.
  const int64_t sample =
      static_cast<int64_t>(ms) * h.dwRate / (static_cast<int64_t>(h.dwScale) * 1000) -
      (ms < 0 && (static_cast<int64_t>(ms) * h.dwRate) % (static_cast<int64_t>(h.dwScale) * 1000) ? 1 : 0);
  const int64_t start = Start();
  return static_cast<int32_t>(std::clamp<int64_t>(sample, start, start + Length()));
}

namespace {

// Puts the reader at the chunk holding sample (fixed size) or at chunk number sample. False
// when the stream ends before it.
bool Position(AviStreamImpl& s, int64_t sample) {
  const uint32_t size = s.desc.header.dwSampleSize;
  if (!s.opened || sample < s.cursor) {
    s.opened = s.demuxer.Open();
    s.pending.clear();
    s.pendingAt = 0;
    s.hasChunk = false;
    s.cursor = s.desc.header.dwStart;
    s.ended = !s.opened;
  }
  // A sample before the stream's first (a start the header puts beyond what a sample number holds)
  // is in no chunk.
  if (sample < s.cursor || !LibAvAvailable()) return false;
  AVPacket* packet = Av().av_packet_alloc();
  if (!packet) return false;
  for (;;) {
    const size_t left = s.pending.size() - s.pendingAt;
    if (size != 0) {
      const uint64_t have = left / size;
      if (sample < s.cursor + static_cast<int64_t>(have)) {
        s.pendingAt += static_cast<size_t>(sample - s.cursor) * size;
        s.cursor = sample;
        break;
      }
      s.cursor += static_cast<int64_t>(have);
      // A part sample at a chunk's end is joined with the next chunk's start.
      s.pending.erase(s.pending.begin(), s.pending.begin() + static_cast<ptrdiff_t>(s.pendingAt + have * size));
      s.pendingAt = 0;
    } else if (s.hasChunk) {
      if (s.cursor == sample) break;
      s.pending.clear();
      s.hasChunk = false;
      ++s.cursor;
      continue;
    }
    if (s.ended || !s.demuxer.Next(packet)) {
      s.ended = true;
      break;
    }
    if (size != 0) {
      // Samples larger than any sound block are no sound.
      if (s.pending.size() + static_cast<size_t>(packet->size) > kMaxHeaderBytes * 4) {
        s.ended = true;
        Av().av_packet_unref(packet);
        break;
      }
      s.pending.insert(s.pending.end(), packet->data, packet->data + packet->size);
    } else {
      s.pending.assign(packet->data, packet->data + packet->size);
      s.pendingAt = 0;
      s.hasChunk = true;
    }
    Av().av_packet_unref(packet);
  }
  Av().av_packet_free(&packet);
  return s.cursor == sample;
}

}  // namespace

HRESULT AviStream::Read(int32_t start, int32_t samples, void* buffer, int32_t bytes, int32_t* bytesRead,
                        int32_t* samplesRead) {
  AviStreamImpl& s = *m_impl;
  if (bytesRead) *bytesRead = 0;
  if (samplesRead) *samplesRead = 0;
  const int64_t end = static_cast<int64_t>(Start()) + Length();
  if (start < Start() || start >= end || samples <= 0) return AVIERR_OK;
  samples = static_cast<int32_t>(std::min<int64_t>(samples, end - start));
  const uint32_t size = s.desc.header.dwSampleSize;
  if (bytes < 0) bytes = 0;
  if (size != 0) {
    const int64_t fit = std::min<int64_t>(samples, bytes / size);
    if (fit == 0) {
      if (bytesRead) *bytesRead = static_cast<int32_t>(std::min<uint32_t>(size, INT32_MAX));
      return AVIERR_BUFFERTOOSMALL;
    }
    int64_t got = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    while (got < fit && Position(s, start + got)) {
      const size_t whole = (s.pending.size() - s.pendingAt) / size * size;
      const size_t take = static_cast<size_t>(std::min<int64_t>(whole / size, fit - got)) * size;
      if (take == 0) break;
      std::memcpy(out + got * size, s.pending.data() + s.pendingAt, take);
      s.pendingAt += take;
      s.cursor += static_cast<int64_t>(take / size);
      got += static_cast<int64_t>(take / size);
    }
    if (bytesRead) *bytesRead = static_cast<int32_t>(got * size);
    if (samplesRead) *samplesRead = static_cast<int32_t>(got);
    return AVIERR_OK;
  }
  int32_t used = 0, got = 0;
  auto* out = static_cast<uint8_t*>(buffer);
  while (got < samples && Position(s, static_cast<int64_t>(start) + got)) {
    // Past the last chunk the stream has nothing more, whatever length its header claims.
    if (!s.hasChunk) break;
    const size_t chunk = s.pending.size() - s.pendingAt;
    if (chunk > static_cast<size_t>(bytes - used)) {
      if (got == 0) {
        if (bytesRead) *bytesRead = static_cast<int32_t>(std::min<size_t>(chunk, INT32_MAX));
        return AVIERR_BUFFERTOOSMALL;
      }
      break;
    }
    if (chunk) std::memcpy(out + used, s.pending.data() + s.pendingAt, chunk);
    used += static_cast<int32_t>(chunk);
    ++got;
    s.pending.clear();
    s.pendingAt = 0;
    s.hasChunk = false;
    ++s.cursor;
  }
  if (bytesRead) *bytesRead = used;
  if (samplesRead) *samplesRead = got;
  return AVIERR_OK;
}

// ---- the file

AviFile::AviFile(std::unique_ptr<AviFileImpl> impl) : m_impl(std::move(impl)) {}
AviFile::~AviFile() = default;

HRESULT AviFile::Open(std::string_view programPath, std::unique_ptr<AviFile>& out) {
  out.reset();
  if (programPath.empty()) return AVIERR_FILEOPEN;
  auto impl = std::make_unique<AviFileImpl>();
  impl->hostPath = ResolveHostPath(programPath);
  std::FILE* f = std::fopen(impl->hostPath.c_str(), "rb");
  if (!f) return AVIERR_FILEOPEN;
  std::fclose(f);
  if (!ReadHeaders(impl->hostPath, impl->streams)) return AVIERR_BADFORMAT;
  // The demuxer must accept the file too.
  AviDemuxer probe(impl->hostPath, 0);
  if (!probe.Open()) return AVIERR_BADFORMAT;
  out.reset(new AviFile(std::move(impl)));
  return AVIERR_OK;
}

HRESULT AviFile::GetStream(uint32_t type, int index, std::unique_ptr<AviStream>& out) {
  out.reset();
  int seen = 0;
  for (size_t i = 0; i < m_impl->streams.size(); ++i) {
    if (m_impl->streams[i].header.fccType != type) continue;
    if (seen++ != index) continue;
    out.reset(
        new AviStream(std::make_unique<AviStreamImpl>(m_impl->hostPath, static_cast<int>(i), m_impl->streams[i])));
    return AVIERR_OK;
  }
  return AVIERR_NODATA;
}

}  // namespace platform
