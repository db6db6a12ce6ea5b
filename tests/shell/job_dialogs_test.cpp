// Whole jobs through the main window: pick an object, choose the systems,
// press "Wykonaj obliczenia", answer the point questions; then the result
// file, the monitor, the file panels and the status bar.
#include "shell/job_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScrollBar>
#include <QThread>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <optional>

#include "engine/job.h"
#include "grid/model_grid.h"
#include "shell/main_window.h"
#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

using testing::BuildBinFolder;
using testing::MainWindowTest;
using testing::ReadAll;
using testing::WriteAll;

const QString kPointQuestionEnd = " - Czy wyłączyć ten komunikat? ";

class Jobs : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    const QString grid = BuildBinFolder() + "/PL_grid_001.bin";
    ASSERT_TRUE(QFile::exists(grid)) << "the build makes the model grid in its bin";
    ASSERT_TRUE(QFile::link(grid, bin_ + "/PL_grid_001.bin"));
    AddObjects({"DANE1", "TEST"});
    ASSERT_TRUE(WriteAll(bin_ + "/katal", "1\r\n"));  // TEST
  }

  QString ObjectFile(const QString& name) { return objects_ + "/TEST/" + name; }
  QStringList ResultLines(const QString& name) {
    QString text = QString::fromLatin1(ReadAll(ObjectFile(name)));
    EXPECT_TRUE(text.endsWith("\r\n"));
    text.chop(2);
    return text.split("\r\n");
  }
  QColor PanelColour(const char* name) { return Find<QWidget>(name)->palette().color(QPalette::Window); }
  QColor DoneColour() { return Window().palette().color(QPalette::ToolTipBase); }
  // xy92 to the output system (a radio button's name) in PL-ETRF2000 on the chosen object.
  void RunFromXy92(const char* outputSystem = "outputSystemXy92") {
    for (const char* name : {"trans2d3dButton", "inputFrameEtrf2000", "inputSystemXy92",
                             "outputFrameEtrf2000", outputSystem, "runJobButton"}) {
      Click(name);
    }
  }
};

TEST_F(Jobs, Trans2d3dWritesTheResultAndOneYesSilencesThePointQuestions) {
  // Windows-1250: "\xa3" is "Ł".
  ASSERT_TRUE(WriteAll(ObjectFile("BLH_GRS"),
                       "1001 52 0 0 21 0 0 100.0 stary opis\r\n"
                       "Z\xa3Y1 48 54 0 21 0 0 0\r\n"
                       "\r\n"
                       "GRAN 49 0 0 21 0 0 0\r\n"
                       "Z\xa3Y2 52 0 0 25 0 0 0\r\n"));
  EXPECT_EQ(Window().ObjectFolder(), objects_ + "/TEST");
  Click("noticeOkButton");
  Click("trans2d3dButton");
  Click("inputFrameEtrf2000");
  Click("inputSystemBlhGrs");
  Click("outputFrameEtrf2000");
  Click("outputSystemXy2000");
  Click("outputZone3Deg21");
  Click("methodTheoretical");
  dialogs_.answers = {DialogService::Answer::Yes};
  Click("runJobTopButton");

  const QStringList questions = dialogs_.Texts("question");
  ASSERT_EQ(questions.size(), 1) << "Yes silences the rest of the job";
  EXPECT_EQ(questions[0], " Punkt poza obszarem dopuszczalnym, nr: ZŁY1" + kPointQuestionEnd);
  EXPECT_EQ(dialogs_.Texts("information"), QStringList());

  const QStringList lines = ResultLines("xy2000.1");
  ASSERT_EQ(lines.size(), 4);
  const QString comment =
      QString::fromLatin1(" PL-ETRF2000  Z UK\xa3" "ADU:  PL-ETRF2000 /BLH_GRS  OPCJA MAT.");
  // On the central meridian of strip 21 the easting is 7 500 000 m exactly.
  EXPECT_TRUE(lines[0].startsWith("            1001 ")) << lines[0].toStdString();
  EXPECT_EQ(lines[0].mid(32, 14), "  7500000.0000") << lines[0].toStdString();
  EXPECT_TRUE(lines[0].endsWith(comment)) << lines[0].toStdString();
  EXPECT_EQ(lines[1], QString::fromLatin1("            Z\xa3Y1 ! punkt poza obszarem "
                                          "dopuszczalnym: 48.9000000 21.0000000"));
  EXPECT_TRUE(lines[2].startsWith("            GRAN ")) << lines[2].toStdString();
  EXPECT_TRUE(lines[2].endsWith(comment));
  EXPECT_TRUE(lines[3].contains("poza obszarem dopuszczalnym"));

  const QStringList monitor = Window().MonitorLines();
  EXPECT_EQ(monitor[0], "MONITOR");
  EXPECT_EQ(monitor[1], " Czytanie siatki interpolacyjnej - ok. ");
  EXPECT_EQ(monitor[2], " Zadanie wykonano - liczba błędów  2 ");
  EXPECT_EQ(monitor[3], " Liczba punktów: 4");
  EXPECT_EQ(monitor[4], " KONIEC OBLICZEŃ ");
  for (int i = 5; i < 11; ++i) EXPECT_EQ(monitor[i], QString(41, ' ')) << i;
  EXPECT_EQ(monitor.size(), 11);

  EXPECT_EQ(PanelColour("transInputFilePanel"), DoneColour());
  EXPECT_EQ(PanelColour("transOutputFilePanel"), DoneColour());
  EXPECT_NE(PanelColour("heightInputFilePanel"), DoneColour());
  EXPECT_EQ(Window().StatusText(0), "BLH_GRS");
  EXPECT_EQ(Window().StatusText(2), "xy2000.1");
  EXPECT_EQ(Window().StatusText(3), "Folder roboczy: " + objects_ + "/TEST");

  // A second job asks again: the silence lasts one job only.
  dialogs_.shown.clear();
  dialogs_.answers = {DialogService::Answer::No, DialogService::Answer::No};
  Click("runJobButton");
  EXPECT_EQ(dialogs_.Texts("question").size(), 2);
  EXPECT_EQ(ResultLines("xy2000.1").size(), 4);
}

