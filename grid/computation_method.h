#pragma once
// Computation method of the frame steps of TRANS 2D/3D.
#include <cstdint>

namespace kolvedir {

enum class ComputationMethod {
  kEmpirical,    // formulas plus the corrections of the interpolation grid (the default)
  kTheoretical,  // the transformation formulas alone
};

// The job's Method code: 1 theoretical, any other value empirical.
constexpr ComputationMethod MethodFromCode(std::int32_t code) {
  return code == 1 ? ComputationMethod::kTheoretical : ComputationMethod::kEmpirical;
}

}  // namespace kolvedir
