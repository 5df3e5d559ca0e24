// Inside the AVI layer: one demuxer per stream over its own handle on the file. Only the AVI
// file and frame sources include this.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/avi_file.h"
#include "platform/libav.h"

namespace platform {

struct AviStreamDesc {
  AviStreamHeader header;
  std::vector<uint8_t> format;
};

// A demuxer of one stream, reading nothing but that stream's packets.
class AviDemuxer {
 public:
  AviDemuxer(std::string hostPath, int streamIndex) : m_path(std::move(hostPath)), m_index(streamIndex) {}
  ~AviDemuxer() { Close(); }
  AviDemuxer(const AviDemuxer&) = delete;
  AviDemuxer& operator=(const AviDemuxer&) = delete;

  // Opens (or reopens, which rewinds) the file; false when it is no AVI with that stream.
  bool Open();
  void Close();
  // The next packet of the stream; false at the end or on a read error.
  bool Next(AVPacket* packet);
  // Moves to the key frame at or before the given time stamp; false when that fails.
  bool SeekKey(int64_t timestamp);
  const AVCodecParameters* Codec() const;
  AVRational TimeBase() const;
  const std::string& Path() const { return m_path; }
  int Index() const { return m_index; }

 private:
  static int ReadCallback(void* opaque, uint8_t* buffer, int size);
  static int64_t SeekCallback(void* opaque, int64_t offset, int whence);

  std::string m_path;
  int m_index;
  std::FILE* m_file = nullptr;
  AVFormatContext* m_context = nullptr;
  AVIOContext* m_io = nullptr;
};

class AviStreamImpl {
 public:
  AviStreamImpl(const std::string& hostPath, int streamIndex, AviStreamDesc desc)
      : desc(std::move(desc)), demuxer(hostPath, streamIndex) {}

  AviStreamDesc desc;
  AviDemuxer demuxer;
  // The sample reader's place: bytes of the current chunk not yet handed out, and the number of
  // the sample they start with (with sample size 0, the chunk's own number).
  std::vector<uint8_t> pending;
  size_t pendingAt = 0;
  int64_t cursor = 0;
  bool hasChunk = false;  // sample size 0: pending is chunk number cursor
  bool opened = false;
  bool ended = false;
};

class AviFileImpl {
 public:
  std::string hostPath;
  std::vector<AviStreamDesc> streams;
};

}  // namespace platform
