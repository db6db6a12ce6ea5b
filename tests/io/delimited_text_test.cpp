// Delimited text: what is read from which bytes, what passes through, and
// what a refused input leaves behind (nothing).
#include "io/delimited_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/engine/job_fixture.h"
#include "tests/io/io_test_support.h"

namespace kolvedir {
namespace {

using testing::JobFixture;
using testing::PlaneJob;
using testing::TransformerOf;

// The point 5652126.56, 6429808.46 of PL-2000 zone 18 in PL-1992, as the record job writes it.
constexpr const char* kXy92 = "350032.4815,359708.8156,-45.83,-1.72727112";

struct Case {
  const char* name;
  std::string input;
  DelimitedTextOptions options;
  std::string output;   // expected result; empty: refused, no result file
  std::string message;  // a part of the refusal, or of the first point question
  BlFormat blOut = BlFormat::kDecimalDegrees;
  bool geodetic = false;  // BLH_GRS output instead of xy92
};

TEST(DelimitedText, ReadsAndWrites) {
  const std::string xy92(kXy92);
  std::string semicolonXy92 = xy92;
  for (char& c : semicolonXy92) c = c == ',' ? ';' : c == '.' ? ',' : c;
  const Case cases[] = {
      {"comma, header names as keys, another column in its place",
       "Nr,x,y,kod\nP1,5652126.56,6429808.46,123\n",
       {},
       "Nr,x,y,kod,x_xy92,y_xy92,distortion,convergence,status,message\n"
       "P1,5652126.56,6429808.46,123," +
           xy92 + ",0,\n",
       ""},
      {"semicolon and a decimal comma, chosen columns",
       "Nr;X;Y\nP1;5652126,56;6429808,46\n",
       {0, "id=Nr,x=X,y=Y"},
       "Nr;X;Y;x_xy92;y_xy92;distortion;convergence;status;message\n"
       "P1;5652126,56;6429808,46;" +
           semicolonXy92 + ";0;\n",
       ""},
      {"tab, columns by number",
       "a\tb\tc\nP1\t5652126.56\t6429808.46\n",
       {0, "x=2,y=3"},
       "a\tb\tc\tx\ty\tdistortion\tconvergence\tstatus\tmessage\n"
       "P1\t5652126.56\t6429808.46\t" +
           [&] {
             std::string s = xy92;
             for (char& c : s) c = c == ',' ? '\t' : c;
             return s;
           }() +
           "\t0\t\n",
       ""},
      {"quoted fields: delimiter, doubled quote and line end pass through",
       "opis,x,y\n\"ul. Długa 5, \"\"róg\"\"\n2 p.\",\"5652126.56\",6429808.46\n",
       {},
       "opis,x,y,x_xy92,y_xy92,distortion,convergence,status,message\n"
       "\"ul. Długa 5, \"\"róg\"\"\n2 p.\",\"5652126.56\",6429808.46," +
           xy92 + ",0,\n",
       ""},
      {"byte-order mark and CR LF: UTF-8 without the mark, CR LF kept",
       "\xEF\xBB\xBFx;y\r\n5652126.56;6429808.46\r\n",
       {},
       "x;y;x_xy92;y_xy92;distortion;convergence;status;message\r\n5652126.56;6429808.46;" +
           [&] {
             std::string s = xy92;
             for (char& c : s) c = c == ',' ? ';' : c;
             return s;
           }() +
           ";0;\r\n",
       ""},
      {"a delimiter given: ';' in a comma file is no delimiter",
       "x;y\n5652126.56;6429808.46\n",
       {',', ""},
       "",
       "Brak kolumny \"x\""},
      {"header only",
       "Nr,x,y\n",
       {},
       "Nr,x,y,x_xy92,y_xy92,distortion,convergence,status,message\n",
       ""},
      {"a named column missing",
       "Nr,X,Y\nP1,5652126.56,6429808.46\n",
       {0, "x=E,y=N"},
       "",
       "Brak kolumny \"E\" (x)"},
      {"an unknown key", "Nr,x,y\n", {0, "z=H"}, "", "klucze tego zadania: id, x, y"},
      {"an empty file", "", {}, "", "jest pusty"},
      {"an unreadable number and a short record are error points, never dropped",
       "Nr,x,y,kod\nP1,5652126.56,abc,7\nP2,5652126.56\n",
       {},
       "Nr,x,y,kod,x_xy92,y_xy92,distortion,convergence,status,message\n"
       "P1,5652126.56,abc,7,,,,,2,nieczytelna wartość w kolumnie y\n"
       "P2,5652126.56,,,,,,,2,nieczytelna wartość w kolumnie y\n",
       "punkt P1: nieczytelna wartość w kolumnie y"},
      {"a point of another zone",
       "x,y\n5652126.56,5429808.46\n",
       {},
       "x,y,x_xy92,y_xy92,distortion,convergence,status,message\n"
       "5652126.56,5429808.46,,,,,4,\"współrzędna y 5429808 jest ze strefy 15, a wybrano strefę "
       "18\"\n",
       "punkt w wierszu 2: współrzędna y 5429808 jest ze strefy 15"},
      {"geodetic output in degrees, minutes and seconds",
       "x,y\n5652126.56,6429808.46\n",
       {},
       "x,y,B,L,h,status,message\n5652126.56,6429808.46,50 59 59.999869,16 59 "
       "59.999753,0.0000,0,\n",
       "",
       BlFormat::kDegreesMinutesSeconds,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JobFixture fixture;
    JobDescription job = PlaneJob(c.geodetic ? 4 : 2);
    job.BLOutputFormat = c.blOut;
    const Transformer transformer = TransformerOf(job, fixture.gridFile());
    fixture.WriteInput("in.csv", c.input);
    const JobFiles files{fixture.object() / "in.csv", fixture.object() / "out.csv"};
    const JobOutcome outcome =
        RunDelimitedTextJob(job, transformer, files, c.options, fixture.counters, fixture.ui);
    EXPECT_EQ(outcome, c.output.empty() ? JobOutcome::kRefused : JobOutcome::kCompleted);
    EXPECT_EQ(fixture.ReadOutput("out.csv"), c.output.empty() ? "<missing>" : c.output);
    if (!c.message.empty()) {
      std::string dialogs;
      for (const std::string& d : fixture.ui.dialogs) dialogs += d + "\n";
      EXPECT_NE(dialogs.find(c.message), std::string::npos) << dialogs;
    }
  }
}

// Records in slices side by side give the bytes and the questions, in input
// order and named by their rows, of one thread.
TEST(DelimitedText, ThreadsChangeNothing) {
  std::string input = "kod,x,y\n";
  for (int i = 0; i < 40000; ++i)
    input +=
        std::to_string(i) + ",5652126.56," + (i % 997 == 0 ? "5429808.46" : "6429808.46") + "\n";
  std::string outputs[2];
  std::vector<std::string> questions[2];
  for (const int threads : {1, 2}) {
    JobFixture fixture;
    const JobDescription job = PlaneJob();
    const Transformer transformer = TransformerOf(job, fixture.gridFile());
    fixture.WriteInput("in.csv", input);
    DelimitedTextOptions options;
    options.threads = threads;
    ASSERT_EQ(RunDelimitedTextJob(job, transformer,
                                  {fixture.object() / "in.csv", fixture.object() / "out.csv"},
                                  options, fixture.counters, fixture.ui),
              JobOutcome::kCompleted);
    outputs[threads - 1] = fixture.ReadOutput("out.csv");
    questions[threads - 1] = fixture.ui.dialogs;
  }
  EXPECT_EQ(outputs[0], outputs[1]);
  EXPECT_EQ(questions[0], questions[1]);
  EXPECT_EQ(std::count(outputs[0].begin(), outputs[0].end(), '\n'), 40001);
}

}  // namespace
}  // namespace kolvedir
