// The library's entry points, as the editor looks them up by name. Test builds leave some out to
// show how the editor copes with an older or broken library.
#include <exception>
#include <new>

#include "editor/foundation/settings/regexp_library_api.h"
#include "editor/regexp_library/regexp_engine.h"

#define TOVARA_EXPORT __attribute__((visibility("default")))

namespace {

// No exception may leave the library: the caller is C, and one thrown through it ends the process.
template <typename Body>
int Guarded(char* msg, Body body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return tovara_regexp::Fail(msg, "out of memory");
  } catch (const std::exception& e) {
    return tovara_regexp::Fail(msg, e.what());
  } catch (...) {
    return tovara_regexp::Fail(msg, "internal error");
  }
}

}  // namespace

extern "C" {

TOVARA_EXPORT int BMatch(const char* command, const char* targetStart, const char* targetEnd, BREGEXP** rxp,
                         char* msg) {
  return Guarded(msg, [&] { return tovara_regexp::Match(command, targetStart, targetStart, targetEnd, rxp, msg); });
}

TOVARA_EXPORT int BSubst(const char* command, const char* targetStart, const char* targetEnd, BREGEXP** rxp,
                         char* msg) {
  return Guarded(msg,
                 [&] { return tovara_regexp::Substitute(command, targetStart, targetStart, targetEnd, rxp, msg); });
}

#ifndef TOVARA_REGEXP_WITHOUT_EX
TOVARA_EXPORT int BMatchEx(const char* command, const char* lineStart, const char* targetStart, const char* targetEnd,
                           BREGEXP** rxp, char* msg) {
  return Guarded(msg, [&] { return tovara_regexp::Match(command, lineStart, targetStart, targetEnd, rxp, msg); });
}

TOVARA_EXPORT int BSubstEx(const char* command, const char* lineStart, const char* targetStart, const char* targetEnd,
                           BREGEXP** rxp, char* msg) {
  return Guarded(msg, [&] { return tovara_regexp::Substitute(command, lineStart, targetStart, targetEnd, rxp, msg); });
}
#endif

TOVARA_EXPORT int BTrans(const char*, const char*, const char*, BREGEXP**, char* msg) {
  return Guarded(msg, [&] { return tovara_regexp::Unsupported("BTrans", msg); });
}

#ifndef TOVARA_REGEXP_WITHOUT_BSPLIT
TOVARA_EXPORT int BSplit(const char*, const char*, const char*, int, BREGEXP**, char* msg) {
  return Guarded(msg, [&] { return tovara_regexp::Unsupported("BSplit", msg); });
}
#endif

// Neither can throw: releasing runs destructors only, and the version text is made without
// allocating.
TOVARA_EXPORT void BRegfree(BREGEXP* rx) { tovara_regexp::Free(rx); }

TOVARA_EXPORT const char* BRegexpVersion() { return tovara_regexp::Version(); }

}  // extern "C"
