#include "io/array_jobs.h"

#include "engine/run_report.h"
#include "engine/trans_chain.h"
#include "kolvedir/transformer.h"

namespace kolvedir {

std::string PointResultText(const JobDescription& job, std::int32_t status, double y) {
  switch (static_cast<PointResult>(status)) {
    case PointResult::kOutOfArea:
      return "punkt poza obszarem dopuszczalnym (B 49°–55°, L 14°–24,2°)";
    case PointResult::kDistorted:
      return "punkt za daleko od strefy: zniekształcenie ponad 200 cm/km lub zbieżność ponad 20 g";
    case PointResult::kWrongZone:
      return "współrzędna y " + std::to_string(static_cast<long long>(y)) + " jest ze strefy " +
             std::to_string(InputZoneOfEasting(job, y)) + ", a wybrano strefę " +
             std::to_string(job.InputZone);
    default:
      return "punkt poza obszarem dopuszczalnym lub inny defekt danych";
  }
}

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