// The job runs on the worker thread: its point question is asked on the
// window's thread while everything that starts a job or changes the selection
// is disabled; "Przerwij", or closing the window or "WYJŚCIE" with Tak, stops
// it at the next block of records with the earlier result kept. A question
// answered only after the job has ended on its own is acted on at once, and
// no answer outlives its question: the next job ends as any job does.
TEST_F(Jobs, JobsRunOffTheWindowsThreadAndStopWhenAsked) {
  using A = DialogService::Answer;
  const QString stopped = " Zadanie przerwane - przeliczono punktów: 4096 ";
  const QString completed = " Zadanie wykonano - liczba błędów  1 ";
  const struct {
    const char* what;
    const char* button;  // clicked at the point question; none: the window is closed
    bool late;           // the close question stays open until the job has ended
    std::deque<A> answers;  // in the order the questions take them
    QString monitorLine;
    bool visibleAfter;
    bool exits;  // the program ends (once the job has stopped)
  } kCases[] = {
      {"Przerwij", "stopJobButton", false, {A::No}, stopped, true, false},
      {"close, Tak", nullptr, false, {A::Yes, A::No}, stopped, false, false},
      {"close, Nie", nullptr, false, {A::No, A::No}, completed, true, false},
      {"WYJŚCIE, Tak", "exitButton", false, {A::Yes, A::No}, stopped, true, true},
      {"job ends while asked: close, Tak", nullptr, true, {A::No, A::Yes}, completed, false,
       false},
      {"job ends while asked: close, Nie", nullptr, true, {A::No, A::No}, completed, true, false},
      {"job ends while asked: WYJŚCIE, Tak", "exitButton", true, {A::No, A::Yes}, completed, true,
       true},
      {"job ends while asked: WYJŚCIE, Nie", "exitButton", true, {A::No, A::No}, completed, true,
       false},
  };
  QByteArray input = "out 10 0 0 10 0 0 0\r\n";
  for (int i = 1; i < 10000; ++i) input += "p" + QByteArray::number(i) + " 52 0 0 21 0 0 0\r\n";
  ASSERT_TRUE(WriteAll(ObjectFile("BLH_GRS"), input));
  for (const char* name :
       {"noticeOkButton", "trans2d3dButton", "inputFrameEtrf2000", "inputSystemBlhGrs",
        "outputFrameEtrf2000", "outputSystemXy2000", "outputZone3Deg21", "methodTheoretical"}) {
    Click(name);
  }
  QAction* options = Window().menuBar()->actions().value(2);
  ASSERT_TRUE(options && options->text() == "Opcje");
  // Runs the job inside the application's event loop; the loop's exit code:
  // 0 when the program ended, 42 when it was still running 300 ms after the job.
  const auto runInEventLoop = [&] {
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [] { QCoreApplication::exit(42); });
    QTimer::singleShot(0, [&] {
      Click("runJobTopButton");
      fallback.start(300);
    });
    return QCoreApplication::exec();
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(WriteAll(ObjectFile("xy2000.1"), "earlier result\r\n"));
    Window().show();
    dialogs_.shown.clear();
    dialogs_.answers = c.answers;
    const auto closeOrExit = [&] {
      if (c.button) {
        Find<QAbstractButton>(c.button)->click();
      } else {
        Window().close();
      }
    };
    dialogs_.onQuestion = [&] {
      EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
      EXPECT_TRUE(Window().JobRunning());
      for (const char* name : {"runJobButton", "runJobTopButton", "trans2d3dButton", "objectCombo",
                               "methodBox", "addObjectButton"}) {
        EXPECT_FALSE(Find(name)->isEnabled()) << name;
      }
      EXPECT_FALSE(options->isEnabled());
      EXPECT_FALSE(Window().findChild<QAction*>("runJobAction")->isEnabled());
      EXPECT_TRUE(Find("exitButton")->isEnabled());
      EXPECT_TRUE(Find("stopJobButton")->isEnabled());
      EXPECT_TRUE(Find("jobProgress")->isVisible());
      if (!c.late) return closeOrExit();
      // Asked once the point question is answered, while the job still runs;
      // answered once it has ended.
      QTimer::singleShot(0, closeOrExit);
      dialogs_.onQuestion = [&] {
        EXPECT_TRUE(Window().JobRunning());
        while (Window().JobRunning()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
      };
    };
    if (c.exits) {
      EXPECT_EQ(runInEventLoop(), 0);
    } else {
      Click("runJobTopButton");
    }
    const bool stop = c.monitorLine == stopped;
    EXPECT_EQ(Window().MonitorLines()[2], c.monitorLine);
    EXPECT_EQ(ReadAll(ObjectFile("xy2000.1")) == "earlier result\r\n", stop);
    EXPECT_EQ(QDir(objects_ + "/TEST").entryList(QDir::Files | QDir::Hidden),
              QStringList({"BLH_GRS", "xy2000.1"}));
    EXPECT_EQ(Window().isVisible(), c.visibleAfter);
    if (c.answers.size() == 2) {
      EXPECT_EQ(dialogs_.Texts("question").value(1),
                " Trwa obliczanie. Przerwać zadanie i zamknąć program? ");
    }
    EXPECT_FALSE(Window().JobRunning());
    EXPECT_TRUE(Find("runJobButton")->isEnabled());
    EXPECT_TRUE(options->isEnabled());
    EXPECT_FALSE(Find("stopJobButton")->isEnabled());
    EXPECT_FALSE(Find("jobProgress")->isVisible());
    auto* progress = Find<QProgressBar>("jobProgress");
    EXPECT_EQ(progress->value() == progress->maximum(), !stop);

    // The next job neither closes the window nor ends the program.
    Window().show();
    dialogs_.answers.clear();
    EXPECT_EQ(runInEventLoop(), 42);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Window().MonitorLines()[2], completed);
  }
}

