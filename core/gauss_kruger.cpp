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

}  // namespace

// Krüger's series via the conformal sphere (Krüger 1912; Karney 2011, eqs. 7–11
// for the series, 35 for the scale); convergence from the spherical γ′ minus
// arctan(q/p), single-argument arctangents throughout (no quadrant correction
// is needed inside the Polish area).
void GaussKrugerForward(double B, double L, double L0, const KrugerCoefficients& alpha,
                        double R, double e, double a, double m0, double FE, double FN,
                        double& x, double& y, double& distortion, double& convergence,
                        PointStatus& status) {
  if (status != 0) return;
  const double phi = B * kSecondsToRadians;
  const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
  const double g = std::pow((1.0 - e * sinPhi) / (1.0 + e * sinPhi), e / 2.0);
  const double chi =
      2.0 * std::atan(std::tan((B / 2.0 + kFortyFiveDegreesSeconds) * kSecondsToRadians) * g) -
      std::numbers::pi / 2.0;
  const double sinChi = std::sin(chi), cosChi = std::cos(chi);
  const double lambda = (L - 3600.0 * L0) * kSecondsToRadians;
  const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);

  const double xiPrime = std::atan(sinChi / (cosChi * cosLambda));
  const double etaPrime = 0.5 * std::log((1.0 + cosChi * sinLambda) / (1.0 - cosChi * sinLambda));
  const double gammaPrime = std::atan(sinChi * sinLambda / cosLambda);
  const double k = std::sqrt(1.0 - e * e * sinPhi * sinPhi) * cosChi * R / (cosPhi * a) /
                   std::sqrt(1.0 - cosChi * cosChi * sinLambda * sinLambda);

  double xi = xiPrime, eta = etaPrime, p = 1.0, q = 0.0;
  for (int j = 1; j <= 4; ++j) {
    const double s = std::sin(2 * j * xiPrime), c = std::cos(2 * j * xiPrime);
    const double ep = std::exp(2 * j * etaPrime), em = std::exp(-2 * j * etaPrime);
    const double ch = (ep + em) / 2.0, sh = (ep - em) / 2.0;
    xi += alpha[j] * s * ch;
    eta += alpha[j] * c * sh;
    p += 2 * j * alpha[j] * c * ch;
    q -= 2 * j * alpha[j] * s * sh;
  }
  const double xOut = R * xi * m0 - FN;
  const double yOut = R * eta * m0 + FE;
  const double m = std::sqrt(p * p + q * q) * k * m0;
  const double distortionOut = (m - 1.0) * 100000.0;
  const double convergenceOut = (gammaPrime - std::atan(q / p)) * kRadiansToGrads;
  if (!AllFinite({xOut, yOut, distortionOut, convergenceOut})) {
    status = kStatusNotFinite;
    return;
  }
  x = xOut;
  y = yOut;
  distortion = distortionOut;
  convergence = convergenceOut;
}

void GaussKrugerInverse(double x, double y, double L0, const KrugerCoefficients& beta,
                        const KrugerCoefficients& delta, double R, double m0, double FE,
                        double FN, double& B, double& L, PointStatus& status) {
  if (status != 0) return;
  const double xi = (x + FN) / (R * m0);
  const double eta = (y - FE) / (R * m0);
  double xiPrime = xi, etaPrime = eta;
  for (int j = 1; j <= 4; ++j) {
    const double ep = std::exp(2 * j * eta), em = std::exp(-2 * j * eta);
    xiPrime += beta[j] * std::sin(2 * j * xi) * (ep + em) / 2.0;
    etaPrime += beta[j] * std::cos(2 * j * xi) * (ep - em) / 2.0;
  }
  const double psi = 2.0 * std::atan(std::exp(etaPrime)) - std::numbers::pi / 2.0;
  const double chi = std::asin(std::cos(psi) * std::sin(xiPrime));
  const double lambda = std::atan(std::tan(psi) / std::cos(xiPrime));
  double phi = chi;
  for (int j = 1; j <= 4; ++j) phi += delta[j] * std::sin(2 * j * chi);
  const double BOut = phi * kRhoSeconds;
  const double LOut = lambda * kRhoSeconds + 3600.0 * L0;
  if (!AllFinite({BOut, LOut})) {
    status = kStatusNotFinite;
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
