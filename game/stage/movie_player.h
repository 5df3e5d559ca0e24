// The movie shown in place of the layers: a narrow seam that the movie player fills. Until a
// factory is set no movie is made, and starting one shows nothing.
#pragma once

#include <memory>
#include <string_view>

class CMemPlane;

class MoviePlayer {
 public:
  virtual ~MoviePlayer() = default;
  // Opens the file and starts playing it; false when it cannot be opened.
  virtual bool OpenAndPlay(std::string_view fileName) = 0;
  // The current frame, or null when the movie has no picture.
  virtual CMemPlane* FrameSurface() = 0;
  virtual bool IsPlaying() const = 0;
  virtual void Stop() = 0;
};

using MoviePlayerFactory = std::unique_ptr<MoviePlayer> (*)();

// Null: no movie is ever made.
void SetMoviePlayerFactory(MoviePlayerFactory factory);
std::unique_ptr<MoviePlayer> MakeMoviePlayer();
