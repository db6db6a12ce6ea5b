#pragma once
// The Krüger series over arrays of points, several points at a time through
// the vector maths library: one entry per instruction set, chosen by
// core/gauss_kruger.cpp for the processor it runs on. Internal to the core.
#include <cstddef>

namespace kolvedir {

// One zone's constants: L0 degrees; m0 scale factor; FE, FN, R, a metres;
// e eccentricity; alpha, beta, delta the five stored values of each Krüger set.
struct KrugerZoneConstants {
  double L0, m0, FE, FN, R, e, a;
  const double* alpha;
  const double* beta;
  const double* delta;
};

// Forward projection of n points: B, L arc-seconds → x, y (m), distortion
// (cm/km), convergence (grads). No status: callers test the results.
using ForwardPointsFunction = void (*)(const KrugerZoneConstants& zone, const double* B,
                                       const double* L, std::size_t n, double* x, double* y,
                                       double* distortion, double* convergence);
// Inverse projection of n points: x, y (m) → B, L (arc-seconds) and ξ (rad).
using InversePointsFunction = void (*)(const KrugerZoneConstants& zone, const double* x,
                                       const double* y, std::size_t n, double* B, double* L,
                                       double* xi);

// Four points at a time (AVX2; call only where the processor has it).
void ForwardPointsAvx2(const KrugerZoneConstants& zone, const double* B, const double* L,
                       std::size_t n, double* x, double* y, double* distortion,
                       double* convergence);
void InversePointsAvx2(const KrugerZoneConstants& zone, const double* x, const double* y,
                       std::size_t n, double* B, double* L, double* xi);

}  // namespace kolvedir
