// The choice of kernels, and the two-lane ones every x86-64 processor runs.
#include "core/lane_kernels.h"

#include "core/gauss_kruger_lanes.h"
#include "core/geocentric_lanes.h"

namespace kolvedir {

const LaneKernels kSse2Kernels{ForwardPoints<__m128d, Sse2Maths>, InversePoints<__m128d, Sse2Maths>,
                               GeodeticPoints<__m128d, Sse2Maths>};

const LaneKernels& LaneKernelsOfThisProcessor() {
  static const LaneKernels& kernels = []() -> const LaneKernels& {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? kAvx2Kernels : kSse2Kernels;
  }();
  return kernels;
}

}  // namespace kolvedir
