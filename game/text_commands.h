// PRINT, SUN and FILM.
#pragma once

void RegisterTextCommands();
