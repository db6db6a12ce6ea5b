// How the window fares during a long job: the longest time its event loop is
// blocked while a job runs on the worker thread (a 10 ms timer records the
// largest gap between its ticks), and what the progress reports cost: the job
// on the worker with the progress bar against the same job on the worker whose
// progress reports reach no one, and against the job run straight on the
// window's thread as before. Times are elapsed and processor time of all the
// process's threads (less swayed by other work on the machine); medians of the
// runs, each run printed too.
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
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/job.h"
#include "shell/job_thread.h"

namespace {

using namespace kolvedir;

// The window's side of the job: a progress bar on the screen, nothing else shown.
class ProgressWindow : public JobUserInterface {
 public:
  ProgressWindow() {
    bar.setRange(0, 100);
    bar.show();
  }
  void ShowInformation(const std::string&) override {}
  void ShowMessage(const std::string&) override {}
  bool AskPointQuestion(const std::string&) override { return true; }
  void SetMonitorLine(int, const std::string& text) override {
    if (text.find("Zadanie") != std::string::npos) report = text;
  }
  void MarkFilePanels(Module) override {}
  void SetStatusText(int, const std::string&) override {}
  void ShowProgress(std::uint64_t done, std::uint64_t total) override {
    if (total > 0) bar.setValue(int(bar.maximum() * done / total));
  }
  QProgressBar bar;
  std::string report;  // the monitor line on the job's end
};

// Passes every call on but the progress reports, which then reach no one.
class WithoutProgress : public JobUserInterface {
 public:
  explicit WithoutProgress(JobUserInterface& ui) : ui_(ui) {}
  void ShowInformation(const std::string& text) override { ui_.ShowInformation(text); }
  void ShowMessage(const std::string& text) override { ui_.ShowMessage(text); }
  bool AskPointQuestion(const std::string& text) override { return ui_.AskPointQuestion(text); }
  void SetMonitorLine(int line, const std::string& text) override {
    ui_.SetMonitorLine(line, text);
  }
  void MarkFilePanels(Module module) override { ui_.MarkFilePanels(module); }
  void SetStatusText(int panel, const std::string& text) override {
    ui_.SetStatusText(panel, text);
  }
  bool StopRequested() override { return ui_.StopRequested(); }

 private:
  JobUserInterface& ui_;
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

// Elapsed and processor time (every thread of the process) since it was made, in seconds.
class Stopwatch {
 public:
  Stopwatch() : cpu_(std::clock()) { wall_.start(); }
  double Wall() const { return wall_.elapsed() / 1000.0; }
  double Cpu() const { return double(std::clock() - cpu_) / CLOCKS_PER_SEC; }

 private:
  QElapsedTimer wall_;
  std::clock_t cpu_;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The figures of one way of running the job, one entry per run.
struct Way {
  explicit Way(const char* wayName) : name(wayName) {}
  const char* name;
  std::vector<double> wall, cpu, gap;

  void Add(const Stopwatch& watch, double longestGap) {
    wall.push_back(watch.Wall());
    cpu.push_back(watch.Cpu());
    gap.push_back(longestGap);
  }
};

using Job = std::function<JobOutcome(JobUserInterface&)>;

// Runs job on the worker thread while the window's event loop ticks every 10 ms.
bool OnWorker(ProgressWindow& window, bool progress, const Job& job, Way& way) {
  JobThread thread(window);
  QEventLoop loop;
  bool completed = false;
  QObject::connect(&thread, &JobThread::Finished, &loop, [&](JobOutcome outcome) {
    completed = outcome == JobOutcome::kCompleted;
    loop.quit();
  });
  qint64 longestGap = 0;
  QElapsedTimer tick;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout,
                   [&] { longestGap = std::max(longestGap, tick.restart()); });
  timer.start(10);
  tick.start();
  const Stopwatch watch;
  thread.Start([&](JobUserInterface& ui) {
    if (progress) return job(ui);
    WithoutProgress quiet(ui);
    return job(quiet);
  });
  loop.exec();
  way.Add(watch, double(longestGap));
  return completed;
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
  const Job job = [&](JobUserInterface& ui) { return RunXy2000ToXy92(root, grid, ui); };

  // The ways take turns, so that other work on the machine falls on each.
  Way straight{"on the window's thread, no progress"};
  Way quiet{"on the worker, no progress reports"};
  Way reported{"on the worker, progress bar"};
  ProgressWindow window;
  bool allCompleted = true;
  for (int round = 0; round < runs; ++round) {
    const Stopwatch watch;
    WithoutProgress windowThread(window);
    allCompleted = job(windowThread) == JobOutcome::kCompleted && allCompleted;
    straight.Add(watch, 1000 * watch.Wall());  // the event loop waits for the whole job
    allCompleted = OnWorker(window, false, job, quiet) && allCompleted;
    allCompleted = OnWorker(window, true, job, reported) && allCompleted;
    for (const Way* way : {&straight, &quiet, &reported}) {
      std::printf("run %d  %-38s %6.2f s, processor %6.2f s, longest gap %3.0f ms\n", round + 1,
                  way->name, way->wall.back(), way->cpu.back(), way->gap.back());
    }
  }

  std::printf("points: %ld; monitor at the end: %s; progress bar at the end: %d / 100\n", points,
              window.report.c_str(), window.bar.value());
  std::printf("medians of %d runs:\n", runs);
  for (const Way* way : {&straight, &quiet, &reported}) {
    std::printf("  %-38s %6.2f s, processor %6.2f s, longest gap %3.0f ms (worst %3.0f ms)\n",
                way->name, Median(way->wall), Median(way->cpu), Median(way->gap),
                *std::max_element(way->gap.begin(), way->gap.end()));
  }
  const auto cost = [&](const Way& base) {
    return 100.0 * (Median(reported.cpu) - Median(base.cpu)) / Median(base.cpu);
  };
  std::printf("progress bar against no reports on the worker: %+.1f %% processor time\n",
              cost(quiet));
  std::printf("progress bar on the worker against the window's thread: %+.1f %% processor time\n",
              cost(straight));
  return allCompleted ? 0 : 1;
}