TEST_F(Jobs, PrecisionCombosAreReadWhenTheJobStarts) {
  ASSERT_TRUE(WriteAll(ObjectFile("xy2000"), "1001 5800000.000 7500000.000\r\n"));
  Click("trans2d3dButton");
  Click("inputFrameEtrf2000");
  Click("inputSystemXy2000");
  Click("inputZone3Deg21");
  Click("outputFrameEtrf2000");
  Click("outputSystemXy2000");
  Click("outputZone3Deg21");
  auto* linear = Find<QComboBox>("linearPrecisionCombo");
  const QRegularExpression twoDecimals(R"(^\s*1001\s+\d+\.\d\d\s+\d+\.\d\d\s)");
  const QRegularExpression fourDecimals(R"(^\s*1001\s+\d+\.\d{4}\s+\d+\.\d{4}\s)");

  linear->setCurrentIndex(2);  // "0.01m "
  EXPECT_EQ(Window().Selection().LinearDecimals, 4) << "nothing changes before the job";
  Click("runJobButton");
  EXPECT_EQ(Window().Selection().LinearDecimals, 2);
  EXPECT_TRUE(twoDecimals.match(ResultLines("xy2000.1").value(0)).hasMatch())
      << ResultLines("xy2000.1").value(0).toStdString();

  linear->lineEdit()->setText("0.001m ");  // matches no item: the last value stays
  Click("runJobButton");
  EXPECT_EQ(Window().Selection().LinearDecimals, 2);
  EXPECT_TRUE(twoDecimals.match(ResultLines("xy2000.1").value(0)).hasMatch());

  linear->setCurrentIndex(0);
  Click("runJobButton");
  EXPECT_TRUE(fourDecimals.match(ResultLines("xy2000.1").value(0)).hasMatch())
      << ResultLines("xy2000.1").value(0).toStdString();
}

