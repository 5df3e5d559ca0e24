#include "editor/foundation/text/text_scanners.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(TextScanners, NumberLiterals) {
  struct Case {
    const char* text;
    int length;
  };
  const Case cases[] = {
      {"123", 3},  {"0x1F", 4}, {"0X1F", 1},  {"1.2.3", 5}, {"1..2", 1}, {"1e+5", 4},  {"1e", 1},    {"12L", 3},
      {"1.5L", 3}, {"1.5f", 4}, {"1e5L", 4},  {"-3", 2},    {"-", 0},    {".5", 2},    {".e5", 3},   {"5.f", 1},
      {"0x", 1},   {"0xG", 1},  {"0x1fl", 5}, {".", 0},     {"a1", 0},   {"1e5e3", 3}, {"1e5.5", 3}, {"-0x1F", 5},
  };
  for (const Case& c : cases) {
    const std::string text = c.text;
    EXPECT_EQ(GetNumberLiteralLength(text.data(), 0, static_cast<int>(text.size())), c.length) << c.text;
  }
  EXPECT_EQ(GetNumberLiteralLength("x = 42;", 4, 7), 2);
  EXPECT_EQ(GetNumberLiteralLength("42", 2, 2), 0);
}

TEST(TextScanners, UrlsAndMailAddresses) {
  struct Case {
    const char* text;
    bool url;
    int length;
  };
  const Case cases[] = {
      {"http://example.com/a?b=c rest", true, 24},
      {"https://x.y", true, 11},
      {"ttp://x.y", true, 9},
      {"tp://x.y", true, 8},
      {"ftp://f", true, 7},
      {"file://C:\\dir\\a.txt", true, 19},
      {"news:comp.lang", true, 14},
      {"mailto:a.b@example.com!", true, 22},
      {"mailto:nobody", false, 0},
      {"http://", false, 0},
      {"HTTP://x.y", false, 0},  // schemes are case-sensitive
      {"user@example.com", true, 16},
      {"user@localhost", false, 0},
      {"\x82\xA0http://x", false, 0},
  };
  for (const Case& c : cases) {
    int length = 0;
    const std::string text = c.text;
    EXPECT_EQ(IsURLAt(text.data(), static_cast<int>(text.size()), &length), c.url) << c.text;
    if (c.url) {
      EXPECT_EQ(length, c.length) << c.text;
    }
  }
  struct Mail {
    const char* text;
    int length;  // 0: no address
  };
  const Mail mails[] = {
      {"a@b.c", 5}, {"a@b", 0}, {"a@bc", 0}, {"-a@b.c", 0}, {"a.b-c_d@x-y.z_w.org.", 19}, {"a@b..c", 0}, {"a@", 0},
  };
  for (const Mail& m : mails) {
    int length = 0;
    const std::string text = m.text;
    EXPECT_EQ(IsMailAddressAt(text.data(), static_cast<int>(text.size()), &length), m.length > 0) << m.text;
    if (m.length > 0) {
      EXPECT_EQ(length, m.length) << m.text;
    }
  }
}

}  // namespace
