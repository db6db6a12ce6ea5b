#pragma once
// Krüger's series written once for a lane type V: double (one point, the
// maths library of <cmath>) or a vector of doubles (several points at once,
// the vector maths library), with its maths M (core/lane_maths.h).
// Coefficient sets come as pointers to their five stored values (index 0
// unused).
//
// Krüger's series via the conformal sphere (Krüger 1912; Karney 2011, eqs. 7–11
// for the series, 35 for the scale); convergence from the spherical γ′ minus
// arctan(q/p), single-argument arctangents throughout (no quadrant correction
// is needed inside the Polish area).
//
// The quantities of the Krüger series are formed with fewer transcendental functions
// and divisions, by identities exact in real arithmetic (results agree with the
// literal formulas to a few units in the last place of a double):
//   tan(45° + φ/2)·g = n/d with n = (1 + sin φ)·g, d = cos φ (or, for φ < 0,
//   n = cos φ·g, d = 1 − sin φ); χ = 2·arctan(n/d) − 90° gives
//   sin χ = (n² − d²)/N, cos χ = 2nd/N with N = n² + d²;
//   e^{2η′} = (1 + u)/(1 − u) with u = cos χ·sin λ, so η′ needs one logarithm
//   and cosh, sinh of 2jη′ none (Multiples);
//   ξ′ = arctan(r/s) with r = sin χ, s = cos χ·cos λ, r² + s² = 1 − u², so
//   sin 2ξ′ = 2rs/(1 − u²), cos 2ξ′ = (s² − r²)/(1 − u²);
//   γ′ − arctan(q/p) = arctan((tan γ′ − q/p)/(1 + tan γ′·q/p)) for |γ′| < 90°.

#include <cstddef>

#include "core/ellipsoid.h"
#include "core/lane_kernels.h"
#include "core/lane_maths.h"

