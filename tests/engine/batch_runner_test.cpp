// kolvedir-batch as a user runs it: exit status, standard output (the
// monitor), standard error (job and point messages), usage errors, bad input.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "grid/correction_grid.h"
#include "grid/model_grid.h"
#include "tests/engine/job_fixture.h"

namespace kolvedir {
namespace {

using testing::JobFixture;

struct RunnerResult {
  int status = -1;
  std::string out, err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the runner with args from a shell (prefix: shell commands run first,
// e.g. limits); standard input is empty.
RunnerResult Batch(const JobFixture& f, const std::vector<std::string>& args, const std::string& prefix = "") {
  std::string command = prefix + "exec " + Quote(KOLVEDIR_BATCH);
  for (const auto& a : args) command += " " + Quote(a);
  const auto out = f.objectsRoot().parent_path() / "stdout";
  const auto err = f.objectsRoot().parent_path() / "stderr";
  command = "(" + command + ") </dev/null >" + Quote(out) + " 2>" + Quote(err);
  const int raw = std::system(("bash -c " + Quote(command)).c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
}

std::vector<std::string> Job(const JobFixture& f, std::vector<std::string> args) {
  args.insert(args.begin(), {"--object", f.object().string(), "--grid", f.gridFile().string()});
  return args;
}

const std::vector<std::string> kXy92ToXy92{"--from", "xy92", "--from-frame", "PL-ETRF89",
                                          "--to", "xy92", "--to-frame", "PL-ETRF89"};

TEST(BatchRunnerTest, HelpDocumentsTheOptionsAndExitStatus) {
  JobFixture f;
  const RunnerResult r = Batch(f, {"--help"});
  EXPECT_EQ(r.status, 0);
  for (const char* text : {"--object", "--from-zone", "--to-frame", "--method", "--bl-in",
                           "--seconds-decimals", "--linear-decimals", "--grid", "Exit status",
                           "xyTARVO80", "BLH_K2006", "BLn.1", "first ten"}) {
    EXPECT_NE(r.out.find(text), std::string::npos) << text;
  }
}

TEST(BatchRunnerTest, UsageErrorsExitWithTwoAndSayWhy) {
  JobFixture f;
  const struct {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{}, "--object"},
      {{"--object", "", "--from", "xy92", "--from-frame", "PL-ETRF89", "--to", "xy92",
        "--to-frame", "PL-ETRF89"}, "--object"},
      {{"--object", "x", "--from", "xy99", "--to", "xy92"}, "xy99"},
      {{"--object", "x", "--from", "xy2000", "--from-frame", "PL-ETRF89", "--to", "xy92",
        "--to-frame", "PL-ETRF89"}, "--from-zone"},
      {{"--object", "x", "--from", "xy2000", "--from-zone", "19", "--from-frame", "PL-ETRF89",
        "--to", "xy92", "--to-frame", "PL-ETRF89"}, "15, 18, 21, 24"},
      {{"--object", "x", "--from", "xy92", "--to", "xy92", "--to-frame", "PL-ETRF89"}, "--from-frame"},
      {{"--object", "x", "--from", "xy92", "--from-frame", "PL-ETRF89", "--from-zone", "18", "--to",
        "xy92", "--to-frame", "PL-ETRF89"}, "no zones"},
      {{"--object", "x", "--from", "xy65", "--from-zone", "6", "--to", "xy92", "--to-frame",
        "PL-ETRF89"}, "1, 2, 3, 4, 5"},
      {{"--object", "x", "--from", "xy65", "--from-zone", "1", "--from-frame", "PL-ETRF89", "--to",
        "xy92", "--to-frame", "PL-ETRF89"}, "PULKOWO"},
      {{"--object", "x", "--from", "BLH_K86", "--to", "xy92"}, "TRANS-H"},
      {{"--object", "x", "--from", "xy92", "--from-frame", "PL-ETRF89", "--to", "BLH_EVRF"}, "BLH_EVRF"},
      {{"--object", "x", "--from", "BL", "--from-frame", "PL-ETRF2000", "--to", "BLH_n.1"}, "BLn.1"},
      {{"--object", "x", "--from", "BL"}, "--from-frame"},
      {{"--object", "x", "--from", "xy92", "--from-frame", "PL-ETRF89", "--to", "xy92", "--to-frame",
        "PL-ETRF89", "--seconds-decimals", "3"}, "--seconds-decimals"},
      {{"--object", "x", "--from", "xy92", "--from-frame", "PL-ETRF89", "--to", "xy92", "--to-frame",
        "PL-ETRF89", "--method", "exact"}, "--method"},
      {{"--object", "x", "--from", "xy92", "--from-frame", "PL-ETRF89", "--to", "xy92", "--to-frame",
        "PL-ETRF89", "--unknown"}, "--unknown"},
  };
  for (const auto& c : cases) {
    const RunnerResult r = Batch(f, c.args);
    EXPECT_EQ(r.status, 2) << c.says;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.says << "\n" << r.err;
    EXPECT_EQ(r.out, "") << c.says;
  }
}

TEST(BatchRunnerTest, RefusedJobsExitWithOne) {
  JobFixture f;
  const RunnerResult missing = Batch(f, Job(f, kXy92ToXy92));
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, " ! nie istnieje zbiór wejściowy: " + (f.object() / "xy92").string() + "\n");
  EXPECT_EQ(missing.out, "MONITOR\n Czytanie siatki interpolacyjnej - ok. \n Liczba punktów: 0\n"
                         " KONIEC OBLICZEŃ \n");

  f.WriteInput("xy92", "1 500000 500000\r\n");
  std::vector<std::string> noGrid = Job(f, kXy92ToXy92);
  noGrid[3] = (f.object() / "none" / "PL_grid_001.bin").string();
  const RunnerResult r = Batch(f, noGrid);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, " *** Brak pliku bazowego " + noGrid[3] + "\n");
  EXPECT_FALSE(f.Exists("xy92.1"));

