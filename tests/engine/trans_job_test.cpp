// TRANS 2D/3D jobs end to end: a point file in a working object, the job,
// the result file compared byte for byte, the dialogs and the monitor.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/ellipsoid.h"
#include "core/geocentric.h"
#include "core/grs80_grids.h"
#include "engine/point_record.h"
#include "tests/engine/loop_test_support.h"
#include "tests/grid/grid_test_files.h"

namespace kolvedir {
namespace {

using testing::Cp1250;

constexpr int kEmpirical = 0;
constexpr int kTheoretical = 1;
constexpr int kDms = 1;
constexpr int kDecimal = 2;

// Layers 4–8 constant, so that the empirical frame changes are exact inverses.
std::int32_t GridValue(int, int, int layer) {
  switch (layer) {
    case 4: return 100;
    case 5: return -200;
    case 6: return -573;
    case 7: return 34660;
    case 8: return 177956;
    default: return 0;
  }
}

JobDescription TransJob(int inFrame, int inSystem, int inZone, int outFrame, int outSystem,
                        int outZone, int method, int blIn = kDms, int blOut = kDms) {
  JobDescription job =
      testing::TransJob(inFrame, inSystem, inZone, outFrame, outSystem, outZone, method);
  job.BLInputFormat = BlFormat(blIn);
  job.BLOutputFormat = BlFormat(blOut);
  return job;
}

// The plane fields of a PL-2000 point as an independent printf would write them.
std::string Pl2000Fields(double Bdegrees, double Ldegrees, int zone) {
  double x = 0, y = 0, distortion = 0, convergence = 0;
  PointStatus status = 0;
  Pl2000Forward(Bdegrees * 3600, Ldegrees * 3600, zone, x, y, distortion, convergence, status);
  EXPECT_EQ(status, 0);
  char text[128];
  std::snprintf(text, sizeof text, " %14.4f %14.4f %7.2f[cm/km] %12.8f[g] ", x, y, distortion,
                convergence);
  return text;
}

class TransJobTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::UseGrid(f, GridValue); }
  std::string Run(JobDescription& job, const std::string& inputName, const std::string& input,
                  const std::string& outputName, int secondsDecimals = 6, int linearDecimals = 4) {
    return testing::RunJob(f, job, inputName, input, outputName, secondsDecimals, linearDecimals);
  }
  const std::vector<std::string>& monitor() const { return f.ui.monitor.Lines(); }

  testing::JobFixture f;
};

const std::vector<std::string> kCompleted = {"panels: 1"};

TEST_F(TransJobTest, WorkedFiguresOfThePl2000Point) {
  const std::string input = "1235 5652126.56 6429808.46\r\n";
  struct Case {
    int frame, system;
    const char* output;
    std::string record;
  } table[] = {
      {2, 4, "BLH_GRS.1",
       "            1235 50 59 59.999553 17  0  0.000690     0.0677" +
           Cp1250(" PL-ETRF89  Z UKŁADU:  PL-ETRF2000 /xy2000  OPCJA MAT.") + "\r\n"},
      {3, 7, "BLH_KRA.1",
       "            1235 51  0  1.247328 17  0  6.407131   -38.0689" +
           Cp1250(" PULKOWO  Z UKŁADU:  PL-ETRF2000 /xy2000  OPCJA MAT.") + "\r\n"},
  };
  for (const auto& c : table) {
    JobDescription job = TransJob(1, 1, 18, c.frame, c.system, 0, kTheoretical);
    f.ui.dialogs.clear();
    EXPECT_EQ(Run(job, "xy2000", input, c.output), c.record) << c.output;
    EXPECT_EQ(f.ui.dialogs, kCompleted);
  }
}

