#include "platform/avi_frame.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/avi_file_impl.h"
#include "platform/image_limits.h"

namespace platform {

class AviFrameDecoder {
 public:
  AviFrameDecoder(const std::string& hostPath, int index, int32_t start, int32_t length)
      : m_demuxer(hostPath, index), m_start(start), m_length(length) {}
  // Everything here was made by the media libraries once the demuxer found them.
  ~AviFrameDecoder() {
    if (!LibAvAvailable()) return;
    Av().sws_freeContext(m_sws);
    Av().av_frame_free(&m_frame);
    Av().av_packet_free(&m_packet);
    Av().avcodec_free_context(&m_codec);
  }

  bool Open() {
    if (!m_demuxer.Open()) return false;
    const AVCodecParameters* par = m_demuxer.Codec();
    const AVCodec* codec = par ? Av().avcodec_find_decoder(par->codec_id) : nullptr;
    if (!codec) return false;
    m_codec = Av().avcodec_alloc_context3(codec);
    m_frame = Av().av_frame_alloc();
    m_packet = Av().av_packet_alloc();
    if (!m_codec || !m_frame || !m_packet || Av().avcodec_parameters_to_context(m_codec, par) < 0) return false;
    m_codec->thread_count = 1;
    if (Av().avcodec_open2(m_codec, codec, nullptr) < 0) return false;
    return Get(m_start) != nullptr;
  }

  const BITMAPINFOHEADER* Get(int32_t n) {
    const int64_t last = std::max<int64_t>(m_start, int64_t{m_start} + m_length - 1);
    int64_t want = std::clamp<int64_t>(n, m_start, last);
    if (m_have && want == m_shown) return Dib();
    if (want != m_next) {
      if (!m_demuxer.SeekKey(want)) {
        if (!m_demuxer.Open()) return m_have ? Dib() : nullptr;
      }
      Av().avcodec_flush_buffers(m_codec);
      if (m_held) Av().av_packet_unref(m_packet);
      m_held = false;
      m_next = -1;
    }
    for (;;) {
      if (!m_held && !m_demuxer.Next(m_packet)) {
        // The stream ended before the frame: the last picture stays.
        m_next = -1;
        break;
      }
      m_held = false;
      const int64_t pts = m_packet->pts != AV_NOPTS_VALUE ? m_packet->pts : (m_next >= 0 ? m_next : want);
      if (pts > want && m_have) {
        // No chunk for the frame asked for: it shows the picture before it.
        m_held = true;
        m_next = pts;
        m_shown = want;
        return Dib();
      }
      Decode();
      Av().av_packet_unref(m_packet);
      m_next = pts + 1;
      if (pts >= want) {
        m_shown = want;
        break;
      }
    }
    return m_have ? Dib() : nullptr;
  }

 private:
  const BITMAPINFOHEADER* Dib() const { return reinterpret_cast<const BITMAPINFOHEADER*>(m_dib.data()); }

  // An empty chunk, a chunk that decodes to nothing or to a picture of another size changes
  // nothing.
  void Decode() {
    if (m_packet->size == 0) return;
    if (Av().avcodec_send_packet(m_codec, m_packet) < 0) return;
    while (Av().avcodec_receive_frame(m_codec, m_frame) == 0) {
      Convert();
      Av().av_frame_unref(m_frame);
    }
  }

