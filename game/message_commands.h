// OPENWINDOW, CLOSEWINDOW, VOICEPREFIX, VOICEONCE, AUTOPLAYON, AUTOPLAYOFF, SELECT, GETSELECT,
// STARTSCENEREPLAY and ENDSCENEREPLAY, with the message text and its page waits.
#pragma once

void RegisterMessageCommands();