namespace kolvedir {
namespace {

// Sines and cosines of 2jθ, j = 1..4, from those of 2θ by the addition
// theorem, and hyperbolic cosines and sines of 2jt from e^{2t}, e^{−2t} (the
// plain definitions cosh = (eᵗ + e⁻ᵗ)/2, sinh = (eᵗ − e⁻ᵗ)/2 with the powers
// of e^{2t} formed by multiplication): one trigonometric and no further
// exponential evaluation for the four terms of a Krüger series.
template <class V>
struct Multiples {
  V sin[5], cos[5], cosh[5], sinh[5];
  Multiples(V sin2, V cos2, V exp2, V expMinus2) {
    sin[1] = sin2;
    cos[1] = cos2;
    cosh[1] = (exp2 + expMinus2) / 2.0;
    sinh[1] = (exp2 - expMinus2) / 2.0;
    for (int j = 2; j <= 4; ++j) {
      sin[j] = sin[j - 1] * cos2 + cos[j - 1] * sin2;
      cos[j] = cos[j - 1] * cos2 - sin[j - 1] * sin2;
      cosh[j] = cosh[j - 1] * cosh[1] + sinh[j - 1] * sinh[1];
      sinh[j] = sinh[j - 1] * cosh[1] + cosh[j - 1] * sinh[1];
    }
  }
};

// ξ, η, p, q, k² and the convergence quotient of the forward series; see
// GaussKrugerSeries in core/gauss_kruger.h.
template <class V>
struct SeriesLanes {
  V xi, eta, p, q, kSquared, convergenceNumerator, convergenceDenominator;
};

// The forward series at B, L (arc-seconds) about L0 (degrees); alpha: the five
// stored Krüger coefficients (index 0 unused); R, a: metres; e: eccentricity.
template <class V, class M>
SeriesLanes<V> ForwardSeriesLanes(V B, V L, double L0, const double* alpha, double R, double e,
                                  double a) {
  const V phi = B * kSecondsToRadians;
  const V sinPhi = M::Sin(phi), cosPhi = M::Cos(phi);
  // The real power as the program defines it: exp of exponent times natural logarithm.
  const V g = M::Exp(e / 2.0 * M::Log((1.0 - e * sinPhi) / (1.0 + e * sinPhi)));
  // T = tan(45° + φ/2)·g as a quotient n/d without cancellation.
  const V n = (sinPhi >= 0 ? 1.0 + sinPhi : cosPhi) * g;
  const V d = sinPhi >= 0 ? cosPhi : 1.0 - sinPhi;
  const V lambda = (L - 3600.0 * L0) * kSecondsToRadians;
  const V sinLambda = M::Sin(lambda), cosLambda = M::Cos(lambda);

  // With N = n² + d²: sin χ = (n² − d²)/N, cos χ = 2nd/N, and u = cos χ·sin λ = w/N,
  // w = 2nd·sin λ. Everything below shares one reciprocal D = 1/((N + w)(N − w)):
  // e^{±2η′} = (N ± w)²·D, 1/(1 − u²) = 1/(r² + s²) = N²·D, and with
  // r = sin χ, s = cos χ·cos λ: sin 2ξ′ = 2rs·N²·D, cos 2ξ′ = (s² − r²)·N²·D.
  const V nd2 = 2.0 * n * d, rN = n * n - d * d, N = n * n + d * d;
  const V w = nd2 * sinLambda, sN = nd2 * cosLambda;  // r·N, s·N
  const V D = 1.0 / ((N + w) * (N - w));
  const V exp2Eta = (N + w) * (N + w) * D, expMinus2Eta = (N - w) * (N - w) * D;
  const V xiPrime = M::Atan(rN / sN);  // arctan(r/s)
  const V etaPrime = 0.5 * M::Log(exp2Eta);

  const Multiples<V> m(2.0 * rN * sN * D, (sN * sN - rN * rN) * D, exp2Eta, expMinus2Eta);
  SeriesLanes<V> out{xiPrime, etaPrime, V{} + 1.0, V{}, V{}, V{}, V{}};
  for (int j = 1; j <= 4; ++j) {
    out.xi += alpha[j] * m.sin[j] * m.cosh[j];
    out.eta += alpha[j] * m.cos[j] * m.sinh[j];
    out.p += 2 * j * alpha[j] * m.cos[j] * m.cosh[j];
    out.q -= 2 * j * alpha[j] * m.sin[j] * m.sinh[j];
  }
  // k² = (1 − e²·sin²φ)·(cos χ/cos φ)²·(R/a)²/(1 − u²), where cos χ/cos φ = 2n/N
  // (φ ≥ 0, d = cos φ) or 2g·d/N (φ < 0, n = cos φ·g), and 1/(1 − u²) = N²·D.
  const V twoNOverCos = 2.0 * (sinPhi >= 0 ? n : g * d) * (R / a);
  out.kSquared = (1.0 - e * e * sinPhi * sinPhi) * D * twoNOverCos * twoNOverCos;
  // tan γ′ = sin χ·sin λ/cos λ; both parts of the quotient multiplied by N·cos λ.
  const V rNSinLambda = rN * sinLambda;
  out.convergenceNumerator = rNSinLambda * out.p - out.q * N * cosLambda;
  out.convergenceDenominator = out.p * N * cosLambda + rNSinLambda * out.q;
  return out;
}

// The plane point of the forward projection: x northing and y easting (m),
// distortion (cm/km) and convergence (grads); m0: scale factor; FE, FN: metres.
template <class V>
struct ForwardLanes {
  V x, y, distortion, convergence;
};

template <class V, class M>
ForwardLanes<V> ForwardProjectionLanes(V B, V L, double L0, const double* alpha, double R, double e,
                                       double a, double m0, double FE, double FN) {
  const SeriesLanes<V> s = ForwardSeriesLanes<V, M>(B, L, L0, alpha, R, e, a);
  const V scale = M::Sqrt((s.p * s.p + s.q * s.q) * s.kSquared) * m0;
  return {R * s.xi * m0 - FN, R * s.eta * m0 + FE, (scale - 1.0) * 100000.0,
          M::Atan(s.convergenceNumerator / s.convergenceDenominator) * kRadiansToGrads};
}

// B, L (arc-seconds) of the inverse projection, and ξ, whose size tells a
// northing beyond the pole.
template <class V>
struct InverseLanes {
  V B, L, xi;
};

// Inverse, with ψ = gd(η′) = 2·arctan(e^{η′}) − 90° entering only
// through cos ψ = 1/cosh η′ and tan ψ = sinh η′, and sin 2jχ from sin χ by
// the addition theorem. x, y: metres; L0: degrees; beta, delta: the stored
// inverse and latitude sets; R: metres; m0: scale factor; FE, FN: metres.
template <class V, class M>
InverseLanes<V> InverseProjectionLanes(V x, V y, double L0, const double* beta, const double* delta,
                                       double R, double m0, double FE, double FN) {
  const V xi = (x + FN) / (R * m0);
  const V eta = (y - FE) / (R * m0);
  const V e2eta = M::Exp(2.0 * eta);
  const Multiples<V> m(M::Sin(2.0 * xi), M::Cos(2.0 * xi), e2eta, 1.0 / e2eta);
  V xiPrime = xi, etaPrime = eta;
  for (int j = 1; j <= 4; ++j) {
    xiPrime += beta[j] * m.sin[j] * m.cosh[j];
    etaPrime += beta[j] * m.cos[j] * m.sinh[j];
  }
  const V eEta = M::Exp(etaPrime);
  const V coshEta = (eEta + 1.0 / eEta) / 2.0, sinhEta = (eEta - 1.0 / eEta) / 2.0;
  const V sinChi = M::Sin(xiPrime) / coshEta;
  const V chi = M::Asin(sinChi);
  const V lambda = M::Atan(sinhEta / M::Cos(xiPrime));
  const V cosChi = M::Sqrt(1.0 - sinChi * sinChi);
  const V one = V{} + 1.0;
  const Multiples<V> c(2.0 * sinChi * cosChi, 1.0 - 2.0 * sinChi * sinChi, one, one);
  V phi = chi;
  for (int j = 1; j <= 4; ++j) phi += delta[j] * c.sin[j];
  return {phi * kRhoSeconds, lambda * kRhoSeconds + 3600.0 * L0, xi};
}

// Points 0..n−1 of the arrays, as many at a time as V has lanes.
template <class V, class M>
void ForwardPoints(const KrugerZoneConstants& z, const double* B, const double* L, std::size_t n,
                   double* x, double* y, double* distortion, double* convergence) {
  constexpr std::size_t W = kLaneCount<V>;
  for (std::size_t i = 0; i < n; i += W) {
    const std::size_t count = n - i < W ? n - i : W;
    const ForwardLanes<V> r =
        ForwardProjectionLanes<V, M>(LoadLanes<V>(B + i, count), LoadLanes<V>(L + i, count), z.L0,
                                     z.alpha, z.R, z.e, z.a, z.m0, z.FE, z.FN);
    StoreLanes(r.x, x + i, count);
    StoreLanes(r.y, y + i, count);
    StoreLanes(r.distortion, distortion + i, count);
    StoreLanes(r.convergence, convergence + i, count);
  }
}

template <class V, class M>
void InversePoints(const KrugerZoneConstants& z, const double* x, const double* y, std::size_t n,
                   double* B, double* L, double* xi) {
  constexpr std::size_t W = kLaneCount<V>;
  for (std::size_t i = 0; i < n; i += W) {
    const std::size_t count = n - i < W ? n - i : W;
    const InverseLanes<V> r =
        InverseProjectionLanes<V, M>(LoadLanes<V>(x + i, count), LoadLanes<V>(y + i, count), z.L0,
                                     z.beta, z.delta, z.R, z.m0, z.FE, z.FN);
    StoreLanes(r.B, B + i, count);
    StoreLanes(r.L, L + i, count);
    StoreLanes(r.xi, xi + i, count);
  }
}

}  // namespace
}  // namespace kolvedir
