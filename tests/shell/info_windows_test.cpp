#include "shell/info_windows.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>

#include "grid/model_grid.h"
#include "kolvedir/version.h"
#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

using testing::WriteAll;

class HelpTextTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Grid() const { return dir_.filePath("PL_grid_001.bin"); }

  QTemporaryDir dir_;
};

TEST_F(HelpTextTest, NamesTheInstalledGridInLinesOfEightyColumns) {
  const auto expectShortLines = [](const QString& text) {
    for (const QString& line : text.split('\n'))
      EXPECT_LE(line.size(), 79) << line.toStdString();
  };
  EXPECT_TRUE(InstalledGridText(Grid()).startsWith("brak pliku"));
  expectShortLines(HelpText(Grid()));

  ASSERT_EQ(WriteModelGrid(Grid().toStdString(), {}), ModelGridResult::kWritten);
  EXPECT_TRUE(InstalledGridText(Grid()).contains("MODELOWA"));
  expectShortLines(HelpText(Grid()));

  // A grid copied over the model is no longer taken for it.
  ASSERT_TRUE(WriteAll(Grid(), QByteArray(601 * 1021 * 8 * 4, '\1')));
  EXPECT_TRUE(InstalledGridText(Grid()).contains(QString::fromUtf8("nie jest siatką modelową")));
  expectShortLines(HelpText(Grid()));
  EXPECT_TRUE(HelpText(Grid()).contains(InstalledGridText(Grid())));
}

TEST(HelpText, SectionsFollowTheOutline) {
  const QStringList lines = HelpText("/nowhere/PL_grid_001.bin").split('\n');

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

TEST(InfoWindows, HelpWindowIsReadOnlyAndScrolls) {
  HelpWindow help(nullptr, "/nowhere/PL_grid_001.bin");
  EXPECT_EQ(help.windowTitle(), "Kolvedir 2.x INFO");
  EXPECT_FALSE(help.isVisible());
  help.resize(600, 300);
  help.show();
  auto* memo = help.findChild<QPlainTextEdit*>("helpText");
  ASSERT_NE(memo, nullptr);
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_EQ(memo->palette().color(QPalette::Base), QColor(0, 255, 255));
  EXPECT_EQ(memo->toPlainText(), HelpText("/nowhere/PL_grid_001.bin"));
  EXPECT_GT(memo->verticalScrollBar()->maximum(), 0);
}

TEST(InfoWindows, AboutWindowHasAFixedBorderAndAYellowText) {
  AboutWindow about;
  EXPECT_EQ(about.windowTitle(), "KOLVEDIR w. 2.xx");
  EXPECT_EQ(about.minimumSize(), about.maximumSize());
  EXPECT_FALSE(about.windowFlags() & Qt::WindowMaximizeButtonHint);
  auto* memo = about.findChild<QPlainTextEdit*>("aboutText");
  ASSERT_NE(memo, nullptr);
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_EQ(memo->palette().color(QPalette::Base), QColor(255, 255, 0));
  EXPECT_TRUE(memo->toPlainText().contains(QString::fromUtf8("grudzień 2012")));
  // The program's one version, as the runner and the library tell it.
  EXPECT_TRUE(memo->toPlainText().contains("KOLVEDIR  w. " KOLVEDIR_VERSION " (2013)"));
  EXPECT_TRUE(HelpText("/nowhere").contains("KOLVEDIR  w. " KOLVEDIR_VERSION "  (2013)"));
}

}  // namespace
}  // namespace kolvedir

int main(int argc, char** argv) {
  return kolvedir::testing::RunGuiTests(argc, argv);
}
