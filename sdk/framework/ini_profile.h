// An ini file held in memory: sections in file order, each an ordered map of keys to values. One
// set of typed calls moves values between the profile and program variables in either direction,
// chosen by the read mode, so the code that loads settings also saves them.
//
// File format (Shift-JIS; CR LF on disk, a CR before LF dropped on reading): "//" starts a
// comment line; "[name]" without "=" and whose first "]" is its last character opens a section;
// "key=value" after a section has opened is an entry split at the first "=", nothing trimmed; the
// first value of a key in a section wins; every other line is ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct CIniSection {
  std::string name;
  // Keys in byte order (std::string compares as unsigned bytes, a prefix first).
  std::map<std::string, std::string, std::less<>> entries;
};

class CIniProfile {
 public:
  explicit CIniProfile(bool readMode = true) : m_readMode(readMode) {}

  // Appends the file's sections to the profile (those already held stay). False when the file
  // cannot be opened or read; the path is remembered in every case.
  bool ReadProfile(const char* path);
  // Writes the profile to path (null: the remembered path, else path is remembered): "//" and the
  // comment and an empty line when a comment is given, then each section's "[name]", its entries
  // in key order and an empty line. The old file is replaced in one step; false when the file
  // cannot be written (the old one then stays as it was).
  bool WriteProfile(const char* path, const char* comment);
  // Writes the lines, each followed by CR LF, as the whole file at the remembered path.
  bool WriteLines(const std::vector<std::string>& lines);

  // The value of key in the first section of that name that holds it; false (value unchanged)
  // when none does.
  bool GetEntry(std::string_view section, std::string_view key, std::string& value) const;
  // Sets the key in the first section of that name, or in a new section appended for it; true.
  bool SetEntry(std::string_view section, std::string_view key, std::string_view value);

  // The typed exchange. Read mode: the entry's value converted into the variable (false and the
  // variable unchanged when the entry is missing). Write mode: the variable's value into the
  // entry; true.
  // Bool: "0" is false, any other value true; written as "1" for 1, else "0".
  bool IOProfileBool(std::string_view section, std::string_view key, uint8_t* value);
  // Decimal text, read as atoi does.
  bool IOProfileData(std::string_view section, std::string_view key, int32_t* value);
  // Decimal text, read as atoi does and cut to 16 bits.
  bool IOProfileWord(std::string_view section, std::string_view key, uint16_t* value);
  // One character; the empty value is 0.
  bool IOProfileChar(std::string_view section, std::string_view key, char* value);
  // Text in a buffer of size bytes: read copies at most size - 1 bytes and a terminating zero;
  // write takes the text up to its terminator or the buffer's end. Size 0 gives no bound: write
  // then takes the text up to its terminator, while read cannot know how much the buffer holds and
  // does nothing (false).
  bool IOProfileString(std::string_view section, std::string_view key, char* buffer, size_t size);

  void SetReadMode(bool readMode) { m_readMode = readMode; }
  bool IsReadMode() const { return m_readMode; }
  const std::string& GetPath() const { return m_path; }
  const std::vector<CIniSection>& GetSections() const { return m_sections; }

 private:
  void ParseLine(std::string_view line);
  void AddSection(std::string name);
  // The positions of the sections of that name, in file order. Settings are read and written key
  // after key of one section, and a settings file has dozens of sections: the answer for the last
  // name asked is kept until a section is added.
  const std::vector<size_t>& SectionsNamed(std::string_view name) const;

  std::string m_path;
  std::vector<CIniSection> m_sections;
  bool m_readMode;
  mutable bool m_namedValid = false;
  mutable std::string m_namedName;
  mutable std::vector<size_t> m_named;
};
