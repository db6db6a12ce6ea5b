#pragma once
// The job of the tests of delimited text and GIS layers: PL-2000 zone 18 in
// PL-ETRF2000 to another system of that frame, theoretical, so that no grid
// value is used, with the transformer of the same names.
#include <filesystem>

#include "engine/job_description.h"
#include "engine/system_files.h"
#include "io/array_jobs.h"
#include "kolvedir/transformer.h"

namespace kolvedir::testing {

// outputSystem: a code of the GRS80 group (2 xy92, 3 UTM, 4 BLH_GRS); outputZone where it has
// zones.
inline JobDescription PlaneJob(std::int32_t outputSystem = 2, std::int32_t outputZone = 0) {
  JobDescription job;
  job.ActiveModule = Module::kTrans;
  job.InputFrame = job.OutputFrame = Frame::kEtrf2000;
  job.InputSystem = 1;
  job.InputZone = 18;
  job.OutputSystem = outputSystem;
  job.OutputZone = outputZone;
  job.InputKind = RecordKind::kPlane;
  job.OutputKind = FindSystemFile(Module::kTrans, job.OutputFrame, outputSystem)->kind;
  job.Method = ComputationMethod::kTheoretical;
  return job;
}

inline Transformer TransformerOf(const JobDescription& job, const std::filesystem::path& grid) {
  TransformerDescription d;
  d.source = "xy2000";
  d.source_zone = 18;
  d.source_frame = d.target_frame = "PL-ETRF2000";
  d.target = FindSystemFile(Module::kTrans, job.OutputFrame, job.OutputSystem)->input;
  d.target_zone = job.OutputZone;
  d.method = "theoretical";
  d.grid = grid.string();
  return Transformer(d);
}

// The transformer as the jobs on arrays call it.
inline ArrayTransform TransformOf(const Transformer& t) {
  return [&t](const PointArrays& in, const ResultArrays& out, int threads) {
    t.Transform(in, out, threads);
  };
}

}  // namespace kolvedir::testing
