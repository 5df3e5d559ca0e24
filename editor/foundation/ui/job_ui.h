// The window side of the text jobs' progress interface (editor/foundation/text/job_progress.h):
// the message pump, and the cancel dialog that a large replace shows.
#pragma once

// Installs it; the editor's processes do so at start.
void InstallJobUi();
