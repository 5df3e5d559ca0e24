#include "game/script/script_executor.h"

#include <algorithm>
#include <array>

#include "game/script/engine_state.h"
#include "game/script/script_control_flow.h"
#include "game/script/script_error.h"
#include "game/script/script_lexer.h"
#include "game/script/script_text.h"
#include "game/script/script_tokens.h"
#include "platform/clock.h"
#include "platform/sjis_literal.h"

namespace {

int32_t waitResumeToken = kTokenEnd;

// The WAIT countdown: the first decrement falls in the frame of the WAIT itself.
ScriptFlow RunWaitCountdown() {
  int32_t& count = EngineState.presentation.waitCount;
  if (count > 0) --count;
  if (count > 0) return ScriptFlow::kYield;
  ScriptLexer.token = waitResumeToken;
  return ScriptFlow::kNext;
}

constexpr size_t kHandlerCount = kLastStatementToken - kFirstStatementToken + 1;
using HandlerTable = std::array<ScriptHandler, kHandlerCount>;

constexpr size_t Slot(int32_t token) { return static_cast<size_t>(token - kFirstStatementToken); }

constexpr HandlerTable ControlHandlers() {
  HandlerTable table{};
  table[Slot(kTokenIdentifier)] = RunAssignment;
  table[Slot(kTokenIf)] = RunIf;
  table[Slot(kTokenGoto)] = RunGoto;
  table[Slot(kTokenGosub)] = RunGosub;
  table[Slot(kTokenReturn)] = RunReturn;
  table[Slot(kTokenLabel)] = RunLabel;
  table[Slot(kTokenMacro)] = RunMacroDefinition;
  table[Slot(kTokenMacroCall)] = RunMacroCall;
  table[Slot(kTokenEndMacro)] = RunEndMacro;
  table[Slot(kTokenFor)] = RunFor;
  table[Slot(kTokenNext)] = RunNext;
  table[Slot(kTokenEndStatement)] = RunEnd;
  table[Slot(kTokenQuit)] = RunQuit;
  table[Slot(kTokenWaitCountdown)] = RunWaitCountdown;
  return table;
}

HandlerTable handlerTable = ControlHandlers();
ScriptHost scriptHost;
bool scriptRunning = false;
int32_t openThenLevels = 0;
int32_t statementLine = 0;
DispatchObserver dispatchObserver = nullptr;

bool InTable(int32_t token) { return token >= kFirstStatementToken && token <= kLastStatementToken; }

// Keywords that are parts of statements, not statements: where a statement should begin they are
// skipped without a word, like any stray token.
bool IsQuietlySkipped(int32_t token) {
  switch (token) {
    case kTokenNumber:
    case kTokenString:
    case kTokenThen:
    case kTokenAnd:
    case kTokenOr:
    case kTokenNot:
    case kTokenMod:
    case kTokenTo:
    case kTokenStep:
    case kTokenInt:
    case kTokenLoopMotion:
    case kTokenCheckCg:
    case kTokenCheckScene:
    case kTokenInputWait:
      return true;
    default:
      return !InTable(token);
  }
}

// A statement whose handler is missing: reported once, and its arguments up to the end of the
// statement are passed over, so that they are not taken for statements of their own.
void SkipUnhandledStatement() {
  ScriptError("この命令は使えません"_sj);
  SkipToStatementEnd();
}

// The time a run may take, read from the program's clock. A reading costs about a fifth of a light
// statement, so the gap between readings doubles while the clock shows no time passing and halves
// when it does: heavy statements are timed almost one by one, light ones every few hundred.
class RunTimer {
 public:
  explicit RunTimer(uint32_t timeMs) : m_limit(timeMs) {
    if (m_limit != 0) m_start = m_last = platform::NowMs();
  }

