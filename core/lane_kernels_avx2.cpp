// The core's kernels four points at a time. Built with AVX2 enabled, and
// entered only on processors that have it.
#include "core/gauss_kruger_lanes.h"
#include "core/geocentric_lanes.h"
#include "core/lane_kernels.h"

namespace kolvedir {

const LaneKernels kAvx2Kernels{ForwardPoints<__m256d, Avx2Maths>, InversePoints<__m256d, Avx2Maths>,
                               GeodeticPoints<__m256d, Avx2Maths>};

}  // namespace kolvedir
