// Which geodetic records may be transformed, and the bounds of the area.
#include "engine/point_checks.h"

#include <gtest/gtest.h>

namespace kolvedir {
namespace {

constexpr BlFormat kDms = BlFormat::kDegreesMinutesSeconds;
constexpr BlFormat kDecimal = BlFormat::kDecimalDegrees;

TEST(PointChecks, GeodeticTokensReadable) {
  const struct {
    const char* line;
    BlFormat format;
    HeightToken height;
    bool readable;
  } table[] = {
      {"1 52 30 15.5 19 0 0 100", kDms, HeightToken::kRequired, true},
      {"1 52 30.5 0 19 0 0 100", kDms, HeightToken::kOptional, false},   // minutes not an integer
      {"1 52 30 0 19 0 x 100", kDms, HeightToken::kOptional, false},     // seconds not a number
      {"1 52 30 0 19 30", kDms, HeightToken::kOptional, true},           // L seconds missing: 0
      {"1 52 30", kDms, HeightToken::kOptional, true},                   // so is all of L
      {"1 52 30 0 19 30", kDms, HeightToken::kRequired, false},
      {"1 52 30 0 19 0 0", kDms, HeightToken::kOptional, true},          // no height: 0
      {"1 52 30 0 19 0 0", kDms, HeightToken::kRequired, false},
      {"1 52 30 0 19 0 0 uwagi", kDms, HeightToken::kOptional, true},    // a comment for the height
      {"1 52 30 0 19 0 0 uwagi", kDms, HeightToken::kRequired, false},
      {"1 52.5 19.25", kDecimal, HeightToken::kOptional, true},
      {"1 52.5 19.25", kDecimal, HeightToken::kRequired, false},
      {"1 52.5 19.25 1e2 pkt", kDecimal, HeightToken::kRequired, true},
      {"1 52.5 19.25 centrum", kDecimal, HeightToken::kOptional, true},
      {"1 52.5 19.25 nan", kDecimal, HeightToken::kRequired, false},
      {"1 52.5 x19.25 7", kDecimal, HeightToken::kOptional, false},      // L not a number
      {"1 52,5 19.25 7", kDecimal, HeightToken::kOptional, true},        // "," separates: B 52, L 5
  };
  for (const auto& c : table) {
    TokenList tokens;
    SplitLine(c.line, tokens);
    EXPECT_EQ(GeodeticTokensReadable(tokens, c.format, c.height), c.readable) << c.line;
  }
}

TEST(PointChecks, ShapeOfTheOtherBlFormat) {
  const struct {
    const char* line;
    BlFormat chosen;
    bool otherShape;
  } table[] = {
      {"Lublin 51 14 47.4 22 34 6.24 203.9", kDecimal, true},
      {"Lublin 51 14 47.4 22 34 6.24", kDecimal, true},
      {"Lublin 51 14 0 22 0 0 opis", kDecimal, true},
      {"Lublin 51 60 47.4 22 34 6.24 1", kDecimal, false},   // minutes of B 60
      {"Lublin 51 14 47.4 22 34 60 1", kDecimal, false},     // seconds of L 60
      {"Lublin 51 -1 47.4 22 34 6.24 1", kDecimal, false},   // negative minutes
      {"Lublin 51 14 47.4 22.5 34 6.24 1", kDecimal, false}, // degrees of L not whole
      {"Lublin 51 14 47.4 22 34.5 6.24 1", kDecimal, false}, // minutes of L not whole
      {"Lublin 51 14 47.4 22 34", kDecimal, false},          // seconds of L missing
      {"Lublin 51.2465 22.5684 203.9", kDecimal, false},
      {"P 52 21 100", kDecimal, false},
      {"Lublin 51.2465 22.5684 203.9", kDms, true},
      {"Lublin 51.0 22 203.9", kDms, true},
      {"Lublin 51 14 47.4 22.5 34 6.24", kDms, true},        // degrees of L
      {"Lublin 51 14 47.4 22 34 6.24 203.9", kDms, false},
      {"P 52 21 100.5 opis", kDms, false},
      {"P 52", kDms, false},
  };
  for (const auto& c : table) {
    TokenList tokens;
    SplitLine(c.line, tokens);
    EXPECT_EQ(HasOtherBlFormatShape(tokens, c.chosen), c.otherShape) << c.line;
  }
}

TEST(PointChecks, AdmissibleAreaIncludesItsBounds) {
  EXPECT_TRUE(InsideAdmissibleArea(49, 14));
  EXPECT_TRUE(InsideAdmissibleArea(55, 24.2));
  EXPECT_FALSE(InsideAdmissibleArea(48.9999999, 20));
  EXPECT_FALSE(InsideAdmissibleArea(55.0000001, 20));
  EXPECT_FALSE(InsideAdmissibleArea(52, 13.9999999));
  EXPECT_FALSE(InsideAdmissibleArea(52, 24.2000001));
}

}  // namespace
}  // namespace kolvedir
