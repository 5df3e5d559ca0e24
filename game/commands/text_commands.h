// PRINT, INPUT, SUN and FILM.
#pragma once

void RegisterTextCommands();
