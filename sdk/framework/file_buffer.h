// A whole file in memory: read from a plain file, a memory block or a packed archive entry,
// unscrambled when stored scrambled; also writes files and reads text line by line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

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

class CFileBuffer : public IFile {
 public:
  CFileBuffer() = default;
  CFileBuffer(const CFileBuffer&) = delete;
  CFileBuffer& operator=(const CFileBuffer&) = delete;
  ~CFileBuffer() override;

  int OpenText(const std::string& name, const char* mode) override;
  int Write(const std::string& name, const void* data, uint32_t size) override;
  int PutString(const std::string& text) override;
  int Close() override;
  FILE* GetFile() override { return m_file; }
  int Read(const std::string& name) override;
  std::string GetFileName() const override { return m_name; }
  std::string GetBaseName() const override;
  std::string GetExtension() const override;
  unsigned char* GetData() const override;
  uint32_t GetSize() const override;
  int ReadLine(std::string& line) override;
  int ReadLineBuf(char* out, unsigned n) override;
  int ReadQuotedText(char* out, int n) override;
  void Rewind() override { m_cursor = GetData(); }
  int ReadBytes(void* out, unsigned n) override;
  unsigned ReadUpTo(void* out, unsigned n) override;
  uint32_t Tell() const override;
  bool Seek(unsigned offset) override;
  int Save(const std::string& name) override { return Write(name, GetData(), GetSize()); }
  int Scramble() override;
  int Delete(const std::string& name) override;
  int MakeRealFile() override;
  int ReadToVector(const std::string& name, std::vector<unsigned char>& out) override;
  int WriteLines(const std::string& name, const std::vector<std::string>& lines) override;
  int WriteVector(const std::string& name, const std::vector<unsigned char>& data) override;

 private:
  FILE* m_file = nullptr;
  unsigned char* m_buffer = nullptr;  // size + 1 bytes, the last one 0
  uint32_t m_size = 0;
  unsigned char* m_cursor = nullptr;
  std::string m_name;
  bool m_scrambled = false;
  bool m_temporary = false;
  bool m_fromArchive = false;
  bool m_memory = false;
};
