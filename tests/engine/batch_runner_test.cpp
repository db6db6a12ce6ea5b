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
#include "engine/program_places.h"
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

std::string RunnerCommand(const std::vector<std::string>& args) {
  std::string command = Quote(KOLVEDIR_BATCH);
  for (const auto& a : args) command += " " + Quote(a);
  return command;
}

// Runs a shell command; standard input is the file `in`, standard output
// goes to the file `out` (kept as RunnerResult::out).
RunnerResult Shell(const JobFixture& f, std::string command, const std::string& in = "/dev/null",
                   std::string out = "") {
  if (out.empty()) out = f.objectsRoot().parent_path() / "stdout";
  const auto err = f.objectsRoot().parent_path() / "stderr";
  command = "(" + command + ") <" + Quote(in) + " >" + Quote(out) + " 2>" + Quote(err);
  const int raw = std::system(("bash -c " + Quote(command)).c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
}

// Runs the runner with args from a shell (prefix: shell commands run first,
// e.g. limits), as Shell does.
RunnerResult Batch(const JobFixture& f, const std::vector<std::string>& args,
                   const std::string& prefix = "", const std::string& in = "/dev/null",
                   const std::string& out = "") {
  return Shell(f, prefix + "exec " + RunnerCommand(args), in, out);
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
  for (const char* text : {"--object", "--input", "--output", "--output-dir", "--encoding",
                           "--from-zone", "--to-frame", "--method", "--bl-in",
                           "--seconds-decimals", "--linear-decimals", "--grid", "Status wyjścia",
                           "xyTARVO80", "BLH_K2006", "BLn.1", "dziesięciu", "--input - --output -",
                           "Wywołanie:", "Opcje:", "pokazuje ten opis", "auto|cp1250|utf-8"}) {
    EXPECT_NE(r.out.find(text), std::string::npos) << text;
  }
  for (const char* english : {"Usage", "Options", "Exit status", "REQUIRED", "TEXT", "INT"}) {
    EXPECT_EQ(r.out.find(english), std::string::npos) << english;
  }
}

TEST(BatchRunnerTest, UsageErrorsExitWithTwoAndSayWhy) {
  JobFixture f;
  const std::vector<std::string> xy92{"--from", "xy92", "--from-frame", "PL-ETRF89", "--to", "xy92",
                                      "--to-frame", "PL-ETRF89"};
  const auto with = [&](std::vector<std::string> args) {
    args.insert(args.begin(), xy92.begin(), xy92.end());
    return args;
  };
  const struct {
    std::vector<std::string> args;
    std::string says;  // after "kolvedir-batch: "
  } cases[] = {
      {{}, "potrzebna jest opcja --object KATALOG albo --input PLIK"},
      {with({"--object", ""}), "potrzebna jest opcja --object KATALOG albo --input PLIK"},
      {{"--object", "x", "--from", "xy99", "--to", "xy92"},
       "nieznany układ wejściowy \"xy99\"; znane: xy2000, xy92, UTM, BLH_GRS, XYZ_GRS, xy65, "
       "xy42_3, xy42_6, xy42_83_3, xy42_83_6, xyTARVO80, BLH_KRA, XYZ_KRA, BLH_K86, BLH_K2006, "
       "BLH_EVRF, BL, BLH_e, BLH_n"},
      {{"--object", "x", "--from", "xy2000", "--from-zone", "19", "--from-frame", "PL-ETRF89",
        "--to", "xy92", "--to-frame", "PL-ETRF89"}, "--from-zone: xy2000 ma strefy 15, 18, 21, 24"},
      {with({"--object", "x", "--from-zone", "18"}), "--from-zone: xy92 nie ma stref"},
      {{"--object", "x", "--from", "xy65", "--from-zone", "6", "--to", "xy92", "--to-frame",
        "PL-ETRF89"}, "--from-zone: xy65 ma strefy 1, 2, 3, 4, 5"},
      {{"--object", "x", "--from", "xy65", "--from-zone", "1", "--from-frame", "PL-ETRF89", "--to",
        "xy92", "--to-frame", "PL-ETRF89"}, "--from-frame: xy65 jest układem PULKOWO"},
      {{"--object", "x", "--from", "BLH_K86", "--to", "xy92"}, "--to xy92: inny moduł niż --from BLH_K86"},
      {{"--object", "x", "--from", "xy92", "--from-frame", "PL-ETRF89", "--to", "BLH_EVRF"},
       "--to BLH_EVRF: inny moduł niż --from xy92"},
      {{"--object", "x", "--from", "BL", "--from-frame", "PL-ETRF2000", "--to", "BLH_n.1"},
       "wynikiem BL jest BLn.1"},
      // A missing --to is told before the missing frames.
      {{"--object", "x", "--from", "xy92"}, "Nie określono zbioru wynikowego"},
      {{"--object", "x", "--from", "xy92", "--from-frame", "PL-ETRF89", "--to-frame", "PL-ETRF89"},
       "Nie określono zbioru wynikowego"},
      {{"--object", "x", "--from", "BLH_K86"}, "Nie określono zbioru wynikowego"},
      {with({"--object", "x", "--seconds-decimals", "3"}),
       "--seconds-decimals: 3 nie jest jedną z wartości 6|5|4"},
      {with({"--object", "x", "--method", "exact"}),
       "--method: exact nie jest jedną z wartości empirical|theoretical"},
      // An unknown option is named as typed, whatever follows it.
      {with({"--object", "x", "--unknown"}), "nieznana opcja --unknown"},
      {with({"--object", "x", "--frm", "PL-ETRF2000"}), "nieznana opcja --frm"},
      {with({"--object", "x", "--frm=PL-ETRF2000"}), "nieznana opcja --frm"},
      {with({"--object", "x", "xy2000"}), "nieoczekiwany argument xy2000"},
      {{"--object", "x", "--from-zone", "x"}, "--from-zone: wartość nie jest liczbą całkowitą"},
      {{"--object", "x", "--input", "a", "--output", "b", "--from", "xy92"},
       "--object i --input wykluczają się"},
      {{"--object", "x", "--output", "b", "--from", "xy92"},
       "--output, --output-dir i --encoding dotyczą tylko --input"},
      {{"--input", "a", "--from", "xy92"}, "--input wymaga --output albo --output-dir"},
      {{"--input", "a", "--input", "b", "--output", "c", "--from", "xy92"},
       "przy kilku zbiorach --input wyniki wskazuje --output-dir"},
      {{"--input", "-", "--output-dir", "c", "--from", "xy92"},
       "--output-dir: zbiór - nie ma nazwy pliku"},
      {{"--input", "a/x", "--input", "b/x", "--output-dir", "c", "--from", "xy92"},
       "--output-dir: dwa zbiory o nazwie x"},
      {{"--input", "a", "--output", "b", "--from", "xy92", "--encoding", "latin2"},
       "--encoding: latin2 nie jest jedną z wartości auto|cp1250|utf-8"},
      {with({"--input", "a", "--output", "b", "--threads", "-1"}),
       "--threads: -1 nie jest liczbą wątków"},
      {with({"--input", "a", "--output", "b", "--threads", "12345"}),
       "--threads: 12345 nie jest liczbą wątków"},
  };
  for (const auto& c : cases) {
    const RunnerResult r = Batch(f, c.args);
    EXPECT_EQ(r.status, 2) << c.says;
    EXPECT_EQ(r.err, "kolvedir-batch: " + c.says + "\nWięcej: kolvedir-batch --help\n");
    EXPECT_EQ(r.out, "") << c.says;
  }
}

// A choice the job itself validates is passed on: its message, its status.
TEST(BatchRunnerTest, MissingChoicesAreRefusedByTheJobsOwnMessages) {
  JobFixture f;
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"--from", "xy2000", "--from-frame", "PL-ETRF89", "--to", "xy92", "--to-frame", "PL-ETRF89"},
       "Nie określono strefy na wejściu"},
      {{"--from", "xy92", "--from-frame", "PL-ETRF89", "--to", "UTM", "--to-frame", "PL-ETRF89"},
       "Nie określono strefy na wyjściu"},
      {{"--from", "xy92", "--to", "xy92", "--to-frame", "PL-ETRF89"},
       "Nie określono układu odniesienia na wejściu"},
      {{"--from", "xy92", "--from-frame", "PL-ETRF89", "--to", "xy92"},
       "Nie określono układu odniesienia na wyjściu"},
      {{"--from", "BL"}, "ale najpierw określ układ odniesienia"},
  };
  for (const auto& c : cases) {
    const RunnerResult r = Batch(f, Job(f, c.args));
    EXPECT_EQ(r.status, 1) << c.message;
    EXPECT_EQ(r.err, std::string(c.message) + "\n");
    EXPECT_NE(r.out.find(" KONIEC OBLICZEŃ "), std::string::npos) << r.out;
  }
}

