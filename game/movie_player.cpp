#include "game/movie_player.h"

namespace {
MoviePlayerFactory g_factory = nullptr;
}  // namespace

void SetMoviePlayerFactory(MoviePlayerFactory factory) { g_factory = factory; }

std::unique_ptr<MoviePlayer> MakeMoviePlayer() { return g_factory ? g_factory() : nullptr; }
