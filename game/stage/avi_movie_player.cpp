#include "game/stage/avi_movie_player.h"

#include <string>

#include "game/script/script_error.h"
#include "game/system/file_utils.h"
#include "platform/sjis_literal.h"
#include "sdk/sound/movie_avi.h"

namespace {

class AviMoviePlayer : public MoviePlayer {
 public:
  bool OpenAndPlay(std::string_view fileName) override {
    m_movie = std::make_unique<CMovieAVI>();
    const std::string name(fileName);
    if (m_movie->Open(name.c_str()) != 0 && !m_movie->VideoPart() && !m_movie->AudioPart()) {
      // Nothing of the file could be read: a movie with nothing to show would only hide the
      // layers.
      ScriptError(GameFileFound(name) ? name + kUnreadableFileText : "ファイルが見つかりません"_sj + (" " + name));
      m_movie.reset();
      return false;
    }
    m_movie->Play();
    return true;
  }
  CMemPlane* FrameSurface() override { return m_movie ? m_movie->GetDib() : nullptr; }
  bool IsPlaying() const override { return m_movie && m_movie->IsPlay(); }
  void Stop() override {
    if (m_movie) m_movie->Stop();
    m_movie.reset();
  }

 private:
  std::unique_ptr<CMovieAVI> m_movie;
};

}  // namespace

std::unique_ptr<MoviePlayer> MakeAviMoviePlayer() { return std::make_unique<AviMoviePlayer>(); }