// --input/--output on any names and streams: the records of the object job.
TEST(BatchRunnerTest, EveryFormWritesTheRecordsOfTheObjectJob) {
  JobFixture f;
  const std::string records = "Pkt\xB3\xF3 500000 500000 uwagi\r\nzly x 500000\r\n" +
                              testing::PlaneRecords(3);
  f.WriteInput("xy92", records);
  ASSERT_EQ(Batch(f, Job(f, kXy92ToXy92)).status, 0);
  const std::string expected = f.ReadOutput("xy92.1");
  const std::string report = "MONITOR\n Czytanie siatki interpolacyjnej - ok. \n"
                             " Zadanie wykonano - liczba błędów  1 \n Liczba punktów: 5\n"
                             " KONIEC OBLICZEŃ \n";
  const std::string in = (f.object() / "moje punkty.txt").string();
  const std::string result = (f.object() / "wynik.txt").string();
  const std::string piped = (f.object() / "potok").string();
  f.WriteInput("moje punkty.txt", records);
  const struct {
    const char* what;
    std::string input, output, resultFile;  // resultFile: where the records land
    const char* threads;
  } cases[] = {
      {"file to file", in, result, result, "0"},
      {"file to file, one thread", in, result, result, "1"},
      {"standard input to file", "-", result, result, "3"},
      {"file to standard output", in, "-", piped, "0"},
      {"pipeline", "-", "-", piped, "0"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(result);
    std::vector<std::string> args = kXy92ToXy92;
    args.insert(args.end(), {"--grid", f.gridFile().string(), "--input", c.input, "--output",
                             c.output, "--threads", c.threads});
    const RunnerResult r = Batch(f, args, "", in, piped);
    EXPECT_EQ(r.status, 0) << c.what << r.err;
    EXPECT_EQ(Slurp(c.resultFile), expected) << c.what;
    // The report goes where the records do not.
    EXPECT_NE((c.output == "-" ? r.err : r.out).find(report), std::string::npos) << c.what;
  }
}

TEST(BatchRunnerTest, SeveralInputsOneCallEachResultNamedAfterItsInput) {
  JobFixture f;
  f.WriteInput("xy92", testing::PlaneRecords(2));
  ASSERT_EQ(Batch(f, Job(f, kXy92ToXy92)).status, 0);
  std::filesystem::create_directory(f.object() / "b");
  f.WriteInput("a.txt", testing::PlaneRecords(2));
  f.WriteInput("b/a", "1 500000 500000\r\n");
  std::vector<std::string> args = kXy92ToXy92;
  args.insert(args.end(), {"--grid", f.gridFile().string(), "--input", (f.object() / "a.txt").string(),
                           "--input", (f.object() / "b" / "a").string(), "--output-dir",
                           (f.objectsRoot() / "wyniki").string()});
  std::filesystem::create_directory(f.objectsRoot() / "wyniki");
  const RunnerResult r = Batch(f, args);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Slurp(f.objectsRoot() / "wyniki" / "a.txt.1"), f.ReadOutput("xy92.1"));
  EXPECT_EQ(Slurp(f.objectsRoot() / "wyniki" / "a.1").size(), f.ReadOutput("xy92.1").size() / 2);
  EXPECT_NE(r.out.find("Zbiór wejściowy: " + (f.object() / "b" / "a").string() +
                       "\nMONITOR\n Czytanie siatki interpolacyjnej - ok. \n"
                       " Zadanie wykonano - liczba błędów  0 \n Liczba punktów: 1\n"),
            std::string::npos) << r.out;

  // One missing input fails the run; the others are still done.
  std::filesystem::remove(f.objectsRoot() / "wyniki" / "a.txt.1");
  args[args.size() - 3] = (f.object() / "nie-ma").string();
  const RunnerResult missing = Batch(f, args);
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find(" ! nie istnieje zbiór wejściowy: "), std::string::npos);
  EXPECT_EQ(Slurp(f.objectsRoot() / "wyniki" / "a.txt.1"), f.ReadOutput("xy92.1"));
}

