#include "core/gauss_kruger.h"

#include <cmath>
#include <numbers>

namespace kolvedir {

namespace {

bool AllFinite(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// Sines and cosines of 2jθ, j = 1..4, from those of 2θ by the addition
// theorem, and hyperbolic cosines and sines of 2jt from e^{2t}, e^{−2t} (the
// plain definitions cosh = (eᵗ + e⁻ᵗ)/2, sinh = (eᵗ − e⁻ᵗ)/2 with the powers
// of e^{2t} formed by multiplication): one trigonometric and no further
// exponential evaluation for the four terms of a Krüger series.
struct Multiples {
  double sin[5], cos[5], cosh[5], sinh[5];
  Multiples(double sin2, double cos2, double exp2, double expMinus2) {
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

}  // namespace

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
GaussKrugerSeries GaussKrugerForwardSeries(double B, double L, double L0,
                                           const KrugerCoefficients& alpha, double R, double e,
                                           double a) {
  const double phi = B * kSecondsToRadians;
  const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
  // The real power as the program defines it: exp of exponent times natural logarithm.
  const double g = std::exp(e / 2.0 * std::log((1.0 - e * sinPhi) / (1.0 + e * sinPhi)));
  // T = tan(45° + φ/2)·g as a quotient n/d without cancellation.
  const double n = (sinPhi >= 0 ? 1.0 + sinPhi : cosPhi) * g;
  const double d = sinPhi >= 0 ? cosPhi : 1.0 - sinPhi;
  const double lambda = (L - 3600.0 * L0) * kSecondsToRadians;
  const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);

  // With N = n² + d²: sin χ = (n² − d²)/N, cos χ = 2nd/N, and u = cos χ·sin λ = w/N,
  // w = 2nd·sin λ. Everything below shares one reciprocal D = 1/((N + w)(N − w)):
  // e^{±2η′} = (N ± w)²·D, 1/(1 − u²) = 1/(r² + s²) = N²·D, and with
  // r = sin χ, s = cos χ·cos λ: sin 2ξ′ = 2rs·N²·D, cos 2ξ′ = (s² − r²)·N²·D.
  const double nd2 = 2.0 * n * d, rN = n * n - d * d, N = n * n + d * d;
  const double w = nd2 * sinLambda, sN = nd2 * cosLambda;  // r·N, s·N
  const double D = 1.0 / ((N + w) * (N - w));
  const double exp2Eta = (N + w) * (N + w) * D, expMinus2Eta = (N - w) * (N - w) * D;
  const double xiPrime = std::atan(rN / sN);  // arctan(r/s)
  const double etaPrime = 0.5 * std::log(exp2Eta);

  const Multiples m(2.0 * rN * sN * D, (sN * sN - rN * rN) * D, exp2Eta, expMinus2Eta);
  GaussKrugerSeries out{xiPrime, etaPrime, 1.0, 0.0, 0.0, 0.0, 0.0};
  for (int j = 1; j <= 4; ++j) {
    out.xi += alpha[j] * m.sin[j] * m.cosh[j];
    out.eta += alpha[j] * m.cos[j] * m.sinh[j];
    out.p += 2 * j * alpha[j] * m.cos[j] * m.cosh[j];
    out.q -= 2 * j * alpha[j] * m.sin[j] * m.sinh[j];
  }
  // k² = (1 − e²·sin²φ)·(cos χ/cos φ)²·(R/a)²/(1 − u²), where cos χ/cos φ = 2n/N
  // (φ ≥ 0, d = cos φ) or 2g·d/N (φ < 0, n = cos φ·g), and 1/(1 − u²) = N²·D.
  const double twoNOverCos = 2.0 * (sinPhi >= 0 ? n : g * d) * (R / a);
  out.kSquared = (1.0 - e * e * sinPhi * sinPhi) * D * twoNOverCos * twoNOverCos;
  // tan γ′ = sin χ·sin λ/cos λ; both parts of the quotient multiplied by N·cos λ.
  const double rNSinLambda = rN * sinLambda;
  out.convergenceNumerator = rNSinLambda * out.p - out.q * N * cosLambda;
  out.convergenceDenominator = out.p * N * cosLambda + rNSinLambda * out.q;
  return out;
}

void GaussKrugerForward(double B, double L, double L0, const KrugerCoefficients& alpha,
                        double R, double e, double a, double m0, double FE, double FN,
                        double& x, double& y, double& distortion, double& convergence,
                        PointStatus& status) {
  if (status != 0) return;
  const GaussKrugerSeries s = GaussKrugerForwardSeries(B, L, L0, alpha, R, e, a);
  const double xOut = R * s.xi * m0 - FN;
  const double yOut = R * s.eta * m0 + FE;
  const double scale = std::sqrt((s.p * s.p + s.q * s.q) * s.kSquared) * m0;
  const double distortionOut = (scale - 1.0) * 100000.0;
  const double convergenceOut =
      std::atan(s.convergenceNumerator / s.convergenceDenominator) * kRadiansToGrads;
  if (!AllFinite({xOut, yOut, distortionOut, convergenceOut})) {
    status = kStatusNotFinite;
    return;
  }
  x = xOut;
  y = yOut;
  distortion = distortionOut;
  convergence = convergenceOut;
}

// Inverse, with ψ = gd(η′) = 2·arctan(e^{η′}) − 90° entering only
// through cos ψ = 1/cosh η′ and tan ψ = sinh η′, and sin 2jχ from sin χ by
// the addition theorem.
void GaussKrugerInverse(double x, double y, double L0, const KrugerCoefficients& beta,
                        const KrugerCoefficients& delta, double R, double m0, double FE,
                        double FN, double& B, double& L, PointStatus& status) {
  if (status != 0) return;
  const double xi = (x + FN) / (R * m0);
  const double eta = (y - FE) / (R * m0);
  const double e2eta = std::exp(2.0 * eta);
  const Multiples m(std::sin(2.0 * xi), std::cos(2.0 * xi), e2eta, 1.0 / e2eta);
  double xiPrime = xi, etaPrime = eta;
  for (int j = 1; j <= 4; ++j) {
    xiPrime += beta[j] * m.sin[j] * m.cosh[j];
    etaPrime += beta[j] * m.cos[j] * m.sinh[j];
  }
  const double eEta = std::exp(etaPrime);
  const double coshEta = (eEta + 1.0 / eEta) / 2.0, sinhEta = (eEta - 1.0 / eEta) / 2.0;
  const double sinChi = std::sin(xiPrime) / coshEta;
  const double chi = std::asin(sinChi);
  const double lambda = std::atan(sinhEta / std::cos(xiPrime));
  const double cosChi = std::sqrt(1.0 - sinChi * sinChi);
  const Multiples c(2.0 * sinChi * cosChi, 1.0 - 2.0 * sinChi * sinChi, 1.0, 1.0);
  double phi = chi;
  for (int j = 1; j <= 4; ++j) phi += delta[j] * c.sin[j];
  const double BOut = phi * kRhoSeconds;
  const double LOut = lambda * kRhoSeconds + 3600.0 * L0;
  if (!AllFinite({BOut, LOut})) {
    status = kStatusNotFinite;
    return;
  }
  // Past a quarter meridian the series wraps round to a position that has
  // nothing to do with the point.
  if (std::fabs(xi) > std::numbers::pi / 2) {
    status = kStatusBeyondPole;
    return;
  }
  B = BOut;
  L = LOut;
}

void ZoneForward(const std::optional<GaussKrugerZone>& zone, double B, double L, double& x,
                 double& y, double& distortion, double& convergence, PointStatus& status) {
  if (status != 0) return;
  if (!zone) {
    status = kStatusUndefinedZone;
    return;
  }
  const Ellipsoid& el = *zone->ellipsoid;
  GaussKrugerForward(B, L, zone->L0, el.alpha, el.R, el.e, el.a, zone->m0, zone->FE, zone->FN, x,
                     y, distortion, convergence, status);
}

void ZoneInverse(const std::optional<GaussKrugerZone>& zone, double x, double y, double& B,
                 double& L, PointStatus& status) {
  if (status != 0) return;
  if (!zone) {
    status = kStatusUndefinedZone;
    return;
  }
  const Ellipsoid& el = *zone->ellipsoid;
  GaussKrugerInverse(x, y, zone->L0, el.beta, el.delta, el.R, zone->m0, zone->FE, zone->FN, B, L,
                     status);
}

}  // namespace kolvedir
