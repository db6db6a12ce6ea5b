#pragma once
// The core's computations over arrays of points, several points at a time
// through the vector maths library: one set of kernels per instruction set,
// the widest this processor runs chosen once. Internal to the core; no
// status: callers test the results.
#include <cstddef>

namespace kolvedir {

// One Gauss–Krüger zone's constants: L0 degrees; m0 scale factor; FE, FN, R,
// a metres; e eccentricity; alpha, beta, delta the five stored values of each
// Krüger set.
struct KrugerZoneConstants {
  double L0, m0, FE, FN, R, e, a;
  const double* alpha;
  const double* beta;
  const double* delta;
};

struct LaneKernels {
  // Forward projection of n points: B, L arc-seconds → x, y (m), distortion
  // (cm/km), convergence (grads).
  void (*forward)(const KrugerZoneConstants& zone, const double* B, const double* L, std::size_t n,
                  double* x, double* y, double* distortion, double* convergence);
  // Inverse projection of n points: x, y (m) → B, L (arc-seconds) and ξ (rad).
  void (*inverse)(const KrugerZoneConstants& zone, const double* x, const double* y, std::size_t n,
                  double* B, double* L, double* xi);
  // Cartesian → geodetic of n points on the ellipsoid (a m, e2): X, Y, Z (m)
  // → B (arc-seconds), arcsin(|Y|/p) (rad), h (m), and 0 or the status code
  // of a failure.
  void (*geodetic)(const double* X, const double* Y, const double* Z, std::size_t n, double a,
                   double e2, double* B, double* lambda0, double* h, double* failure);
};

// The kernels of the widest lanes this processor runs.
const LaneKernels& LaneKernelsOfThisProcessor();

// Two points at a time (SSE2, every x86-64 processor) and four (AVX2; only
// for processors that have it).
extern const LaneKernels kSse2Kernels;
extern const LaneKernels kAvx2Kernels;

}  // namespace kolvedir
