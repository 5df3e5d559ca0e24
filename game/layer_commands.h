// The script commands of the picture layers: PICTURE, OVERLAP, CLEARPICTURE, CAMERA, MOVE, SETKEY,
// FADEOUT, FADEIN, FADE, EFFECT, TRANSITION, QUAKE and the effect keywords that do nothing.
#pragma once

void RegisterLayerCommands();
