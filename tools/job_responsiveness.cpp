// How the window fares during a long job: the longest time its event loop is
// blocked while a job runs on the worker thread (a 10 ms timer records the
// largest gap between its ticks), and the job's time with the progress bar fed
// from the worker against the same job run straight on the calling thread,
// without progress reports. Medians of the runs; each run is printed too.
//   kolvedir_job_responsiveness --grid FILE [--points N] [--runs R]
//   (default 10,000,000 points, 3 runs each way)
// The job: PL-2000 strip 18 → PL-1992 in PL-ETRF2000, empirical method, on
// points within the strip written to a temporary object.
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
#include <vector>

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
  void SetMonitorLine(int, const std::string& text) override {
    if (text.find("Zadanie") != std::string::npos) report = text;
  }
  void MarkFilePanels(Module) override {}
  void SetStatusText(int, const std::string&) override {}
  void ShowProgress(std::uint64_t done, std::uint64_t total) override {
    if (total > 0) bar.setValue(int(1000 * done / total));
  }
  QProgressBar bar;
  std::string report;  // the monitor line on the job's end
};

// Does nothing at all: the job without progress reports reaching anyone.
class SilentWindow : public ProgressWindow {
 public:
  void ShowProgress(std::uint64_t, std::uint64_t) override {}
};

void WritePoints(const std::string& path, long points) {
  std::ofstream out(path, std::ios::binary);
  for (long i = 0; i < points; ++i)
    out << 'p' << i << ' ' << 5600000 + i % 300000 << ".1234 " << 6420000 + i % 160000
        << ".5678\r\n";
}

JobOutcome RunXy2000ToXy92(const std::string& root, const std::string& grid, JobUserInterface& ui) {
  JobDescription job;
  job.ActiveModule = Module::kTrans;
  job.InputFrame = job.OutputFrame = Frame::kEtrf2000;
  job.InputSystem = 1;  // xy2000
  job.InputZone = 18;
  job.OutputSystem = 2;  // xy92
  JobCounters counters;
  return RunJob(job, root, "OBJ", "", "", grid, counters, ui);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  const int gridAt = args.indexOf("--grid"), pointsAt = args.indexOf("--points"),
            runsAt = args.indexOf("--runs");
  if (gridAt < 0 || gridAt + 1 >= args.size()) {
    std::fprintf(stderr,
                 "usage: kolvedir_job_responsiveness --grid FILE [--points N] [--runs R]\n");
    return 2;
  }
  const std::string grid = args[gridAt + 1].toStdString();
  const long points = pointsAt > 0 ? args.value(pointsAt + 1).toLong() : 10'000'000;
  const int runs = std::max(1, runsAt > 0 ? args.value(runsAt + 1).toInt() : 3);
  QTemporaryDir temp;
  QDir(temp.path()).mkpath("OBJ");
  const std::string root = temp.path().toStdString();
  WritePoints(root + "/OBJ/xy2000", points);

  // The two ways alternate, so that other work on the machine falls on both.
  std::vector<double> straightSeconds, threadedSeconds, gaps;
  bool allCompleted = true;
  ProgressWindow window;
  SilentWindow silent;
  for (int round = 0; round < runs; ++round) {
    QElapsedTimer clock;
    clock.start();
    allCompleted = RunXy2000ToXy92(root, grid, silent) == JobOutcome::kCompleted && allCompleted;
    straightSeconds.push_back(clock.elapsed() / 1000.0);

    JobThread thread(window);
    QEventLoop loop;
    QObject::connect(&thread, &JobThread::Finished, &loop, [&](JobOutcome outcome) {
      allCompleted = outcome == JobOutcome::kCompleted && allCompleted;
      loop.quit();
    });
    qint64 longestGap = 0;
    QElapsedTimer tick;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, tick.restart()); });
    timer.start(10);
    tick.start();
    clock.restart();
    thread.Start([&](JobUserInterface& ui) { return RunXy2000ToXy92(root, grid, ui); });
    loop.exec();
    threadedSeconds.push_back(clock.elapsed() / 1000.0);
    gaps.push_back(double(longestGap));
    std::printf("run %d: straight %.2f s, worker with progress %.2f s, longest gap %lld ms\n",
                round + 1, straightSeconds.back(), threadedSeconds.back(),
                static_cast<long long>(longestGap));
  }

  const double straight = Median(straightSeconds), threaded = Median(threadedSeconds);
  std::printf("points                                 %ld\n", points);
  std::printf("monitor at the end                     %s\n", window.report.c_str());
  std::printf("job time without progress (median)     %.2f s\n", straight);
  std::printf("job time with progress bar (median)    %.2f s (%+.1f %%)\n", threaded,
              100.0 * (threaded - straight) / straight);
  std::printf("longest event-loop gap (10 ms timer)   median %.0f ms, worst %.0f ms\n",
              Median(gaps), *std::max_element(gaps.begin(), gaps.end()));
  std::printf("progress bar at the end                %d / 1000\n", window.bar.value());
  return allCompleted ? 0 : 1;
}
