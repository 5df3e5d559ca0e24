// BGM, BGMONCE, STOPBGM, SE, LOOPSE and STOPSE.
#pragma once

void RegisterSoundCommands();
