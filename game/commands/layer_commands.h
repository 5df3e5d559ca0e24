// The script commands of the picture layers: PICTURE, OVERLAP, CLEARPICTURE, CAMERA, MOVE, SETKEY,
// FADEOUT, FADEIN, FADE, EFFECT, TRANSITION, QUAKE, the effect keywords that do nothing, MOVIE and
// STOPMOVIE.
#pragma once

void RegisterLayerCommands();
