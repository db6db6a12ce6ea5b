// TRANS-H and quasigeoid jobs end to end, result files compared byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/point_record.h"
#include "tests/engine/loop_test_support.h"

namespace kolvedir {
namespace {

using testing::HeightJob;
using testing::QuasigeoidJob;

constexpr int kDms = 1;
constexpr int kDecimal = 2;
constexpr int kKron86 = 11, kKron2006 = 12, kEvrf2007 = 13;
constexpr int kEtrf2000 = 5, kEtrf89 = 6;
constexpr int kAnomaly = 21, kToNormal = 22, kToEllipsoidal = 23;

// Layer 1: ζ = 35 m; layer 2: +0.01234 m beyond −0.00495; layer 3: −0.00567 m
// beyond +0.17084. No data (layer 7 = 0) in 53.00°–53.20° N, 15.00°–15.20° E.
std::int32_t GridValue(int i, int j, int layer) {
  switch (layer) {
    case 1: return 350000;
    case 2: return 1234;
    case 3: return -567;
    case 7: return i >= 400 && i <= 420 && j >= 100 && j <= 120 ? 0 : 34660;
    default: return 100;
  }
}

// Normal height of a level surface in each datum relative to PL-KRON86-NH, m.
double DatumLevel(int datum) {
  const double kron2006 = -0.00495 + 0.01234;
  return datum == kKron86 ? 0 : datum == kKron2006 ? kron2006 : kron2006 + 0.17084 - 0.00567;
}

const char* DatumFile(int datum) {
  return datum == kKron86 ? "BLH_K86" : datum == kKron2006 ? "BLH_K2006" : "BLH_EVRF";
}

const char* DatumComment(int datum) {
  return datum == kKron86 ? "PL-KRON86-NH " : datum == kKron2006 ? "KRON2006 " : "PL-EVRF2007-NH ";
}

std::string Height(double h) {
  char text[32];
  std::snprintf(text, sizeof text, "%10.4f", h);
  return text;
}

class HeightJobsTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::UseGrid(f, GridValue); }
  std::string Run(JobDescription job, const std::string& inputName, const std::string& input,
                  const std::string& outputName) {
    return testing::RunJob(f, job, inputName, input, outputName);
  }
  const std::vector<std::string>& monitor() const { return f.ui.monitor.Lines(); }

  testing::JobFixture f;
};

TEST_F(HeightJobsTest, EveryDatumPair) {
  for (const int from : {kKron86, kKron2006, kEvrf2007}) {
    for (const int to : {kKron86, kKron2006, kEvrf2007}) {
      JobDescription job = HeightJob(from, to);
      const std::string output = Run(job, DatumFile(from),
                                           "125 52 0 0.0 19 0 0.0 100.0\r\n",
                                           std::string(DatumFile(to)) + ".1");
      EXPECT_EQ(output, "             125 52  0   0.00000 19  0   0.00000 " +
                            Height(100 + DatumLevel(to) - DatumLevel(from)) + " " +
                            DatumComment(to) + " z " + DatumComment(from) + "\r\n")
          << from << " → " << to;
    }
  }
  EXPECT_EQ(monitor()[2], " Zadanie wykonano - liczba błędów:  0 ");
}

