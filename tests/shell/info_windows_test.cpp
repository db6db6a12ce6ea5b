#include "shell/info_windows.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>

#include "grid/model_grid.h"
#include "tests/shell/editor_fake_dialogs.h"
#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

using testing::WriteAll;

TEST(HelpText, LinesFitEightyColumnsAndSectionsFollowTheOutline) {
  const QStringList lines = HelpText("/nowhere/PL_grid_001.bin").split('\n');
  for (const QString& line : lines) EXPECT_LE(line.size(), 79) << line.toStdString();

  const QStringList headings = {
      QString::fromUtf8("1. WSTĘP"), QString::fromUtf8("2. FUNKCJONALNOŚĆ PROGRAMU"),
      "3. ZBIORY DANYCH WEJŚCIOWYCH I WYNIKOWYCH", QString::fromUtf8("4. OBJAŚNIENIA DODATKOWE"),
      "5. PLIK SIATKI INTERPOLACYJNEJ"};
  int previous = -1;
  for (const QString& heading : headings) {
    const int at = lines.indexOf(" " + heading);
    ASSERT_GT(at, previous + 1) << heading.toStdString();
    // A rule of underscores closes the section before each heading.
    EXPECT_TRUE(lines[at - 2].startsWith("_____") && lines[at - 2].count('_') == lines[at - 2].size())
        << heading.toStdString();
    previous = at;
  }
}

TEST(HelpText, QuotesTheWorkedExamples) {
  const QString text = HelpText("/nowhere/PL_grid_001.bin");
  for (const char* figures : {
           "125  52   0  0.0     19  0  0.0     100.0",
           "1001  50  56 15.3406  21 34 18.7619  225.361",
           "125  52.0  19.0  100.0",
           "1001  50.93759461  21.57187831  225.361",
           "1235 5652126.56 6429808.46",
           "1235 51 0 1.257090 17 0 6.398814 -38.0793",
           "1235 50 59 59.999358 17 0 0.000786 0.0573",
           "90 cm",
       })
    EXPECT_TRUE(text.contains(QString::fromUtf8(figures))) << figures;
  EXPECT_FALSE(text.contains("{GRID}"));
}

TEST(HelpText, NamesTheInstalledGrid) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString grid = dir.filePath("PL_grid_001.bin");
  EXPECT_TRUE(InstalledGridText(grid).startsWith("brak pliku"));

  ASSERT_EQ(WriteModelGrid(grid.toStdString(), {}), ModelGridResult::kWritten);
  EXPECT_TRUE(InstalledGridText(grid).contains("MODELOWA"));
  EXPECT_TRUE(HelpText(grid).contains("MODELOWA"));

  // A grid copied over the model is no longer taken for it.
  ASSERT_TRUE(WriteAll(grid, QByteArray(601 * 1021 * 8 * 4, '\1')));
  EXPECT_TRUE(InstalledGridText(grid).contains("nie jest siatką modelową"));
}

TEST(InfoWindows, HelpWindowIsReadOnlyAndScrolls) {
  TForm3 help(nullptr, "/nowhere/PL_grid_001.bin");
  EXPECT_EQ(help.windowTitle(), "Kolvedir 2.x INFO");
  EXPECT_FALSE(help.isVisible());
  help.resize(600, 300);
  help.show();
  auto* memo = help.findChild<QPlainTextEdit*>("m1");
  ASSERT_NE(memo, nullptr);
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_EQ(memo->palette().color(QPalette::Base), QColor(0, 255, 255));
  EXPECT_EQ(memo->toPlainText(), HelpText("/nowhere/PL_grid_001.bin"));
  EXPECT_GT(memo->verticalScrollBar()->maximum(), 0);
}

TEST(InfoWindows, AboutWindowHasAFixedBorderAndAYellowMemo) {
  TForm5 about;
  EXPECT_EQ(about.windowTitle(), "KOLVEDIR w. 2.xx");
  EXPECT_EQ(about.minimumSize(), about.maximumSize());
  EXPECT_FALSE(about.windowFlags() & Qt::WindowMaximizeButtonHint);
  auto* memo = about.findChild<QPlainTextEdit*>("Memo1");
  ASSERT_NE(memo, nullptr);
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_EQ(memo->palette().color(QPalette::Base), QColor(255, 255, 0));
  EXPECT_TRUE(memo->toPlainText().contains(QString::fromUtf8("grudzień 2012")));
}

}  // namespace
}  // namespace kolvedir

int main(int argc, char** argv) {
  return kolvedir::testing::RunWithOffscreenApplication(argc, argv);
}