  std::vector<std::string> noObject = Job(f, kXy92ToXy92);
  noObject[1] = (f.objectsRoot() / "NIE-MA").string();
  EXPECT_EQ(Batch(f, noObject).status, 1);
}

TEST(BatchRunnerTest, PointMessagesTheFirstTenThenTheirCount) {
  JobFixture f;
  std::string input = "ok 500000 500000\r\n";
  for (int i = 1; i <= 15; ++i) input += "p" + std::to_string(i) + " x 500000\r\n";
  f.WriteInput("xy92", input);
  const RunnerResult r = Batch(f, Job(f, kXy92ToXy92));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "MONITOR\n Czytanie siatki interpolacyjnej - ok. \n"
                   " Zadanie wykonano - liczba błędów  15 \n Liczba punktów: 16\n"
                   " KONIEC OBLICZEŃ \n");
  EXPECT_NE(r.err.find("punkt p10 poza"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("punkt p11 poza"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("... 5 more point messages (15 in all)"), std::string::npos) << r.err;
}

TEST(BatchRunnerTest, FullDiskFailsTheJobAndKeepsTheEarlierResult) {
  JobFixture f;
  f.WriteInput("xy92", testing::PlaneRecords(2000));
  f.WriteInput("xy92.1", "earlier\r\n");
  const RunnerResult r = Batch(f, Job(f, kXy92ToXy92), "ulimit -f 64; trap '' XFSZ; ");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(" *** Błąd zapisu zbioru wynikowego"), std::string::npos) << r.err;
  EXPECT_EQ(r.out.find("Zadanie wykonano"), std::string::npos) << r.out;
  EXPECT_EQ(f.ReadOutput("xy92.1"), "earlier\r\n");
}

TEST(BatchRunnerTest, MonitorLinesThatCannotBeWrittenFailTheRun) {
  JobFixture f;
  f.WriteInput("xy92", "1 500000 500000\r\n");
  const RunnerResult r = Batch(f, Job(f, kXy92ToXy92), "exec >/dev/full; ");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("monitor lines could not be written"), std::string::npos) << r.err;
}

TEST(BatchRunnerTest, BadInputNeverStopsTheRunner) {
  std::string tenThousand = "t 500000 500000";
  for (int i = 0; i < 10000; ++i) tenThousand += " " + std::to_string(i);
  std::string garbage;
  for (int i = 0; i < 100000; ++i) garbage += static_cast<char>((i * 2654435761u) >> 24);
  const struct {
    const char* what;
    std::string input;
    int points;
  } cases[] = {
      {"empty file", "", 0},
      {"10 MB line of one token", std::string(10 << 20, '7') + "\r\n", 0},
      {"10 MB comment", "c 500000 500000 " + std::string(10 << 20, 'k') + "\r\n", 1},
      {"10,000 tokens", tenThousand + "\r\n", 1},
      {"NUL bytes as separators", std::string("n\0" "500000\0" "500000\r\n", 16), 1},
      {"binary garbage", garbage, -1},
  };
  for (const auto& c : cases) {
    JobFixture f;
    f.WriteInput("xy92", c.input);
    const RunnerResult r = Batch(f, Job(f, kXy92ToXy92));
    EXPECT_EQ(r.status, 0) << c.what << r.err;
    if (c.points >= 0) {
      EXPECT_NE(r.out.find(" Liczba punktów: " + std::to_string(c.points) + "\n"), std::string::npos)
          << c.what << r.out;
    }
  }
}

// Names and paths reach the terminal with their control characters escaped:
// an escape sequence in a point name or a folder name must not drive it.
TEST(BatchRunnerTest, ControlCharactersInNamesAndPathsAreShownEscaped) {
  const struct {
    const char* what;
    std::string object;  // folder name of the object; its xy92 holds the record
    std::string record;
    std::string shown;   // on standard error
  } cases[] = {
      {"escape sequence in a point name", "OBJ", "A\x1b[2JB x 500000\r\n", "punkt A\\x1b[2JB poza"},
      {"bell in a point name", "OBJ", "T\x1b]2Lt\x07 x 500000\r\n", "punkt T\\x1b]2Lt\\x07 poza"},
      {"DEL in a point name", "OBJ", "D\x7f x 500000\r\n", "punkt D\\x7f poza"},
      {"control characters in the folder", "Z\x1b[31m\tX", "", "/Z\\x1b[31m\\x09X/xy92"},
      {"Windows-1250 bytes in the folder", "\xb3\xf3" "d\xbc", "", "/\\xb3\\xf3d\\xbc/xy92"},
      {"C1 control character in the folder", "C\xc2\x9b" "1m", "", "/C\\u009b1m/xy92"},
      {"Polish letters pass", "\xc5\x81\xc3\xb3" "d\xc5\xba", "", "/\xc5\x81\xc3\xb3" "d\xc5\xba/xy92"},
  };
  for (const auto& c : cases) {
    JobFixture f;
    const std::filesystem::path object = f.objectsRoot() / c.object;
    std::filesystem::create_directories(object);
    if (!c.record.empty()) std::ofstream(object / "xy92", std::ios::binary) << c.record;
    std::vector<std::string> args = Job(f, kXy92ToXy92);
    args[1] = object.string();
    const RunnerResult r = Batch(f, args);
    EXPECT_NE(r.err.find(c.shown), std::string::npos) << c.what << "\n" << r.err;
    for (char raw : {'\x1b', '\x07', '\x7f', '\t'}) {
      EXPECT_EQ(r.err.find(raw), std::string::npos) << c.what << ": raw byte " << int(raw);
    }
    EXPECT_EQ(r.err.find("\xc2\x9b"), std::string::npos) << c.what;
  }
}

TEST(BatchRunnerTest, TellsWhenTheGridInUseIsTheModelGrid) {
  JobFixture f;
  f.WriteInput("xy92", "1 500000 500000\r\n");
  EXPECT_EQ(Batch(f, Job(f, kXy92ToXy92)).err.find(ModelGridNotice()), std::string::npos);
  // The program folder's grid, as the build makes it, is the model grid.
  const std::filesystem::path programGrid =
      CorrectionGridPath(std::filesystem::path(KOLVEDIR_BATCH).parent_path());
  ASSERT_TRUE(IsModelGrid(programGrid));
  std::vector<std::string> args = Job(f, kXy92ToXy92);
  args.erase(args.begin() + 2, args.begin() + 4);  // no --grid
  const RunnerResult r = Batch(f, args);
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find(ModelGridNotice()), std::string::npos) << r.err;
}

}  // namespace
}  // namespace kolvedir
