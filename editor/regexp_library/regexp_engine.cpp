#include "editor/regexp_library/regexp_engine.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <oniguruma.h>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "editor/foundation/text/sjis_char.h"
#include "editor/regexp_library/regexp_command.h"
#include "editor/regexp_library/replacement_template.h"
#include "editor/regexp_library/required_literal.h"

struct BRegexpPrivate {
  std::string command;  // what the pattern was compiled from
  bool substitute = false;
  bool global = false;
  OnigRegex regex = nullptr;
  OnigRegion* region = nullptr;
  tovara_regexp::ReplacementTemplate replacement;
  tovara_regexp::LiteralScan literal;  // of the text every match holds
  tovara_regexp::PrefilterGate gate;
  std::vector<const char*> starts;
  std::vector<const char*> ends;
  std::string output;

  ~BRegexpPrivate() {
    if (regex) onig_free(regex);
    if (region) onig_region_free(region, 1);
  }
};

namespace tovara_regexp {
namespace {

// A pattern of nested quantifiers must fail rather than stop the editor, whose painter matches on
// every line it draws.
constexpr unsigned long kRetryLimitInMatch = 1000000;
constexpr unsigned long kRetryLimitInSearch = 10000000;

// The engine is set up by the first call and given back when the library is unloaded, which the
// editor may do and redo many times in one process.
class Engine {
 public:
  void Initialise() {
    std::call_once(m_once, [this] {
      OnigEncoding encodings[] = {ONIG_ENCODING_SJIS};
      onig_initialize(encodings, 1);
      onig_set_retry_limit_in_match(kRetryLimitInMatch);
      onig_set_retry_limit_in_search(kRetryLimitInSearch);
      m_initialised = true;
    });
  }
  ~Engine() {
    if (m_initialised) onig_end();
  }

