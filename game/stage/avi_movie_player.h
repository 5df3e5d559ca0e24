// The game's films: the movie seam filled with the AVI movie player.
#pragma once

#include <memory>

#include "game/stage/movie_player.h"

// A player over a new AVI movie.
std::unique_ptr<MoviePlayer> MakeAviMoviePlayer();
