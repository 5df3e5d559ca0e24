// A whole file in memory: read from a plain file, a memory block or a packed archive entry,
// unscrambled when stored scrambled; also writes files and reads text line by line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sdk/framework/ring_ptr.h"

class IFile {
 public:
  virtual int OpenText(const std::string& name, const char* mode) = 0;
  virtual int Write(const std::string& name, const void* data, uint32_t size) = 0;
  virtual int PutString(const std::string& text) = 0;
  virtual int Close() = 0;
  virtual FILE* GetFile() = 0;
  virtual int Read(const std::string& name) = 0;
  virtual std::string GetFileName() const = 0;
  virtual std::string GetBaseName() const = 0;
  virtual std::string GetExtension() const = 0;
  virtual unsigned char* GetData() const = 0;
  virtual uint32_t GetSize() const = 0;
  virtual int ReadLine(std::string& line) = 0;
  virtual int ReadLineBuf(char* out, unsigned n) = 0;
  virtual int ReadQuotedText(char* out, int n) = 0;
  virtual void Rewind() = 0;
  virtual int ReadBytes(void* out, unsigned n) = 0;
  virtual unsigned ReadUpTo(void* out, unsigned n) = 0;
  virtual uint32_t Tell() const = 0;
  virtual bool Seek(unsigned offset) = 0;
  virtual int Save(const std::string& name) = 0;
  virtual int Scramble() = 0;
  virtual int Delete(const std::string& name) = 0;
  virtual int MakeRealFile() = 0;
  virtual int ReadToVector(const std::string& name, std::vector<unsigned char>& out) = 0;
  virtual int WriteLines(const std::string& name, const std::vector<std::string>& lines) = 0;
  virtual int WriteVector(const std::string& name, const std::vector<unsigned char>& data) = 0;
  virtual ~IFile() = default;
};

// Folders tried, in order, with "/" and the name appended, when a name cannot be read as given.
// Empty at start; nothing in the program adds to it.
CStringVectorPtr& FileSearchPaths();

// Result codes of CFileBuffer::Read.
enum : int {
  kReadEmptyName = -1,
  kReadOk = 0,
  kReadNotFound = 1,      // neither a plain file nor an archive entry (nor a lent memory block)
  kReadNoSize = 2,        // the plain file's size cannot be taken
  kReadNoMemory = 3,      // no memory for the buffer (or a file of 4 GiB or more)
  kReadFailed = 4,        // reading the file or the archive entry failed, or the entry is damaged
  kReadCloseFailed = 5,   // closing the file failed
  kReadBadMemoryName = 6  // a "!" name that is not "!number,size"
};

class CFileBuffer : public IFile {
 public:
  CFileBuffer() = default;
  CFileBuffer(const CFileBuffer&) = delete;
  CFileBuffer& operator=(const CFileBuffer&) = delete;
  ~CFileBuffer() override;

  // Opens a stream (fopen modes); 0 ok, 1 failed. Line ends are written as CR LF by PutString in
  // a text-mode ("b"-less) writing stream; GetFile gives the stream as it is.
  int OpenText(const std::string& name, const char* mode) override;
  // Replaces or creates the whole file in one step: 0 ok, 1 cannot create, 2 write failed,
  // 3 flushing or putting it in place failed. The old file is untouched on every failure.
  int Write(const std::string& name, const void* data, uint32_t size) override;
  // -1 no stream open, 1 write failed, 0 ok.
  int PutString(const std::string& text) override;
  // Closes a text stream (the fclose result), or empties the buffer, deleting a temporary file
  // left by MakeRealFile; 0.
  int Close() override;
  FILE* GetFile() override { return m_file; }
  // Reads a whole file: a memory block lent under a "!" name, a plain file, or an entry of a packed
  // archive of an ancestor folder; data beginning with "QPK1" is unscrambled. Codes above.
  int Read(const std::string& name) override;
  std::string GetFileName() const override { return m_name; }
  std::string GetBaseName() const override;
  std::string GetExtension() const override;
  // The data (after the 4-byte magic of scrambled data) and its size.
  unsigned char* GetData() const override;
  uint32_t GetSize() const override;
  // The next line without its CR LF: 0 ok, 1 at the end, 3 nothing loaded. ReadLineBuf also
  // gives 2 when the line has more than n - 1 bytes: out holds the first n - 1 and the rest is
  // read next; out always ends with a zero byte (n = 0 writes nothing).
  int ReadLine(std::string& line) override;
  int ReadLineBuf(char* out, unsigned n) override;
  // A double-quoted text that may span lines ("\n" between them) into out of n bytes, without its
  // quotes. 0 ok; 1 at a line "END" in quotes, at the end of the data, on a line over 255 bytes or
  // when the text does not fit in n bytes (out is then empty).
  int ReadQuotedText(char* out, int n) override;
  void Rewind() override { m_cursor = GetData(); }
  // Copies n bytes from the cursor and advances: 0 ok, 1 fewer than n bytes left (nothing copied),
  // 2 nothing loaded.
  int ReadBytes(void* out, unsigned n) override;
  // Copies at most the bytes left; the count copied.
  unsigned ReadUpTo(void* out, unsigned n) override;
  uint32_t Tell() const override;
  // Moves the cursor to offset, or to the end when offset is not below the size; true.
  bool Seek(unsigned offset) override;
  int Save(const std::string& name) override { return Write(name, GetData(), GetSize()); }
  // Turns the loaded data into its scrambled form (magic included in GetData and GetSize): 0 done,
  // 1 already scrambled or nothing loaded.
  int Scramble() override;
  // 0 ok, 1 failed, -1 empty name.
  int Delete(const std::string& name) override;
  // Puts data that exists only in memory (archive entry, lent block) into a temporary file that the
  // name then names and the next Close deletes: 0 ok, 1 nothing loaded, 2 temporary file failed.
  int MakeRealFile() override;
  int ReadToVector(const std::string& name, std::vector<unsigned char>& out) override;
  // Writes each string as it is (LF becomes CR LF) as the whole file, in one step: 0 ok,
  // 1 cannot create, 2 write failed.
  int WriteLines(const std::string& name, const std::vector<std::string>& lines) override;
  int WriteVector(const std::string& name, const std::vector<unsigned char>& data) override;

 private:
  int ReadOnce(const std::string& name);
  int LoadPlain(const std::string& canonical);
  int LoadFromArchive(const std::string& canonical);
  // Gives the buffer a new owned block of size + 1 bytes, the last one 0; false without memory.
  bool Allocate(uint32_t size);
  void FinishLoad();

  FILE* m_file = nullptr;
  bool m_textWrite = false;  // m_file was opened for writing in text mode
  std::unique_ptr<unsigned char[]> m_owned;
  unsigned char* m_buffer = nullptr;  // size + 1 bytes, the last one 0; m_owned or a lent block
  uint32_t m_size = 0;
  unsigned char* m_cursor = nullptr;
  std::string m_name;
  bool m_scrambled = false;
  bool m_temporary = false;
  bool m_fromArchive = false;
  bool m_memory = false;
};
