// Whole jobs through RunJob: validation messages, monitor lines, files
// written byte for byte, point dialogs with suppression, failed result files.
#include "engine/job.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "engine/record_blocks.h"
#include "grid/model_grid.h"
#include "tests/engine/job_fixture.h"

namespace kolvedir {
namespace {

using testing::Cp1250;
using testing::HeightJob;
using testing::JobFixture;
using testing::QuasigeoidJob;
using testing::TransJob;
using V = std::vector<std::string>;

const std::string kBlank41(41, ' ');
const std::string kGridOk = " Czytanie siatki interpolacyjnej - ok. ";
const std::string kEnd = " KONIEC OBLICZEŃ ";

struct Refusal {
  const char* what;
  JobDescription job;
  std::string input;  // file written into the object first ("" none)
  std::string message;
  bool afterGrid;     // the grid was read before the refusal
};

TEST(JobValidationTest, EveryCheckRefusesWithItsMessageAndWritesNothing) {
  const Refusal cases[] = {
      {"no module", JobDescription{}, "", "Nie określono zadania do wykonania", false},
      {"no input frame", TransJob(0, 2, 0, 1, 2, 0), "", "Nie określono układu odniesienia na wejściu", false},
      {"no output frame", TransJob(1, 2, 0, 0, 2, 0), "", "Nie określono układu odniesienia na wyjściu", false},
      {"no input system", TransJob(1, 0, 0, 1, 2, 0), "", "Nie określono zbioru wejściowego", false},
      {"no output system", TransJob(1, 2, 0, 1, 0, 0), "", "Nie określono zbioru wynikowego", false},
      {"no input zone, xy2000", TransJob(1, 1, 0, 1, 2, 0), "", "Nie określono strefy na wejściu", false},
      {"no input zone, UTM", TransJob(2, 3, 0, 1, 2, 0), "", "Nie określono strefy na wejściu", false},
      {"no output zone, xy2000", TransJob(1, 2, 0, 2, 1, 0), "", "Nie określono strefy na wyjściu", false},
      {"no input zone, xy65", TransJob(3, 1, 0, 1, 2, 0), "", "Nie określono strefy na wejściu", false},
      {"no input zone, xy42_83_6", TransJob(3, 5, 0, 1, 2, 0), "", "Nie określono strefy na wejściu", false},
      {"no output zone, xy42_83_3", TransJob(1, 2, 0, 3, 4, 0), "", "Nie określono strefy na wyjściu", false},
      {"TRANS-H without input datum", HeightJob(0, 12), "", "Nie określono zbioru wejściowego", false},
      {"quasigeoid without task", QuasigeoidJob(5, 0), "", "Nie określono zbioru wejściowego", false},
      {"input frame out of range", TransJob(4, 2, 0, 1, 2, 0), "", "Nie określono układu odniesienia na wejściu", true},
      {"output frame out of range", TransJob(1, 2, 0, 7, 2, 0), "", "Nie określono układu odniesienia na wyjściu", true},
      {"unknown input system", TransJob(1, 9, 0, 1, 2, 0), "",
       "Nie określono układu współrzędnych na wejściu", true},
      {"missing TRANS 2D/3D input", TransJob(1, 2, 0, 1, 4, 0), "", " ! nie istnieje zbiór wejściowy: ", true},
      {"TRANS-H input out of range", HeightJob(4, 12), "", "ale najpierw określ układ wysokościowy na wejściu", true},
      {"missing TRANS-H input", HeightJob(11, 12), "", " nie istnieje zbiór wejściowy: ", true},
      {"TRANS-H output out of range", HeightJob(11, 4), "BLH_K86", " nie określono zbioru wynikowego ", true},
      {"quasigeoid frame out of range", QuasigeoidJob(2, 21), "", "ale najpierw określ układ odniesienia", true},
      {"quasigeoid task out of range", QuasigeoidJob(5, 11), "", "ale najpierw określ rodzaj przekształcenia", true},
      {"missing quasigeoid input", QuasigeoidJob(6, 22), "", " nie istnieje zbiór wejściowy: ", true},
  };
  for (const Refusal& c : cases) {
    JobFixture f;
    if (!c.input.empty()) f.WriteInput(c.input, "1 52 0 0 19 0 0 100\r\n");
    // JobRefusal gives the same message without the grid; a missing input it leaves to the job.
    const bool fileCheck = c.message.find("nie istnieje") != std::string::npos;
    EXPECT_EQ(JobRefusal(c.job), fileCheck ? std::nullopt : std::optional(c.message)) << c.what;
    JobDescription job = c.job;
    EXPECT_EQ(f.Run(job), JobOutcome::kRefused) << c.what;
    ASSERT_EQ(f.ui.dialogs.size(), 1u) << c.what;
    // A missing input file is named by its full path.
    EXPECT_EQ(f.ui.dialogs[0].rfind("info: " + c.message, 0), 0u) << c.what << ": " << f.ui.dialogs[0];
    const V expected = c.afterGrid
        ? V{"MONITOR", kGridOk, " Liczba punktów: 0", kEnd, kBlank41, kBlank41, kBlank41,
            kBlank41, kBlank41, kBlank41, kBlank41}
        : V{"MONITOR", " Liczba punktów: 0", kEnd, "", "", "", "", "", "", "", ""};
    EXPECT_EQ(f.ui.monitor.Lines(), expected) << c.what;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.object()), {}),
              c.input.empty() ? 0 : 1) << c.what;
  }
}

