#include "sdk/sound/movie_avi.h"

#include <cmath>
#include <limits>

#include "platform/sjis_literal.h"
#include "sdk/framework/error_log.h"
#include "sdk/framework/path_functions.h"
#include "sdk/sound/movie_avi_audio.h"
#include "sdk/sound/plane_avi.h"

using namespace platform;

CMovieAVI::CMovieAVI() : m_clock(new CTimer) {}

CMovieAVI::~CMovieAVI() { CMovieAVI::Close(); }

int32_t CMovieAVI::Open(const char* name) {
  if (name == nullptr) return -1;
  Close();
  m_fileName = CanonicalizePath(name);
  if (m_fileName.empty() || AviFile::Open(m_fileName, m_file) != AVIERR_OK) {
    ErrorLog::Out("CMovieAVI::Open AviFile Open Error");
    return -1;
  }
  m_video = std::make_unique<CPlaneAVI>(this);
  m_audio = std::make_unique<CMovieAVIAUDIO>(this);
  if (m_video->Open(m_file.get()) == 0) {
    m_hasVideo = 1;
    m_video->SetClock(m_clock);
  }
  if (m_audio->OpenAudioStrema(m_file.get()) == 0) {
    m_hasAudio = 1;
    m_audio->InitAudio();
    m_audio->SetClock(m_clock);
  }
  if (!m_video->HasStream()) {
    ErrorLog::Out("CMovieAVI::Open StreamOpenError");
    return -1;
  }
  m_streamInfo = m_video->Stream()->Info();
  // Without a rate or a scale a film has no length and no frame for any time.
  if (m_streamInfo.dwRate == 0 || m_streamInfo.dwScale == 0) {
    ErrorLog::Out("CMovieAVI::Open サイズが異常"_sj);
    return -1;
  }
  const double frameRate = static_cast<double>(m_streamInfo.dwRate) / m_streamInfo.dwScale;
  const double length = m_streamInfo.dwLength / frameRate * 1000;
  m_length = length >= std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                           : static_cast<int32_t>(length);
  m_video->SetDrawPosition(m_drawX, m_drawY);
  m_video->SetDrawBox(m_drawWidth, m_drawHeight, m_stretch);
  m_audio->SetVolume(m_volume);
  return 0;
}

int32_t CMovieAVI::Close() {
  Stop();
  m_drawEnabled = 0;
  m_hasVideo = m_hasAudio = m_playing = 0;
  m_video.reset();
  m_audio.reset();
  m_file.reset();
  return 0;
}

int32_t CMovieAVI::Play() {
  Stop();
  m_pauseCount = 0;
  m_playing = 1;
  m_clock->Reset();
  m_timeOffset = 0;
  if (m_audio) m_audio->Play();
  if (m_video) m_video->Play();
  return 0;
}

int32_t CMovieAVI::Stop() {
  if (NestedPause::Stop(m_pauseCount, m_playing)) StopNow();
  return 0;
}

int32_t CMovieAVI::Replay() {
  if (NestedPause::Replay(m_pauseCount, m_playing)) RestartNow();
  return 0;
}

int32_t CMovieAVI::Pause() {
  Stop();
  return 0;
}

void CMovieAVI::StopNow() {
  m_clock->Pause();
  m_savedPosition = GetCurrentPos();
  m_playing = 0;
  if (m_audio) m_audio->Stop();
  if (m_video) m_video->Stop();
}

void CMovieAVI::RestartNow() {
  m_timeOffset = m_savedPosition;
  Stop();
  m_pauseCount = 0;
  m_playing = 1;
  m_clock->Reset();
  if (m_video) m_video->Replay();
  if (m_audio) m_audio->Replay();
}

int32_t CMovieAVI::SetLoop(uint8_t loop) {
  if (loop == m_loop) return 1;
  m_loop = loop;
  return 0;
}

int32_t CMovieAVI::GetCurrentPos() {
  return static_cast<int32_t>(m_clock->Get() + static_cast<uint32_t>(m_timeOffset));
}

int32_t CMovieAVI::SetCurrentPos(int32_t ms) {
  m_timeOffset = static_cast<int32_t>(static_cast<uint32_t>(ms) - m_clock->Get());
  m_savedPosition = ms;
  if (m_audio) m_audio->SetCurrentPos(ms);
  return 0;
}

int32_t CMovieAVI::SetVolume(int32_t volume) {
  m_volume = volume;
  if (!m_audio) return -1;
  return m_audio->SetVolume(volume);
}

int32_t CMovieAVI::GetVolume() {
  if (!m_audio) return m_volume;
  return m_audio->GetVolume();
}

void CMovieAVI::SetDrawPosition(int x, int y) {
  m_drawX = x;
  m_drawY = y;
  if (m_video) m_video->SetDrawPosition(x, y);
}

CPlane* CMovieAVI::GetPlane() { return m_video ? m_video->GetPlane() : nullptr; }

CMemPlane* CMovieAVI::GetDib() { return m_video ? m_video->GetDib() : nullptr; }

void CMovieAVI::SetDrawSize(int width, int height, uint8_t stretch) {
  if (width > 0) m_drawWidth = width;
  if (height > 0) m_drawHeight = height;
  m_stretch = stretch;
  if (m_video) m_video->SetDrawBox(m_drawWidth, m_drawHeight, m_stretch);
}
