// Random commands and targets through the regular-expression library's entry points. The library
// is linked here (objects tovara_regexp_core and tovara_regexp_exports) rather than loaded, so that
// its code is instrumented. Input: one byte of mode, the command up to the first NUL, the target
// after it (in a buffer of exactly its size, so that a read past its end is caught). Each input also
// runs with and without the search for the pattern's literal, which must agree.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "editor/foundation/settings/regexp_library_api.h"
#include "editor/regexp_library/regexp_engine.h"

namespace {

// The entry point the mode names: the two low bits pick it.
int Call(uint8_t mode, const char* command, const char* begin, const char* from, const char* end, BREGEXP** rx,
         char* msg) {
  switch (mode & 3) {
    case 0:
      return BMatch(command, from, end, rx, msg);
    case 1:
      return BSubst(command, from, end, rx, msg);
    case 2:
      return BMatchEx(command, begin, from, end, rx, msg);
    default:
      return BSubstEx(command, begin, from, end, rx, msg);
  }
}

// One call on a record of its own: the result, the groups' places and a substitution's output.
std::string Outcome(uint8_t mode, const std::string& command, const char* begin, const char* from, const char* end) {
  BREGEXP* rx = nullptr;
  char msg[kBRegexpMessageSize] = {};
  const int result = Call(mode, command.c_str(), begin, from, end, &rx, msg);
  std::string outcome = std::to_string(result);
  if (result > 0 && rx) {
    for (int i = 0; i <= rx->nparens; ++i) {
      outcome += ' ' + std::to_string(rx->startp[i] ? rx->startp[i] - begin : -1);
      outcome += ' ' + std::to_string(rx->endp[i] ? rx->endp[i] - begin : -1);
    }
    if (rx->outp) outcome.append(" ").append(rx->outp, rx->outendp);
  }
  BRegfree(rx);
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 8192) return 0;
  const uint8_t mode = data[0];
  const char* rest = reinterpret_cast<const char*>(data + 1);
  const size_t restSize = size - 1;
  const void* nul = std::memchr(rest, 0, restSize);
  const size_t commandSize = nul ? static_cast<size_t>(static_cast<const char*>(nul) - rest) : restSize;
  if (commandSize > 512) return 0;
  const std::string command(rest, commandSize);
  const size_t targetSize = nul ? restSize - commandSize - 1 : 0;
  auto target = std::make_unique<char[]>(targetSize ? targetSize : 1);
  if (targetSize) std::memcpy(target.get(), rest + commandSize + 1, targetSize);
  const char* begin = target.get();
  const char* end = begin + targetSize;
  const char* from = begin + (targetSize ? (mode >> 2) % (targetSize + 1) : 0);

  BREGEXP* rx = nullptr;
  char msg[kBRegexpMessageSize];
  std::memset(msg, 0x7F, sizeof(msg));
  for (int pass = 0; pass < 2; ++pass) {
    const char* cmd = pass == 0 ? command.c_str() : nullptr;  // the second pass reuses the record
    const int result = Call(mode, cmd, begin, from, end, &rx, msg);
    if (result < 0) {
      if (std::memchr(msg, 0, sizeof(msg)) == nullptr) __builtin_trap();  // the message ends within its buffer
      if (!rx) break;
      continue;
    }
    if (result > 0 && rx) {
      for (int i = 0; i <= rx->nparens; ++i) {
        const char* s = rx->startp[i];
        const char* e = rx->endp[i];
        if ((s == nullptr) != (e == nullptr)) __builtin_trap();
        if (s && (s < begin || e > end || s > e)) __builtin_trap();  // matches lie in the caller's text
      }
      if ((mode & 1) && rx->outp) {
        if (*rx->outendp != 0) __builtin_trap();
      }
    }
  }
  BRegfree(rx);

  // Passing over a line that lacks the text every match holds changes nothing, except that a line
  // on which the engine gives up is then no match.
  tovara_regexp::SetPrefilter(tovara_regexp::Prefilter::kNever);
  const std::string alone = Outcome(mode, command, begin, from, end);
  tovara_regexp::SetPrefilter(tovara_regexp::Prefilter::kAlways);
  const std::string filtered = Outcome(mode, command, begin, from, end);
  tovara_regexp::SetPrefilter(tovara_regexp::Prefilter::kWhilePaying);
  if (filtered != alone && !(filtered == "0" && alone == "-1")) __builtin_trap();
  return 0;
}
