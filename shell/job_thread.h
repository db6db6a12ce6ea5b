#pragma once
// A batch job run off the window's thread. The job reaches the user through a
// JobUserInterface whose every call is carried out on the window's thread: the
// dialogs are shown there and the job waits for their answers; progress
// reports are passed on without waiting; a stop request is read at once.
#include <QObject>

#include <atomic>
#include <functional>

#include "engine/job.h"
#include "engine/job_ui.h"

class QThread;

namespace kolvedir {

// Passes every call on to `target` on the thread of `context` (the window's
// thread). A call made on that thread itself goes straight through.
class CrossThreadUserInterface : public JobUserInterface {
 public:
  CrossThreadUserInterface(JobUserInterface& target, QObject* context);

  void ShowInformation(const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  bool AskPointQuestion(const std::string& text) override;
  void SetMonitorLine(int line, const std::string& text) override;
  void MarkFilePanels(Module module) override;
  void SetStatusText(int panel, const std::string& text) override;
  void ShowProgress(std::uint64_t done, std::uint64_t total) override;
  bool StopRequested() override { return stop_.load(); }

  // Any thread: the job stops at its next block of records.
  void RequestStop() { stop_.store(true); }
  void ClearStop() { stop_.store(false); }
  // Window's thread, when the window goes away: later calls reach no widget
  // (questions answer No) and the job is asked to stop.
  void Detach();

 private:
  // Runs call on the context's thread and waits for it.
  void OnWindowThread(const std::function<void()>& call);

  JobUserInterface& target_;
  QObject* context_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> detached_{false};
};

// Runs one job at a time on a worker thread; lives on the window's thread.
class JobThread : public QObject {
  Q_OBJECT

 public:
  using Job = std::function<JobOutcome(JobUserInterface&)>;

  // windowUi: the window's own interface, used on the window's thread only.
  explicit JobThread(JobUserInterface& windowUi, QObject* parent = nullptr);
  ~JobThread() override;

  // Starts job on the worker thread with the cross-thread interface; false
  // (and nothing started) while a job runs.
  bool Start(Job job);
  bool Running() const { return worker_ != nullptr; }
  // The running job stops at its next block of records, keeping the earlier result.
  void RequestStop() { ui_.RequestStop(); }

 signals:
  // On the window's thread, once the job has returned.
  void Finished(kolvedir::JobOutcome outcome);

 private:
  CrossThreadUserInterface ui_;
  QThread* worker_ = nullptr;
  JobOutcome outcome_ = JobOutcome::kRefused;
};

}  // namespace kolvedir
