// The script's waits counted in frames: WAIT.
#pragma once

void RegisterTimeCommands();
