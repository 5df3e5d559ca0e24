#include "game/stage/movie_player.h"

namespace {
MoviePlayerFactory movieFactory = nullptr;
}  // namespace

void SetMoviePlayerFactory(MoviePlayerFactory factory) { movieFactory = factory; }

std::unique_ptr<MoviePlayer> MakeMoviePlayer() { return movieFactory ? movieFactory() : nullptr; }