// Polish names in both encodings through streams and files; the result keeps
// the input's encoding and its byte-order mark; invalid UTF-8 is refused when
// UTF-8 is demanded.
TEST(BatchRunnerTest, EncodingsOfFilesAndStreams) {
  const std::string bom = "\xEF\xBB\xBF";
  const std::string utf8 = "Źródło 500000 500000\r\n";
  const std::string comment = " Z UKŁADU: ";
  const struct {
    const char* what;
    std::string input, encoding;
    bool pipeline;
    int status;
    std::string resultStart;  // "" when nothing may be written
    std::string comment;
  } cases[] = {
      // The name field counts bytes: nine of them in UTF-8, six in Windows-1250.
      {"UTF-8 file", utf8, "auto", false, 0, "       Źródło", comment},
      {"UTF-8 stream with a byte-order mark", bom + utf8, "auto", true, 0, bom + "       Źródło", comment},
      {"Windows-1250 stream", testing::Cp1250(utf8), "auto", true, 0,
       testing::Cp1250("          Źródło"), testing::Cp1250(comment)},
      {"Windows-1250 file under utf-8", testing::Cp1250(utf8), "utf-8", false, 1, "", ""},
      {"Windows-1250 stream under utf-8", testing::Cp1250(utf8), "utf-8", true, 1, "", ""},
      {"UTF-8 file under cp1250", utf8, "cp1250", false, 0, "       Źródło", testing::Cp1250(comment)},
  };
  for (const auto& c : cases) {
    JobFixture f;
    f.WriteInput("we.txt", c.input);
    const std::string in = (f.object() / "we.txt").string();
    const std::string out = (f.object() / "wy.txt").string();
    std::vector<std::string> args = kXy92ToXy92;
    args.insert(args.end(), {"--grid", f.gridFile().string(), "--encoding", c.encoding, "--input",
                             c.pipeline ? "-" : in, "--output", c.pipeline ? "-" : out});
    const RunnerResult r = Batch(f, args, "", in, c.pipeline ? out : "");
    EXPECT_EQ(r.status, c.status) << c.what << r.err;
    const std::string result = Slurp(out);
    if (c.resultStart.empty()) {
      EXPECT_EQ(result, "") << c.what;
      EXPECT_EQ(std::filesystem::exists(out), c.pipeline) << c.what;
      EXPECT_NE(r.err.find("nie jest poprawnym tekstem UTF-8"), std::string::npos) << c.what << r.err;
    } else {
      EXPECT_EQ(result.rfind(c.resultStart, 0), 0u) << c.what << result;
      EXPECT_NE(result.find(c.comment), std::string::npos) << c.what << result;
    }
  }
}

