#include "platform/clipboard_snapshot.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using namespace platform;

std::string Le(uint32_t n) {
  return {static_cast<char>(n & 0xFF), static_cast<char>(n >> 8 & 0xFF), static_cast<char>(n >> 16 & 0xFF),
          static_cast<char>(n >> 24 & 0xFF)};
}

// One entry as the encoder lays it out.
std::string Entry(std::string_view type, std::string_view bytes) {
  return Le(static_cast<uint32_t>(type.size())) + std::string(type) + Le(static_cast<uint32_t>(bytes.size())) +
         std::string(bytes);
}

TEST(ClipboardSnapshot, TravelsByteForByte) {
  struct Case {
    const char* name;
    ClipboardSnapshot snapshot;
  };
  const std::string binary("\0\x01\xFF\x95\x5C\0", 6);
  const Case cases[] = {
      {"empty", {}},
      {"text only", {{"text/plain", "abc"}}},
      {"empty data", {{"application/x-tovara-50000", ""}}},
      {"several with NUL and high bytes",
       {{"text/plain", "\xE8\xA1\xA8"},
        {"application/x-tovara-49153", binary},
        {"application/x-tovara-60000", {"\0", 1}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string bytes = EncodeClipboardSnapshot(c.snapshot);
    EXPECT_EQ(DecodeClipboardSnapshot(bytes), c.snapshot);
  }
  // The layout other builds of the program read.
  EXPECT_EQ(EncodeClipboardSnapshot({{"a/b", binary}}), "TVCS" + Le(1) + Entry("a/b", binary));
}

TEST(ClipboardSnapshot, RefusesWhatTheEncoderNeverMakes) {
  const std::string one = Entry("text/plain", "abc");
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"nothing", ""},
      {"wrong magic", "TVCX" + Le(0)},
      {"no count", "TVCS"},
      {"count beyond the entries", "TVCS" + Le(2) + one},
      {"huge count", "TVCS" + Le(0xFFFFFFFF) + one},
      {"type length past the end", "TVCS" + Le(1) + Le(100) + "text/plain"},
      {"data length past the end", "TVCS" + Le(1) + Le(10) + "text/plain" + Le(0xFFFFFFF0) + "abc"},
      {"data cut short", "TVCS" + Le(1) + Le(10) + "text/plain" + Le(4) + "abc"},
      {"bytes after the last entry", "TVCS" + Le(1) + one + "x"},
      {"empty type", "TVCS" + Le(1) + Entry("", "abc")},
      {"type with a space", "TVCS" + Le(1) + Entry("text/ plain", "abc")},
      {"type with a control byte", "TVCS" + Le(1) + Entry("text/plain\n", "abc")},
      {"type with a high byte", "TVCS" + Le(1) + Entry("text/\x95\x5C", "abc")},
      {"type too long", "TVCS" + Le(1) + Entry(std::string(256, 'a'), "abc")},
      {"type twice", "TVCS" + Le(2) + one + Entry("text/plain", "def")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecodeClipboardSnapshot(c.bytes), std::nullopt);
  }
  // The longest type allowed still travels.
  const ClipboardSnapshot longest{{std::string(255, 'a'), "x"}};
  EXPECT_EQ(DecodeClipboardSnapshot(EncodeClipboardSnapshot(longest)), longest);
}

}  // namespace