TEST_F(HeightJobsTest, RecordsOfTransH) {
  const std::string input =
      "A 52.5 19.25 10\r\n"        // decimal input, written as parts
      "B 48 19 10\r\n"             // out of the area
      "C 53.1 15.1 10\r\n"         // no grid data there
      "D 52.0 19.0\r\n"            // no height to transform
      "E 52.0 19.0 1O.5\r\n"       // a letter O in the height
      "\r\n"
      "F 54 18 -5.25 komentarz";   // last line without a line end
  const std::string failed = " poza obszarem dopuszczalnym lub inny defekt danych \r\n";
  const std::string comment = " PL-KRON86-NH  z KRON2006 \r\n";
  const std::string delta = "     0.0000  *** punkt ";
  const std::string expected =
      "               A 52 30   0.00000 19 15   0.00000 " + Height(10 - DatumLevel(kKron2006)) +
      comment +
      "               B ! punkt poza obszarem dopuszczalnym\r\n"
      "               C 53  6   0.00000 15  6   0.00000" + delta + "C" + failed +
      "               D 52  0   0.00000 19  0   0.00000" + delta + "D" + failed +
      "               E 52  0   0.00000 19  0   0.00000" + delta + "E" + failed +
      "               F 54  0   0.00000 18  0   0.00000 " + Height(-5.25 - DatumLevel(kKron2006)) +
      comment;
  f.ui.answers = {false, true};
  EXPECT_EQ(Run(HeightJob(kKron2006, kKron86, kDecimal, kDms), "BLH_K2006", input, "BLH_K86.1"),
            expected);
  const std::vector<std::string> dialogs = {
      "question:  punkt poza obszarem dopuszczalnym, nr: B - Czy wyłączyć ten komunikat?  -> No",
      "question:   *** punkt C poza obszarem dopuszczalnym lub inny defekt danych  - Czy "
      "wyłączyć ten komunikat?  -> Yes",
      "panels: 2",
  };
  EXPECT_EQ(f.ui.dialogs, dialogs);
  EXPECT_EQ(monitor()[2], " Zadanie wykonano - liczba błędów:  4 ");
  EXPECT_EQ(monitor()[3], " Liczba punktów: 6");
}

TEST_F(HeightJobsTest, SameDatumCopiesTheHeightWithoutTheGrid) {
  // Seconds of 75 are kept as they were read: 75/3600 degree.
  EXPECT_EQ(Run(HeightJob(kEvrf2007, kEvrf2007, kDms, kDecimal), "BLH_EVRF", "C 53 6 0 15 5 75.0 123.45678\r\n", "BLH_EVRF.1"),
            "               C   53.100000000   15.104166667   123.4568 PL-EVRF2007-NH  z "
            "PL-EVRF2007-NH \r\n");
  EXPECT_EQ(Run(HeightJob(kEvrf2007, kEvrf2007), "BLH_EVRF",
                      "C 53 6 0 15 5 75.0 123.45678\r\n", "BLH_EVRF.1"),
            "               C 53  6   0.00000 15  5  75.00000   123.4568 PL-EVRF2007-NH  z "
            "PL-EVRF2007-NH \r\n");
}

TEST_F(HeightJobsTest, BlankLinesOnly) {
  EXPECT_EQ(Run(HeightJob(kKron86, kEvrf2007), "BLH_K86", "\r\n  \r\n,;\r\n", "BLH_EVRF.1"),
            "");
  EXPECT_EQ(f.ui.dialogs, std::vector<std::string>{"panels: 2"});
  EXPECT_EQ(monitor()[2], " Zadanie wykonano - liczba błędów:  0 ");
  EXPECT_EQ(monitor()[3], " Liczba punktów: 0");
}

// The height of the only record of a result file, token 8 of the DMS layout.
double HeightOf(const std::string& record) {
  TokenList tokens;
  SplitLine(record, tokens);
  double h = 0;
  EXPECT_TRUE(ParseReal(tokens[8], h)) << record;
  return h;
}