TEST(BatchRunnerTest, AStreamResultThatFailsSaysSoAndExitsWithOne) {
  JobFixture f;
  f.WriteInput("we.txt", testing::PlaneRecords(1000));
  std::vector<std::string> args = kXy92ToXy92;
  args.insert(args.end(), {"--grid", f.gridFile().string(), "--input",
                           (f.object() / "we.txt").string(), "--output", "-"});
  const RunnerResult r = Batch(f, args, "exec >/dev/full; ");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(" *** Błąd zapisu zbioru wynikowego: standardowe wyjście ("), std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("; wynik jest niepełny"), std::string::npos) << r.err;
}

TEST(BatchRunnerTest, RefusedJobsExitWithOne) {
  JobFixture f;
  const RunnerResult missing = Batch(f, Job(f, kXy92ToXy92));
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, GridInUseText(f.gridFile()) + "\n ! nie istnieje zbiór wejściowy: " +
                            (f.object() / "xy92").string() + "\n");
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
  EXPECT_NE(r.err.find("... jeszcze 5 komunikatów o punktach (razem 15)"), std::string::npos) << r.err;
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
  EXPECT_NE(r.err.find("wiersze monitora nie dały się wypisać"), std::string::npos) << r.err;
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

// Once on standard error, and in the monitor of every job that reads the grid.
TEST(BatchRunnerTest, TellsWhenTheGridInUseIsTheModelGrid) {
  JobFixture f;
  f.WriteInput("xy92", "1 500000 500000\r\n");
  f.WriteInput("BLH_K86", "P 52 0 0 21 0 0 100\r\n");
  EXPECT_EQ(Batch(f, Job(f, kXy92ToXy92)).err.find(ModelGridNotice()), std::string::npos);
  // The program folder's grid, as the build makes it, is the model grid.
  const std::filesystem::path programGrid =
      CorrectionGridPath(std::filesystem::path(KOLVEDIR_BATCH).parent_path());
  ASSERT_TRUE(IsModelGrid(programGrid));
  const std::string monitorNotice = "\n Uwaga: PL_grid_001.bin jest siatką modelową,\n";
  const std::vector<std::string> kJobs[] = {kXy92ToXy92, {"--from", "BLH_K86", "--to", "BLH_EVRF"}};
  for (const std::vector<std::string>& job : kJobs) {
    std::vector<std::string> args = Job(f, job);
    args.erase(args.begin() + 2, args.begin() + 4);  // no --grid
    const RunnerResult r = Batch(f, args);
    EXPECT_EQ(r.status, 0) << job[1];
    EXPECT_NE(r.err.find(ModelGridNotice()), std::string::npos) << r.err;
    EXPECT_NE(r.out.find(monitorNotice), std::string::npos) << r.out;
  }
}