TEST_F(Jobs, TransHWritesTheResultAndMarksItsOwnPanels) {
  ASSERT_TRUE(WriteAll(ObjectFile("BLH_K86"), "P1 52 0 0 21 0 0 100.000\r\n"
                                              "POZA 10 0 0 5 0 0 100.000\r\n"
                                              "POZA2 11 0 0 5 0 0 100.000\r\n"));
  Click("heightModuleButton");
  Click("heightInputKron86");
  Click("heightOutputEvrf2007");
  dialogs_.answers = {DialogService::Answer::Yes};
  Click("runJobButton");

  const QStringList questions = dialogs_.Texts("question");
  ASSERT_EQ(questions.size(), 1);
  EXPECT_TRUE(questions[0].endsWith(kPointQuestionEnd));
  const QStringList lines = ResultLines("BLH_EVRF.1");
  ASSERT_EQ(lines.size(), 3);
  EXPECT_TRUE(lines[0].trimmed().startsWith("P1 52  0   0.00000 21  0   0.00000 "))
      << lines[0].toStdString();
  const QStringList monitor = Window().MonitorLines();
  EXPECT_EQ(monitor[1], " Czytanie siatki interpolacyjnej - ok. ");
  EXPECT_EQ(monitor[2], " Zadanie wykonano - liczba błędów:  2 ");
  EXPECT_EQ(monitor[3], " Liczba punktów: 3");
  EXPECT_EQ(monitor[4], " KONIEC OBLICZEŃ ");
  EXPECT_EQ(PanelColour("heightInputFilePanel"), DoneColour());
  EXPECT_EQ(PanelColour("heightOutputFilePanel"), DoneColour());
  EXPECT_NE(PanelColour("transInputFilePanel"), DoneColour());
  EXPECT_NE(PanelColour("transOutputFilePanel"), DoneColour());
}

TEST_F(Jobs, QuasigeoidWritesHeightAnomalies) {
  ASSERT_TRUE(WriteAll(ObjectFile("BL"), "P1 52 0 0 21 0 0\r\nP2 50 30 0 19 0 0\r\n"));
  Click("quasigeoidModuleButton");
  Click("quasigeoidFrameEtrf89");
  Click("quasigeoidAnomalies");
  Click("runJobTopButton");
  EXPECT_EQ(dialogs_.Texts("question"), QStringList());
  EXPECT_EQ(dialogs_.Texts("information"), QStringList());
  const QStringList lines = ResultLines("BLn.1");
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].trimmed().startsWith("P1 52  0   0.00000 21  0   0.00000 "))
      << lines[0].toStdString();
  const QStringList monitor = Window().MonitorLines();
  EXPECT_EQ(monitor[2], " Zadanie wykonano - liczba błędów:  0 ");
  EXPECT_EQ(monitor[3], " Liczba punktów: 2");
  EXPECT_EQ(PanelColour("quasigeoidInputFilePanel"), DoneColour());
  EXPECT_EQ(PanelColour("quasigeoidOutputFilePanel"), DoneColour());
}

