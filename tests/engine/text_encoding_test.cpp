// Telling UTF-8 from Windows-1250 over a file read in parts.
#include "engine/text_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvedir {
namespace {

TEST(Utf8ScanTest, ValidityAndBytesBeyondAsciiOverAnySplit) {
  struct Case {
    std::string what;
    std::vector<std::string> parts;
    bool valid, beyondAscii;
  };
  std::vector<Case> cases = {
      {"ASCII", {"P1 500000.000 ", "500000.000\r\n"}, true, false},
      {"nothing", {}, true, false},
      {"Polish names",
       {"\xC5\x81\xC3\xB3"
        "d\xC5\xBA 1 2\r\n"},
       true,
       true},
      {"after a long ASCII run", {"0123456789abc\xC5\x81xyz01234567"}, true, true},
      {"two bytes split", {"ab\xC5", "\x81"}, true, true},
      {"four bytes in three parts", {"\xF0\x9F", "\x98", "\x80 ok"}, true, true},
      {"Windows-1250",
       {"\xA3\xF3"
        "d\x9F 1 2\r\n"},
       false,
       true},
      {"bad byte after eight ASCII", {"012345678\xFF"}, false, true},
      {"cut off at the end", {"ab\xC5"}, false, true},
      {"stray continuation byte", {"a\x80"}, false, true},
      {"overlong form", {"\xC0\xAF"}, false, true},
      {"surrogate", {"\xED\xA0\x80"}, false, true},
      {"surrogate split", {"\xED", "\xA0\x80"}, false, true},
      {"overlong three bytes split", {"\xE0", "\x80\x80"}, false, true},
      {"beyond U+10FFFF", {"\xF4\x90\x80\x80"}, false, true},
      {"lead byte then ASCII", {"\xC5", "A"}, false, true},
  };
  // A byte beyond ASCII at every offset of the eight-byte words ASCII is
  // skipped by, the word full after it: "Ł" in UTF-8, then in Windows-1250.
  for (std::size_t offset = 0; offset <= 16; ++offset) {
    const std::string before(offset, 'a'), after = "01234567";
    const std::string what = " after " + std::to_string(offset) + " ASCII bytes";
    cases.push_back({"\"Ł\"" + what, {before + "\xC5\x81" + after}, true, true});
    cases.push_back({"\"\\xA3\"" + what, {before + "\xA3" + after}, false, true});
  }
  for (const auto& c : cases) {
    Utf8Scan scan;
    for (const std::string& part : c.parts) scan.Add(part);
    EXPECT_EQ(scan.Valid(), c.valid) << c.what;
    EXPECT_EQ(scan.BeyondAscii(), c.beyondAscii) << c.what;
  }
}

// Control characters become escapes, C0 and DEL as \xNN and C1 as \u00NN;
// the characters next to them (space, "~", U+00A0 no-break space) stay.
TEST(EscapeControlCharactersTest, C0DelAndC1AreEscapedTheirNeighboursKept) {
  const auto hex = [](unsigned value) {
    const char* digits = "0123456789abcdef";
    return std::string{digits[value >> 4], digits[value & 15]};
  };
  struct Case {
    std::string text, shown;
  };
  std::vector<Case> cases = {{" ~", " ~"}, {"\xC2\xA0", "\xC2\xA0"}, {"\xC2\xA1", "\xC2\xA1"}};
  for (unsigned c = 0; c < 0x20; ++c) cases.push_back({std::string(1, char(c)), "\\x" + hex(c)});
  cases.push_back({"\x7F", "\\x7f"});
  for (unsigned c = 0x80; c < 0xA0; ++c)
    cases.push_back({std::string{'\xC2', char(c)}, "\\u00" + hex(c)});
  for (const auto& c : cases) {
    EXPECT_EQ(EscapeControlCharacters("a" + c.text + "z"), "a" + c.shown + "z") << c.shown;
  }
}

}  // namespace
}  // namespace kolvedir