TEST(JobValidationTest, MissingInputIsNamedWithItsFullPath) {
  JobFixture f;
  JobDescription job = TransJob(1, 1, 18, 2, 2, 0);
  f.Run(job);
  EXPECT_EQ(f.ui.dialogs, V{"info:  ! nie istnieje zbiór wejściowy: " + (f.object() / "xy2000").string()});
  EXPECT_FALSE(f.Exists("xy92.1"));
  EXPECT_EQ(f.ui.status[3], "Folder roboczy: " + f.object().string());
}

// The job goes on to open the file and fails there, without a crash.
TEST(JobValidationTest, ObjectNameTheSystemRefusesFailsTheJob) {
  JobFixture f;
  JobDescription job = TransJob(2, 2, 0, 2, 2, 0);
  const std::string tooLong(300, 'a');
  EXPECT_EQ(RunJob(job, f.objectsRoot(), tooLong, "", "", f.gridFile(), f.counters, f.ui),
            JobOutcome::kFailed);
  ASSERT_EQ(f.ui.dialogs.size(), 1u);
  EXPECT_EQ(f.ui.dialogs[0].rfind("info:  *** Nie można otworzyć zbioru wejściowego: ", 0), 0u)
      << f.ui.dialogs[0];
}

TEST(JobValidationTest, SystemsWithoutZonesNeedNone) {
  const struct {
    const char* what;
    JobDescription job;
    const char* input;
  } cases[] = {
      {"xy92 to BLH_GRS", TransJob(2, 2, 0, 2, 4, 0), "xy92"},
      {"xyTARVO80 to XYZ_KRA", TransJob(3, 6, 0, 3, 8, 0), "xyTARVO80"},
      {"BLH_KRA to XYZ_GRS", TransJob(3, 7, 0, 1, 5, 0), "BLH_KRA"},
  };
  for (const auto& c : cases) {
    JobFixture f;
    f.WriteInput(c.input, "");
    JobDescription job = c.job;
    EXPECT_EQ(f.Run(job), JobOutcome::kCompleted) << c.what;
    EXPECT_EQ(f.ui.dialogs, V{"panels: 1"}) << c.what;
  }
}

TEST(JobGridTest, MissingOrShortGridEndsEveryJob) {
  for (bool shortGrid : {false, true}) {
    JobFixture f;
    f.WriteInput("xy92", "1 500000 500000\r\n");
    if (shortGrid) {
      std::filesystem::remove(f.gridFile());  // a link to the shared grid
      testing::WriteBytes(f.gridFile(), std::vector<unsigned char>(1000, 1));
    } else {
      std::filesystem::remove(f.gridFile());
      // A grid in the object folder does not count.
      std::filesystem::copy_file(f.object() / "xy92", f.object() / "PL_grid_001.bin");
    }
    f.counters.MonitorLine = 4;  // as a previous job left it
    JobDescription job = TransJob(2, 2, 0, 2, 2, 0, 1);
    EXPECT_EQ(f.Run(job), JobOutcome::kRefused);
    ASSERT_EQ(f.ui.dialogs.size(), 1u);
    if (!shortGrid) {
      EXPECT_EQ(f.ui.dialogs[0], "message:  *** Brak pliku bazowego " + f.gridFile().string());
    }
    EXPECT_EQ(f.ui.dialogs[0].rfind("message: ", 0), 0u) << f.ui.dialogs[0];
    EXPECT_FALSE(f.Exists("xy92.1"));
    const V expected{"MONITOR", kBlank41, kBlank41, kBlank41, kBlank41, " Liczba punktów: 0",
                     kEnd, kBlank41, kBlank41, kBlank41, kBlank41};
    EXPECT_EQ(f.ui.monitor.Lines(), expected);
  }
}

TEST(JobMonitorTest, LinesOfConsecutiveJobs) {
  JobFixture f;
  JobDescription none;
  f.Run(none);
  EXPECT_EQ(f.ui.monitor.Lines(),
            (V{"MONITOR", " Liczba punktów: 0", kEnd, "", "", "", "", "", "", "", ""}));

  f.WriteInput("xy92", "1 500000 500000\r\n2 500100 500100\r\nbad x 1\r\n");
  JobDescription job = TransJob(2, 2, 0, 2, 2, 0, 1);
  EXPECT_EQ(f.Run(job), JobOutcome::kCompleted);
  const V afterJob{"MONITOR", kGridOk, " Zadanie wykonano - liczba błędów  1 ", " Liczba punktów: 3",
                   kEnd, kBlank41, kBlank41, kBlank41, kBlank41, kBlank41, kBlank41};
  EXPECT_EQ(f.ui.monitor.Lines(), afterJob);
  EXPECT_EQ(f.counters.ErrorCount, 0);
  EXPECT_EQ(f.counters.PointCount, 0);

  f.Run(none);
  V afterNone = afterJob;
  afterNone[5] = " Liczba punktów: 0";
  afterNone[6] = kEnd;
  EXPECT_EQ(f.ui.monitor.Lines(), afterNone);
  for (int i = 0; i < 3; ++i) f.Run(none);  // beyond the last line: lost silently
  EXPECT_EQ(f.counters.MonitorLine, 12);
}

