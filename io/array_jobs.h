#pragma once
// What the jobs on arrays of points (delimited text, GIS layers) share: the
// frame of a job as the monitor shows it.
#include <cstdint>
#include <functional>
#include <string>

#include "engine/job.h"
#include "engine/job_context.h"
#include "engine/job_description.h"
#include "kolvedir/transformer.h"

namespace kolvedir {

// How a job on arrays transforms its points: Transformer::Transform of the
// job's transformer (in, out, threads).
using ArrayTransform = std::function<void(const PointArrays&, const ResultArrays&, int threads)>;

// Runs one job on arrays as a record job runs: the counters and the monitor
// start anew with the grid's line, `run` does the work and counts (setting
// refusal when it does not complete), then the monitor gets the result line
// (the stop, or the refusal shown) and the closing lines. streamResult: the
// result goes to standard output. A job not completed counts no points.
JobOutcome RunArrayJob(Module module, bool streamResult, JobCounters& counters,
                       JobUserInterface& ui,
                       const std::function<JobOutcome(std::string& refusal)>& run);

}  // namespace kolvedir