// Without --grid the runner reads the grid of its own layout and names it: a
// portable folder's own grid; in an installed tree the user's grid before the
// installed one.
TEST(BatchRunnerTest, NamesTheGridOfItsLayout) {
  namespace fs = std::filesystem;
  JobFixture f;
  f.WriteInput("xy92", "1 500000 500000\r\n");
  const fs::path root = f.objectsRoot().parent_path();
  const fs::path installed = root / "usr" / "bin" / "kolvedir-batch";
  const fs::path installedGrid = root / "usr" / KOLVEDIR_INSTALL_DATADIR / "PL_grid_001.bin";
  const fs::path userGrid = root / "dane" / "kolvedir" / "PL_grid_001.bin";
  const struct {
    const char* what;
    fs::path program;
    fs::path addedGrid;  // put in place before the run
    fs::path named;
  } cases[] = {
      {"portable", root / "bin" / "kolvedir-batch", {}, f.gridFile()},
      {"installed", installed, installedGrid, installedGrid},
      {"installed, the user's grid", installed, userGrid, userGrid},
  };
  for (const auto& c : cases) {
    fs::create_directories(c.program.parent_path());
    fs::copy_file(KOLVEDIR_BATCH, c.program, fs::copy_options::overwrite_existing);
    if (!c.addedGrid.empty()) {
      fs::create_directories(c.addedGrid.parent_path());
      fs::create_hard_link(f.gridFile(), c.addedGrid);
    }
    std::string command = "XDG_DATA_HOME=" + Quote((root / "dane").string()) + " exec " +
                          Quote(c.program.string()) + " --object " + Quote(f.object().string());
    for (const std::string& a : kXy92ToXy92) command += " " + Quote(a);
    const RunnerResult r = Shell(f, command);
    EXPECT_EQ(r.status, 0) << c.what << r.err;
    EXPECT_EQ(r.err, GridInUseText(c.named) + "\n") << c.what;
  }
}

// Progress goes to standard error only when it is a terminal, unless --quiet.
TEST(BatchRunnerTest, ShowsProgressOnATerminalOnly) {
  JobFixture f;
  f.WriteInput("xy92", testing::PlaneRecords(3));
  const std::string progress = " Przeliczono 100 %";
  const std::vector<std::string> job = Job(f, kXy92ToXy92);
  std::vector<std::string> quiet = job;
  quiet.push_back("--quiet");
  // script gives the runner a terminal on every standard stream.
  const auto onTerminal = [&](const std::vector<std::string>& args) {
    return Shell(f, "exec script -qec " + Quote(RunnerCommand(args)) + " /dev/null");
  };
  const struct {
    const char* what;
    RunnerResult run;
    bool shown;
  } cases[] = {
      {"terminal", onTerminal(job), true},
      {"terminal, --quiet", onTerminal(quiet), false},
      {"file", Batch(f, job), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.run.status, 0) << c.what << c.run.out << c.run.err;
    EXPECT_NE(c.run.out.find("KONIEC OBLICZEŃ"), std::string::npos) << c.what;
    EXPECT_EQ((c.run.out + c.run.err).find(progress) != std::string::npos, c.shown) << c.what;
  }
}

}  // namespace
}  // namespace kolvedir