TEST(JobMonitorTest, ErrorCountZeroAndThePanelsOfTheModule) {
  JobFixture f;
  f.WriteInput("xy92", "1 500000 500000\r\n");
  JobDescription job = TransJob(2, 2, 0, 2, 2, 0, 1);
  f.Run(job);
  EXPECT_EQ(f.ui.monitor.Lines()[2], " Zadanie wykonano - liczba błędów  0 ");
  EXPECT_EQ(f.ui.dialogs, V{"panels: 1"});
}

TEST(JobMonitorTest, ResultLinesAndPanelsOfTheHeightModules) {
  const struct {
    JobDescription job;
    const char* input;
    const char* output;
    const char* panels;
  } cases[] = {
      {HeightJob(11, 13), "BLH_K86", "BLH_EVRF.1", "panels: 2"},
      {QuasigeoidJob(5, 21), "BL", "BLn.1", "panels: 3"},
      {QuasigeoidJob(6, 22), "BLH_e", "BLH_n.1", "panels: 3"},
      {QuasigeoidJob(6, 23), "BLH_n", "BLH_e.1", "panels: 3"},
  };
  for (const auto& c : cases) {
    JobFixture f;
    f.WriteInput(c.input, "\r\n \r\n");
    JobDescription job = c.job;
    EXPECT_EQ(f.Run(job), JobOutcome::kCompleted) << c.output;
    EXPECT_EQ(f.ui.dialogs, V{c.panels}) << c.output;
    EXPECT_EQ(f.ReadOutput(c.output), "") << c.output;
    EXPECT_EQ(f.ui.monitor.Lines()[2], " Zadanie wykonano - liczba błędów:  0 ") << c.output;
    EXPECT_EQ(f.ui.monitor.Lines()[3], " Liczba punktów: 0") << c.output;
  }
}

// Every job that reads the values of the model grid says so right after the
// grid line, in lines the window's monitor shows whole: TRANS 2D/3D of the
// empirical method, TRANS-H and the quasigeoid module.
TEST(JobMonitorTest, ModelGridNoticeAtTheStartOfJobsThatReadTheGrid) {
  const V notice = {" Uwaga: PL_grid_001.bin jest siatką modelową,",
                    " wyliczoną z modeli teoretycznych - do prac",
                    " praktycznych zastąp ją oficjalnym plikiem siatki."};
  const struct {
    const char* what;
    bool model;
    JobDescription job;
    const char* input;
    const char* records;
    bool notice;
  } cases[] = {
      {"empirical", true, TransJob(1, 2, 0, 1, 2, 0, 0), "xy92", "1 500000 500000\r\n", true},
      {"theoretical", true, TransJob(1, 2, 0, 1, 2, 0, 1), "xy92", "1 500000 500000\r\n", false},
      {"official grid", false, TransJob(1, 2, 0, 1, 2, 0, 0), "xy92", "1 500000 500000\r\n",
       false},
      {"TRANS-H", true, HeightJob(11, 13), "BLH_K86", "P 52 0 0 21 0 0 100\r\n", true},
      {"quasigeoid", true, QuasigeoidJob(5, 21), "BL", "P 52 0 0 21 0 0\r\n", true},
      {"TRANS-H, official grid", false, HeightJob(11, 13), "BLH_K86", "P 52 0 0 21 0 0 100\r\n",
       false},
  };
  for (const auto& c : cases) {
    JobFixture f;
    if (c.model) {
      ASSERT_EQ(WriteModelGrid(f.gridFile(), {}), ModelGridResult::kWritten);
    }
    f.WriteInput(c.input, c.records);
    JobDescription job = c.job;
    ASSERT_EQ(f.Run(job), JobOutcome::kCompleted) << c.what;
    const V& lines = f.ui.monitor.Lines();
    EXPECT_EQ(lines[1], kGridOk);
    EXPECT_EQ(V(lines.begin() + 2, lines.begin() + 5) == notice, c.notice) << c.what;
    EXPECT_EQ(lines[c.notice ? 5 : 2].rfind(" Zadanie wykonano - liczba błędów", 0), 0u) << c.what;
  }
}

