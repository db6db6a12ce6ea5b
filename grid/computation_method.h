#pragma once
// Computation method of the frame steps of TRANS 2D/3D.
#include <cstdint>

namespace kolvedir {

// The values are the job's Method codes.
enum class ComputationMethod : std::int32_t {
  kEmpirical = 0,    // formulas plus the corrections of the interpolation grid (the default)
  kTheoretical = 1,  // the transformation formulas alone
};

}  // namespace kolvedir