TEST_F(TransJobTest, ErrorCasesDialogsAndCounts) {
  // BLH_GRS in decimal degrees to PL-2000 zone 15, both in PL-ETRF89.
  const std::string input =
      "P1 48.9 19.0\r\n"         // case A: south of 49°
      "P2 49 15 0\r\n"           // 49° exactly is inside
      "x 1\r\n"                  // two tokens: skipped
      "\r\n"                     // blank: skipped
      "P4 51 24 0\r\n"           // case C: 482 cm/km from the central meridian
      "P5 52 19 centrum\r\n"     // a comment where the height may stand: h = 0
      " ,; \r\n"                 // separators only: skipped
      "P6 52 30.5\r\n"           // case A: L = 30.5°
      "P7 52.0 15.5 10 uwagi";   // last line without a line end
  const std::string comment = Cp1250(" PL-ETRF89  Z UKŁADU:  PL-ETRF89 /BLH_GRS  OPCJA MAT.");
  const std::string zeros =
      "         0.0000         0.0000    0.00[cm/km]   0.00000000[g] ";
  const std::string expected =
      "              P1 ! punkt poza obszarem dopuszczalnym: 48.9000000 19.0000000\r\n"
      "              P2" + Pl2000Fields(49, 15, 15) + comment + "\r\n"
      "              P4" + zeros +
      " *** punkt P4 poza obszarem dopuszczalnym lub inny defekt danych \r\n"
      "              P5" + Pl2000Fields(52, 19, 15) + comment + "\r\n"
      "              P6 ! punkt poza obszarem dopuszczalnym: 52.0000000 30.5000000\r\n"
      "              P7" + Pl2000Fields(52, 15.5, 15) + comment + "\r\n";

  f.ui.answers = {false, true};  // No to the first question, Yes to the second
  JobDescription job = TransJob(2, 4, 0, 2, 1, 15, kTheoretical, kDecimal);
  EXPECT_EQ(Run(job, "BLH_GRS", input, "xy2000.1"), expected);
  const std::vector<std::string> dialogs = {
      "question:  Punkt poza obszarem dopuszczalnym, nr: P1 - Czy wyłączyć ten komunikat?  -> No",
      "question:  *** punkt P4 poza obszarem dopuszczalnym lub inny defekt danych  - Czy "
      "wyłączyć ten komunikat?  -> Yes",
      "panels: 1",
  };
  EXPECT_EQ(f.ui.dialogs, dialogs);
  EXPECT_EQ(monitor()[2], " Zadanie wykonano - liczba błędów  3 ");
  EXPECT_EQ(monitor()[3], " Liczba punktów: 6");

  // The next job asks again.
  f.ui.dialogs.clear();
  Run(job, "BLH_GRS", "P1 48.9 19.0\r\n", "xy2000.1");
  EXPECT_EQ(f.ui.dialogs.size(), 2u);
}

TEST_F(TransJobTest, MissingTokensAtTheEndOfAGeodeticRecordReadAsZero) {
  const std::string comment =
      Cp1250(" PL-ETRF89  Z UKŁADU:  PL-ETRF89 /BLH_GRS  OPCJA MAT.") + "\r\n";
  const std::string failed =
      "  0  0  0.000000  0  0  0.000000     0.0000  *** punkt X poza obszarem dopuszczalnym lub "
      "inny defekt danych \r\n";
  const struct {
    int blFormat;
    const char* input;
    std::string record;
  } table[] = {
      {kDms, "M3 52 30 0 19 30", "              M3 52 30  0.000000 19 30  0.000000     0.0000" + comment},
      {kDms, "M4 52 30 0 19 30 0 wys.", "              M4 52 30  0.000000 19 30  0.000000     0.0000" + comment},
      {kDms, "X 52 30.5 0 19 30 0", "               X" + failed},  // a present token must be a number
      {kDms, "X 52 30 0 19 3O", "               X" + failed},
      {kDecimal, "P 52.5 19.5 centrum", "               P 52 30  0.000000 19 30  0.000000     0.0000" + comment},
  };
  for (const auto& c : table) {
    JobDescription job = TransJob(2, 4, 0, 2, 4, 0, kTheoretical, c.blFormat, kDms);
    EXPECT_EQ(Run(job, "BLH_GRS", std::string(c.input) + "\r\n", "BLH_GRS.1"), c.record) << c.input;
  }
}