// Every job that reads the model grid says so in the monitor, each line shown
// whole (the monitor needs no horizontal scrolling).
TEST_F(Jobs, ModelGridNoticeIsReadWholeInTheMonitor) {
  ASSERT_TRUE(QFile::link(BuildBinFolder() + "/PL_grid_001.model", bin_ + "/PL_grid_001.model"));
  ASSERT_TRUE(WriteAll(ObjectFile("xy92"), "1 500000 500000\r\n"));
  ASSERT_TRUE(WriteAll(ObjectFile("BL"), "P1 52 0 0 21 0 0\r\n"));
  ASSERT_TRUE(WriteAll(ObjectFile("BLH_K86"), "P1 52 0 0 21 0 0 100.000\r\n"));
  const QStringList kJobs[] = {
      {"trans2d3dButton", "inputFrameEtrf2000", "inputSystemXy92", "outputFrameEtrf2000",
       "outputSystemXy92", "methodEmpirical"},
      {"heightModuleButton", "heightInputKron86", "heightOutputEvrf2007"},
      {"quasigeoidModuleButton", "quasigeoidFrameEtrf89", "quasigeoidAnomalies"},
  };
  const QString notice =
      QString::fromUtf8(ModelGridNotice().data(), qsizetype(ModelGridNotice().size()));
  auto* monitor = Find<QPlainTextEdit>("monitor");
  for (const QStringList& clicks : kJobs) {
    for (const QString& name : clicks) Click(name);
    Click("runJobButton");
    const QStringList lines = Window().MonitorLines();
    EXPECT_EQ(lines.mid(2, 3).join(QString()).trimmed(), notice) << clicks[0].toStdString();
    EXPECT_TRUE(lines[5].startsWith(" Zadanie wykonano")) << clicks[0].toStdString();
    EXPECT_EQ(monitor->horizontalScrollBar()->maximum(), 0) << clicks[0].toStdString();
  }
}

TEST_F(Jobs, RefusedJobsNameWhatIsMissingAndWriteNothing) {
  const struct {
    QStringList clicks;
    const char* message;
  } kCases[] = {
      {{"trans2d3dButton"}, "Nie określono układu odniesienia na wejściu"},
      {{"trans2d3dButton", "inputFrameEtrf2000", "outputFrameEtrf2000"},
       "Nie określono zbioru wejściowego"},
      {{"trans2d3dButton", "inputFrameEtrf2000", "inputSystemXy2000", "outputFrameEtrf2000",
        "outputSystemBlhGrs"},
       "Nie określono strefy na wejściu"},
      {{"trans2d3dButton", "inputFramePulkovo42", "inputSystemXy65", "outputFrameEtrf2000",
        "outputSystemBlhGrs"},
       "Nie określono strefy na wejściu"},
      {{"heightModuleButton", "heightInputKron86"}, "Nie określono zbioru wynikowego"},
      {{"quasigeoidModuleButton", "quasigeoidAnomalies"}, "ale najpierw określ układ odniesienia"},
  };
  for (const auto& c : kCases) {
    dialogs_.shown.clear();
    for (const QString& name : c.clicks) Click(name);
    Click("runJobButton");
    EXPECT_EQ(dialogs_.Texts("information"), QStringList{QString::fromUtf8(c.message)});
  }
  dialogs_.shown.clear();
  RunFromXy92("outputSystemBlhGrs");
  EXPECT_EQ(dialogs_.Texts("information"),
            QStringList{" ! nie istnieje zbiór wejściowy: " + objects_ + "/TEST/xy92"});
  EXPECT_EQ(QDir(objects_ + "/TEST").entryList(QDir::Files), QStringList());
}

TEST_F(Jobs, EveryJobShowsItsWorkingFolderInTheStatusBar) {
  Find<QLabel>("statusPanel3")->clear();
  Click("runJobButton");  // refused: no module chosen
  EXPECT_EQ(Window().StatusText(3), "Folder roboczy: " + objects_ + "/TEST");
}

TEST_F(Jobs, MissingGridIsAPlainMessage) {
  ASSERT_TRUE(QFile::remove(bin_ + "/PL_grid_001.bin"));
  ASSERT_TRUE(WriteAll(ObjectFile("xy92"), "1 500000 500000\r\n"));
  RunFromXy92("outputSystemBlhGrs");
  EXPECT_EQ(dialogs_.Texts("message"),
            QStringList{" *** Brak pliku bazowego " + bin_ + "/PL_grid_001.bin"});
  EXPECT_FALSE(QFile::exists(ObjectFile("BLH_GRS.1")));
}

