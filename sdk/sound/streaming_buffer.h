// A sound streamed from a source through a buffer of sixteen blocks (three seconds), refilled block
// by block by a thread of its own as each block finishes playing; the track loops without a gap.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/audio_mixer.h"
#include "platform/sync.h"
#include "sdk/framework/lock_section.h"
#include "sdk/sound/pcm_stream_source.h"

class CStreamingBufferBase {
 public:
  CStreamingBufferBase() = default;
  CStreamingBufferBase(const CStreamingBufferBase&) = delete;
  CStreamingBufferBase& operator=(const CStreamingBufferBase&) = delete;
  virtual ~CStreamingBufferBase() = default;
  virtual uint8_t Play() = 0;
  virtual uint8_t Stop() = 0;
  virtual uint8_t IsPlaying() = 0;
  virtual uint8_t SetVolume(int32_t volume) = 0;
  virtual uint8_t GetVolume(int32_t* volume) = 0;
};

class CStreamingBuffer : public CStreamingBufferBase {
 public:
  static constexpr uint32_t kBlocks = 16;

  CStreamingBuffer() = default;
  // Ends the refill thread before anything it uses goes; the source lives on with its other holders.
  ~CStreamingBuffer() override;

  // Once per object. 0 without a device, or when the buffer, its notifications or the thread cannot
  // be made; every other operation then returns 0.
  uint8_t Open(const std::unique_ptr<platform::AudioDevice>& device, std::shared_ptr<CPcmStreamSource> source);
  // From the start of the source, with its loop count read again.
  uint8_t Play() override;
  // Keeps the source as it is until the next Play.
  uint8_t Stop() override;
  uint8_t IsPlaying() override;
  uint8_t SetVolume(int32_t volume) override;
  uint8_t GetVolume(int32_t* volume) override;

  uint32_t BlockSize() const { return m_blockSize; }
  uint32_t BufferSize() const { return m_bufferSize; }
  // The bytes of one block (3/16 s raised to whole frames) and where each block's end is signalled.
  static uint32_t BlockBytes(const StreamFormat& format);
  static std::array<uint32_t, kBlocks> NotificationOffsets(uint32_t block);
  // For tests: notifications the refill thread has finished handling.
  uint32_t WakesHandled() const { return m_wakes.load(); }

 private:
  void FillBlock();
  void NotifyLoop();

  CLockSection m_lock;
  std::shared_ptr<CPcmStreamSource> m_source;
  std::unique_ptr<platform::SoundBuffer> m_buffer;
  uint32_t m_bufferSize = 0;
  uint32_t m_blockSize = 0;
  std::shared_ptr<platform::CountingEvent> m_notify;
  platform::AutoResetEvent m_stopEvent;
  StreamFormat m_format{};
  platform::Thread m_thread;
  uint32_t m_writeCursor = 0;
  uint32_t m_readPos = 0;
  uint32_t m_loopStart = 0;
  uint32_t m_loopEnd = 0;
  uint32_t m_total = 0;
  int32_t m_loopsLeft = 0;
  int32_t m_queued = 0;
  bool m_stopped = true;  // set by Stop: the thread leaves the source alone
  std::atomic<bool> m_ending{false};
  std::atomic<uint32_t> m_wakes{0};
};