  bool Spent() {
    if (m_limit == 0 || --m_untilReading > 0) return false;
    const uint32_t now = platform::NowMs();
    if (now - m_start >= m_limit) return true;
    m_gap = now == m_last ? std::min(m_gap * 2, kMaxDispatchesBetweenClockReadings) : std::max(m_gap / 2, 1);
    m_last = now;
    m_untilReading = m_gap;
    return false;
  }

 private:
  uint32_t m_limit;
  uint32_t m_start = 0;
  uint32_t m_last = 0;
  int m_gap = 1;
  // The first reading comes after the first statement: a run always moves the script on, however
  // the clock ticks.
  int m_untilReading = 2;
};

// The open THEN levels belong to one run; a run started while another is under way (a frame drawn
// from inside a command) keeps its own.
class RunScope {
 public:
  RunScope() : m_saved(openThenLevels), m_savedLine(statementLine) { openThenLevels = 0; }
  ~RunScope() {
    openThenLevels = m_saved;
    statementLine = m_savedLine;
  }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

 private:
  int32_t m_saved;
  int32_t m_savedLine;
};

}  // namespace

void SetScriptHandler(int32_t token, ScriptHandler handler) {
  if (InTable(token)) handlerTable[Slot(token)] = handler;
}

ScriptHandler GetScriptHandler(int32_t token) { return InTable(token) ? handlerTable[Slot(token)] : nullptr; }

int32_t DispatchedStatementLine() { return statementLine; }

bool IsScriptRunning() { return scriptRunning; }
void SetScriptRunning(bool running) { scriptRunning = running; }

void SetScriptHost(const ScriptHost& host) { scriptHost = host; }
bool SystemScreenOpen() { return scriptHost.systemScreenOpen && scriptHost.systemScreenOpen(); }
const ScriptHost& GetScriptHost() { return scriptHost; }

void OpenThenLevel() { ++openThenLevels; }

bool CloseThenLevel() {
  if (openThenLevels <= 0) return false;
  --openThenLevels;
  return true;
}

void CloseAllThenLevels() { openThenLevels = 0; }

void SkipToStatementEnd() {
  do {
    GetToken();
  } while (ScriptLexer.token != kTokenLineFeed && ScriptLexer.token != ':' && ScriptLexer.token != kTokenEnd);
}

void SetDispatchObserver(DispatchObserver observer) { dispatchObserver = observer; }

void BeginWait(int32_t frames) {
  EngineState.presentation.waitCount = frames;
  waitResumeToken = GetToken();
  ScriptLexer.token = kTokenWaitCountdown;
}

bool StepScript(uint32_t timeMs) {
  if (ScriptLexer.token == kTokenEnd) GetToken();
  return ExecuteScript(timeMs);
}

bool ExecuteScript(uint32_t timeMs) {
  RunScope scope;
  RunTimer timer(timeMs);
  const uint64_t tokensBefore = ScriptLexer.tokensRead;
  for (int dispatched = 0; dispatched < kMaxDispatchesPerFrame; ++dispatched) {
    if (!EngineState.interpreter.runThrough && SystemScreenOpen()) return true;
    if (ScriptLexer.tokensRead - tokensBefore >= kMaxTokensPerFrame) return true;
    if (timer.Spent()) return true;
    const int32_t token = ScriptLexer.token;
    if (token == kTokenEnd && ScriptLexer.current == '\0') {
      // The end of the text: nothing more can run. The script stops; the game goes on drawing.
      scriptRunning = false;
      return true;
    }
    if (ScriptHandler handler = GetScriptHandler(token)) {
      statementLine = static_cast<int32_t>(ScriptText.LineFeedsBefore(ScriptLexer.tokenStart)) + 1;
      if (dispatchObserver) dispatchObserver(token);
      const ScriptFlow flow = handler();
      statementLine = 0;
      if (flow == ScriptFlow::kYield) return true;
    } else if (IsQuietlySkipped(token)) {
      GetToken();
    } else {
      SkipUnhandledStatement();
    }
  }
  return true;
}
