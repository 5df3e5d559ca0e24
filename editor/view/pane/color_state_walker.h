// The colour-state machine of the pane painter: walks one document line character by character and
// tells, at each character, which colour state is in effect (comments, strings, numbers, keywords,
// regular-expression keywords, URLs, control bytes) and whether a search hit lies over it.
//
// The painter and the question "what colour is this position" (the bracket highlight asks it) both
// walk with this one machine, so a bracket drawn back in its normal colour is exactly what the
// painter drew there.
#pragma once

class CEditView;
class CKeywordSetTable;
class CRegexHighlighter;
class CWrapLineMgr;
struct TypeSettings;

class CColorStateWalker {
 public:
  struct Sources {
    const TypeSettings* type = nullptr;          // required
    const CWrapLineMgr* layout = nullptr;        // the string scan (its quote-escape rule); required
    CKeywordSetTable* keywords = nullptr;        // null: no keywords
    CRegexHighlighter* regexKeywords = nullptr;  // null: the type uses none
    CEditView* searchHits = nullptr;             // null: no search-hit overlay
    bool regexSearch = false;                    // the hits come from a regular expression
  };

  explicit CColorStateWalker(const Sources& sources) : m_src(sources) {}

  // Starts a document line: line[0, lineLength) is the whole line with its line end, textLength
  // the part before the line end. The walk starts in the colour state the display lines recorded
  // where it starts.
  void BeginLine(const char* line, int lineLength, int textLength, int state);

  // Applies the search-hit overlay and the state rules at the character start pos (positions must
  // come in increasing order). At or past the end of the text only the overlay is applied. Every
  // rule consumes its position: a match of no bytes starts nothing, so the caller always moves on.
  void Visit(int pos);

  int State() const { return m_nState; }
  bool InOverlay() const { return m_bOverlay; }
  // The state whose colours the character at the last visited position is drawn in: the
  // search-hit state over everything while in a hit.
  int DrawState() const;

  // Bytes of the character at pos: 2 for a double-byte character, else 1.
  int CharSize(int pos) const;
  static bool IsKeywordChar(unsigned char c);
  // A byte the painter shows as a control code (never part of a double-byte character).
  static bool IsControlByte(unsigned char c);

 private:
  void Overlay(int pos);
  void NormalChecks(int pos);
  // Ends the state at its token end: true when it ended (the state-0 checks then ran at pos).
  void TokenRules(int pos);
  bool FindHit(int pos);
  int WordLength(int pos) const;
  int KeywordState(int pos);

  Sources m_src;
  const char* m_pLine = nullptr;
  int m_nLineLength = 0;
  int m_nTextLength = 0;

  int m_nState = 0;
  int m_nTokenEnd = -1;  // -1: not found yet
  int m_nSavedState = 0;
  int m_nSavedEnd = -1;
  bool m_bWordStart = true;

  bool m_bOverlay = false;
  int m_nHitStart = -1;
  int m_nHitEnd = -1;
  bool m_bMoreHits = true;
};