 private:
  std::once_flag m_once;
  bool m_initialised = false;
};

Engine regexEngineState;
std::atomic<Prefilter> prefilterMode{Prefilter::kWhilePaying};

void InitialiseEngine() { regexEngineState.Initialise(); }

}  // namespace

int Fail(char* msg, std::string_view text) {
  if (msg) {
    size_t n = std::min<size_t>(text.size(), kBRegexpMessageSize - 1);
    // Never leave half a double-byte character at the cut.
    size_t leads = 0;
    while (leads < n && IsSjisLeadByte(static_cast<unsigned char>(text[n - 1 - leads]))) ++leads;
    if (n < text.size() && leads % 2 == 1) --n;
    std::memcpy(msg, text.data(), n);
    msg[n] = 0;
  }
  return -1;
}

namespace {

int FailOnig(char* msg, int code, OnigErrorInfo* info) {
  OnigUChar text[ONIG_MAX_ERROR_MESSAGE_LEN];
  const int n = onig_error_code_to_str(text, code, info);
  return Fail(msg, std::string_view(reinterpret_cast<const char*>(text), n > 0 ? static_cast<size_t>(n) : 0));
}

// The end that the engine may read to: a lead byte whose trail lies past the text's end stays
// outside. Bytes of the lead range pair up from the start of their run, so the run's length tells.
const char* SearchEnd(const char* begin, const char* end) {
  const char* p = end;
  while (p > begin && IsSjisLeadByte(static_cast<unsigned char>(p[-1]))) --p;
  return (end - p) % 2 == 1 ? end - 1 : end;
}

size_t CharSize(const char* p, const char* end) {
  return IsSjisLeadByte(static_cast<unsigned char>(*p)) && p + 1 < end ? 2 : 1;
}

struct RegexDeleter {
  void operator()(OnigRegex regex) const { onig_free(regex); }
};
using RegexPtr = std::unique_ptr<std::remove_pointer_t<OnigRegex>, RegexDeleter>;

// Everything is made before the record changes, so that a failure half-way (an allocation among
// them) leaves the record as it was.
int Compile(BRegexpPrivate& priv, BREGEXP& rx, std::string_view command, char* msg) {
  RegexpCommand parsed;
  std::string error;
  if (!ParseCommand(command, parsed, error)) return Fail(msg, error);
  OnigOptionType options = ONIG_OPTION_NONE;
  if (parsed.multiline) options |= ONIG_OPTION_NEGATE_SINGLELINE;
  if (parsed.ignoreCase) options |= ONIG_OPTION_IGNORECASE | ONIG_OPTION_IGNORECASE_IS_ASCII;
  const auto* pattern = reinterpret_cast<const OnigUChar*>(parsed.pattern.data());
  OnigRegex made = nullptr;
  OnigErrorInfo info;
  const int r =
      onig_new(&made, pattern, pattern + parsed.pattern.size(), options, ONIG_ENCODING_SJIS, ONIG_SYNTAX_PERL, &info);
  if (r != ONIG_NORMAL) return FailOnig(msg, r, &info);
  RegexPtr regex(made);
  std::string text(command);
  ReplacementTemplate replacement;
  replacement.Parse(parsed.replacement);
  LiteralScan literal(RequiredLiteral(parsed.pattern, parsed.ignoreCase), parsed.ignoreCase);
  const int groups = onig_number_of_captures(regex.get());
  std::vector<const char*> starts(static_cast<size_t>(groups) + 1, nullptr);
  std::vector<const char*> ends(static_cast<size_t>(groups) + 1, nullptr);

  if (priv.regex) onig_free(priv.regex);
  priv.regex = regex.release();
  priv.command = std::move(text);
  priv.substitute = parsed.substitute;
  priv.global = parsed.global;
  priv.replacement = std::move(replacement);
  priv.literal = std::move(literal);
  priv.gate = PrefilterGate();
  priv.starts = std::move(starts);
  priv.ends = std::move(ends);
  rx.nparens = groups;
  rx.startp = priv.starts.data();
  rx.endp = priv.ends.data();
  rx.outp = rx.outendp = nullptr;
  return 0;
}

struct RecordDeleter {
  void operator()(BREGEXP* rx) const { Free(rx); }
};

// The record to work with: made on the first call, compiled again only for a different command.
BREGEXP* Prepare(const char* command, BREGEXP** rxp, char* msg, int& result) {
  result = -1;
  if (!rxp) {
    Fail(msg, "no record");
    return nullptr;
  }
  BREGEXP* rx = *rxp;
  // The painter and grep come here once per line with no command: nothing to do but check.
  if (!command) {
    if (!rx || !rx->priv || !rx->priv->regex) {
      Fail(msg, "no compiled pattern");
      return nullptr;
    }
    result = 0;
    return rx;
  }
  InitialiseEngine();
  const std::string_view text(command);
  if (rx && rx->priv && rx->priv->regex && rx->priv->command == text) {
    result = 0;
    return rx;
  }
  std::unique_ptr<BREGEXP, RecordDeleter> made;
  if (!rx) {
    made.reset(new BREGEXP{});
    made->priv = new BRegexpPrivate;
    made->priv->region = onig_region_new();
    if (!made->priv->region) throw std::bad_alloc();
    rx = made.get();
  }
  if (Compile(*rx->priv, *rx, text, msg) != 0) return nullptr;
  if (made) *rxp = made.release();
  result = 0;
  return rx;
}

bool ValidTarget(const char* lineStart, const char* targetStart, const char* targetEnd) {
  return lineStart && targetStart && targetEnd && lineStart <= targetStart && targetStart <= targetEnd;
}

// One search from `from`; the match's pointers go into the record. 1 matched, 0 none, -1 error.
int SearchOnce(BREGEXP& rx, const char* lineStart, const char* from, const char* end, char* msg) {
  BRegexpPrivate& priv = *rx.priv;
  if (from > end) return 0;
  // The engine costs far more per line than a search for the text every match must hold; most
  // lines of a search lack it.
  if (!priv.literal.Empty()) {
    const Prefilter mode = prefilterMode.load(std::memory_order_relaxed);
    if (mode == Prefilter::kAlways || (mode == Prefilter::kWhilePaying && priv.gate.Open())) {
      const bool lacking = !priv.literal.Occurs(lineStart, from, end);
      priv.gate.Record(lacking);
      if (lacking) return 0;
    }
  }
  const auto* str = reinterpret_cast<const OnigUChar*>(lineStart);
  const auto* stop = reinterpret_cast<const OnigUChar*>(end);
  const int r =
      onig_search(priv.regex, str, stop, reinterpret_cast<const OnigUChar*>(from), stop, priv.region, ONIG_OPTION_NONE);
  if (r == ONIG_MISMATCH) return 0;
  if (r < 0) return FailOnig(msg, r, nullptr);
  // After some repeated empty iterations the engine reports a group that ends before it starts:
  // a group took part only when it runs forward. The whole match always took part; it is kept empty
  // at its end.
  for (int i = 0; i <= rx.nparens && i < priv.region->num_regs; ++i) {
    const int begin = priv.region->beg[i];
    const int finish = priv.region->end[i];
    const bool took = begin != ONIG_REGION_NOTPOS && (i == 0 || finish >= begin);
    priv.starts[i] = took ? lineStart + std::min(begin, finish) : nullptr;
    priv.ends[i] = took ? lineStart + finish : nullptr;
  }
  return 1;
}

// Written without allocating, so that the version can always be told.
struct VersionText {
  char text[64];
  VersionText() { std::snprintf(text, sizeof(text), "tovara_regexp 1.0 (Oniguruma %s)", onig_version()); }
};

}  // namespace

int Match(const char* command, const char* lineStart, const char* targetStart, const char* targetEnd, BREGEXP** rxp,
          char* msg) {
  int result;
  BREGEXP* rx = Prepare(command, rxp, msg, result);
  if (!rx) return result;
  if (!ValidTarget(lineStart, targetStart, targetEnd)) return Fail(msg, "bad target");
  return SearchOnce(*rx, lineStart, targetStart, SearchEnd(lineStart, targetEnd), msg);
}

int Substitute(const char* command, const char* lineStart, const char* targetStart, const char* targetEnd,
               BREGEXP** rxp, char* msg) {
  int result;
  BREGEXP* rx = Prepare(command, rxp, msg, result);
  if (!rx) return result;
  if (!ValidTarget(lineStart, targetStart, targetEnd)) return Fail(msg, "bad target");
  BRegexpPrivate& priv = *rx->priv;
  if (!priv.substitute) return Fail(msg, "the command has no replacement");
  rx->outp = rx->outendp = nullptr;  // the output below may move
  const char* end = SearchEnd(lineStart, targetEnd);
  std::string& out = priv.output;
  out.clear();
  const char* copied = targetStart;
  const char* from = targetStart;
  int count = 0;
  for (;;) {
    const int r = SearchOnce(*rx, lineStart, from, end, msg);
    if (r < 0) return r;
    if (r == 0) break;
    // \K in a look-behind may put a match's start before what is already replaced (and before the
    // search's start): what was replaced stays so.
    const char* matchStart = std::max(priv.starts[0], copied);
    const char* matchEnd = std::max(priv.ends[0], matchStart);
    out.append(copied, matchStart);
    priv.replacement.Expand(out, [&](int n) {
      if (n < 0 || n > rx->nparens || !priv.starts[n]) return std::string_view();
      return std::string_view(priv.starts[n], static_cast<size_t>(priv.ends[n] - priv.starts[n]));
    });
    ++count;
    copied = matchEnd;
    if (!priv.global) break;
    if (matchEnd == matchStart) {
      // An empty match takes the next whole character along and goes on after it.
      if (matchEnd >= targetEnd) break;
      const size_t n = CharSize(matchEnd, targetEnd);
      out.append(matchEnd, n);
      copied = from = matchEnd + n;
    } else {
      from = matchEnd;
    }
  }
  if (count == 0) return 0;
  out.append(copied, targetEnd);
  rx->outp = out.data();
  rx->outendp = out.data() + out.size();
  return count;
}

void Free(BREGEXP* rx) {
  if (!rx) return;
  delete rx->priv;
  delete rx;
}

void SetPrefilter(Prefilter mode) { prefilterMode.store(mode, std::memory_order_relaxed); }

const char* Version() {
  static const VersionText text;
  return text.text;
}

int Unsupported(const char* what, char* msg) {
  char text[kBRegexpMessageSize];
  std::snprintf(text, sizeof(text), "%s is not supported", what);
  return Fail(msg, text);
}

}  // namespace tovara_regexp
