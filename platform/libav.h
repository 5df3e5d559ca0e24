// Inside the layer only: the media libraries (libavformat, libavcodec, libavutil, libswresample and
// libswscale), opened on first use. Linked at start they would bring about a hundred libraries of
// their own into every start of the game, costing its first frame tens of milliseconds and some
// twenty megabytes, though a game needs them only when it plays a film or a compressed sound.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

// Every function the layer calls, with the library that holds it.
#define VREL_LIBAV_FUNCTIONS(X)                                                                         \
  X(avutil, av_channel_layout_default)                                                                  \
  X(avutil, av_frame_alloc)                                                                             \
  X(avutil, av_frame_free)                                                                              \
  X(avutil, av_frame_unref)                                                                             \
  X(avutil, av_free)                                                                                    \
  X(avutil, av_freep)                                                                                   \
  X(avutil, av_log_set_level)                                                                           \
  X(avutil, av_malloc)                                                                                  \
  X(avcodec, av_packet_alloc)                                                                           \
  X(avcodec, av_packet_free)                                                                            \
  X(avcodec, av_packet_unref)                                                                           \
  X(avcodec, avcodec_alloc_context3)                                                                    \
  X(avcodec, avcodec_find_decoder)                                                                      \
  X(avcodec, avcodec_flush_buffers)                                                                     \
  X(avcodec, avcodec_free_context)                                                                      \
  X(avcodec, avcodec_open2)                                                                             \
  X(avcodec, avcodec_parameters_to_context)                                                             \
  X(avcodec, avcodec_receive_frame)                                                                     \
  X(avcodec, avcodec_send_packet)                                                                       \
  X(avformat, av_find_input_format)                                                                     \
  X(avformat, av_read_frame)                                                                            \
  X(avformat, av_seek_frame)                                                                            \
  X(avformat, avformat_alloc_context)                                                                   \
  X(avformat, avformat_close_input)                                                                     \
  X(avformat, avformat_open_input)                                                                      \
  X(avformat, avio_alloc_context)                                                                       \
  X(avformat, avio_context_free)                                                                        \
  X(swresample, swr_alloc_set_opts2)                                                                    \
  X(swresample, swr_convert)                                                                            \
  X(swresample, swr_free)                                                                               \
  X(swresample, swr_get_out_samples)                                                                    \
  X(swresample, swr_init)                                                                               \
  X(swscale, sws_freeContext)                                                                           \
  X(swscale, sws_getCachedContext)                                                                      \
  X(swscale, sws_getCoefficients)                                                                       \
  X(swscale, sws_scale)                                                                                 \
  X(swscale, sws_setColorspaceDetails)

namespace platform {

struct LibAv {
#define VREL_LIBAV_MEMBER(library, name) decltype(&::name) name = nullptr;
  VREL_LIBAV_FUNCTIONS(VREL_LIBAV_MEMBER)
#undef VREL_LIBAV_MEMBER
};

// Opens the libraries once (quietened: their complaints about damaged input would only reach
// stderr); true when every function was found. Without them films and compressed sounds take the
// path of a codec that is not installed.
bool LibAvAvailable();

// The functions; only after LibAvAvailable() said true.
const LibAv& Av();

}  // namespace platform
