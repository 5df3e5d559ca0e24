#include "tools/make_sounds/sound_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <vorbis/vorbisenc.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
}

namespace sound_writer {
namespace {

std::vector<uint8_t> FormatBlock(uint16_t tag, uint16_t ch, uint32_t rate, uint32_t avg, uint16_t align, uint16_t bits,
                                 const std::vector<uint8_t>& extra, bool withCbSize = true) {
  std::vector<uint8_t> f;
  Put16(f, tag);
  Put16(f, ch);
  Put32(f, rate);
  Put32(f, avg);
  Put16(f, align);
  Put16(f, bits);
  if (withCbSize) {
    Put16(f, static_cast<uint32_t>(extra.size()));
    f.insert(f.end(), extra.begin(), extra.end());
  }
  return f;
}

// A wave file of the format and data; a compressed format gets the "fact" chunk with its length in
// samples per channel, which its data, padded to whole blocks or frames, cannot tell.
std::vector<uint8_t> Riff(const std::vector<uint8_t>& fmt, const std::vector<uint8_t>& data, uint32_t frames) {
  std::vector<uint8_t> out;
  PutTag(out, "RIFF");
  Put32(out, 0);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, static_cast<uint32_t>(fmt.size()));
  out.insert(out.end(), fmt.begin(), fmt.end());
  if (fmt.size() & 1) out.push_back(0);
  if (fmt[0] != 1 || fmt[1] != 0) {
    PutTag(out, "fact");
    Put32(out, 4);
    Put32(out, frames);
  }
  PutTag(out, "data");
  Put32(out, static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  if (data.size() & 1) out.push_back(0);
  const uint32_t riffSize = static_cast<uint32_t>(out.size() - 8);
  std::memcpy(out.data() + 4, &riffSize, 4);
  return out;
}

struct Encoded {
  std::vector<uint8_t> bytes;
  std::vector<uint8_t> extradata;
  int blockAlign = 0;
  int frameSize = 0;
};

// Encodes interleaved samples with a libavcodec encoder, one packet after another.
bool Encode(AVCodecID id, const char* name, const std::vector<int16_t>& pcm, uint32_t rate, uint16_t channels,
            int64_t bitRate, Encoded& result) {
  av_log_set_level(AV_LOG_QUIET);
  const AVCodec* codec = name ? avcodec_find_encoder_by_name(name) : avcodec_find_encoder(id);
  if (!codec) return false;
  AVCodecContext* ctx = avcodec_alloc_context3(codec);
  if (!ctx) return false;
  const AVSampleFormat fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
  ctx->sample_fmt = fmt;
  ctx->sample_rate = static_cast<int>(rate);
  av_channel_layout_default(&ctx->ch_layout, channels);
  ctx->bit_rate = bitRate;
  AVPacket* pkt = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  bool ok = pkt && frame && avcodec_open2(ctx, codec, nullptr) >= 0;
  if (ok) {
    result.blockAlign = ctx->block_align;
    result.frameSize = ctx->frame_size;
    if (ctx->extradata_size > 0) result.extradata.assign(ctx->extradata, ctx->extradata + ctx->extradata_size);
  }
  const int frameSize = ctx->frame_size > 0 ? ctx->frame_size : 1024;
  const bool smallLast =
      (codec->capabilities & (AV_CODEC_CAP_SMALL_LAST_FRAME | AV_CODEC_CAP_VARIABLE_FRAME_SIZE)) != 0;
  const size_t total = pcm.size() / channels;
  auto drain = [&] {
    while (avcodec_receive_packet(ctx, pkt) == 0) {
      result.bytes.insert(result.bytes.end(), pkt->data, pkt->data + pkt->size);
      av_packet_unref(pkt);
    }
  };
  for (size_t at = 0; ok && at < total; at += frameSize) {
    const int n = static_cast<int>(std::min<size_t>(frameSize, total - at));
    frame->nb_samples = smallLast || ctx->frame_size == 0 ? n : frameSize;
    frame->format = fmt;
    frame->sample_rate = ctx->sample_rate;
    av_channel_layout_copy(&frame->ch_layout, &ctx->ch_layout);
    if (av_frame_get_buffer(frame, 0) < 0) {
      ok = false;
      break;
    }
    for (int i = 0; i < frame->nb_samples; ++i) {
      for (int c = 0; c < channels; ++c) {
        const int16_t s = i < n ? pcm[(at + i) * channels + c] : 0;
        switch (fmt) {
          case AV_SAMPLE_FMT_S16:
            reinterpret_cast<int16_t*>(frame->data[0])[i * channels + c] = s;
            break;
          case AV_SAMPLE_FMT_S16P:
            reinterpret_cast<int16_t*>(frame->extended_data[c])[i] = s;
            break;
          case AV_SAMPLE_FMT_S32P:
            reinterpret_cast<int32_t*>(frame->extended_data[c])[i] = s * 65536;
            break;
          case AV_SAMPLE_FMT_FLTP:
            reinterpret_cast<float*>(frame->extended_data[c])[i] = s / 32768.0f;
            break;
          default:
            ok = false;
        }
      }
    }
    if (ok && avcodec_send_frame(ctx, frame) < 0) ok = false;
    av_frame_unref(frame);
    if (ok) drain();
  }
  if (ok && avcodec_send_frame(ctx, nullptr) >= 0) drain();
  av_frame_free(&frame);
  av_packet_free(&pkt);
  avcodec_free_context(&ctx);
  return ok;
}

}  // namespace

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}

void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

void PutTag(std::vector<uint8_t>& v, const char* t) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(t[i]));
}