// Plane records that belong to another zone or lie outside the area become
// error records, counted and asked about like the others.
TEST_F(TransJobTest, PlanePointsOfAnotherZoneOrOutsideTheArea) {
  const std::string input = "typo 57887012.165 7500457.7260\r\n"  // x with a digit too many
                            "Z18" + Pl2000Fields(52, 18.5, 18).substr(0, 30) + "\r\n" +
                            "S" + Pl2000Fields(48.5, 21.25, 21).substr(0, 30) + "\r\n";
  const std::string zeros = "  0  0  0.000000  0  0  0.000000     0.0000";
  const std::string expected =
      "            typo" + zeros +
      "  *** punkt typo poza obszarem dopuszczalnym lub inny defekt danych \r\n"
      "             Z18" + zeros + Cp1250(" *** punkt Z18 ze strefy 18, a wybrano strefę 21 ") + "\r\n"
      "               S ! punkt poza obszarem dopuszczalnym: 48.5000000 21.2500000\r\n";
  JobDescription job = TransJob(1, 1, 21, 1, 4, 0, kTheoretical);
  EXPECT_EQ(Run(job, "xy2000", input, "BLH_GRS.1"), expected);
  const std::vector<std::string> dialogs = {
      "question:   *** punkt typo poza obszarem dopuszczalnym lub inny defekt danych  - Czy "
      "wyłączyć ten komunikat?  -> No",
      "question:  *** punkt Z18 ze strefy 18, a wybrano strefę 21  - Czy wyłączyć ten komunikat? "
      " -> No",
      "question:  Punkt poza obszarem dopuszczalnym, nr: S - Czy wyłączyć ten komunikat?  -> No",
      "panels: 1",
  };
  EXPECT_EQ(f.ui.dialogs, dialogs);
  EXPECT_EQ(monitor()[2], " Zadanie wykonano - liczba błędów  3 ");
  EXPECT_EQ(monitor()[3], " Liczba punktów: 3");
}

// The Cartesian record of B, L (degrees), h on GRS80, written with 4 decimals.
std::string Grs80Record(const char* name, double B, double L, double h) {
  double X = 0, Y = 0, Z = 0;
  PointStatus status = 0;
  GeodeticToCartesian(kGrs80Ellipsoid.a, kGrs80Ellipsoid.e2, B * 3600, L * 3600, h, X, Y, Z,
                      status);
  char text[128];
  std::snprintf(text, sizeof text, "%s %.4f %.4f %.4f\r\n", name, X, Y, Z);
  return text;
}

TEST_F(TransJobTest, CartesianInputFailuresAndDecimalDegrees) {
  const std::string input = "G 0 0 0\r\n"                                // the geocentre
                            "U 3846287.0508 1175927.9611 zz\r\n"         // unreadable Z
                            "M 3846287.0508 1175927.9611\r\n"            // no Z at all
                            + Grs80Record("K", 51, 17, 100);
  const std::string failed = " poza obszarem dopuszczalnym lub inny defekt danych \r\n";
  const std::string zeros = "     0.00000000    0.00000000       0.00  *** punkt ";
  const std::string expected =
      "               G" + zeros + "G" + failed +
      "               U" + zeros + "U" + failed +
      "               M" + zeros + "M" + failed +
      "               K    51.00000000   17.00000000     100.00" +
      Cp1250(" PL-ETRF2000  Z UKŁADU:  PL-ETRF2000 /XYZ_GRS  OPCJA EMPIR. ") + "\r\n";
  JobDescription job = TransJob(1, 5, 0, 1, 4, 0, kEmpirical, kDms, kDecimal);
  // Seconds to 4 decimals (8 of a degree), metres to 2.
  EXPECT_EQ(Run(job, "XYZ_GRS", input, "BLH_GRS.1", 4, 2), expected);
  EXPECT_EQ(monitor()[2], " Zadanie wykonano - liczba błędów  3 ");
}

