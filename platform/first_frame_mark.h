// For the start-up benchmark: the moment the first frame shows. When the environment variable
// VREL_FIRST_FRAME_FD names a file descriptor, the first paint that shows a presented frame writes
// one byte to it and closes it; without the variable nothing happens. Once per process.
#pragma once

namespace platform {

// Called by the paint that showed a presented frame.
void MarkFirstFramePainted();

}  // namespace platform
