// Point records: splitting, reading numbers, and the exact output layouts.
#include "engine/point_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace kolvedir {
namespace {

std::vector<std::string> Tokens(std::string_view line) {
  TokenList tokens;
  SplitLine(line, tokens);
  std::vector<std::string> out;
  for (int i = 1; i <= tokens.count(); ++i) out.emplace_back(tokens[i]);
  return out;
}

TEST(SplitLineTest, TokensOfLines) {
  using V = std::vector<std::string>;
  const struct {
    std::string line;
    V tokens;
  } cases[] = {
      {"1001, 50 56;15.3406", {"1001", "50", "56", "15.3406"}},
      {"  125,,52 ; 0", {"125", "52", "0"}},
      {" , ,  ;;", {}},
      {"", {}},
      {std::string("a\0b\tc", 5), {"a", "b", "c"}},
      {"name\xB3\xF3\xBF 1 2 koment\xA3rz", {"name\xB3\xF3\xBF", "1", "2", "koment\xA3rz"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Tokens(c.line), c.tokens) << c.line;
}

TEST(SplitLineTest, EmptiesSlotsOfThePreviousLineAndKeepsTwoHundredTokens) {
  TokenList tokens;
  SplitLine("a b c d e", tokens);
  SplitLine("x y", tokens);
  EXPECT_EQ(tokens.count(), 2);
  EXPECT_EQ(tokens[3], "");

  std::string many;
  for (int i = 1; i <= 10000; ++i) many += std::to_string(i) + " ";
  SplitLine(many, tokens);
  EXPECT_EQ(tokens.count(), kMaxTokens);
  EXPECT_EQ(tokens[200], "200");
  EXPECT_EQ(tokens[201], "");
}

TEST(IsTokenCharTest, FiveSeparators) {
  for (char c : {'\0', '\t', ' ', ',', ';'}) EXPECT_FALSE(IsTokenChar(c)) << int(c);
  for (char c : {'a', '.', '-', '\r', '\x1A', '\xB3'}) EXPECT_TRUE(IsTokenChar(c)) << int(c);
}

TEST(ParseRealTest, OnlyPlainDecimalNumbers) {
  const struct {
    const char* token;
    bool number;
    double value;
  } cases[] = {
      {"15.3406", true, 15.3406}, {"-38.0793", true, -38.0793}, {"+5", true, 5},
      {"1e3", true, 1000},        {"-2.5E-1", true, -0.25},     {".5", true, 0.5},
      {"5.", true, 5},            {"nan", false, 0},            {"inf", false, 0},
      {"-infinity", false, 0},    {"0x10", false, 0},           {"1e", false, 0},
      {"1e+", false, 0},          {"--1", false, 0},            {"+-1", false, 0},
      {"1.2.3", false, 0},        {"12abc", false, 0},          {"", false, 0},
      {".", false, 0},            {"1e999", false, 0},          {"-", false, 0},
  };
  for (const auto& c : cases) {
    double value = 0;
    EXPECT_EQ(ParseReal(c.token, value), c.number) << c.token;
    EXPECT_EQ(value, c.value) << c.token;
  }
}

TEST(ParseRealTest, RoundsAsTheFullConversion) {
  std::vector<std::string> tokens = {"9007199254740992", "9007199254740993", "0.9007199254740993",
                                     "-0", "-0.0", "1.0000000000000000000001",
                                     "123456789012345678901", "0.0000000000000000000000001",
                                     // 17 to 20 digits, up to and past what 64 bits hold
                                     "18446744073709551617", "18446744073709551616.5",
                                     "1844674407370955161.7", "-99999999999999999999",
                                     "9999999999999999999", "12345678901234567.8"};
  std::uint64_t state = 2000;
  auto next = [&state] {  // a fixed pseudo-random sequence
    state = state * 6364136223846793005u + 1442695040888963407u;
    return state >> 11;
  };
  for (int i = 0; i < 50000; ++i) {
    // 1 to 20 digits, the point anywhere among them or absent, either sign.
    std::string digits = std::to_string(next()) + std::to_string(next());
    digits.resize(1 + next() % std::min<std::size_t>(digits.size(), 20));
    const std::size_t point = next() % (digits.size() + 2);
    if (point <= digits.size()) digits = digits.substr(0, point) + "." + digits.substr(point);
    tokens.push_back((next() % 2 ? "-" : "") + digits);
  }
  for (const std::string& token : tokens) {
    double expected = 0, value = 0;
    const auto r = std::from_chars(token.data(), token.data() + token.size(), expected);
    ASSERT_EQ(r.ptr, token.data() + token.size()) << token;
    ASSERT_TRUE(ParseReal(token, value)) << token;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(expected)) << token;
  }
}

TEST(ParseIntegerTest, OnlyPlainIntegers) {
  const struct {
    const char* token;
    bool number;
    std::int32_t value;
  } cases[] = {
      {"52", true, 52}, {"-7", true, -7},      {"+3", true, 3},          {"52.0", false, 0},
      {"5e1", false, 0}, {"+-64", false, 0},   {"99999999999", false, 0}, {"0x1F", false, 0},
  };
  for (const auto& c : cases) {
    std::int32_t value = 0;
    EXPECT_EQ(ParseInteger(c.token, value), c.number) << c.token;
    EXPECT_EQ(value, c.value) << c.token;
  }
}

PointValues Read(std::string_view line, RecordKind kind,
                 BlFormat format = BlFormat::kDegreesMinutesSeconds) {
  TokenList tokens;
  SplitLine(line, tokens);
  return ReadPointValues(tokens, kind, format);
}

TEST(ReadPointValuesTest, GeodeticRecords) {
  const struct {
    const char* line;
    std::int32_t format;
    double B, L, h;
  } cases[] = {
      // B, L: 1e-8 degree; h exact.
      {"1001, 50 56;15.3406 21 34 18.7619 225.361", 1, 50.93759461, 21.57187831, 225.361},
      {"125 52 0 0.0 19 0 0.0 100.0", 1, 52, 19, 100},
      {"125 52.0 19.0 100.0", 2, 52, 19, 100},
      {"125 52.0 0 0 19 0 0 100", 1, 0, 19, 100},  // degrees with a decimal point read 0
      {"125 52 19", 2, 52, 19, 0},                  // no height token
      {"125 52 30 75.0 19 0 0 1", 1, 52 + 30 / 60.0 + 75 / 3600.0, 19, 1},
      {"125 -52 30 0 19 0 0 1", 1, -52 + 0.5, 19, 1},  // no sign carried to the minutes
  };
  for (const auto& c : cases) {
    const PointValues v = Read(c.line, RecordKind::kGeodetic, BlFormat(c.format));
    EXPECT_NEAR(v.B, c.B, 1e-8) << c.line;
    EXPECT_NEAR(v.L, c.L, 1e-8) << c.line;
    EXPECT_EQ(v.h, c.h) << c.line;
    EXPECT_FALSE(v.unreadableCoordinate) << c.line;
  }
  const PointValues dms = Read("1001 50 56 15.3406 21 34 18.7619", RecordKind::kGeodetic);
  EXPECT_EQ(dms.BParts.degrees, 50);
  EXPECT_EQ(dms.BParts.minutes, 56);
  EXPECT_EQ(dms.BParts.seconds, 15.3406);
  EXPECT_EQ(dms.LParts.seconds, 18.7619);
}

TEST(ReadPointValuesTest, PlaneAndCartesianRecordsFlagUnreadableCoordinates) {
  const struct {
    const char* line;
    RecordKind kind;
    double a, b, c;
    bool unreadable;
  } cases[] = {
      {"P 5652126.56 6429808.46 comment 12", RecordKind::kPlane, 5652126.56, 6429808.46, 0, false},
      {"P abc 6429808.46", RecordKind::kPlane, 0, 6429808.46, 0, true},
      {"P 5652126.56 nan", RecordKind::kPlane, 5652126.56, 0, 0, true},
      {"P 1e3 -2.5E-1 x", RecordKind::kPlane, 1000, -0.25, 0, false},
      {"P 3652000 1200000 4900000", RecordKind::kCartesian, 3652000, 1200000, 4900000, false},
      {"P 3652000 1200000", RecordKind::kCartesian, 3652000, 1200000, 0,
       false},  // missing, not unreadable
      {"P 3652000 1200000 4.9e6.1", RecordKind::kCartesian, 3652000, 1200000, 0, true},
  };
  for (const auto& c : cases) {
    const PointValues v = Read(c.line, c.kind);
    if (c.kind == RecordKind::kPlane) {
      EXPECT_EQ(v.x, c.a) << c.line;
      EXPECT_EQ(v.y, c.b) << c.line;
    } else {
      EXPECT_EQ(v.X, c.a) << c.line;
      EXPECT_EQ(v.Y, c.b) << c.line;
      EXPECT_EQ(v.Z, c.c) << c.line;
    }
    EXPECT_EQ(v.unreadableCoordinate, c.unreadable) << c.line;
  }
}

// kind and format by their codes.
std::string Record(const OutputValues& v, std::int32_t kind, std::int32_t format, int sd, int ld,
                   std::string_view name = "1235", std::string_view comment = " C") {
  std::string line;
  AppendPointRecord(line, name, v, RecordKind(kind), BlFormat(format), sd, ld, comment);
  return line;
}

OutputValues Geodetic(double BArcSeconds, double LArcSeconds, double h) {
  OutputValues v;
  v.BArcSeconds = BArcSeconds;
  v.LArcSeconds = LArcSeconds;
  v.h = h;
  return v;
}

TEST(WritePointRecordTest, Layouts) {
  OutputValues plane;
  plane.x = 5652126.56;
  plane.y = 6429808.46;
  plane.distortion = -7.0;
  plane.convergence = 0.123456784;
  OutputValues cartesian;
  cartesian.X = 3652000.123456;
  cartesian.Y = -1200000.5;
  cartesian.Z = 4900000;
  const std::string name12 = "            1235";
  const struct {
    const char* what;
    std::string record, expected;
  } cases[] = {
      {"DMS, SD 6, LD 4",
       Record(Geodetic(51 * 3600 + 1.257090, 17 * 3600 + 6.398814, -38.0793), 1, 1, 6, 4),
       name12 + " 51  0  1.257090 17  0  6.398814   -38.0793 C"},
      {"DMS, SD 4, LD 2",
       Record(Geodetic(51 * 3600 + 1.257090, 17 * 3600 + 6.398814, -38.0793), 1, 1, 4, 2),
       name12 + " 51  0    1.2571 17  0    6.3988     -38.08 C"},
      {"DMS seconds rounding to 60, no carry",
       Record(Geodetic(52 * 3600 + 59 * 60 + 59.9999999, 19 * 3600, 0), 1, 1, 6, 4),
       name12 + " 52 59 60.000000 19  0  0.000000     0.0000 C"},
      {"decimal degrees, SD 6",
       Record(Geodetic(52.5 * 3600, 19.25 * 3600, 100.5), 1, 2, 6, 4),
       name12 + "  52.5000000000 19.2500000000   100.5000 C"},
      {"decimal degrees, SD 4",
       Record(Geodetic(52.5 * 3600, 19.25 * 3600, 100.5), 1, 2, 4, 3),
       name12 + "    52.50000000   19.25000000    100.500 C"},
      {"decimal degrees, longitude filling its field gets a blank",
       Record(Geodetic(52.5 * 3600, 100.5 * 3600, 0), 1, 2, 6, 4),
       name12 + "  52.5000000000 100.5000000000     0.0000 C"},
      {"decimal degrees, negative longitude filling its field",
       Record(Geodetic(-52.5 * 3600, -19.25 * 3600, 0), 1, 2, 6, 4),
       name12 + " -52.5000000000 -19.2500000000     0.0000 C"},
      {"plane", Record(plane, 2, 1, 6, 4),
       name12 + "   5652126.5600   6429808.4600   -7.00[cm/km]   0.12345678[g]  C"},
      {"plane, LD 2", Record(plane, 2, 1, 6, 2),
       name12 + "     5652126.56     6429808.46   -7.00[cm/km]   0.12345678[g]  C"},
      {"Cartesian", Record(cartesian, 3, 1, 6, 3),
       name12 + "    3652000.123   -1200000.500    4900000.000 C"},
      {"name longer than its field is written whole",
       Record(cartesian, 3, 1, 6, 2, "NAME-LONGER-THAN-16", ""),
       "NAME-LONGER-THAN-16     3652000.12    -1200000.50     4900000.00"},
      {"zeros of an error record", Record(OutputValues{}, 1, 1, 6, 4),
       name12 + "  0  0  0.000000  0  0  0.000000     0.0000 C"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.record, c.expected) << c.what;
}

// Fields are rounded as the exact binary value is: the same text as the exact
// conversion for coordinates, angles, tiny values, values a hair off a
// half-unit, and negative zero, at every number of decimals written.
TEST(AppendRealFieldTest, RoundsAsTheExactConversion) {
  std::vector<double> values = {0.0, -0.0, 0.5, 1.5, 2.5, 0.125, -0.125, 1e-12, -1e-12,
                                59.9999995, 59.99999949999, 1.0000005, 0.0000005, 9.99999999995,
                                5652126.56, -38.0793, 183601.25709, 8.9e15, 9.1e15, 1e300};
  std::uint64_t state = 12345;
  auto next = [&state] {  // a fixed pseudo-random sequence in [0, 1)
    state = state * 6364136223846793005u + 1442695040888963407u;
    return static_cast<double>(state >> 11) / 9007199254740992.0;
  };
  for (int i = 0; i < 20000; ++i) {
    values.push_back((next() - 0.5) * 2e7);      // plane and Cartesian metres
    values.push_back((next() - 0.5) * 1000);     // heights, distortions, convergences
    values.push_back(next() * 60);               // seconds
    values.push_back((next() - 0.5) * 1e-6);     // near zero
    const int d = static_cast<int>(next() * 11);
    const double tie = (std::floor(next() * 1e6) + 0.5) / std::pow(10.0, d);
    values.push_back(std::nextafter(tie, 0.0));  // a hair either side of a half-unit
    values.push_back(std::nextafter(tie, 1e9));
  }
  for (double v : values) {
    for (int d = 0; d <= 10; ++d) {
      char exact[400];
      const auto r = std::to_chars(exact, exact + sizeof exact, v, std::chars_format::fixed, d);
      const std::string_view text(exact, r.ptr - exact);
      for (int width : {0, 14}) {
        std::string field = "|";
        AppendRealField(field, v, width, d);
        const std::string blanks(std::max<int>(width - static_cast<int>(text.size()), 0), ' ');
        ASSERT_EQ(field, "|" + blanks + std::string(text)) << v << " with " << d;
      }
    }
  }
}

TEST(AppendIntegerFieldTest, RightAlignedAndNeverCut) {
  const struct {
    std::int64_t value;
    int width;
    const char* field;
  } cases[] = {
      {0, 2, " 0"},   {7, 2, " 7"},    {-7, 2, "-7"},      {59, 2, "59"},
      {-59, 2, "-59"}, {123, 1, "123"}, {100, 5, "  100"}, {INT64_MIN, 2, "-9223372036854775808"},
  };
  for (const auto& c : cases) {
    std::string field = "|";
    AppendIntegerField(field, c.value, c.width);
    EXPECT_EQ(field, std::string("|") + c.field) << c.value;
  }
}

TEST(WritePointRecordTest, OutOfAreaRecord) {
  std::string line;
  AppendOutOfAreaRecord(line, "125", 48.9, 19.123456789);
  EXPECT_EQ(line, "             125 ! punkt poza obszarem dopuszczalnym: 48.9000000 19.1234568");
}

TEST(WritePointRecordTest, DmsRecordReadsBackToItsPrintedPrecision) {
  const double B = 50.93759461111, L = 21.57187830555, h = 225.36149;
  for (int sd : {6, 5, 4}) {
    const std::string line = Record(Geodetic(B * 3600, L * 3600, h), 1, 1, sd, 4);
    const PointValues v = Read(line, RecordKind::kGeodetic, BlFormat::kDegreesMinutesSeconds);
    EXPECT_NEAR(v.B * 3600, B * 3600, 0.5 * std::pow(10.0, -sd)) << line;
    EXPECT_NEAR(v.L * 3600, L * 3600, 0.5 * std::pow(10.0, -sd)) << line;
    EXPECT_NEAR(v.h, h, 0.5e-4) << line;
  }
  // Decimal degrees, including a longitude that fills its whole field.
  for (double lon : {21.57187830555, 100.5, -19.25}) {
    const std::string line = Record(Geodetic(B * 3600, lon * 3600, h), 1, 2, 6, 4);
    const PointValues v = Read(line, RecordKind::kGeodetic, BlFormat::kDecimalDegrees);
    EXPECT_NEAR(v.B, B, 0.5e-10) << line;
    EXPECT_NEAR(v.L, lon, 0.5e-10) << line;
    EXPECT_NEAR(v.h, h, 0.5e-4) << line;
  }
}

TEST(SplitArcSecondsTest, TruncatesTowardZero) {
  const DmsAngle a = SplitArcSeconds(-(52 * 3600 + 30 * 60 + 15.5));
  EXPECT_EQ(a.degrees, -52);
  EXPECT_EQ(a.minutes, -30);
  EXPECT_NEAR(a.seconds, -15.5, 1e-9);
}

}  // namespace
}  // namespace kolvedir
