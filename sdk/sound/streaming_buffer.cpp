#include "sdk/sound/streaming_buffer.h"

#include <cstring>
#include <mutex>

using namespace platform;

CStreamingBuffer::~CStreamingBuffer() {
  // The thread is told to end and waited for before the buffer, the events and the lock go, so it
  // never wakes to find them gone. The signal is kept until it waits, wherever it is now.
  m_ending = true;
  m_stopEvent.Set();
  if (m_thread.IsRunning()) m_thread.Join();
  {
    std::lock_guard lock(m_lock);
    m_buffer.reset();  // the mixer forgets its notifications with it
  }
  m_source.reset();
}

uint32_t CStreamingBuffer::BlockBytes(const StreamFormat& f) {
  const uint32_t align = f.nBlockAlign;
  uint32_t block = (align * f.nSamplesPerSec * 3) >> 4;
  if (align && block % align) block += align - block % align;
  return block;
}

std::array<uint32_t, CStreamingBuffer::kBlocks> CStreamingBuffer::NotificationOffsets(uint32_t block) {
  std::array<uint32_t, kBlocks> offsets{};
  for (uint32_t i = 0; i + 1 < kBlocks; ++i) offsets[i] = block * (i + 1);
  // One byte before the end, so that the wrap is signalled within the same pass.
  offsets[kBlocks - 1] = block * kBlocks - 1;
  return offsets;
}

uint8_t CStreamingBuffer::Open(const std::unique_ptr<AudioDevice>& device, std::shared_ptr<CPcmStreamSource> source) {
  if (!device || !source || m_buffer) return 0;
  StreamFormat format{};
  source->GetFormat(&format);
  const uint32_t block = BlockBytes(format);
  if (format.nBlockAlign == 0 || block == 0 || uint64_t{block} * kBlocks > kMaxBufferBytes) return 0;
  const uint32_t size = block * kBlocks;
  WAVEFORMATEX wave{};
  std::memcpy(&wave, &format, sizeof format);
  DSBUFFERDESC desc;
  desc.dwFlags = DSBCAPS_GLOBALFOCUS | DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_CTRLVOLUME | DSBCAPS_LOCSOFTWARE;
  desc.dwBufferBytes = size;
  desc.lpwfxFormat = &wave;
  std::unique_ptr<SoundBuffer> buffer;
  if (device->CreateSoundBuffer(desc, buffer) != DS_OK) return 0;
  auto notify = std::make_shared<CountingEvent>();
  std::array<DSBPOSITIONNOTIFY, kBlocks> notes;
  const auto offsets = NotificationOffsets(block);
  for (uint32_t i = 0; i < kBlocks; ++i) notes[i] = DSBPOSITIONNOTIFY{offsets[i], notify};
  if (buffer->SetNotificationPositions(notes) != DS_OK) return 0;
  {
    std::lock_guard lock(m_lock);
    m_source = std::move(source);
    m_buffer = std::move(buffer);
    m_bufferSize = size;
    m_blockSize = block;
    m_notify = std::move(notify);
    m_format = format;
  }
  return m_thread.Start([this] { NotifyLoop(); }) ? 1 : 0;
}

uint8_t CStreamingBuffer::Play() {
  std::lock_guard lock(m_lock);
  if (!m_buffer) return 0;
  m_buffer->Stop();
  m_buffer->SetCurrentPosition(0);
  m_source->Seek(0);
  m_writeCursor = 0;
  m_readPos = 0;
  m_loopStart = m_source->GetLoopStart() * m_format.nBlockAlign;
  m_loopEnd = m_source->GetLoopEnd() * m_format.nBlockAlign;
  m_total = m_source->GetLength() * m_format.nBlockAlign;
  m_loopsLeft = m_source->GetLoopCount();
  m_queued = 0;
  m_stopped = false;
  for (uint32_t i = 0; i + 1 < kBlocks; ++i) FillBlock();
  // Wakes left from before the restart belong to the old pass.
  m_notify->Reset();
  return m_buffer->Play(0, 0, DSBPLAY_LOOPING) == DS_OK ? 1 : 0;
}

