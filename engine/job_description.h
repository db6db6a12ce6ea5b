#pragma once
// The selection state a batch job reads: module, frames, systems, zones and
// options. The main window writes it on every choice; the job reads it as it
// stands when "Wykonaj obliczenia" is pressed. 0 always means "not chosen".
#include <cstdint>
#include <string>

#include "engine/point_record.h"
#include "grid/computation_method.h"

namespace kolvedir {

// The module of a job (ActiveModule).
enum class Module : std::int32_t {
  kNone = 0,
  kTrans = 1,       // TRANS 2D/3D
  kHeight = 2,      // TRANS-H
  kQuasigeoid = 3,  // quasigeoid PL-geoid-2011
};

// Reference frames (InputFrame, OutputFrame). TRANS 2D/3D uses the first
// three; the quasigeoid module names the frame of its ellipsoidal heights
// with its own two codes.
enum class Frame : std::int32_t {
  kNone = 0,
  kEtrf2000 = 1,
  kEtrf89 = 2,
  kPulkovo = 3,
  kQuasigeoidEtrf2000 = 5,
  kQuasigeoidEtrf89 = 6,
};

struct JobDescription {
  Module ActiveModule = Module::kNone;
  Frame InputFrame = Frame::kNone;
  Frame OutputFrame = Frame::kNone;
  std::int32_t InputSystem = 0;    // system code per frame group; 11–13 TRANS-H; 21–23 quasigeoid
  std::int32_t OutputSystem = 0;
  std::int32_t InputZone = 0;      // central meridian (15, 18, 21, 24) or 1965 zone (1–5)
  std::int32_t OutputZone = 0;
  RecordKind InputKind = RecordKind::kNone;  // derived by the job
  RecordKind OutputKind = RecordKind::kNone;
  ComputationMethod Method = ComputationMethod::kEmpirical;
  BlFormat BLInputFormat = BlFormat::kDegreesMinutesSeconds;
  BlFormat BLOutputFormat = BlFormat::kDegreesMinutesSeconds;
  std::int32_t SecondsDecimals = 6;  // 6, 5 or 4
  std::int32_t LinearDecimals = 4;   // 4, 3 or 2
  std::string ObjectFolder;          // full path of the working object (native encoding)
};

}  // namespace kolvedir
