// The Krüger series four points at a time. Built with AVX2 enabled, and
// entered only on processors that have it.
#include <immintrin.h>

#include "core/gauss_kruger_lanes.h"

// The vector maths library's four-lane AVX2 functions (glibc libmvec).
extern "C" {
__m256d _ZGVdN4v_sin(__m256d);
__m256d _ZGVdN4v_cos(__m256d);
__m256d _ZGVdN4v_exp(__m256d);
__m256d _ZGVdN4v_log(__m256d);
__m256d _ZGVdN4v_atan(__m256d);
__m256d _ZGVdN4v_asin(__m256d);
}

namespace kolvedir {

namespace {

struct Avx2Maths {
  static __m256d Sin(__m256d v) { return _ZGVdN4v_sin(v); }
  static __m256d Cos(__m256d v) { return _ZGVdN4v_cos(v); }
  static __m256d Exp(__m256d v) { return _ZGVdN4v_exp(v); }
  static __m256d Log(__m256d v) { return _ZGVdN4v_log(v); }
  static __m256d Atan(__m256d v) { return _ZGVdN4v_atan(v); }
  static __m256d Asin(__m256d v) { return _ZGVdN4v_asin(v); }
  static __m256d Sqrt(__m256d v) { return _mm256_sqrt_pd(v); }
};

}  // namespace

void ForwardPointsAvx2(const KrugerZoneConstants& zone, const double* B, const double* L,
                       std::size_t n, double* x, double* y, double* distortion,
                       double* convergence) {
  ForwardPoints<__m256d, Avx2Maths>(zone, B, L, n, x, y, distortion, convergence);
}

void InversePointsAvx2(const KrugerZoneConstants& zone, const double* x, const double* y,
                       std::size_t n, double* B, double* L, double* xi) {
  InversePoints<__m256d, Avx2Maths>(zone, x, y, n, B, L, xi);
}

}  // namespace kolvedir
