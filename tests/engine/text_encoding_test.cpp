// Telling UTF-8 from Windows-1250 over a file read in parts.
#include "engine/text_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvedir {
namespace {

TEST(Utf8ScanTest, ValidityAndBytesBeyondAsciiOverAnySplit) {
  const struct {
    const char* what;
    std::vector<std::string> parts;
    bool valid, beyondAscii;
  } cases[] = {
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
  for (const auto& c : cases) {
    Utf8Scan scan;
    for (const std::string& part : c.parts) scan.Add(part);
    EXPECT_EQ(scan.Valid(), c.valid) << c.what;
    EXPECT_EQ(scan.BeyondAscii(), c.beyondAscii) << c.what;
  }
}

}  // namespace
}  // namespace kolvedir
