// The statement executor: runs the script a little every frame. Waiting is encoded in the current
// token: a statement that waits returns without consuming itself and is dispatched again next frame.
#pragma once

#include <cstdint>

enum class ScriptFlow {
  kNext,   // the statement is done and the token after it is current: go on in this frame
  kYield,  // the run ends for this frame (a wait; END, QUIT or a failed jump outside a true IF)
};

// A statement handler is entered with its keyword (or, for an assignment, the variable) current.
using ScriptHandler = ScriptFlow (*)();

// The handler table covers the tokens 4097 to 4195. It starts with the control statements (the
// assignment, IF, GOTO, GOSUB, RETURN, LABEL, MACRO, "@", ENDMACRO, FOR, NEXT, END, QUIT) and the WAIT
// countdown; the commands fill in the rest. A null handler removes one; other tokens are ignored.
void SetScriptHandler(int32_t token, ScriptHandler handler);
ScriptHandler GetScriptHandler(int32_t token);

// Statements dispatched, or tokens read, after which a frame's run hands control back to the game
// loop even though no statement waited: a script that loops without waiting goes on in the next frame
// instead of freezing the game.
constexpr int kMaxDispatchesPerFrame = 100000;
constexpr uint64_t kMaxTokensPerFrame = 1000000;

// A frame's run also ends once the time it was given is spent. The clock is read between statements,
// at least every this many of them: often while statements take time, seldom while they take none.
constexpr int kMaxDispatchesBetweenClockReadings = 256;

// One frame's run: after END (token 0) the next token is read first. Given a time in milliseconds
// of the program's clock (0: none), the run hands the frame back at the first reading of the clock
// that finds it spent. Returns true.
bool StepScript(uint32_t timeMs = 0);
// The run loop, with the time it may take (0: none). Returns true.
bool ExecuteScript(uint32_t timeMs = 0);

// The line on which the statement being dispatched began, counted from 1 by line feeds; 0 outside a
// statement.
int32_t DispatchedStatementLine();

// Whether the frame loop steps the script; cleared when the script runs off its end.
bool IsScriptRunning();
void SetScriptRunning(bool running);

// What the interpreter needs from the rest of the game. Unset hooks mean no system screen is open, a
// quit request goes nowhere and no editor is opened (the headless harness sets its own).
struct ScriptHost {
  bool (*systemScreenOpen)() = nullptr;  // the settings, save or load screen
  void (*requestQuit)() = nullptr;
  // Debug mode: shows the script in the editor and returns when the editor closes.
  void (*openEditor)(const char* scriptPath, int line) = nullptr;
};
void SetScriptHost(const ScriptHost& host);
const ScriptHost& GetScriptHost();
// The settings, save or load screen is open, as the host answers.
bool SystemScreenOpen();

// Starts a WAIT of the given frames: the token after the statement is kept aside and the countdown
// token becomes current. The countdown resumes with that token when the count reaches 0 or less, so a
// count that truncated to 0 still ends.
void BeginWait(int32_t frames);

// The open THEN levels of this frame's run: a true IF opens one and runs its statements in the same
// loop rather than a nested one; END, QUIT and a failed jump close one instead of ending the run.
void OpenThenLevel();
bool CloseThenLevel();
// A loaded save replaces the whole read position: the THEN levels of the line that loaded it are
// left behind, so an END at the loaded position ends the frame as it would have there.
void CloseAllThenLevels();

// Passes over the rest of a statement: tokens are read until a line feed, ":" or the end of the text
// is current.
void SkipToStatementEnd();

// Told of every statement the run loop hands to its handler, with its token (tests count what a
// script reached). Null: nobody is told.
using DispatchObserver = void (*)(int32_t token);
void SetDispatchObserver(DispatchObserver observer);
