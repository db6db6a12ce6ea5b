#include "io/array_jobs.h"

#include "engine/run_report.h"

namespace kolvedir {

JobOutcome RunArrayJob(Module module, bool streamResult, JobCounters& counters,
                       JobUserInterface& ui, const std::function<JobOutcome(std::string&)>& run) {
  counters.ErrorCount = 0;
  counters.PointCount = 0;
  counters.SuppressPointMessages = false;
  ClearMonitor(ui);
  ReportGridLoaded(ui, counters);
  std::string refusal;
  const JobOutcome outcome = run(refusal);
  if (outcome == JobOutcome::kCompleted) {
    ReportJobResult(ui, counters, module);
  } else {
    counters.PointCount = 0;
    if (outcome == JobOutcome::kStopped)
      ReportJobStopped(ui, counters, streamResult);
    else
      ui.ShowInformation(refusal);
  }
  ReportJobEnd(ui, counters, outcome == JobOutcome::kStopped);
  return outcome;
}

}  // namespace kolvedir
