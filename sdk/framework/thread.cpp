#include "sdk/framework/thread.h"

CThread::~CThread() {
  CThread::StopThread();
}

int CThread::CreateThread() {
  StopThread();
  // Event and flags are ready before the thread exists: a stop that follows at once is not lost,
  // and the body sees itself valid from its first instruction.
  OnStartThread();
  bool started = m_thread.Start([this] {
    ThreadBody();
    OnEndThread();
  });
  if (!started) {
    m_valid = false;
    OnEndThread();
    return 1;
  }
  return 0;
}

int CThread::StopThread() {
  InvalidateThread();
  if (!m_thread.IsRunning()) return 0;
  if (m_thread.IsCurrent()) {
    // A thread cannot wait for itself; it ends when its body returns.
    m_thread.Detach();
    return 1;
  }
  return m_thread.Join() ? 0 : 1;
}

int CThread::RunThread() {
  OnStartThread();
  ThreadBody();
  OnEndThread();
  return 0;
}

void CThread::InvalidateThread() {
  m_valid = false;
  if (auto event = Event()) event->Set();
}

int CThread::WaitThreadEvent(int milliseconds) {
  auto event = Event();
  if (!event) return -1;
  uint32_t ms = milliseconds < 0 ? platform::kInfinite : static_cast<uint32_t>(milliseconds);
  return event->Wait(ms) ? 1 : 0;
}

void CThread::OnStartThread() {
  OnEndThread();
  {
    std::lock_guard lock(m_eventMutex);
    m_event = std::make_shared<platform::AutoResetEvent>();
  }
  m_started = true;
  m_valid = true;
}

void CThread::OnEndThread() {
  {
    std::lock_guard lock(m_eventMutex);
    m_event.reset();
  }
  m_started = false;
}

std::shared_ptr<platform::AutoResetEvent> CThread::Event() const {
  std::lock_guard lock(m_eventMutex);
  return m_event;
}
