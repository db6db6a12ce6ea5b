#pragma once
// The selection state a batch job reads: module, frames, systems, zones and
// options. The main window writes it on every choice; the job reads it as it
// stands when "Wykonaj obliczenia" is pressed. 0 always means "not chosen".
#include <cstdint>
#include <string>

namespace kolvedir {

struct JobDescription {
  std::int32_t ActiveModule = 0;   // 1 TRANS 2D/3D, 2 TRANS-H, 3 quasigeoid
  std::int32_t InputFrame = 0;     // 1 PL-ETRF2000, 2 PL-ETRF89, 3 Pulkovo'42; quasigeoid 5, 6
  std::int32_t OutputFrame = 0;    // 1 PL-ETRF2000, 2 PL-ETRF89, 3 Pulkovo'42
  std::int32_t InputSystem = 0;    // system code per frame group; 11–13 TRANS-H; 21–23 quasigeoid
  std::int32_t OutputSystem = 0;
  std::int32_t InputZone = 0;      // central meridian (15, 18, 21, 24) or 1965 zone (1–5)
  std::int32_t OutputZone = 0;
  std::int32_t InputKind = 0;      // 1 BL(H), 2 plane, 3 Cartesian; derived by the job
  std::int32_t OutputKind = 0;
  std::int32_t Method = 0;         // 1 theoretical; any other value empirical
  std::int32_t BLInputFormat = 1;  // 1 degrees-minutes-seconds; 2 decimal degrees
  std::int32_t BLOutputFormat = 1;
  std::int32_t SecondsDecimals = 6;  // 6, 5 or 4
  std::int32_t LinearDecimals = 4;   // 4, 3 or 2
  std::string ObjectFolder;          // full path of the working object (native encoding)
};

}  // namespace kolvedir