// The real message boxes show their text as plain text: a point name or a
// path that looks like markup is shown as it is, never rendered.
TEST(MessageBoxes, ShowTheirTextAsPlainText) {
  const QString text = "<b>P1</b> <a href=\"x\">/obiekty/<i>T</i></a> &amp;";
  const struct {
    const char* dialog;
    std::function<void()> show;
  } kDialogs[] = {
      {"information", [&] { Dialogs().Information(nullptr, "Informacja", text); }},
      {"warning", [&] { Dialogs().Warning(nullptr, "Uwaga", text); }},
      {"message", [&] { Dialogs().Message(nullptr, text); }},
      {"question", [&] { Dialogs().Question(nullptr, "Potwierdzenie", text, false); }},
      {"question with cancel", [&] { Dialogs().Question(nullptr, "Potwierdzenie", text, true); }},
      {"question for each file", [&] { Dialogs().QuestionForEach(nullptr, "Importuj", text); }},
  };
  SetDialogService(nullptr);  // the real dialogs
  for (const auto& d : kDialogs) {
    std::optional<Qt::TextFormat> format;
    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (!box || !box->isVisible()) continue;
        format = box->textFormat();
        shown = box->text();
        box->reject();
      }
    });
    closer.start(10);
    d.show();
    EXPECT_EQ(format, Qt::PlainText) << d.dialog;
    EXPECT_EQ(shown, text) << d.dialog;
  }
}

// An object whose folder keeps a Windows-1250 name (not valid UTF-8): the job
// reads and writes in that very folder, and its messages show the name decoded.
TEST_F(Jobs, JobRunsInAnObjectWithAWindows1250Name) {
  const std::string raw = "\xb3\xf3" "d\x9f";  // "łódź" in Windows-1250
  const std::filesystem::path folder = QFile::encodeName(objects_).toStdString() + "/" + raw;
  ASSERT_TRUE(std::filesystem::create_directory(folder));
  std::ofstream(folder / "xy92", std::ios::binary) << "1 500000 500000\r\nBAD x 500000\r\n";
  Find<QComboBox>("objectCombo")->setCurrentText(QStringLiteral("łódź"));
  RunFromXy92();
  EXPECT_TRUE(std::filesystem::is_regular_file(folder / "xy92.1"));
  EXPECT_EQ(Window().MonitorLines()[3], " Liczba punktów: 2");
  EXPECT_EQ(Window().StatusText(3), "Folder roboczy: " + objects_ + QStringLiteral("/łódź"));
  EXPECT_FALSE(QDir(objects_ + QStringLiteral("/łódź")).exists()) << "no UTF-8 twin was made";
}

// Running out of memory inside a job (here at its first point question) is
// reported in Polish; the job's temporary file is gone and the earlier result kept.
TEST_F(Jobs, OutOfMemoryInAJobIsReportedAndLeavesTheEarlierResult) {
  struct OutOfMemoryAtAQuestion : testing::ScriptedDialogs {
    Answer Question(QWidget*, const QString&, const QString&, bool) override {
      throw std::bad_alloc();
    }
  } dialogs;
  SetDialogService(&dialogs);
  ASSERT_TRUE(WriteAll(ObjectFile("xy92"), "1 500000 500000\r\nBAD x 500000\r\n"));
  ASSERT_TRUE(WriteAll(ObjectFile("xy92.1"), "EARLIER\r\n"));
  RunFromXy92();
  EXPECT_EQ(dialogs.Texts("information"), QStringList{QString::fromUtf8(kOutOfMemoryMessage)});
  EXPECT_EQ(ReadAll(ObjectFile("xy92.1")), QByteArray("EARLIER\r\n"));
  EXPECT_EQ(QDir(objects_ + "/TEST").entryList(QDir::Files | QDir::Hidden),
            QStringList({"xy92", "xy92.1"}));
}

}  // namespace
}  // namespace kolvedir

int main(int argc, char** argv) { return kolvedir::testing::RunGuiTests(argc, argv); }
