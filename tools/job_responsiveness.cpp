// How the window fares during a long job: the longest time its event loop is
// blocked while a job runs on the worker thread (a 10 ms timer records the
// largest gap between its ticks), and the job's time with the progress bar fed
// from the worker against the same job run straight, without progress reports.
//   kolvedir_job_responsiveness --grid FILE [--points N]   (default 10,000,000)
// The points (PL-1992, within the country) are written to a temporary object.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "engine/job.h"
#include "shell/job_thread.h"

namespace {

using namespace kolvedir;

// The window's side of the job: a progress bar, nothing else shown.
class ProgressWindow : public JobUserInterface {
 public:
  ProgressWindow() { bar.setRange(0, 1000); }
  void ShowInformation(const std::string&) override {}
  void ShowMessage(const std::string&) override {}
  bool AskPointQuestion(const std::string&) override { return true; }
  void SetMonitorLine(int, const std::string&) override {}
  void MarkFilePanels(Module) override {}
  void SetStatusText(int, const std::string&) override {}
  void ShowProgress(std::uint64_t done, std::uint64_t total) override {
    if (total > 0) bar.setValue(int(1000 * done / total));
  }
  QProgressBar bar;
};

// Does nothing at all: the job without progress reports reaching anyone.
class SilentWindow : public ProgressWindow {
 public:
  void ShowProgress(std::uint64_t, std::uint64_t) override {}
};

void WritePoints(const std::string& path, long points) {
  std::ofstream out(path, std::ios::binary);
  for (long i = 0; i < points; ++i)
    out << 'p' << i << ' ' << 400000 + i % 300000 << ".1234 " << 500000 + i % 200000 << ".5678\r\n";
}

JobOutcome RunXy92ToXy2000(const std::string& root, const std::string& grid, JobUserInterface& ui) {
  JobDescription job;
  job.ActiveModule = Module::kTrans;
  job.InputFrame = job.OutputFrame = Frame::kEtrf2000;
  job.InputSystem = 2;   // xy92
  job.OutputSystem = 1;  // xy2000
  job.OutputZone = 21;
  JobCounters counters;
  return RunJob(job, root, "OBJ", "", "", grid, counters, ui);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  const int gridAt = args.indexOf("--grid"), pointsAt = args.indexOf("--points");
  if (gridAt < 0 || gridAt + 1 >= args.size()) {
    std::fprintf(stderr, "usage: kolvedir_job_responsiveness --grid FILE [--points N]\n");
    return 2;
  }
  const std::string grid = args[gridAt + 1].toStdString();
  const long points = pointsAt > 0 ? args.value(pointsAt + 1).toLong() : 10'000'000;
  QTemporaryDir temp;
  QDir(temp.path()).mkpath("OBJ");
  const std::string root = temp.path().toStdString();
  WritePoints(root + "/OBJ/xy92", points);

  // Each way twice, alternating, the faster run of each counted: the machine
  // may be busy with other work.
  double straightSeconds = 1e9, threadedSeconds = 1e9;
  JobOutcome straight = JobOutcome::kFailed, threaded = JobOutcome::kFailed;
  qint64 longestGap = 0;
  ProgressWindow window;
  for (int round = 0; round < 2; ++round) {
    SilentWindow silent;
    QElapsedTimer clock;
    clock.start();
    straight = RunXy92ToXy2000(root, grid, silent);
    straightSeconds = std::min(straightSeconds, clock.elapsed() / 1000.0);

    JobThread thread(window);
    QEventLoop loop;
    QObject::connect(&thread, &JobThread::Finished, &loop, [&](JobOutcome outcome) {
      threaded = outcome;
      loop.quit();
    });
    QElapsedTimer tick;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, tick.restart()); });
    timer.start(10);
    tick.start();
    clock.restart();
    thread.Start([&](JobUserInterface& ui) { return RunXy92ToXy2000(root, grid, ui); });
    loop.exec();
    threadedSeconds = std::min(threadedSeconds, clock.elapsed() / 1000.0);
  }

  std::printf("points                         %ld\n", points);
  std::printf("job outcomes (0 completed)     straight %d, worker %d\n", int(straight),
              int(threaded));
  std::printf("job time without progress      %.2f s\n", straightSeconds);
  std::printf("job time with progress bar     %.2f s (%+.1f %%)\n", threadedSeconds,
              100.0 * (threadedSeconds - straightSeconds) / straightSeconds);
  std::printf("longest event-loop gap (10 ms timer)  %lld ms\n", static_cast<long long>(longestGap));
  std::printf("progress bar at the end        %d / 1000\n", window.bar.value());
  return straight == JobOutcome::kCompleted && threaded == JobOutcome::kCompleted ? 0 : 1;
}