std::vector<int16_t> Tone(uint32_t rate, uint16_t channels, uint32_t frames, double hz, double amplitude, bool fade) {
  std::vector<int16_t> pcm(static_cast<size_t>(frames) * channels);
  const uint32_t fadeFrames = std::min(frames / 2, rate / 100);
  for (uint32_t i = 0; i < frames; ++i) {
    double a = amplitude;
    if (fade && fadeFrames) {
      const uint32_t edge = std::min(i, frames - 1 - i);
      if (edge < fadeFrames) a *= static_cast<double>(edge) / fadeFrames;
    }
    const auto s = static_cast<int16_t>(std::lround(a * std::sin(2 * std::numbers::pi * hz * i / rate)));
    for (uint16_t c = 0; c < channels; ++c) pcm[static_cast<size_t>(i) * channels + c] = s;
  }
  return pcm;
}

bool MakeWave(WaveKind kind, const std::vector<int16_t>& pcm, uint32_t rate, uint16_t ch, std::vector<uint8_t>& out) {
  std::vector<uint8_t> data;
  std::vector<uint8_t> fmt;
  switch (kind) {
    case WaveKind::kPcm8:
      for (int16_t s : pcm) data.push_back(static_cast<uint8_t>((s >> 8) + 128));
      fmt = FormatBlock(1, ch, rate, rate * ch, ch, 8, {}, false);
      break;
    case WaveKind::kPcm16:
      for (int16_t s : pcm) Put16(data, static_cast<uint16_t>(s));
      fmt = FormatBlock(1, ch, rate, rate * ch * 2, static_cast<uint16_t>(ch * 2), 16, {}, false);
      break;
    case WaveKind::kALaw:
    case WaveKind::kMuLaw: {
      Encoded e;
      if (!Encode(kind == WaveKind::kALaw ? AV_CODEC_ID_PCM_ALAW : AV_CODEC_ID_PCM_MULAW, nullptr, pcm, rate, ch, 0,
                  e)) {
        return false;
      }
      data = std::move(e.bytes);
      fmt = FormatBlock(kind == WaveKind::kALaw ? 6 : 7, ch, rate, rate * ch, ch, 8, {});
      break;
    }
    case WaveKind::kMsAdpcm:
    case WaveKind::kImaAdpcm: {
      const bool ms = kind == WaveKind::kMsAdpcm;
      Encoded e;
      if (!Encode(ms ? AV_CODEC_ID_ADPCM_MS : AV_CODEC_ID_ADPCM_IMA_WAV, nullptr, pcm, rate, ch, 0, e)) return false;
      data = std::move(e.bytes);
      std::vector<uint8_t> extra = e.extradata;
      if (extra.size() < 2) {
        extra.clear();
        Put16(extra, static_cast<uint32_t>(e.frameSize));
      }
      const uint32_t avg = static_cast<uint32_t>(uint64_t{rate} * e.blockAlign / e.frameSize);
      fmt = FormatBlock(ms ? 2 : 0x11, ch, rate, avg, static_cast<uint16_t>(e.blockAlign), 4, extra);
      break;
    }
    case WaveKind::kMp3: {
      if (!MakeMp3(pcm, rate, ch, data)) return false;
      std::vector<uint8_t> extra;
      Put16(extra, 1);  // wID
      Put32(extra, 2);  // fdwFlags
      Put16(extra, 144 * 128000 / rate);
      Put16(extra, 1);
      Put16(extra, 1393);
      fmt = FormatBlock(0x55, ch, rate, 128000 / 8, 1, 0, extra);
      break;
    }
  }
  out = Riff(fmt, data, static_cast<uint32_t>(pcm.size() / ch));
  return true;
}

bool MakeMp3(const std::vector<int16_t>& pcm, uint32_t rate, uint16_t channels, std::vector<uint8_t>& out) {
  Encoded e;
  if (!Encode(AV_CODEC_ID_MP3, "libmp3lame", pcm, rate, channels, 128000, e)) return false;
  out = std::move(e.bytes);
  return !out.empty();
}

bool MakeOggVorbis(const std::vector<int16_t>& pcm, uint32_t rate, uint16_t channels, float quality,
                   std::vector<uint8_t>& out) {
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, channels, static_cast<long>(rate), quality) != 0) {
    vorbis_info_clear(&vi);
    return false;
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 1);
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  ogg_page page;
  auto putPage = [&] {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
  };
  out.clear();
  while (ogg_stream_flush(&os, &page)) putPage();
  const size_t frames = pcm.size() / channels;
  constexpr size_t kChunk = 4096;
  bool eos = false;
  for (size_t at = 0; !eos;) {
    const size_t n = std::min(kChunk, frames - at);
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      float** buf = vorbis_analysis_buffer(&vd, static_cast<int>(n));
      for (size_t i = 0; i < n; ++i) {
        for (int c = 0; c < channels; ++c) buf[c][i] = pcm[(at + i) * channels + c] / 32768.0f;
      }
      vorbis_analysis_wrote(&vd, static_cast<int>(n));
      at += n;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet op;
      while (vorbis_bitrate_flushpacket(&vd, &op)) {
        ogg_stream_packetin(&os, &op);
        while (ogg_stream_pageout(&os, &page)) {
          putPage();
          if (ogg_page_eos(&page)) eos = true;
        }
      }
    }
    if (n == 0) break;
  }
  while (ogg_stream_flush(&os, &page)) putPage();
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return true;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::error_code ec;
  const std::filesystem::path p(path);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

}  // namespace sound_writer