// A hint after the result line when the geodetic records look written in the
// other BL format: every one lies outside the area in the chosen format but
// inside it in the other, or most of them carry the other format's shape
// (whole degrees and minutes under "[stopnie]", fractional degrees under
// "[stopnie min sek]"). The records are written as the chosen format reads them.
TEST(JobMonitorTest, HintAtTheBlFormatTheFileSeemsToUse) {
  const std::string kDecimal = "Warszawa 52.231900 21.006700 112.4\r\nKielce 50.8703 20.6275 264.2\r\n";
  const std::string kDms = "Warszawa 52 13 54.84 21 0 24.12 112.4\r\n";
  const std::string kWholeDegrees = "Warszawa 52 21 112.4\r\nKielce 51 20 264.2\r\n";
  // Read as decimal degrees, Lublin and Rzeszów lie inside the area.
  const std::string kDmsMostlyInside = kDms + "Lublin 51 14 47.4 22 34 6.24 203.9\r\n"
                                              "Rzeszów 50 22 15.0 22 0 16.92 214.8\r\n";
  const std::string hint = " Uwaga: współrzędne B L zbioru wejściowego wyglądają";
  const V toDecimal = {hint, " na format [stopnie], a wybrano [stopnie min sek]"};
  const V toDms = {hint, " na format [stopnie min sek], a wybrano [stopnie]"};
  JobDescription decimalTrans = TransJob(1, 4, 0, 1, 2, 0);
  decimalTrans.BLInputFormat = BlFormat::kDecimalDegrees;
  const struct {
    const char* what;
    JobDescription job;
    const char* input;
    std::string records;
    V hint;  // none: line 3 is the point count
  } cases[] = {
      {"decimal file, dms chosen", TransJob(1, 4, 0, 1, 2, 0), "BLH_GRS", kDecimal, toDecimal},
      {"dms file, decimal chosen", HeightJob(11, 13, 2, 1), "BLH_K86", kDms, toDms},
      {"quasigeoid", QuasigeoidJob(5, 23), "BLH_n", kDecimal, toDecimal},
      {"whole decimal degrees, dms chosen", TransJob(1, 4, 0, 1, 2, 0), "BLH_GRS", kWholeDegrees,
       toDecimal},
      {"one record outside in both", TransJob(1, 4, 0, 1, 2, 0), "BLH_GRS",
       kWholeDegrees + "Daleko 10 10 1\r\n", {}},
      {"dms file mostly inside as decimal, decimal chosen", decimalTrans, "BLH_GRS",
       kDmsMostlyInside, toDms},
      {"the same, TRANS-H", HeightJob(11, 13, 2, 1), "BLH_K86", kDmsMostlyInside, toDms},
      {"most records decimal, dms chosen", TransJob(1, 4, 0, 1, 2, 0), "BLH_GRS",
       kDecimal + "Dobry 52 13 54.84 21 0 24.12 1\r\n", toDecimal},
      {"half the records decimal, dms chosen", TransJob(1, 4, 0, 1, 2, 0), "BLH_GRS",
       kDecimal + kDms + "Dobry 52 13 54.84 21 0 24.12 1\r\n", {}},
      {"dms file, dms chosen", HeightJob(11, 13), "BLH_K86", kDmsMostlyInside, {}},
      {"plane input", TransJob(1, 2, 0, 1, 2, 0), "xy92", "1 5000000 5000000\r\n", {}},
  };
  for (const auto& c : cases) {
    JobFixture f;
    f.WriteInput(c.input, c.records);
    f.ui.answers = {true};
    JobDescription job = c.job;
    ASSERT_EQ(f.Run(job), JobOutcome::kCompleted) << c.what;
    const V& lines = f.ui.monitor.Lines();
    EXPECT_EQ(V(lines.begin() + 3, lines.begin() + 3 + c.hint.size()), c.hint) << c.what;
    EXPECT_EQ(lines[3 + c.hint.size()].rfind(" Liczba punktów: ", 0), 0u) << c.what;
  }
}

// The point 1235 on the central meridian of zone 18: convergence 0 and the
// scale distortion of the PL-2000 scale factor 0.999923, −7.70 cm/km.
TEST(TransJobFileTest, Xy2000RecordThroughTheSameSystemByteForByte) {
  JobFixture f;
  f.WriteInput("xy2000", "   1235 5652126.56 6500000.00 stary komentarz\r\n");
  for (int method : {0, 1}) {
    JobDescription job = TransJob(1, 1, 18, 1, 1, 18, method);
    ASSERT_EQ(f.Run(job), JobOutcome::kCompleted);
    const std::string tag = method == 1 ? " OPCJA MAT." : " OPCJA EMPIR. ";
    EXPECT_EQ(f.ReadOutput("xy2000.1"),
              "            1235   5652126.5600   6500000.0000   -7.70[cm/km]   0.00000000[g]  "
              "PL-ETRF2000 " + Cp1250(" Z UKŁADU: ") + " PL-ETRF2000 /xy2000 " + tag + "\r\n");
  }
}

TEST(TransJobFileTest, RecordCommentsOfFramesSystemsAndMethods) {
  const struct {
    JobDescription job;
    const char* input;
    const char* record;
    const char* output;
    const char* comment;  // UTF-8
  } cases[] = {
      {TransJob(1, 1, 18, 2, 4, 0, 0), "xy2000", "P 5652126.56 6500000.00", "BLH_GRS.1",
       " PL-ETRF89  Z UKŁADU:  PL-ETRF2000 /xy2000  OPCJA EMPIR. "},
      {TransJob(2, 5, 0, 2, 5, 0, 1), "XYZ_GRS", "P 3835000 1195000 4933000", "XYZ_GRS.1",
       " PL-ETRF89  Z UKŁADU:  PL-ETRF89 /XYZ_GRS  OPCJA MAT."},
      {TransJob(3, 4, 18, 3, 4, 18, 1), "xy42_83_3", "P 5652126.56 6500000.00", "xy42_83_3.1",
       " PULKOWO  Z UKŁADU:  PULKOWO /xy42_83_3  OPCJA MAT."},
      {TransJob(3, 6, 0, 3, 7, 0, 1), "xyTARVO80", "P 500000 500000", "BLH_KRA.1",
       " PULKOWO  Z UKŁADU:  PULKOWO /xyTARVO80  OPCJA MAT."},
  };
  for (const auto& c : cases) {
    JobFixture f;
    f.WriteInput(c.input, std::string(c.record) + "\r\n");
    JobDescription job = c.job;
    ASSERT_EQ(f.Run(job), JobOutcome::kCompleted) << c.comment;
    const std::string out = f.ReadOutput(c.output);
    const std::string suffix = Cp1250(c.comment) + "\r\n";
    ASSERT_GE(out.size(), suffix.size());
    EXPECT_EQ(out.substr(out.size() - suffix.size()), suffix) << out;
    EXPECT_EQ(f.counters.PointCount, 0);
    EXPECT_EQ(f.ui.monitor.Lines()[2], " Zadanie wykonano - liczba błędów  0 ") << out;
  }
}