TEST_F(TransJobTest, UnreadablePlaneCoordinateIsAnErrorRecord) {
  const std::string input = "1 abc 500000\r\n"         // x is a word
                            "2 500000.0 0x1F\r\n"      // hexadecimal is not a number
                            "3 nan 500000\r\n"         // neither is "nan"
                            "4 500000 500000 uwagi\r\n";  // a comment after the numbers
  const std::string zeros = "  0  0  0.000000  0  0  0.000000     0.0000  *** punkt ";
  const std::string failed = " poza obszarem dopuszczalnym lub inny defekt danych \r\n";
  JobDescription job = TransJob(2, 2, 0, 2, 4, 0, kTheoretical);
  const std::string output = Run(job, "xy92", input, "BLH_GRS.1");
  EXPECT_EQ(output.substr(0, output.find("               4")),
            "               1" + zeros + "1" + failed + "               2" + zeros + "2" + failed +
                "               3" + zeros + "3" + failed);
  EXPECT_NE(output.find(Cp1250(" PL-ETRF89  Z UKŁADU:  PL-ETRF89 /xy92  OPCJA MAT.") + "\r\n"),
            std::string::npos);
  EXPECT_EQ(monitor()[2], " Zadanie wykonano - liczba błędów  3 ");
  EXPECT_EQ(monitor()[3], " Liczba punktów: 4");
}

TEST_F(TransJobTest, LongitudeFillingItsFieldStaysReadable) {
  // West of Greenwich the longitude comes back as 343°: 14 characters at 10 decimals.
  JobDescription job = TransJob(2, 5, 0, 2, 4, 0, kEmpirical, kDms, kDecimal);
  const std::string output = Run(job, "XYZ_GRS", Grs80Record("W", 51, -17, 0), "BLH_GRS.1");
  // Name, blank, latitude field, then one blank before the full longitude field.
  EXPECT_EQ(output.substr(0, 22), "               W  51.0");
  EXPECT_EQ(output.substr(31, 6), " 343.0");
  TokenList tokens;
  SplitLine(output, tokens);
  double B = 0, L = 0;
  ASSERT_TRUE(ParseReal(tokens[2], B));
  ASSERT_TRUE(ParseReal(tokens[3], L));
  EXPECT_NEAR(B, 51, 1e-9);  // the Cartesian record holds 0.1 mm
  EXPECT_NEAR(L, 343, 1e-9);
}

TEST_F(TransJobTest, EmptyInputGivesEmptyResult) {
  JobDescription job = TransJob(1, 2, 0, 3, 7, 0, kEmpirical);
  EXPECT_EQ(Run(job, "xy92", "", "BLH_KRA.1"), "");
  EXPECT_EQ(f.ui.dialogs, kCompleted);
  EXPECT_EQ(monitor()[3], " Liczba punktów: 0");
}

TEST_F(TransJobTest, SameFrameAndZoneUsesNoGrid) {
  // 53.1° N, 15.1° E lies in no grid cell with data in this grid, so an
  // empirical frame change would refuse it; the same frame keeps it.
  testing::UseGrid(f, [](int i, int j, int layer) {
    return layer == 7 && i >= 400 && i <= 420 && j >= 100 && j <= 120 ? 0 : GridValue(i, j, layer);
  });
  const std::string fields = Pl2000Fields(53.1, 15.1, 15);
  const std::string input = "H" + fields.substr(0, 31) + "\r\n";  // name, x, y
  JobDescription same = TransJob(1, 1, 15, 1, 1, 15, kEmpirical);
  EXPECT_EQ(Run(same, "xy2000", input, "xy2000.1"),
            "               H" + fields +
                Cp1250(" PL-ETRF2000  Z UKŁADU:  PL-ETRF2000 /xy2000  OPCJA EMPIR. ") + "\r\n");
  JobDescription change = TransJob(1, 1, 15, 2, 1, 15, kEmpirical);
  EXPECT_EQ(Run(change, "xy2000", input, "xy2000.1"),
            "               H         0.0000         0.0000    0.00[cm/km]   0.00000000[g]   *** "
            "punkt H poza obszarem dopuszczalnym lub inny defekt danych \r\n");
}

