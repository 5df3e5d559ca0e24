// Every allocation the library makes may fail. This program's operator new is replaced so that the
// n-th allocation from a chosen point throws; each entry point must then return its error with a
// message, keep the record it was given, make one only with its pattern compiled, and leak nothing.
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <new>
#include <string>

#include "editor/foundation/settings/regexp_library_api.h"

namespace {

thread_local long allocationsBeforeFailure = -1;  // below 0: none fails

}  // namespace

void* operator new(std::size_t size) {
  if (allocationsBeforeFailure >= 0 && allocationsBeforeFailure-- == 0) throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

const std::string kText = "key = value; key = other";

struct Call {
  const char* name;
  bool reusesRecord;  // called on a record made beforehand
  int (*run)(BREGEXP** rx, char* msg);
  int result;
  const char* output;  // of a substitution
};

int MatchNew(BREGEXP** rx, char* msg) {
  return BMatch("/(\\w+) = (\\w+)/k", kText.data(), kText.data() + kText.size(), rx, msg);
}
int SubstNew(BREGEXP** rx, char* msg) {
  return BSubst("s/(\\w+) = (\\w+)/$2 := $1/kg", kText.data(), kText.data() + kText.size(), rx, msg);
}
int MatchExNew(BREGEXP** rx, char* msg) {
  return BMatchEx("/(?<=; )key/k", kText.data(), kText.data() + 2, kText.data() + kText.size(), rx, msg);
}
int SubstExNew(BREGEXP** rx, char* msg) {
  return BSubstEx("s/key/KEY/kg", kText.data(), kText.data() + 2, kText.data() + kText.size(), rx, msg);
}
int SubstOtherCommand(BREGEXP** rx, char* msg) {
  return BSubst("s/(v)alue/[$1]/k", kText.data(), kText.data() + kText.size(), rx, msg);
}
int Trans(BREGEXP** rx, char* msg) { return BTrans("tr/a/b/", kText.data(), kText.data() + 1, rx, msg); }
int Split(BREGEXP** rx, char* msg) { return BSplit("/;/", kText.data(), kText.data() + 1, 0, rx, msg); }

TEST(RegexpLibraryOutOfMemory, EveryEntryPointFailsCleanly) {
  const Call calls[] = {
      {"BMatch", false, MatchNew, 1, nullptr},
      {"BSubst", false, SubstNew, 2, "value := key; other := key"},
      {"BMatchEx", false, MatchExNew, 1, nullptr},
      {"BSubstEx", false, SubstExNew, 1, "y = value; KEY = other"},
      {"BSubst with another command", true, SubstOtherCommand, 1, "key = [v]; key = other"},
      {"BTrans", false, Trans, -1, nullptr},
      {"BSplit", false, Split, -1, nullptr},
  };
  for (const Call& call : calls) {
    int failures = 0;
    for (long n = 0;; ++n) {
      BREGEXP* rx = nullptr;
      char msg[kBRegexpMessageSize] = {};
      if (call.reusesRecord) {
        ASSERT_EQ(SubstNew(&rx, msg), 2) << call.name;
      }
      BREGEXP* const before = rx;
      allocationsBeforeFailure = n;
      int result = call.run(&rx, msg);
      const bool failed = allocationsBeforeFailure < 0;
      allocationsBeforeFailure = -1;
      if (failed) {
        ++failures;
        EXPECT_EQ(result, -1) << call.name << " failing allocation " << n;
        EXPECT_STREQ(msg, "out of memory") << call.name << " failing allocation " << n;
        // A record given stays the caller's; one is made only with its pattern compiled, and then
        // the same call succeeds on it.
        if (before) {
          EXPECT_EQ(rx, before) << call.name << " failing allocation " << n;
        }
        if (!rx) continue;
        msg[0] = 0;
        result = call.run(&rx, msg);
      }
      EXPECT_EQ(result, call.result) << call.name << " failing allocation " << n << ": " << msg;
      if (call.output && result > 0) {
        EXPECT_EQ(std::string(rx->outp, rx->outendp), call.output) << call.name << " failing allocation " << n;
      }
      BRegfree(rx);
      if (!failed) break;
    }
    if (call.result > 0) {
      EXPECT_GT(failures, 0) << call.name << " allocates nothing that could fail";
    }
  }
}

}  // namespace