TEST(TransJobFileTest, SkippedLinesErrorRecordsAndNamesByteForByte) {
  JobFixture f;
  // Windows-1250 name (ł, ó), short lines, blank lines, a bad x, LF and CR LF
  // line ends, a final Ctrl+Z.
  f.WriteInput("xy92", "Pkt\xB3\xF3 500000 500000 uwagi\r\n"
                       "  \r\n\r\nsam 1\n"
                       "zly 5.0.0 500000\n"
                       "x, 500000,500000\r\n\x1A");
  JobDescription job = TransJob(2, 2, 0, 2, 2, 0, 1);
  ASSERT_EQ(f.Run(job), JobOutcome::kCompleted);
  const std::string comment = Cp1250(" PL-ETRF89  Z UKŁADU:  PL-ETRF89 /xy92  OPCJA MAT.");
  const std::string good = "   500000.0000   500000.0000";
  const std::string out = f.ReadOutput("xy92.1");
  const std::string zero = "        0.0000         0.0000    0.00[cm/km]   0.00000000[g]  ";
  EXPECT_EQ(out.substr(0, 16), "           Pkt\xB3\xF3");
  EXPECT_NE(out.find("             zly " + zero +
                     " *** punkt zly poza obszarem dopuszczalnym lub inny defekt danych \r\n"),
            std::string::npos) << out;
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3);
  EXPECT_EQ(out.substr(out.size() - comment.size() - 2), comment + "\r\n");
  EXPECT_EQ(f.ui.monitor.Lines()[2], " Zadanie wykonano - liczba błędów  1 ");
  EXPECT_EQ(f.ui.monitor.Lines()[3], " Liczba punktów: 3");
  EXPECT_EQ(f.ui.dialogs,
            (V{"question:   *** punkt zly poza obszarem dopuszczalnym lub inny defekt danych  - "
               "Czy wyłączyć ten komunikat?  -> No",
               "panels: 1"}));
}

TEST(TransJobDialogTest, YesSilencesPointDialogsForTheRestOfTheJobOnly) {
  JobFixture f;
  // BLH_GRS, decimal degrees: two outside the area, one Cartesian-free bad point.
  f.WriteInput("BLH_GRS", "a 48.9 19 0\r\nb 52 19 0\r\n\xB3\xF3 55.1 19 0\r\nd 49 14 0\r\n"
                          "e 52 24.3 0\r\nf 52 19 0\r\n");
  const std::string ask = " - Czy wyłączyć ten komunikat?  -> ";
  for (int run = 0; run < 2; ++run) {
    f.ui.dialogs.clear();
    f.ui.answers = {false, true};
    JobDescription job = TransJob(2, 4, 0, 2, 4, 0, 1);
    job.BLInputFormat = BlFormat::kDecimalDegrees;
    ASSERT_EQ(f.Run(job), JobOutcome::kCompleted);
    EXPECT_EQ(f.ui.dialogs, (V{"question:  Punkt poza obszarem dopuszczalnym, nr: a" + ask + "No",
                               "question:  Punkt poza obszarem dopuszczalnym, nr: łó" + ask + "Yes",
                               "panels: 1"}));
    EXPECT_EQ(f.ui.monitor.Lines()[2], " Zadanie wykonano - liczba błędów  3 ");
    EXPECT_EQ(f.ui.monitor.Lines()[3], " Liczba punktów: 6");
  }
  const std::string out = f.ReadOutput("BLH_GRS.1");
  EXPECT_EQ(out.substr(0, out.find('\n') + 1),
            "               a ! punkt poza obszarem dopuszczalnym: 48.9000000 19.0000000\r\n");
  EXPECT_NE(out.find("              \xB3\xF3 ! punkt poza obszarem dopuszczalnym: 55.1000000 19.0000000\r\n"),
            std::string::npos);
  EXPECT_NE(out.find("               d 49  0  0.000000 14  0  0.000000     0.0000"), std::string::npos);
}