TEST_F(HeightJobsTest, QuasigeoidTasks) {
  struct Case {
    const char* what;
    JobDescription job;
    const char* input;
    const char* output;
    std::string record;
  } table[] = {
      {"anomaly in PL-ETRF2000; the height token is ignored", QuasigeoidJob(kEtrf2000, kAnomaly),
       "Q 51 0 0 17 0 0 99.9", "BLn.1",
       "               Q 51  0   0.00000 17  0   0.00000    35.0000  Hel_ETRF2000 - Hn_KRON86 \r\n"},
      {"normal from ellipsoidal, PL-ETRF2000", QuasigeoidJob(kEtrf2000, kToNormal),
       "Q 51 0 0 17 0 0 135.5", "BLH_n.1",
       "               Q 51  0   0.00000 17  0   0.00000   100.5000  PL_KRON86-NH z Hel_ETRF2000 \r\n"},
      {"ellipsoidal from normal, PL-ETRF2000", QuasigeoidJob(kEtrf2000, kToEllipsoidal, kDecimal,
                                                             kDecimal),
       "Q 51 17 100", "BLH_e.1",
       "               Q   51.000000000   17.000000000   135.0000  Hel(PL_ETRF2000)\r\n"},
      {"out of the area", QuasigeoidJob(kEtrf89, kAnomaly), "Q 51 0 0 25 0 0", "BLn.1",
       "               Q ! punkt poza dopuszczalnym obszarem\r\n"},
      {"no grid data", QuasigeoidJob(kEtrf89, kToNormal), "Q 53 6 0 15 6 0 100", "BLH_n.1",
       "               Q 53  6   0.00000 15  6   0.00000     0.0000  *** punkt Q poza obszarem "
       "dopuszczalnym lub inny defekt danych\r\n"},
      {"no height to convert", QuasigeoidJob(kEtrf2000, kToEllipsoidal), "Q 51 0 0 17 0 0",
       "BLH_e.1",
       "               Q 51  0   0.00000 17  0   0.00000     0.0000  *** punkt Q poza obszarem "
       "dopuszczalnym lub inny defekt danych\r\n"},
  };
  for (auto& c : table) {
    EXPECT_EQ(Run(c.job, c.job.InputSystem == kAnomaly ? "BL"
                               : c.job.InputSystem == kToNormal ? "BLH_e"
                                                                : "BLH_n",
                        c.input, c.output),
              c.record)
        << c.what;
  }
}

TEST_F(HeightJobsTest, QuasigeoidInPlEtrf89) {
  // At 51°, 17° an anomaly of 35 m in PL-ETRF2000 is about 35.0677 m in PL-ETRF89.
  const std::string zeta = Run(QuasigeoidJob(kEtrf89, kAnomaly), "BL", "Q 51 0 0 17 0 0\r\n", "BLn.1");
  EXPECT_NE(zeta.find("  Hel_ETRF89 - Hn_KRON86 \r\n"), std::string::npos) << zeta;
  EXPECT_NEAR(HeightOf(zeta), 35.0677, 0.00015);
  const std::string normal = Run(QuasigeoidJob(kEtrf89, kToNormal), "BLH_e", "Q 51 0 0 17 0 0 135.5\r\n", "BLH_n.1");
  EXPECT_NE(normal.find("  PL_KRON86-NH z Hel_ETRF89 \r\n"), std::string::npos) << normal;
  EXPECT_NEAR(HeightOf(normal), 135.5 - HeightOf(zeta), 0.000051);
  const std::string ellipsoidal =
      Run(QuasigeoidJob(kEtrf89, kToEllipsoidal), "BLH_n", "Q 51 0 0 17 0 0 100.5\r\n", "BLH_e.1");
  EXPECT_NE(ellipsoidal.find("  Hel(PL-ETRF89) \r\n"), std::string::npos) << ellipsoidal;
  EXPECT_NEAR(HeightOf(ellipsoidal), 100.5 + HeightOf(zeta), 0.000051);
}

TEST_F(HeightJobsTest, YesSilencesTheRestOfTheJobOnly) {
  JobDescription job = QuasigeoidJob(kEtrf2000, kAnomaly);
  const std::string input = "1 48 0 0 17 0 0\r\n2 53 6 0 15 6 0\r\n3 56 0 0 17 0 0\r\n";
  f.ui.answers = {true};
  Run(job, "BL", input, "BLn.1");
  EXPECT_EQ(f.ui.dialogs.size(), 2u);  // one question and the panels
  EXPECT_EQ(monitor()[2], " Zadanie wykonano - liczba błędów:  3 ");
  f.ui.dialogs.clear();
  Run(job, "BL", input, "BLn.1");
  EXPECT_EQ(f.ui.dialogs.size(), 4u);
}

}  // namespace
}  // namespace kolvedir
