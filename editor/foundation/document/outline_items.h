// The outline of a document: the entries its parser found (functions, classes, headings, tags,
// bookmarked lines), each with its document line, its display line, the text shown, a kind the
// parser chose and a depth for the depth-based tree. The function-list dialog shows them.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "editor/foundation/text/editor_path.h"

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
  COutlineName(const COutlineName&) = delete;
  COutlineName& operator=(const COutlineName&) = delete;

  void Assign(const char* pData, int nDataLen);
  void AssignString(const char* psz);
  // Refers to bytes someone else keeps alive for as long as this name.
  void Refer(std::string_view text) {
    m_own.reset();
    m_view = text;
  }
  std::string_view View() const { return m_view; }
  const char* GetPtr() const { return m_view.data(); }
  int GetLength() const { return static_cast<int>(m_view.size()); }

 private:
  std::string_view m_view;
  std::unique_ptr<char[]> m_own;
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
  // its own and nothing is ever moved. The item of index i is item i % kItemsPerBlock of block
  // i / kItemsPerBlock.
  static constexpr int kItemsPerBlock = 1024;
  static constexpr size_t kTextBlockSize = 64 * 1024;
  COutlineItem* NewItem();
  std::string_view KeepText(std::string_view text);

  std::vector<std::unique_ptr<COutlineItem[]>> m_itemBlocks;  // the first count items are in use
  int m_nCount = 0;
  std::vector<std::unique_ptr<char[]>> m_textBlocks;  // kTextBlockSize bytes each
  size_t m_nTextBlocksUsed = 0;
  char* m_pTextFree = nullptr;  // the free end of the last text block in use
  size_t m_nTextLeft = 0;
  std::vector<std::unique_ptr<char[]>> m_longTexts;  // names longer than a text block
};
