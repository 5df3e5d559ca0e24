// The outline of a document: the entries its parser found (functions, classes, headings, tags,
// bookmarked lines), each with its document line, its display line, the text shown, a kind the
// parser chose and a depth for the depth-based tree. The function-list dialog shows them.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "editor/foundation/text/editor_path.h"
#include "platform/huge_block.h"

// Kinds the parsers give their entries.
namespace outline_kind {
inline constexpr int kPlain = 0;
inline constexpr int kDeclaration = 1;  // C/C++ and Java prototypes
inline constexpr int kDefinition = 2;   // C/C++ and Java bodies
inline constexpr int kClass = 3;
inline constexpr int kStruct = 4;
inline constexpr int kEnum = 5;
inline constexpr int kUnion = 6;
inline constexpr int kNamespace = 7;
inline constexpr int kPlsqlFunctionDecl = 10;
inline constexpr int kPlsqlFunction = 11;
inline constexpr int kPlsqlProcedureDecl = 20;
inline constexpr int kPlsqlProcedure = 21;
inline constexpr int kPlsqlPackageSpec = 31;
inline constexpr int kPlsqlPackageBody = 41;
inline constexpr int kAsmProc = 50;
inline constexpr int kAsmLabel = 51;
inline constexpr int kAsmEndp = 52;
inline constexpr int kPlaceholder = 0x10000;  // a level the dotted text skipped
// Visual Basic: the low four bits say what it is, the next two the scope.
inline constexpr int kVbFunction = 1;
inline constexpr int kVbSub = 2;
inline constexpr int kVbPropertyGet = 3;
inline constexpr int kVbPropertyLet = 4;
inline constexpr int kVbPropertySet = 5;
inline constexpr int kVbConst = 6;
inline constexpr int kVbEnum = 7;
inline constexpr int kVbType = 8;
inline constexpr int kVbEvent = 9;
inline constexpr int kVbPublic = 0x10;
inline constexpr int kVbPrivate = 0x20;
inline constexpr int kVbFriend = 0x30;
inline constexpr int kVbScopeMask = 0x30;
inline constexpr int kVbStatic = 0x100;
inline constexpr int kVbDeclaration = 0x200;
}  // namespace outline_kind

// The text an entry shows. Entries in a list refer to bytes the list keeps in its text pool; an
// entry made on its own keeps its bytes itself. Neither copies nor moves: items stay where they
// were made, so the bytes referred to do too.
class COutlineName {
 public:
  COutlineName() = default;
  ~COutlineName() { Release(); }
  COutlineName(const COutlineName&) = delete;
  COutlineName& operator=(const COutlineName&) = delete;

  void Assign(const char* pData, int nDataLen);
  void AssignString(const char* psz);
  // Refers to bytes someone else keeps alive for as long as this name.
  void Refer(std::string_view text) {
    Release();
    m_pData = text.data();
    m_nLength = static_cast<int>(text.size());
  }
  std::string_view View() const { return std::string_view(m_pData, static_cast<size_t>(m_nLength)); }
  const char* GetPtr() const { return m_pData; }
  int GetLength() const { return m_nLength; }

 private:
  // A pointer, a length and a flag rather than a view and an owner: a list fills hundreds of
  // thousands of items, and every byte of an item is a byte of fresh memory on the first parse.
  void Release() {
    if (m_bOwn) delete[] m_pData;
    m_bOwn = false;
  }
  const char* m_pData = nullptr;
  int m_nLength = 0;
  bool m_bOwn = false;  // m_pData came from new[] here
};

struct COutlineItem {
  int m_nFileLine = 0;     // 1-based document line
  int m_nDisplayLine = 0;  // 1-based display line
  COutlineName m_cName;
  int m_nKind = 0;
  int m_nDepth = 0;
};

class COutlineItemList {
 public:
  COutlineItemList() = default;
  ~COutlineItemList();
  COutlineItemList(const COutlineItemList&) = delete;
  COutlineItemList& operator=(const COutlineItemList&) = delete;

  void Append(int nFileLine, int nDisplayLine, std::string_view name, int nKind, int nDepth);
  // Takes the item over: the list keeps its fields and its name in its own places.
  void Push(std::unique_ptr<COutlineItem> item);
  // Null when i is outside 0..count-1. The item stays where it is until Clear.
  COutlineItem* GetAt(int i) const;
  int GetCount() const { return m_nCount; }
  // Empties the list. The blocks that held the items and their names are kept for the next
  // parse: the list lives as long as the process and is refilled on every outline command, and
  // memory fresh from the system costs more to fill than the parse that fills it.
  void Clear();

  char m_szPath[kMaxPath] = {};  // the document's path, for the copied text

 private:
  // A parse appends an entry every few lines of a large document: entries are made in blocks, in
  // order, and their names copied into blocks of text, so that an append costs no allocation of
  // its own and nothing is ever moved. Item block b holds kFirstBlockItems << b items, so a long
  // list takes few blocks and its large ones are filled in huge pages; an item is made when the
  // count first reaches it, so the pages past the count are never touched. Text blocks grow the
  // same way up to kMaxTextBlockSize.
  static constexpr int kFirstBlockShift = 10;
  static constexpr int kFirstBlockItems = 1 << kFirstBlockShift;
  static constexpr size_t kFirstTextBlockSize = 64 * 1024;
  static constexpr size_t kMaxTextBlockSize = 4 * 1024 * 1024;
  struct TextBlock {
    huge_block::Ptr bytes;
    size_t size;
  };
  COutlineItem* ItemAt(int i) const;
  COutlineItem* NewItem();
  std::string_view KeepText(std::string_view text);

  std::vector<huge_block::Ptr> m_itemBlocks;
  int m_nCount = 0;  // items in use
  int m_nMade = 0;   // items made: the first count are in use, the rest wait for the next parse
  std::vector<TextBlock> m_textBlocks;
  size_t m_nTextBlocksUsed = 0;
  char* m_pTextFree = nullptr;  // the free end of the last text block in use
  size_t m_nTextLeft = 0;
  std::vector<std::unique_ptr<char[]>> m_longTexts;  // names longer than the first text block
};
