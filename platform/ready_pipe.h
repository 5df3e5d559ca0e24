// The child's side of "ready for input": a process started by platform/process.h with a ready pipe
// finds the pipe's write end under the number the environment variable VREL_READY_FD names, and
// closes it when its message pump first waits for input. The starter reads end of file then (or
// when the child ends, which closes the pipe too).
//
// Contract:
// - AdoptReadyPipe takes the descriptor and removes the variable from the environment, so that
//   nothing the process starts later sees a number that is not its own. Call it first thing in
//   main, before any thread runs (the environment is changed). Once per process; later calls do
//   nothing. A number that is not a descriptor open for writing on a pipe is ignored (never
//   closed), so a stray variable cannot close a descriptor of the process's own. The adopted
//   descriptor is not passed on to programs the process starts.
// - MarkInputIdle closes the adopted descriptor, once; the pump calls it each time it is about to
//   wait for input (GetMessage finding nothing, PeekMessage finding nothing), and so does a message
//   box before it waits for its answer. It adopts first when main did not, so the wait still ends
//   for a process whose main forgot.
#pragma once

namespace platform {

inline constexpr char kReadyPipeVariable[] = "VREL_READY_FD";

void AdoptReadyPipe();
void MarkInputIdle();

// Whether an adopted ready pipe is still open (tests).
bool ReadyPipePending();

}  // namespace platform
