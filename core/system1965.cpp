#include "core/system1965.h"

#include <cmath>

#include "core/ellipsoid.h"
#include "core/gauss_kruger.h"

namespace kolvedir {

namespace {

// Official zone definitions of the 1965 system and TARVO80: centre latitude
// (arc-seconds), central meridian (degrees as the nearest double of the
// fraction), scale at the centre and plane coordinates of the centre.
struct StereographicZone {
  double B0;  // arc-seconds
  double L0;  // degrees
  double m0;
  double x0, y0;  // m
};

constexpr StereographicZone kStereographicZones[5] = {
    {187800.0, 19.0 + 10.0 / 60.0, 0.9997142857, 500000.0, 500000.0},            // TARVO80
    {182250.0, 21.0 + 5.0 / 60.0, 0.9998, 5467000.0, 4637000.0},                 // 1965 zone 1
    {190807.0, 21.0 + 30.0 / 60.0 + 10.0 / 3600.0, 0.9998, 5806000.0, 4603000.0},  // zone 2
    {192900.0, 17.0 + 30.0 / 3600.0, 0.9998, 5999000.0, 3501000.0},               // zone 3
    {186015.0, 16.0 + 40.0 / 60.0 + 20.0 / 3600.0, 0.9998, 5627000.0, 3703000.0},  // zone 4
};

// Zone 5: Gauss–Krüger, L0 = 18°57′30″, m0 = 0.999983, FE 237000, FN 4700000.
constexpr GaussKrugerZone kZone5{&kKrassowskyEllipsoid, 18.0 + 57.0 / 60.0 + 30.0 / 3600.0,
                                 0.999983, 237000.0, 4700000.0};

const Ellipsoid& kr = kKrassowskyEllipsoid;

// Radius of the Gaussian sphere at the centre, as the program defines it:
// b / (1 − e²·sin²B0).
double GaussianSphereRadius(double B0) {
  const double s = std::sin(B0 * kSecondsToRadians);
  return kr.b / (1.0 - kr.e2 * s * s);
}

// Northing of the centre in the unit-scale Gauss–Krüger plane.
double CentreNorthing(double B0, PointStatus& status) {
  double x = 0, y = 0, distortion = 0, convergence = 0;
  GaussKrugerForward(B0, 0.0, 0.0, kr.alpha, kr.R, kr.e, kr.a, 1.0, 0.0, 0.0, x, y, distortion,
                     convergence, status);
  return x;
}

// Derivative of the tangent series, 1 + z² + (2/3)z⁴ + (17/45)z⁶ + (62/315)z⁸,
// with coefficients (k+1)·c_k of the forward row applied to z^k.
std::complex<double> TangentSeriesDerivative(std::complex<double> z) {
  std::complex<double> sum = 1.0, power = 1.0;
  for (int k = 1; k <= 8; ++k) {
    power = std::complex<double>(power.real() * z.real() - power.imag() * z.imag(),
                                 power.imag() * z.real() + power.real() * z.imag());
    sum += (k + 1) * kTangentSeries[k] * power;
  }
  return sum;
}

void StereographicForward(const StereographicZone& zone, double B, double L, double& x, double& y,
                          double& distortion, double& convergence, PointStatus& status) {
  const double R0 = GaussianSphereRadius(zone.B0);
  const double x0G = CentreNorthing(zone.B0, status);
  double xG = 0, yG = 0, dG = 0, gammaG = 0;
  GaussKrugerForward(B, L, zone.L0, kr.alpha, kr.R, kr.e, kr.a, 1.0, 0.0, 0.0, xG, yG, dG, gammaG,
                     status);
  if (status != 0) return;
  const double mG = dG * 0.00001 + 1.0;
  const std::complex<double> z((xG - x0G) / (2.0 * R0), yG / (2.0 * R0));
  const std::complex<double> S = TangentSeriesDerivative(z);
  const double sigma = std::abs(S);
  // 1e-11 keeps the quotient defined at S = 0, as the program always did.
  const double gammaS = std::asin(S.imag() / (sigma + 1e-11)) * kRadiansToGrads;
  const std::complex<double> w = ComplexTanSeries(z, kTangentSeries);
  const double xOut = w.real() * 2.0 * R0 * zone.m0 + zone.x0;
  const double yOut = w.imag() * 2.0 * R0 * zone.m0 + zone.y0;
  const double distortionOut = (mG * sigma * zone.m0 - 1.0) * 100000.0;
  const double convergenceOut = gammaG - gammaS;
  if (!std::isfinite(xOut) || !std::isfinite(yOut) || !std::isfinite(distortionOut) ||
      !std::isfinite(convergenceOut)) {
    status = kStatusNotFinite;
    return;
  }
  x = xOut;
  y = yOut;
  distortion = distortionOut;
  convergence = convergenceOut;
}

void StereographicInverse(const StereographicZone& zone, double x, double y, double& B, double& L,
                          PointStatus& status) {
  const double R0 = GaussianSphereRadius(zone.B0);
  const double x0G = CentreNorthing(zone.B0, status);
  const std::complex<double> z((x - zone.x0) / (2.0 * R0 * zone.m0),
                               (y - zone.y0) / (2.0 * R0 * zone.m0));
  const std::complex<double> w = ComplexTanSeries(z, kArctangentSeries);
  // The centre northing enters as the northing offset: ξ = (xG + x0G)/R.
  GaussKrugerInverse(w.real() * 2.0 * R0, w.imag() * 2.0 * R0, zone.L0, kr.beta, kr.delta, kr.R,
                     1.0, 0.0, x0G, B, L, status);
}

}  // namespace

std::complex<double> ComplexTanSeries(std::complex<double> z, const ComplexSeriesRow& c) {
  double pr = 1.0, pi = 0.0, sumR = 0.0, sumI = 0.0;
  for (int k = 0; k <= 8; ++k) {
    const double r = pr * z.real() - pi * z.imag();
    pi = pi * z.real() + pr * z.imag();
    pr = r;
    sumR += c[k] * pr;
    sumI += c[k] * pi;
  }
  return {sumR, sumI};
}

void System1965Transform(int direction, int zone, double& B, double& L, double& x, double& y,
                         double& distortion, double& convergence, PointStatus& status) {
  if (status != 0) return;
  const bool forward = direction == kSystem1965Forward;
  if ((!forward && direction != kSystem1965Inverse) || zone < 0 || zone > 5) {
    status = kStatusUndefinedZone;
    return;
  }
  if (zone == 5) {
    if (forward)
      ZoneForward(kZone5, B, L, x, y, distortion, convergence, status);
    else
      ZoneInverse(kZone5, x, y, B, L, status);
    return;
  }
  if (forward)
    StereographicForward(kStereographicZones[zone], B, L, x, y, distortion, convergence, status);
  else
    StereographicInverse(kStereographicZones[zone], x, y, B, L, status);
}

}  // namespace kolvedir
