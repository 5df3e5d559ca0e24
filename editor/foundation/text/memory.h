// The editor's byte buffer: the text of a line, of an edit, of the clipboard, and the input and
// output of every character-code conversion. It keeps one NUL after its data so that the data can
// always go to C-string functions; a null data pointer reads as the empty text.
//
// Storage comes from the C heap and grows exactly to what is asked. A block once grown is kept:
// assigning a text that fits, and converting between codes, reuse it; Clear gives it back. When
// growth fails, the user is told, the buffer is emptied (its data is lost) and the operation that
// asked for it does nothing more; no operation throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class CMemory {
 public:
  CMemory() = default;
  CMemory(const char* pData, int nDataLen);
  CMemory(const CMemory& other);
  ~CMemory();
  // Every document line owns one on the heap: they come from blocks (object_blocks.h). The text
  // itself stays a block of the C heap.
  static void* operator new(size_t nSize);
  static void operator delete(void* p, size_t nSize) noexcept;

  CMemory& operator=(char c);
  CMemory& operator=(const CMemory& other);
  void Assign(const char* pData, int nDataLen);
  void AssignString(const char* psz);
  void AssignFrom(const CMemory& other);
  void Clear();

  // Each returns the data pointer (null when growth failed).
  char* Append(const char* pData, int nDataLen);
  char* AppendString(const char* psz);
  char* AppendFrom(const CMemory& other);
  CMemory& operator+=(const CMemory& other);
  CMemory& operator+=(char c);
  // Copies bytes after the data into room the caller has made with AllocBuffer; bytes that do not
  // fit the block (or with no block at all) are not copied and nothing changes.
  void AppendRaw(const char* pData, int nDataLen);

  // Replaces nDelLen bytes at nPos by the bytes given, within the block the buffer has; false, with
  // nothing changed, when the result would not fit it (or the bytes lie inside it). It never
  // allocates, so an edit can do it after everything that might fail has been done.
  bool ReplaceInBlock(int nPos, int nDelLen, const char* pData, int nDataLen);

  // The most bytes a buffer holds (its block holds one more, for the NUL).
  static constexpr int64_t kMaxDataLength = INT32_MAX - 1;

  // Makes the block hold at least nNewDataLen + 1 bytes. Lengths above kMaxDataLength take the
  // failure path, as a failed allocation does.
  void AllocBuffer(int64_t nNewDataLen);

  char* GetPtr() const { return m_pData; }
  int GetLength() const { return m_nLength; }
  int GetCapacity() const { return m_nCapacity; }
  std::string_view View() const { return m_pData ? std::string_view(m_pData, m_nLength) : std::string_view(); }

  // Character stepping over bytes (never over a CMemory): see sjis_char.h for the rules.
  static int CharSizeAt(const char* pText, int nLen, int nPos);
  static const char* NextCharPos(const char* pStart, int nLen, const char* p);
  // The start of the character before p, as a walk from pStart finds it; pStart at pStart.
  static const char* PrevCharPos(const char* pStart, int nLen, const char* p);
  // The start of the character that holds byte nPos (nPos itself outside 0 < nPos < nLen).
  static int CharStartAt(const char* pText, int nLen, int nPos);
  static bool SameContent(const CMemory& a, const CMemory& b);

  // Replace every occurrence of find (not empty) by replace; matches do not overlap and the
  // replacement is not scanned again. The Sjis form never starts a match on a trail byte.
  void ReplaceAllBytes(const char* pszFind, const char* pszReplace);
  void ReplaceAllSjis(const char* pszFind, const char* pszReplace);

  // Character codes (code numbers in char_codes.h). Each conversion replaces the whole content and
  // returns how many characters it could not convert.
  int SJIStoJIS();
  int JIStoSJIS(bool bMimeDecode);
  int SJIStoEUC();
  int EUCtoSJIS();
  int SJIStoUNICODE();
  int SJIStoUNICODEBE();
  int UNICODEtoSJIS();
  int UNICODEBEtoSJIS();
  int SJIStoUTF8();
  int UTF8toSJIS();
  int SJIStoUTF7();
  int UTF7toSJIS();
  int UNICODEtoUTF8();
  int UNICODEtoUTF7();
  void SwapByteOrder();
  // Detects the code (code_detect.h) and converts to Shift-JIS.
  int AutoToSJIS();
  // Line length 0 means no line breaks.
  void Base64Encode(int nLineLen, bool bPadding);
  void Base64Decode();
  // fileName gets the name of the "begin " line (empty without one).
  void Uudecode(std::string& fileName);

  // Transformations of the whole content, character by character; none reports an error, and one
  // that cannot get its working room leaves the content as it was.
  // Letter case of ASCII and of the full-width Latin, Greek and Cyrillic letters (text_case.cpp).
  void ToLower();
  void ToUpper();
  // Half width to full width (text_width.cpp). nKind: FULLWIDTH_KATAKANA, FULLWIDTH_HIRAGANA (kana
  // come out as hiragana) or FULLWIDTH_ALNUM (ASCII only); bHalfKanaOnly converts only half-width
  // katakana and leaves every double-byte character alone. A half-width kana followed by its sound
  // mark becomes the one voiced or semi-voiced character. Any other kind widens as katakana do but
  // moves no kana between the syllabaries, and a half-width u keeps its voiced mark apart.
  enum { FULLWIDTH_KATAKANA = 0, FULLWIDTH_HIRAGANA = 1, FULLWIDTH_ALNUM = 2 };
  void ToFullWidth(int nKind, bool bHalfKanaOnly);
  // Full width to half width; nFlags 0 takes every character, else the sum of HALFWIDTH_KATAKANA,
  // HALFWIDTH_HIRAGANA (each with the sound and long-vowel marks that follow the kana) and
  // HALFWIDTH_ALNUM (digits and Latin letters; other bits add nothing). A voiced kana becomes its
  // base and the sound mark.
  enum { HALFWIDTH_KATAKANA = 1, HALFWIDTH_HIRAGANA = 2, HALFWIDTH_ALNUM = 4 };
  void ToHalfWidth(int nFlags);
  // Tabs and spaces (text_tabs.cpp), columns counted in bytes from each line's start; a width
  // below 1 changes nothing.
  void TABToSPACE(int nTabWidth);
  void SPACEToTAB(int nTabWidth);

  static int DetectCode(const char* pData, int nDataLen);
  static int DetectFileCode(std::string_view path);

  // The allocator behind the blocks (realloc's contract; a null pointer allocates). Tests replace
  // it to make growth fail; returns the previous one.
  using ReallocFunc = void* (*)(void*, size_t);
  static ReallocFunc SetReallocForTesting(ReallocFunc realloc);
  // Other blocks of the C heap that belong with the text (the undo records' arrays) come from the
  // same allocator, so that one test seam makes them fail too. Blocks go back with std::free.
  static void* ReallocBlock(void* pBlock, size_t nBytes);
  // How many times growth has failed in this process. A failed conversion leaves its text as it
  // was, which a file job must not take for converted text: it compares the count around the call.
  static uint64_t GetAllocFailureCount();

 private:
  friend class CodeWriter;

  void AllocFailed(int64_t nNewDataLen);
  void SetLength(int nLen);
  void TakeOver(CMemory& other);
  // Makes the block hold the data and ahead more bytes and moves the data to the block's end;
  // returns where it now starts (null when the block could not grow: the data is then unchanged).
  const char* MoveInputBehind(int64_t ahead);

  int32_t m_nCapacity = 0;
  char* m_pData = nullptr;
  int32_t m_nLength = 0;
};