// ---- Round trips through every system, as printed ----

struct SystemUse {
  int frame, system, zone;
  const char* file;
};

const SystemUse kSystems[] = {
    {1, 1, 18, "xy2000"}, {1, 2, 0, "xy92"},       {1, 3, 21, "UTM"},
    {1, 4, 0, "BLH_GRS"}, {1, 5, 0, "XYZ_GRS"},    {2, 1, 18, "xy2000"},
    {2, 2, 0, "xy92"},    {2, 3, 21, "UTM"},       {2, 4, 0, "BLH_GRS"},
    {2, 5, 0, "XYZ_GRS"}, {3, 1, 5, "xy65"},       {3, 2, 18, "xy42_3"},
    {3, 3, 21, "xy42_6"}, {3, 4, 18, "xy42_83_3"}, {3, 5, 21, "xy42_83_6"},
    {3, 6, 0, "xyTARVO80"}, {3, 7, 0, "BLH_KRA"}, {3, 8, 0, "XYZ_KRA"},
};

// xy2000 points of zone 18 in PL-ETRF2000, spread around 52° N, 18.5°–19.4° E.
const char* const kRoundTripInput =
    "1 5772000.0000 6470000.0000\r\n"
    "2 5760123.4567 6531234.5678\r\n"
    "A-3 5801000.1000 6555000.9999\r\n";

// Numbers 2 and 3 of every record, with the names. A line without CR LF is
// the last: a result whose line ends are wrong then compares short and fails.
std::vector<std::string> PlaneTokens(const std::string& file) {
  std::vector<std::string> tokens;
  std::size_t start = 0;
  while (start < file.size()) {
    const std::size_t end = file.find("\r\n", start);
    const std::string line = file.substr(start, end == std::string::npos ? end : end - start);
    start = end == std::string::npos ? file.size() : end + 2;
    TokenList t;
    SplitLine(line, t);
    for (int i = 1; i <= 3; ++i) tokens.emplace_back(t[i]);
  }
  return tokens;
}

TEST(PlaneTokensHelper, StopsAtALastLineWithoutCrLf) {
  const std::optional<int> status = testing::ExitStatusWithin(2, [] {
    const std::vector<std::string> expected{"P1", "1", "2", "P2", "3", "4"};
    return PlaneTokens("P1 1 2\r\nP2 3 4") == expected ? 0 : 1;
  });
  EXPECT_EQ(status, 0) << "(none: stopped after 2 s)";
}

TEST_F(TransJobTest, RoundTripThroughEverySystemAsPrinted) {
  const std::vector<std::string> original = PlaneTokens(kRoundTripInput);
  for (const int blFormat : {kDms, kDecimal}) {
    for (const SystemUse& s : kSystems) {
      const std::string what = std::string(s.file) + "/" + std::to_string(s.frame) +
                               (blFormat == kDms ? " dms" : " degrees");
      JobDescription there = TransJob(1, 1, 18, s.frame, s.system, s.zone, kEmpirical, kDms, blFormat);
      const std::string middle =
          Run(there, "xy2000", kRoundTripInput, std::string(s.file) + ".1");
      ASSERT_EQ(monitor()[3], " Liczba punktów: 3") << what;
      JobDescription back = TransJob(s.frame, s.system, s.zone, 1, 1, 18, kEmpirical, blFormat, kDms);
      const std::vector<std::string> returned =
          PlaneTokens(Run(back, s.file, middle, "xy2000.1"));
      ASSERT_EQ(returned.size(), original.size()) << what;
      for (std::size_t i = 0; i < original.size(); ++i) {
        if (i % 3 == 0) {
          EXPECT_EQ(returned[i], original[i]) << what;
          continue;
        }
        // Back to the printed 0.0001 m, give or take the last digit.
        EXPECT_NEAR(std::stod(returned[i]), std::stod(original[i]), 1.0001e-4)
            << what << " " << original[i] << " " << returned[i];
      }
    }
  }
}

}  // namespace
}  // namespace kolvedir
