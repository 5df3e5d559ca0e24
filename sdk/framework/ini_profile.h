// An ini file held in memory: sections in file order, each its keys and values in key order. One
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
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A section's entries, iterated in key byte order (compared as unsigned bytes, a prefix first).
// Keys and values lie in one text block, each followed by a zero byte, in the order they came; the
// entries point into it. A settings file has thousands, set and looked up key after key in no
// order, and written once: keys are found through a hash table, and the order is put together
// only when the entries are walked (kept as long as no key is added, and grown in place while
// keys come in order, as they do from a file this class wrote).
class CIniEntries {
 public:
  using value_type = std::pair<std::string_view, std::string_view>;

  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = CIniEntries::value_type;
    using difference_type = std::ptrdiff_t;
    using reference = value_type;
    struct pointer {
      value_type entry;
      const value_type* operator->() const { return &entry; }
    };

    const_iterator() = default;
    const_iterator(const CIniEntries* entries, std::vector<uint32_t>::const_iterator at)
        : m_entries(entries), m_at(at) {}
    value_type operator*() const { return m_entries->Entry(*m_at); }
    pointer operator->() const { return {**this}; }
    const_iterator& operator++() {
      ++m_at;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator was = *this;
      ++m_at;
      return was;
    }
    bool operator==(const const_iterator& other) const { return m_at == other.m_at; }

   private:
    const CIniEntries* m_entries = nullptr;
    std::vector<uint32_t>::const_iterator m_at;
  };

  // The walk in key order. Either end puts the order together when a key came since the last
  // walk; iterators stay valid until a key is added.
  const_iterator begin() const { return {this, Ordered().begin()}; }
  const_iterator end() const { return {this, Ordered().end()}; }
  size_t size() const { return m_items.size(); }
  bool empty() const { return m_items.empty(); }
  // The value of the key (followed by a zero byte), or none.
  std::optional<std::string_view> find(std::string_view key) const;
  // The value of the key (followed by a zero byte); throws std::out_of_range when there is none.
  std::string_view at(std::string_view key) const;
  // Room for n entries of text bytes in all without moving those held.
  void reserve(size_t n, size_t bytes);
  // Adds the entry unless the key is held (its value then stays).
  void Add(std::string_view key, std::string_view value);
  // Adds the entry or gives the key held the value.
  void Set(std::string_view key, std::string_view value);
  // The same keys and values.
  bool operator==(const CIniEntries& other) const;

 private:
  struct Item {
    uint32_t key;
    uint32_t keyLength;
    uint32_t value;
    uint32_t valueLength;
    uint32_t hash;  // the key's, cut to 32 bits: compared before the key's bytes
  };
  value_type Entry(uint32_t item) const {
    const Item& i = m_items[item];
    return {Key(item), std::string_view(m_text.data() + i.value, i.valueLength)};
  }
  std::string_view Key(uint32_t item) const {
    const Item& i = m_items[item];
    return std::string_view(m_text.data() + i.key, i.keyLength);
  }
  static uint32_t Hash(std::string_view key);
  // Appends the bytes and a zero byte to the block; where they start.
  uint32_t Store(std::string_view bytes);
  // The slot of the table that holds the key, or the free one where it would go; the table must
  // have a free slot.
  size_t SlotOf(std::string_view key, uint32_t hash) const;
  // The table made at least twice as large as n entries need, every item placed again.
  void GrowTable(size_t n);
  // The entry added as the item of the free slot.
  void Insert(size_t slot, std::string_view key, std::string_view value, uint32_t hash);
  // The slot that holds the key, or the free one where it would go, with room made in the table
  // for one entry more.
  size_t SlotForSetting(std::string_view key, uint32_t hash);
  // The items in key order, put together when a key came out of order since the last walk.
  const std::vector<uint32_t>& Ordered() const;

  std::string m_text;
  std::vector<Item> m_items;
  // Open addressing, a power of two in size and at most half full: item + 1, or 0 for a free slot.
  std::vector<uint32_t> m_table;
  // The items in key order when it holds all of them; while it holds fewer, it is out of date and
  // the next walk sorts them. Kept by const walks: a profile is used by one thread at a time.
  mutable std::vector<uint32_t> m_order;
};

struct CIniSection {
  std::string name;
  CIniEntries entries;
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
  // The same value in place (followed by a zero byte), or none; valid until the profile next
  // changes.
  std::optional<std::string_view> FindEntry(std::string_view section, std::string_view key) const;
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
  // An entry read from a file, added once the file's lines are all sorted out.
  struct PendingEntry {
    size_t section;
    std::string_view key;
    std::string_view value;
  };
  void ParseLine(std::string_view line, std::vector<PendingEntry>& pending);
  bool WriteText(std::string_view text) const;
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
