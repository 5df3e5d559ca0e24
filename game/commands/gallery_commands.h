// The script commands of the galleries: SETSCENE, SCENEMODE, SCENEMODEEND, and CGMODE and CGMODEEND,
// which only read their words.
#pragma once

void RegisterGalleryCommands();
