#pragma once
// Lane types for the core's computations written once over a lane type V and
// its maths M: ScalarMaths (one double, <cmath>), Sse2Maths (two doubles, the
// vector maths library's SSE2 functions, which every x86-64 processor runs)
// and, in sources built with AVX2, Avx2Maths (four doubles). M supplies Sin,
// Cos, Exp, Log, Atan, Asin, Acos, Sqrt, Abs, Select (lane by lane: mask ?
// a : b) and AllLanes (a mask true in every lane). Everything here has
// internal linkage, so that each instruction set's copy stays in its source.
#include <immintrin.h>

#include <cmath>
#include <cstddef>

// The vector maths library (glibc libmvec), which comes with libm.
extern "C" {
__m128d _ZGVbN2v_sin(__m128d);
__m128d _ZGVbN2v_cos(__m128d);
__m128d _ZGVbN2v_exp(__m128d);
__m128d _ZGVbN2v_log(__m128d);
__m128d _ZGVbN2v_atan(__m128d);
__m128d _ZGVbN2v_asin(__m128d);
__m128d _ZGVbN2v_acos(__m128d);
#ifdef __AVX2__
__m256d _ZGVdN4v_sin(__m256d);
__m256d _ZGVdN4v_cos(__m256d);
__m256d _ZGVdN4v_exp(__m256d);
__m256d _ZGVdN4v_log(__m256d);
__m256d _ZGVdN4v_atan(__m256d);
__m256d _ZGVdN4v_asin(__m256d);
__m256d _ZGVdN4v_acos(__m256d);
#endif
}

namespace kolvedir {
namespace {

struct ScalarMaths {
  static double Sin(double v) { return std::sin(v); }
  static double Cos(double v) { return std::cos(v); }
  static double Exp(double v) { return std::exp(v); }
  static double Log(double v) { return std::log(v); }
  static double Atan(double v) { return std::atan(v); }
  static double Asin(double v) { return std::asin(v); }
  static double Acos(double v) { return std::acos(v); }
  static double Sqrt(double v) { return std::sqrt(v); }
  static double Abs(double v) { return std::fabs(v); }
  static double Select(bool mask, double a, double b) { return mask ? a : b; }
  static bool AllLanes(bool mask) { return mask; }
};

struct Sse2Maths {
  static __m128d Sin(__m128d v) { return _ZGVbN2v_sin(v); }
  static __m128d Cos(__m128d v) { return _ZGVbN2v_cos(v); }
  static __m128d Exp(__m128d v) { return _ZGVbN2v_exp(v); }
  static __m128d Log(__m128d v) { return _ZGVbN2v_log(v); }
  static __m128d Atan(__m128d v) { return _ZGVbN2v_atan(v); }
  static __m128d Asin(__m128d v) { return _ZGVbN2v_asin(v); }
  static __m128d Acos(__m128d v) { return _ZGVbN2v_acos(v); }
  static __m128d Sqrt(__m128d v) { return _mm_sqrt_pd(v); }
  static __m128d Abs(__m128d v) { return _mm_andnot_pd(_mm_set1_pd(-0.0), v); }
  template <class Mask>
  static __m128d Select(Mask mask, __m128d a, __m128d b) {
    return mask ? a : b;
  }
  template <class Mask>
  static bool AllLanes(Mask mask) {
    return _mm_movemask_pd(__m128d(mask)) == 0x3;
  }
};

#ifdef __AVX2__
struct Avx2Maths {
  static __m256d Sin(__m256d v) { return _ZGVdN4v_sin(v); }
  static __m256d Cos(__m256d v) { return _ZGVdN4v_cos(v); }
  static __m256d Exp(__m256d v) { return _ZGVdN4v_exp(v); }
  static __m256d Log(__m256d v) { return _ZGVdN4v_log(v); }
  static __m256d Atan(__m256d v) { return _ZGVdN4v_atan(v); }
  static __m256d Asin(__m256d v) { return _ZGVdN4v_asin(v); }
  static __m256d Acos(__m256d v) { return _ZGVdN4v_acos(v); }
  static __m256d Sqrt(__m256d v) { return _mm256_sqrt_pd(v); }
  static __m256d Abs(__m256d v) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), v); }
  template <class Mask>
  static __m256d Select(Mask mask, __m256d a, __m256d b) {
    return mask ? a : b;
  }
  template <class Mask>
  static bool AllLanes(Mask mask) {
    return _mm256_movemask_pd(__m256d(mask)) == 0xF;
  }
};
#endif

// Lanes of V, loaded from and stored to arrays: points p[0..count − 1], the
// lanes past count repeating p[0].
template <class V>
constexpr std::size_t kLaneCount = sizeof(V) / sizeof(double);

template <class V>
V LoadLanes(const double* p, std::size_t count) {
  double lanes[kLaneCount<V>];
  for (std::size_t k = 0; k < kLaneCount<V>; ++k) lanes[k] = p[k < count ? k : 0];
  V v;
  __builtin_memcpy(&v, lanes, sizeof v);
  return v;
}

template <class V>
void StoreLanes(V v, double* p, std::size_t count) {
  double lanes[kLaneCount<V>];
  __builtin_memcpy(lanes, &v, sizeof v);
  for (std::size_t k = 0; k < count; ++k) p[k] = lanes[k];
}

}  // namespace
}  // namespace kolvedir
