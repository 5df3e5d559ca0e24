// Where the jump command puts the caret: on a line given by its number, counted in display rows or
// in document lines, or (PL/SQL mode) on the line a database names in its compiler messages, which
// counts the lines of a stored unit from the unit's first line but leaves out blank lines and empty
// lines of block comments. Window-free: it reads the document's lines and display lines only.
#pragma once

#include <cstdint>
#include <string_view>

class CDocLineMgr;
class CWrapLineMgr;

// What a jump asks for: the jump dialog's values (or a macro's) and the shared jump unit.
struct JumpRequest {
  int nLineNum = 0;            // the number asked for; anything below 1 means 1
  bool bDocumentLines = true;  // numbers count document lines, else display rows
  bool bPlsql = false;         // count as the database does, from the block's first line
  int nPlsqlBaseLine = 1;      // that first line (1-based, in the unit below)
  // The first line is numbered as the type numbers lines (document lines, else display rows): the
  // numbers beside the text and the dialog's package rows give it in that unit.
  bool bPlsqlBaseInDocumentLines = true;
  int nPlsqlCountStart = 1;    // one more than the count the first line starts from
};

// The scan state a PL/SQL line leaves for the next one.
enum class PlsqlLexState { kNormal, kBlockComment, kSingleQuoted, kDoubleQuoted };

// Scans one line (its line end included or not) from the state the line before left and says
// whether the database counts it: a line with a "--" comment, a line where something other than a
// blank or a comment starts (a quote opening a string too) or a block comment ends, and a line that
// ends inside a block comment with anything but blanks on it.
bool PlsqlLineCounts(std::string_view line, PlsqlLexState* state);

// Scans document lines from nFirstLine (0-based; a negative one is the first) with the count at
// nCountBefore; the line whose count reaches nTarget, else the last line (also when nFirstLine lies
// past the end). -1 for a document without lines.
int FindPlsqlLine(CDocLineMgr& lines, int nFirstLine, int64_t nCountBefore, int nTarget);

// The display row whose column 0 the jump goes to; -1 for an empty document.
int JumpTargetRow(CDocLineMgr& lines, CWrapLineMgr& layout, const JumpRequest& request);