  void Convert() {
    const int w = m_frame->width, h = m_frame->height;
    if (!m_have) {
      if (!ImageSizeAllowed(w, h)) return;
      m_width = w;
      m_height = h;
      BITMAPINFOHEADER hdr;
      hdr.biSize = sizeof hdr;
      hdr.biWidth = w;
      hdr.biHeight = -h;
      hdr.biPlanes = 1;
      hdr.biBitCount = 32;
      hdr.biCompression = BI_RGB;
      hdr.biSizeImage = static_cast<uint32_t>(int64_t{w} * h * 4);
      m_dib.assign(sizeof hdr + static_cast<size_t>(w) * h * 4 + kSpill, 0);
      std::memcpy(m_dib.data(), &hdr, sizeof hdr);
    } else if (w != m_width || h != m_height) {
      return;
    }
    // JPEG pictures come in the full-range formats that the converter takes only as their plain
    // counterparts with the range said separately.
    AVPixelFormat format = static_cast<AVPixelFormat>(m_frame->format);
    bool fullRange = m_frame->color_range == AVCOL_RANGE_JPEG;
    switch (format) {
      case AV_PIX_FMT_YUVJ420P:
        format = AV_PIX_FMT_YUV420P;
        fullRange = true;
        break;
      case AV_PIX_FMT_YUVJ422P:
        format = AV_PIX_FMT_YUV422P;
        fullRange = true;
        break;
      case AV_PIX_FMT_YUVJ444P:
        format = AV_PIX_FMT_YUV444P;
        fullRange = true;
        break;
      case AV_PIX_FMT_YUVJ440P:
        format = AV_PIX_FMT_YUV440P;
        fullRange = true;
        break;
      default:
        break;
    }
    m_sws = Av().sws_getCachedContext(m_sws, w, h, format, w, h, AV_PIX_FMT_BGRA, SWS_POINT, nullptr, nullptr, nullptr);
    if (!m_sws) return;
    const int* coefficients = Av().sws_getCoefficients(SWS_CS_DEFAULT);
    Av().sws_setColorspaceDetails(m_sws, coefficients, fullRange ? 1 : 0, coefficients, 1, 0, 1 << 16, 1 << 16);
    // The converter writes whole vectors past a row's end. Top-down rows written in order
    // overwrite such spill with the next row; the last one spills into the room after it.
    uint8_t* dst[4] = {m_dib.data() + sizeof(BITMAPINFOHEADER), nullptr, nullptr, nullptr};
    const int dstStride[4] = {w * 4, 0, 0, 0};
    if (Av().sws_scale(m_sws, m_frame->data, m_frame->linesize, 0, h, dst, dstStride) == h) m_have = true;
  }

  AviDemuxer m_demuxer;
  int32_t m_start, m_length;
  AVCodecContext* m_codec = nullptr;
  AVFrame* m_frame = nullptr;
  AVPacket* m_packet = nullptr;
  SwsContext* m_sws = nullptr;
  static constexpr size_t kSpill = 256;
  std::vector<uint8_t> m_dib;
  int m_width = 0, m_height = 0;
  bool m_have = false;
  bool m_held = false;  // m_packet is read but belongs to a later frame
  int64_t m_next = -1;  // the frame of the next packet, -1 when unknown
  int64_t m_shown = -1;
};

AviGetFrame::AviGetFrame(std::unique_ptr<AviFrameDecoder> decoder) : m_decoder(std::move(decoder)) {}
AviGetFrame::~AviGetFrame() = default;

std::unique_ptr<AviGetFrame> AviGetFrame::Open(const AviStream& stream) {
  AviStreamImpl& s = stream.Impl();
  auto decoder =
      std::make_unique<AviFrameDecoder>(s.demuxer.Path(), s.demuxer.Index(), stream.Start(), stream.Length());
  if (!decoder->Open()) return nullptr;
  return std::unique_ptr<AviGetFrame>(new AviGetFrame(std::move(decoder)));
}

const BITMAPINFOHEADER* AviGetFrame::GetFrame(int32_t n) { return m_decoder->Get(n); }

bool DrawDibDraw(HDC dc, int x, int y, const BITMAPINFOHEADER* dib) {
  if (dc == nullptr || dib == nullptr) return false;
  Bitmap* target = dc->GetBitmap();
  if (target && target->BitCount() == 32 && dib->biBitCount == 32 && dib->biCompression == BI_RGB &&
      dib->biHeight < 0) {
    // 32 bits onto 32 bits are the stored words either way: rows are copied whole.
    const RECT out = dc->GetOutputRect();
    const int64_t rows = DibRows(dib->biHeight);
    const int64_t left = std::max<int64_t>(x, out.left),
                  right = std::min<int64_t>(int64_t{x} + dib->biWidth, out.right);
    const int64_t top = std::max<int64_t>(y, out.top), bottom = std::min<int64_t>(int64_t{y} + rows, out.bottom);
    const auto* bits = reinterpret_cast<const uint8_t*>(dib) + dib->biSize;
    for (int64_t ty = top; ty < bottom && left < right; ++ty)
      std::memcpy(target->Row(static_cast<int>(ty)) + left * 4,
                  bits + static_cast<size_t>(ty - y) * dib->biWidth * 4 + (left - x) * 4,
                  static_cast<size_t>(right - left) * 4);
    return true;
  }
  const auto* info = reinterpret_cast<const BITMAPINFO*>(dib);
  const void* bits = reinterpret_cast<const uint8_t*>(dib) + dib->biSize;
  const UINT rows = static_cast<UINT>(DibRows(dib->biHeight));
  return SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(dib->biWidth), rows, 0, 0, 0, rows, bits, info,
                           DIB_RGB_COLORS) != 0;
}

}  // namespace platform