uint8_t CStreamingBuffer::Stop() {
  std::lock_guard lock(m_lock);
  if (!m_buffer) return 0;
  m_stopped = true;
  return m_buffer->Stop() == DS_OK ? 1 : 0;
}

uint8_t CStreamingBuffer::IsPlaying() {
  std::lock_guard lock(m_lock);
  uint32_t status = 0;
  if (!m_buffer || m_buffer->GetStatus(&status) != DS_OK) return 0;
  return (status & DSBSTATUS_PLAYING) ? 1 : 0;
}

uint8_t CStreamingBuffer::SetVolume(int32_t volume) {
  std::lock_guard lock(m_lock);
  return m_buffer && m_buffer->SetVolume(volume) == DS_OK ? 1 : 0;
}

uint8_t CStreamingBuffer::GetVolume(int32_t* volume) {
  std::lock_guard lock(m_lock);
  return m_buffer && volume && m_buffer->GetVolume(volume) == DS_OK ? 1 : 0;
}

void CStreamingBuffer::FillBlock() {
  void* part1 = nullptr;
  void* part2 = nullptr;
  uint32_t bytes1 = 0, bytes2 = 0;
  if (m_buffer->Lock(m_writeCursor, m_blockSize, &part1, &bytes1, &part2, &bytes2, 0) != DS_OK) return;
  auto* dst = static_cast<uint8_t*>(part1);
  const uint32_t align = m_format.nBlockAlign;
  uint32_t filled = 0;
  while (filled < m_blockSize) {
    if (m_loopsLeft != 0 && (m_readPos == m_loopEnd || m_source->IsEOF())) {
      if (m_loopStart >= m_loopEnd) {
        if (m_loopsLeft < 1) break;
        m_loopsLeft = 0;
      }
      if (!m_source->Seek(m_loopStart / align)) break;
      m_readPos = m_loopStart;
      if (m_loopsLeft > 0) --m_loopsLeft;
    }
    const uint32_t limit = m_loopsLeft != 0 ? m_loopEnd : m_total;
    const uint32_t n = std::min(limit > m_readPos ? limit - m_readPos : 0, m_blockSize - filled);
    if (n == 0) break;
    if (m_loopsLeft == 0 && m_source->IsEOF()) break;
    uint32_t produced = 0;
    if (!m_source->Read(dst + filled, n, &produced)) break;
    produced = std::min(produced, n);
    filled += produced;
    m_readPos += produced;
    // A source that gives nothing without saying it ended would keep this loop going.
    if (produced == 0 && !m_source->IsEOF()) break;
  }
  if (filled > 0) ++m_queued;
  std::memset(dst + filled, m_format.wBitsPerSample == 8 ? 0x80 : 0, m_blockSize - filled);
  m_writeCursor += m_blockSize;
  if (m_writeCursor >= m_bufferSize) m_writeCursor = 0;
  m_buffer->Unlock(part1, bytes1, part2, bytes2);
}

void CStreamingBuffer::NotifyLoop() {
  for (;;) {
    const int which = WaitForFirst(m_stopEvent, *m_notify, kInfinite);
    if (which != 1 || m_ending) return;
    {
      std::lock_guard lock(m_lock);
      if (!m_buffer) return;
      if (!m_stopped) {
        if (m_queued > 0) --m_queued;
        // A source that came short of its length ends at its end flag instead.
        if (m_queued == 0 && m_loopsLeft == 0 && (m_readPos >= m_total || m_source->IsEOF())) m_buffer->Stop();
        if (m_queued < static_cast<int32_t>(kBlocks - 1)) FillBlock();
      }
    }
    ++m_wakes;
  }
}
