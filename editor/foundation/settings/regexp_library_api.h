// The regular-expression library's interface, shared by the library (a module loaded at run time)
// and the editor's wrapper that loads it. Commands are Shift-JIS byte strings:
//   "m\xFFpattern\xFFoptions" and "s\xFFpattern\xFFreplacement\xFFoptions", or the slash forms
//   "/pattern/options", "m/pattern/options", "m#pattern#options", "s/pattern/replacement/options".
// Options: k (Shift-JIS, always), m (^ and $ at line breaks), i (ASCII letters without regard to
// case), g (every occurrence).
//
// Each entry returns above 0 for a match or a substitution made, 0 for none and below 0 for an
// error, whose message (at most 79 bytes and a NUL) goes to the caller's 80-byte buffer. The record
// is made by the first call with a null record pointer and released with BRegfree; a null command,
// or the command the record was compiled from, reuses its compiled pattern.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

struct BRegexpPrivate;

struct BREGEXP {
  // A substitution's output: the whole target with the substitutions applied, NUL-terminated.
  char* outp;
  char* outendp;
  // Where the last match and its groups lie in the caller's text (element 0 = the whole match);
  // null for a group that took part in nothing.
  const char** startp;
  const char** endp;
  int nparens;  // number of groups of the pattern
  struct BRegexpPrivate* priv;
};

enum { kBRegexpMessageSize = 80 };

typedef int (*BMatchFunc)(const char* command, const char* targetStart, const char* targetEnd, struct BREGEXP** rxp,
                          char* msg);
typedef int (*BSubstFunc)(const char* command, const char* targetStart, const char* targetEnd, struct BREGEXP** rxp,
                          char* msg);
// The Ex forms take the start of the whole line first, so that ^ and look-behind see the line.
typedef int (*BMatchExFunc)(const char* command, const char* lineStart, const char* targetStart, const char* targetEnd,
                            struct BREGEXP** rxp, char* msg);
typedef int (*BSubstExFunc)(const char* command, const char* lineStart, const char* targetStart, const char* targetEnd,
                            struct BREGEXP** rxp, char* msg);
typedef int (*BTransFunc)(const char* command, const char* targetStart, const char* targetEnd, struct BREGEXP** rxp,
                          char* msg);
typedef int (*BSplitFunc)(const char* command, const char* targetStart, const char* targetEnd, int limit,
                          struct BREGEXP** rxp, char* msg);
typedef void (*BRegfreeFunc)(struct BREGEXP* rx);
typedef const char* (*BRegexpVersionFunc)(void);

int BMatch(const char* command, const char* targetStart, const char* targetEnd, struct BREGEXP** rxp, char* msg);
int BSubst(const char* command, const char* targetStart, const char* targetEnd, struct BREGEXP** rxp, char* msg);
int BMatchEx(const char* command, const char* lineStart, const char* targetStart, const char* targetEnd,
             struct BREGEXP** rxp, char* msg);
int BSubstEx(const char* command, const char* lineStart, const char* targetStart, const char* targetEnd,
             struct BREGEXP** rxp, char* msg);
int BTrans(const char* command, const char* targetStart, const char* targetEnd, struct BREGEXP** rxp, char* msg);
int BSplit(const char* command, const char* targetStart, const char* targetEnd, int limit, struct BREGEXP** rxp,
           char* msg);
void BRegfree(struct BREGEXP* rx);
const char* BRegexpVersion(void);

#ifdef __cplusplus
}
#endif
