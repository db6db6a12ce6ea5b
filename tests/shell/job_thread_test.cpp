// Whole jobs on the worker thread: the window's interface is called on the
// window's thread only, a point question waits for its answer, a stop keeps the
// earlier result, the progress reaches the input's size.
#include "shell/job_thread.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

using testing::BuildBinFolder;
using testing::ReadAll;
using testing::WriteAll;

// The window's side: records the calls and the threads they came on.
class WindowSide : public JobUserInterface {
 public:
  void ShowInformation(const std::string& text) override { Record("info: " + text); }
  void ShowMessage(const std::string& text) override { Record("message: " + text); }
  bool AskPointQuestion(const std::string& text) override {
    Record("question: " + text);
    if (onQuestion) onQuestion();
    return answer;
  }
  void SetMonitorLine(int line, const std::string& text) override {
    Record("");
    if (line >= 0 && line < 11) monitor[line] = text;
  }
  void MarkFilePanels(Module) override { Record(""); }
  void SetStatusText(int, const std::string&) override { Record(""); }
  void ShowProgress(std::uint64_t done, std::uint64_t total) override {
    Record("");
    progress = {done, total};
  }

  void Record(const std::string& text) {
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) ++callsOffThread;
    if (!text.empty()) dialogs.push_back(text);
  }

  int callsOffThread = 0;
  bool answer = false;
  std::function<void()> onQuestion;
  std::vector<std::string> dialogs;
  std::string monitor[11];
  std::pair<std::uint64_t, std::uint64_t> progress;
};

class JobThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.isValid());
    grid_ = BuildBinFolder() + "/PL_grid_001.bin";
    ASSERT_TRUE(QFile::exists(grid_)) << "the build makes the model grid in its bin";
    ASSERT_TRUE(QDir(temp_.path()).mkpath("OBJ"));
  }

  QString File(const QString& name) const { return temp_.filePath("OBJ/" + name); }

  // BLH_GRS (decimal degrees) to xy92 in PL-ETRF2000 on the worker thread,
  // waiting in the event loop for its end.
  JobOutcome RunOnWorker() {
    JobThread thread(window_);
    JobOutcome outcome = JobOutcome::kFailed;
    QEventLoop loop;
    QObject::connect(&thread, &JobThread::Finished, &loop, [&](JobOutcome o) {
      outcome = o;
      loop.quit();
    });
    stop_ = [&thread] { thread.RequestStop(); };
    const std::string root = temp_.path().toStdString(), grid = grid_.toStdString();
    EXPECT_TRUE(thread.Start([&, root, grid](JobUserInterface& ui) {
      job_.ActiveModule = Module::kTrans;
      job_.InputFrame = job_.OutputFrame = Frame::kEtrf2000;
      job_.InputSystem = 4;   // BLH_GRS
      job_.OutputSystem = 2;  // xy92
      job_.BLInputFormat = BlFormat::kDecimalDegrees;
      job_.Method = ComputationMethod::kTheoretical;
      return RunJob(job_, root, "OBJ", "", "", grid, counters_, ui);
    }));
    EXPECT_FALSE(thread.Start([](JobUserInterface&) { return JobOutcome::kCompleted; }))
        << "one job at a time";
    loop.exec();
    EXPECT_FALSE(thread.Running());
    return outcome;
  }

  QTemporaryDir temp_;
  QString grid_;
  WindowSide window_;
  JobDescription job_;
  JobCounters counters_;
  std::function<void()> stop_;
};

// n records, the first outside the admissible area.
QByteArray Records(int n) {
  QByteArray bytes = "out 10.0 10.0 0\r\n";
  for (int i = 1; i < n; ++i) bytes += "p" + QByteArray::number(i) + " 52.0 21.0 100\r\n";
  return bytes;
}

TEST_F(JobThreadTest, QuestionsAnsweredOnTheWindowsThreadAndProgressReachesTheEnd) {
  const QByteArray input = Records(10000);
  ASSERT_TRUE(WriteAll(File("BLH_GRS"), input));
  window_.answer = true;
  EXPECT_EQ(RunOnWorker(), JobOutcome::kCompleted);
  EXPECT_EQ(window_.callsOffThread, 0);
  ASSERT_EQ(window_.dialogs.size(), 1u);
  EXPECT_EQ(window_.dialogs[0],
            "question:  Punkt poza obszarem dopuszczalnym, nr: out - Czy wyłączyć ten komunikat? ");
  EXPECT_EQ(window_.monitor[2], " Zadanie wykonano - liczba błędów  1 ");
  EXPECT_EQ(window_.progress, std::make_pair(std::uint64_t(input.size()), std::uint64_t(input.size())));
  EXPECT_EQ(ReadAll(File("xy92.1")).count("\r\n"), 10000);
}

TEST_F(JobThreadTest, StopAfterTheFirstBlockKeepsTheEarlierResult) {
  ASSERT_TRUE(WriteAll(File("BLH_GRS"), Records(10000)));
  ASSERT_TRUE(WriteAll(File("xy92.1"), "earlier result\r\n"));
  window_.onQuestion = [this] { stop_(); };
  EXPECT_EQ(RunOnWorker(), JobOutcome::kStopped);
  EXPECT_EQ(window_.callsOffThread, 0);
  EXPECT_EQ(window_.monitor[2], " Zadanie przerwane - przeliczono punktów: 4096 ");
  EXPECT_EQ(window_.monitor[3], " Zbiór wynikowy nie został zmieniony ");
  EXPECT_EQ(ReadAll(File("xy92.1")), "earlier result\r\n");
  EXPECT_EQ(QDir(temp_.filePath("OBJ")).entryList(QDir::Files).size(), 2);
}

}  // namespace
}  // namespace kolvedir

int main(int argc, char** argv) {
  return kolvedir::testing::RunGuiTests(argc, argv);
}
