#include "core/system1965.h"

#include <array>
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

// Set-up of a quasi-stereographic zone, the same for every point: the radius
// of the Gaussian sphere at the centre as the program defines it,
// b / (1 − e²·sin²B0), and the northing of the centre in the unit-scale
// Gauss–Krüger plane. Computed once per zone, on first use.
struct ZoneSetup {
  double R0;            // m
  double x0G;           // m
  double inverseTwoR0;  // 1/(2·R0), 1/m
};

const ZoneSetup& Setup(int zone) {
  static const auto table = [] {
    std::array<ZoneSetup, 5> t{};
    for (int i = 0; i < 5; ++i) {
      const double B0 = kStereographicZones[i].B0;
      const double s = std::sin(B0 * kSecondsToRadians);
      double y = 0, distortion = 0, convergence = 0;
      PointStatus status = 0;
      t[i].R0 = kr.b / (1.0 - kr.e2 * s * s);
      t[i].inverseTwoR0 = 1.0 / (2.0 * t[i].R0);
      GaussKrugerForward(B0, 0.0, 0.0, kr.alpha, kr.R, kr.e, kr.a, 1.0, 0.0, 0.0, t[i].x0G, y,
                         distortion, convergence, status);
    }
    return t;
  }();
  return table[zone];
}

// The tangent series w = Σ c_k·z^{k+1} (ComplexTanSeries with the forward
// row) and its derivative S = 1 + z² + (2/3)z⁴ + (17/45)z⁶ + (62/315)z⁸ (the
// coefficients (k+1)·c_k), both as polynomials in u = z² by Estrin's scheme,
// a0 + a1·u + u²·(a2 + a3·u + a4·u²): the same polynomials as the powers by
// repeated multiplication, with a shorter chain of products (results agree to
// a few units in the last place).
void TangentSeriesAndDerivative(std::complex<double> z, std::complex<double>& w,
                                std::complex<double>& S) {
  const ComplexSeriesRow& c = kTangentSeries;
  const double ur = z.real() * z.real() - z.imag() * z.imag(), ui = 2.0 * z.real() * z.imag();
  const double vr = ur * ur - ui * ui, vi = 2.0 * ur * ui;  // u²
  // a0..a4 = c0, c2, c4, c6, c8 for the series / z, and 1·c0, 3·c2 … 9·c8 for S.
  const auto estrin = [&](double a0, double a1, double a2, double a3, double a4, double& re,
                          double& im) {
    const double hr = a2 + a3 * ur + a4 * vr, hi = a3 * ui + a4 * vi;
    re = a0 + a1 * ur + (vr * hr - vi * hi);
    im = a1 * ui + (vr * hi + vi * hr);
  };
  double tr, ti, sr, si;
  estrin(c[0], c[2], c[4], c[6], c[8], tr, ti);
  estrin(c[0], 3 * c[2], 5 * c[4], 7 * c[6], 9 * c[8], sr, si);
  w = {tr * z.real() - ti * z.imag(), tr * z.imag() + ti * z.real()};
  S = {sr, si};
}

// Quasi-stereographic forward. The composed scale mG·σ·m0 is formed as
// √((p² + q²)·k²·|S|²)·m0 and the convergence γG − γS as one arctangent,
// arctan(N/D) − arg S = arctan((N·Re S − D·Im S)/(D·Re S + N·Im S)) with
// γS = arcsin(Im S/σ) = arg S (Re S > 0 inside a zone); the program's
// 1e-11 in the arcsine's denominator changes γS by less than 1e-11 grads.
void StereographicForward(int index, double B, double L, double& x, double& y,
                          double& distortion, double& convergence, PointStatus& status) {
  const StereographicZone& zone = kStereographicZones[index];
  const auto [R0, x0G, inverseTwoR0] = Setup(index);
  const GaussKrugerSeries g = GaussKrugerForwardSeries(B, L, zone.L0, kr.alpha, kr.R, kr.e, kr.a);
  const double xG = kr.R * g.xi, yG = kr.R * g.eta;  // m0 = 1, FE = FN = 0
  const std::complex<double> z((xG - x0G) * inverseTwoR0, yG * inverseTwoR0);
  std::complex<double> w, S;
  TangentSeriesAndDerivative(z, w, S);
  const double xOut = w.real() * 2.0 * R0 * zone.m0 + zone.x0;
  const double yOut = w.imag() * 2.0 * R0 * zone.m0 + zone.y0;
  const double sigma2 = S.real() * S.real() + S.imag() * S.imag();  // σ²
  const double scale = std::sqrt((g.p * g.p + g.q * g.q) * g.kSquared * sigma2) * zone.m0;
  const double distortionOut = (scale - 1.0) * 100000.0;
  const double N = g.convergenceNumerator, D = g.convergenceDenominator;
  const double convergenceOut =
      std::atan((N * S.real() - D * S.imag()) / (D * S.real() + N * S.imag())) * kRadiansToGrads;
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

void StereographicInverse(int index, double x, double y, double& B, double& L,
                          PointStatus& status) {
  const StereographicZone& zone = kStereographicZones[index];
  const ZoneSetup& setup = Setup(index);
  const double R0 = setup.R0, x0G = setup.x0G;
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

void System1965Transform(Direction1965 direction, int zone, double& B, double& L, double& x,
                         double& y, double& distortion, double& convergence, PointStatus& status) {
  if (status != 0) return;
  const bool forward = direction == Direction1965::kForward;
  if ((!forward && direction != Direction1965::kInverse) || zone < 0 || zone > 5) {
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
    StereographicForward(zone, B, L, x, y, distortion, convergence, status);
  else
    StereographicInverse(zone, x, y, B, L, status);
}

}  // namespace kolvedir