TEST(TransJobFileTest, DecimalsFromTheComboTexts) {
  JobFixture f;
  f.WriteInput("BLH_GRS", "p 52 30 0.1234567 19 0 0 12.34567\r\n");
  JobDescription job = TransJob(2, 4, 0, 2, 4, 0, 1);
  ASSERT_EQ(f.Run(job, 4, 2), JobOutcome::kCompleted);
  const std::string first = f.ReadOutput("BLH_GRS.1");
  EXPECT_EQ(first.substr(0, 59), "               p 52 30    0.1235 19  0    0.0000      12.35");
  // A typed text that matches no item keeps the decimals of the previous job.
  ASSERT_EQ(RunJob(job, f.objectsRoot(), "OBJ", "0.00001", "0.001m ", f.gridFile(),
                   f.counters, f.ui),
            JobOutcome::kCompleted);
  EXPECT_EQ(f.ReadOutput("BLH_GRS.1"), first);
  EXPECT_EQ(job.SecondsDecimals, 4);
  EXPECT_EQ(job.LinearDecimals, 2);
}

TEST(TransJobFileTest, EmptyAndGarbageInputs) {
  std::string garbage;
  for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  const struct {
    const char* what;
    std::string input;
  } cases[] = {{"empty", ""}, {"blank lines", "\r\n  \r\n,;\r\n"}, {"binary", garbage}};
  for (const auto& c : cases) {
    JobFixture f;
    f.WriteInput("XYZ_GRS", c.input);
    JobDescription job = TransJob(1, 5, 0, 1, 5, 0, 1);
    EXPECT_EQ(f.Run(job), JobOutcome::kCompleted) << c.what;
    if (c.input != garbage) {
      EXPECT_EQ(f.ReadOutput("XYZ_GRS.1"), "") << c.what;
      EXPECT_EQ(f.ui.monitor.Lines()[3], " Liczba punktów: 0") << c.what;
    }
  }
}

// The result cannot be written: the job fails, says so and never reports
// success; an earlier result of that name is kept.
TEST(JobResultFileTest, FailedWriteIsAJobErrorAndKeepsTheEarlierResult) {
  JobFixture f;
  f.WriteInput("xy92", testing::PlaneRecords(2000));
  f.WriteInput("xy92.1", "earlier result\r\n");
  JobDescription job = TransJob(2, 2, 0, 2, 2, 0, 1);
  JobOutcome outcome;
  {
    testing::FileSizeLimit fullDisk(64 * 1024);
    outcome = f.Run(job);
  }

  EXPECT_EQ(outcome, JobOutcome::kFailed);
  ASSERT_EQ(f.ui.dialogs.size(), 1u);
  EXPECT_EQ(f.ui.dialogs[0].rfind("info:  *** Błąd zapisu zbioru wynikowego: " +
                                  (f.object() / "xy92.1").string(), 0), 0u) << f.ui.dialogs[0];
  EXPECT_EQ(f.ReadOutput("xy92.1"), "earlier result\r\n");
  EXPECT_EQ(f.ui.monitor.Lines()[2], " Liczba punktów: 0");
  EXPECT_EQ(f.ui.monitor.Lines()[3], kEnd);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.object()), {}), 2);
}

// A job stopped between blocks of records writes nothing and keeps the earlier
// result; one run to its end reports its progress up to the whole input.
TEST(JobStopTest, StoppedJobsKeepTheEarlierResultAndProgressReachesTheEnd) {
  const struct {
    int stopAtRequest;
    JobOutcome outcome;
    std::string resultLine, nextLine;
  } cases[] = {
      {0, JobOutcome::kStopped, " Zadanie przerwane - przeliczono punktów: 0 ",
       " Zbiór wynikowy nie został zmieniony "},
      {2, JobOutcome::kStopped, " Zadanie przerwane - przeliczono punktów: 8192 ",
       " Zbiór wynikowy nie został zmieniony "},
      {-1, JobOutcome::kCompleted, " Zadanie wykonano - liczba błędów  0 ",
       " Liczba punktów: 10000"},
  };
  for (const auto& c : cases) {
    JobFixture f;
    const std::string input = testing::PlaneRecords(10000);
    f.WriteInput("xy92", input);
    f.WriteInput("xy92.1", "earlier result\r\n");
    f.ui.stopAtRequest = c.stopAtRequest;
    JobDescription job = TransJob(2, 2, 0, 2, 2, 0, 1);
    ASSERT_EQ(f.Run(job), c.outcome) << c.stopAtRequest;
    const bool completed = c.outcome == JobOutcome::kCompleted;
    EXPECT_EQ(f.ReadOutput("xy92.1") == "earlier result\r\n", !completed);
    EXPECT_EQ(f.ui.monitor.Lines()[2], c.resultLine);
    EXPECT_EQ(f.ui.monitor.Lines()[3], c.nextLine);
    EXPECT_EQ(f.ui.monitor.Lines()[4], " KONIEC OBLICZEŃ ");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.object()), {}), 2);
    ASSERT_FALSE(f.ui.progress.empty());
    EXPECT_EQ(f.ui.progress.back().second, input.size());
    EXPECT_EQ(f.ui.progress.back().first == input.size(), completed);
  }
}

