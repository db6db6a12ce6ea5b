#include "shell/job_thread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>
#include <QThread>

#include <exception>

namespace kolvedir {

CrossThreadUserInterface::CrossThreadUserInterface(JobUserInterface& target, QObject* context)
    : target_(target), context_(context) {}

void CrossThreadUserInterface::Detach() {
  detached_.store(true);
  RequestStop();
}

void CrossThreadUserInterface::OnWindowThread(const std::function<void()>& call) {
  if (QThread::currentThread() == context_->thread()) {
    if (!detached_.load()) call();
    return;
  }
  // An exception of the call (running out of memory in a dialog) must not
  // cross the window's event loop: it goes back to the job, as if the call had
  // been made on the job's own thread.
  std::exception_ptr failure;
  QMetaObject::invokeMethod(
      context_,
      [&] {
        try {
          if (!detached_.load()) call();
        } catch (...) {
          failure = std::current_exception();
        }
      },
      Qt::BlockingQueuedConnection);
  if (failure) std::rethrow_exception(failure);
}

void CrossThreadUserInterface::ShowInformation(const std::string& text) {
  OnWindowThread([&] { target_.ShowInformation(text); });
}

void CrossThreadUserInterface::ShowMessage(const std::string& text) {
  OnWindowThread([&] { target_.ShowMessage(text); });
}

bool CrossThreadUserInterface::AskPointQuestion(const std::string& text) {
  bool yes = false;
  OnWindowThread([&] { yes = target_.AskPointQuestion(text); });
  return yes;
}

void CrossThreadUserInterface::SetMonitorLine(int line, const std::string& text) {
  OnWindowThread([&] { target_.SetMonitorLine(line, text); });
}

void CrossThreadUserInterface::MarkFilePanels(Module module) {
  OnWindowThread([&] { target_.MarkFilePanels(module); });
}

void CrossThreadUserInterface::SetStatusText(int panel, const std::string& text) {
  OnWindowThread([&] { target_.SetStatusText(panel, text); });
}

void CrossThreadUserInterface::ShowProgress(std::uint64_t done, std::uint64_t total) {
  // The job does not wait for the bar: the values travel by copy.
  QMetaObject::invokeMethod(
      context_,
      [this, done, total] {
        if (!detached_.load()) target_.ShowProgress(done, total);
      },
      Qt::AutoConnection);
}

JobThread::JobThread(JobUserInterface& windowUi, QObject* parent)
    : QObject(parent), ui_(windowUi, this) {}

JobThread::~JobThread() {
  if (!worker_) return;
  // Only reached when the window goes away with a job running: the job stops
  // without the window; calls it is waiting for are let through as no-ops.
  ui_.Detach();
  while (!worker_->wait(QDeadlineTimer(20)))
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool JobThread::Start(Job job) {
  if (worker_) return false;
  ui_.ClearStop();
  worker_ = QThread::create([this, job = std::move(job)] { outcome_ = job(ui_); });
  connect(worker_, &QThread::finished, this, [this] {
    worker_->deleteLater();
    worker_ = nullptr;
    emit Finished(outcome_);
  });
  worker_->start();
  return true;
}

}  // namespace kolvedir
