// The script commands of the black and white fades over the whole picture: BLACKOUT, BLACKIN,
// BLACK, WHITEOUT, WHITEIN and WHITE.
#pragma once

void RegisterScreenFadeCommands();