// n records of one input, about 1 in 50 outside the area or unreadable, so
// that error records and point questions come from every block.
std::string MixedRecords(int n, bool plane) {
  std::string records;
  for (int i = 0; i < n; ++i) {
    const double f = (i * 7919 % 10007) / 10007.0;
    const std::string name = "P" + std::to_string(i);
    if (i % 97 == 13) {
      records += name + " word 1 2 3\r\n";
    } else if (i % 53 == 7) {
      records += name + (plane ? " 100 200\r\n" : " 48 30 0 19 0 0 100\r\n");
    } else if (plane) {
      records += name + " " + std::to_string(5.55e6 + 3e5 * f) + " " +
                 std::to_string(6.45e6 + 1e5 * f) + " komentarz\r\n";
    } else {
      records += name + " " + std::to_string(49 + int(5 * f)) + " " + std::to_string(i % 60) +
                 " 12.345 " + std::to_string(15 + int(8 * f)) + " 30 1.5 " +
                 std::to_string(100 + i % 300) + "\r\n";
    }
  }
  return records;
}

// The result and the point questions of a job are the same whatever the
// number of threads that computes its records.
TEST(JobThreadsTest, ResultsAreTheSameForAnyNumberOfThreads) {
  const struct {
    const char* what;
    JobDescription job;
    const char* input;
    const char* output;
    bool plane;
  } cases[] = {
      {"xy2000 -> BLH_KRA empirical", TransJob(1, 1, 18, 3, 7, 0, 0), "xy2000", "BLH_KRA.1", true},
      {"xy2000 -> xy65 theoretical", TransJob(1, 1, 18, 3, 1, 2, 1), "xy2000", "xy65.1", true},
      {"BLH_GRS -> xy2000 empirical", TransJob(2, 4, 0, 1, 1, 18, 0), "BLH_GRS", "xy2000.1", false},
      {"TRANS-H", HeightJob(11, 13), "BLH_K86", "BLH_EVRF.1", false},
      {"quasigeoid", QuasigeoidJob(5, 22), "BLH_e", "BLH_n.1", false},
  };
  for (const auto& c : cases) {
    const std::string input = MixedRecords(200000, c.plane);
    std::optional<std::string> firstOutput;
    std::vector<std::string> firstDialogs;
    for (int threads : {1, 2, 8}) {
      SCOPED_TRACE(std::string(c.what) + ", threads " + std::to_string(threads));
      SetRecordThreads(threads);
      JobFixture f;
      f.WriteInput(c.input, input);
      f.ui.answers = {false, false, false, true};
      JobDescription job = c.job;
      ASSERT_EQ(f.Run(job), JobOutcome::kCompleted);
      const std::string output = f.ReadOutput(c.output);
      if (!firstOutput) {
        firstOutput = output;
        firstDialogs = f.ui.dialogs;
        EXPECT_EQ(f.ui.dialogs.size(), 5u);  // four questions, then the panels
        continue;
      }
      EXPECT_TRUE(output == *firstOutput);
      EXPECT_EQ(f.ui.dialogs, firstDialogs);
    }
  }
  SetRecordThreads(0);
}

// Counts of records that the block of 4096 lines does not divide (and one it
// does), on threads that do not divide the number of blocks: every record is
// written once and in order, as one thread writes it.
TEST(JobThreadsTest, EveryRecordOnceWhateverTheBlocks) {
  const struct {
    int records, threads;
  } cases[] = {{4095, 2}, {4097, 3}, {8192, 3}, {40961, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.records) + " records, " + std::to_string(c.threads) + " threads");
    std::string outputs[2];
    for (const int threads : {1, c.threads}) {
      SetRecordThreads(threads);
      JobFixture f;
      f.WriteInput("xy92", testing::PlaneRecords(c.records));
      JobDescription job = TransJob(2, 2, 0, 2, 2, 0);
      ASSERT_EQ(f.Run(job), JobOutcome::kCompleted);
      EXPECT_EQ(f.ui.monitor.Lines()[3], " Liczba punktów: " + std::to_string(c.records));
      outputs[threads == 1 ? 0 : 1] = f.ReadOutput("xy92.1");
    }
    EXPECT_EQ(std::count(outputs[0].begin(), outputs[0].end(), '\n'), c.records);
    EXPECT_NE(outputs[0].find(" " + std::to_string(c.records - 1) + " "), std::string::npos);
    EXPECT_TRUE(outputs[1] == outputs[0]);
  }
  SetRecordThreads(0);
}

TEST(JobResultFileTest, ResultNameTakenByAFolderIsAJobError) {
  JobFixture f;
  f.WriteInput("xy92", "1 500000 500000\r\n");
  std::filesystem::create_directory(f.object() / "xy92.1");
  JobDescription job = TransJob(2, 2, 0, 2, 2, 0, 1);
  EXPECT_EQ(f.Run(job), JobOutcome::kFailed);
  ASSERT_EQ(f.ui.dialogs.size(), 1u);
  EXPECT_EQ(f.ui.dialogs[0].rfind("info:  *** Błąd zapisu zbioru wynikowego: ", 0), 0u);
  EXPECT_TRUE(std::filesystem::is_directory(f.object() / "xy92.1"));
}

TEST(JobResultFileTest, UnreadableInputIsAJobError) {
  JobFixture f;
  std::filesystem::create_directory(f.object() / "xy92");  // a folder under the input name
  f.WriteInput("xy92.1", "earlier result\r\n");
  JobDescription job = TransJob(2, 2, 0, 2, 2, 0, 1);
  EXPECT_EQ(f.Run(job), JobOutcome::kFailed);
  ASSERT_EQ(f.ui.dialogs.size(), 1u);
  EXPECT_EQ(f.ui.dialogs[0].rfind("info:  *** Błąd odczytu zbioru wejściowego: ", 0), 0u);
  EXPECT_EQ(f.ReadOutput("xy92.1"), "earlier result\r\n");
}

