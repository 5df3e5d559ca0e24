// Memory blocks that the program lends to the file layer as files. A block is read under its
// name, which begins with "!"; the name is a number handed out here, never an address, so a name
// made up from text can only reach a block that the program itself lent.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Lends a block for as long as the object lives. The block stays the caller's: the file layer
// neither copies nor frees it, and it must outlive every read of it.
class CMemoryFile {
 public:
  explicit CMemoryFile(std::span<unsigned char> block);
  CMemoryFile(const CMemoryFile&) = delete;
  CMemoryFile& operator=(const CMemoryFile&) = delete;
  ~CMemoryFile();

  // "!" followed by the block's number and size in hexadecimal, separated by a comma.
  const std::string& Name() const { return m_name; }

 private:
  uint32_t m_id;
  std::string m_name;
};

// The block lent under a "!" name: 0 found, 1 no block of that name, 6 not a name of the form
// "!number,size" (two hexadecimal numbers).
int FindMemoryFile(std::string_view name, std::span<unsigned char>& block);
