// Inputs the fuzz targets found mishandled, replayed on every build.
#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "engine/point_record.h"

namespace kolvedir {
namespace {

struct IntegerCase {
  std::string_view token;
  bool isInteger;
  std::int32_t value;
};

TEST(FuzzRegression, IntegerTokensTakeOneSignAtMost) {
  const IntegerCase cases[] = {
      {"+-64", false, 0}, {"-+64", false, 0}, {"++64", false, 0}, {"--64", false, 0},
      {"+64", true, 64},  {"-64", true, -64}, {"+", false, 0},    {"-", false, 0},
  };
  for (const IntegerCase& c : cases) {
    std::int32_t value = 0;
    EXPECT_EQ(ParseInteger(c.token, value), c.isInteger) << c.token;
    EXPECT_EQ(value, c.value) << c.token;
  }
}

TEST(FuzzRegression, DmsDegreesWithTwoSignsReadAsZero) {
  // Degrees "+-64" used to read as -64.
  TokenList tokens;
  SplitLine("P1 +-64 30 0 19 0 0 100", tokens);
  const PointValues v =
      ReadPointValues(tokens, RecordKind::kGeodetic, BlFormat::kDegreesMinutesSeconds);
  EXPECT_EQ(v.BParts.degrees, 0);
  EXPECT_DOUBLE_EQ(v.B, 0.5);
}

}  // namespace
}  // namespace kolvedir