// Any file: the same records as the object job, in the input's encoding.
TEST(JobFilesTest, ResultAndQuestionsInTheInputsEncoding) {
  const std::string name = "Łódź";  // UTF-8
  const std::string bom(kUtf8ByteOrderMark);
  const struct {
    const char* what;
    std::string name;  // as written into the input
    TextEncoding encoding;
    bool byteOrderMark, utf8Result;
    std::string shown;  // the name in the point question
  } cases[] = {
      {"Windows-1250, detected", Cp1250(name), TextEncoding::kAuto, false, false, name},
      {"UTF-8, detected", name, TextEncoding::kAuto, false, true, name},
      {"UTF-8 with a byte-order mark, detected", name, TextEncoding::kAuto, true, true, name},
      {"ASCII after a byte-order mark", "Lodz", TextEncoding::kAuto, true, true, "Lodz"},
      {"a Windows-1250 byte after a byte-order mark",
       "\xC5\x81\xC3\xB3"
       "d\x9F",
       TextEncoding::kAuto, true, true, name},
      {"ASCII only is Windows-1250", "Lodz", TextEncoding::kAuto, false, false, "Lodz"},
      {"UTF-8 read as Windows-1250 when told", name, TextEncoding::kWindows1250, false, false,
       Win1250ToUtf8(name)},
      {"UTF-8 when told", name, TextEncoding::kUtf8, false, true, name},
  };
  const std::string comment = " PL-ETRF89  Z UKŁADU:  PL-ETRF89 /xy92  OPCJA MAT.";
  for (const auto& c : cases) {
    JobFixture f;
    const std::string lead = c.byteOrderMark ? bom : "";
    f.WriteInput("punkty.txt", lead + c.name + " 500000 500000\r\n" + c.name + " x 1\r\n");
    JobDescription job = TransJob(2, 2, 0, 2, 2, 0, 1);
    JobGrid grid{f.gridFile()};
    ASSERT_EQ(RunJobOnFiles(job, {f.object() / "punkty.txt", f.object() / "wynik", c.encoding},
                            grid, f.counters, f.ui),
              JobOutcome::kCompleted) << c.what;
    const std::string padded = std::string(16 - std::min<std::size_t>(16, c.name.size()), ' ') + c.name;
    EXPECT_EQ(f.ReadOutput("wynik"),
              lead + padded + "    500000.0000    500000.0000  -70.00[cm/km]   0.00000000[g] " +
                  (c.utf8Result ? comment : Cp1250(comment)) + "\r\n" + padded +
                  "         0.0000         0.0000    0.00[cm/km]   0.00000000[g]   *** punkt " +
                  c.name + " poza obszarem dopuszczalnym lub inny defekt danych \r\n")
        << c.what;
    EXPECT_EQ(f.ui.dialogs[0], "question:   *** punkt " + c.shown +
                                   " poza obszarem dopuszczalnym lub inny defekt danych  - "
                                   "Czy wyłączyć ten komunikat?  -> No") << c.what;
  }
}

TEST(JobFilesTest, InvalidUtf8WhenToldIsRefusedAndNothingWritten) {
  JobFixture f;
  f.WriteInput("punkty.txt", Cp1250("Łódź 500000 500000\r\n"));
  f.WriteInput("wynik", "earlier\r\n");
  JobDescription job = TransJob(2, 2, 0, 2, 2, 0, 1);
  JobGrid grid{f.gridFile()};
  EXPECT_EQ(RunJobOnFiles(job, {f.object() / "punkty.txt", f.object() / "wynik", TextEncoding::kUtf8},
                          grid, f.counters, f.ui),
            JobOutcome::kRefused);
  EXPECT_EQ(f.ui.dialogs, (V{"info:  *** Zbiór wejściowy nie jest poprawnym tekstem UTF-8: " +
                             (f.object() / "punkty.txt").string() +
                             "; zbioru wynikowego nie utworzono"}));
  EXPECT_EQ(f.ReadOutput("wynik"), "earlier\r\n");
}

TEST(JobFilesTest, AGridOnceLoadedServesTheJobsAfter) {
  JobFixture f;
  f.WriteInput("a", "1 500000 500000\r\n");
  JobGrid grid{f.gridFile()};
  JobDescription job = TransJob(2, 2, 0, 2, 2, 0, 0);
  ASSERT_EQ(RunJobOnFiles(job, {f.object() / "a", f.object() / "a.1"}, grid, f.counters, f.ui),
            JobOutcome::kCompleted);
  std::filesystem::remove(f.gridFile());
  EXPECT_EQ(RunJobOnFiles(job, {f.object() / "a", f.object() / "b.1"}, grid, f.counters, f.ui),
            JobOutcome::kCompleted);
  EXPECT_EQ(f.ReadOutput("b.1"), f.ReadOutput("a.1"));
  JobGrid fresh{f.gridFile()};
  EXPECT_EQ(RunJobOnFiles(job, {f.object() / "a", f.object() / "c.1"}, fresh, f.counters, f.ui),
            JobOutcome::kRefused);
}

}  // namespace
}  // namespace kolvedir
