#include "grid/frame_transformation.h"

#include "core/ellipsoid.h"
#include "core/geocentric.h"
#include "core/point_groups.h"
#include "grid/correction_grid.h"
#include "grid/interpolation.h"

namespace kolvedir {
namespace {

// Linearised similarity transformation about a centroid: each new coordinate
// is the old one plus a constant term plus a row of coefficients times the
// offsets from the centroid (scale on the diagonal, rotations off it).
struct Similarity {
  double centroid[3];  // m
  double shift[3];     // m
  double matrix[3][3];
};

// PL-ETRF89 → PL-ETRF2000 (national realisation parameters, stored values).
constexpr Similarity kEtrf89ToEtrf2000{
    {3696570.6591, 1297521.5905, 5011111.1273},
    {-0.0322, -0.0347, -0.0507},
    {{-5.102e-8, -7.46e-9, 4.804e-8},
     {7.46e-9, -5.102e-8, 6.152e-8},
     {-4.804e-8, -6.152e-8, -5.102e-8}},
};

// PL-ETRF2000 → PL-ETRF89: its own centroid and every term of the forward
// direction with its sign reversed (negation is exact).
constexpr Similarity Reversed(const Similarity& forward, const double (&centroid)[3]) {
  Similarity reverse{};
  for (int r = 0; r < 3; ++r) {
    reverse.centroid[r] = centroid[r];
    reverse.shift[r] = -forward.shift[r];
    for (int c = 0; c < 3; ++c) reverse.matrix[r][c] = -forward.matrix[r][c];
  }
  return reverse;
}
constexpr double kEtrf2000Centroid[3] = {3696570.6268, 1297521.5559, 5011111.0767};
constexpr Similarity kEtrf2000ToEtrf89 = Reversed(kEtrf89ToEtrf2000, kEtrf2000Centroid);

constexpr double kSecondsPerDegree = 3600.0;

void ApplySimilarity(const Similarity& t, double X, double Y, double Z, double& XOut,
                     double& YOut, double& ZOut, PointStatus& status) {
  if (status != 0) return;
  const double in[3] = {X, Y, Z};
  const double d[3] = {X - t.centroid[0], Y - t.centroid[1], Z - t.centroid[2]};
  double out[3];
  for (int r = 0; r < 3; ++r) {
    out[r] = in[r] + t.shift[r] + t.matrix[r][0] * d[0] + t.matrix[r][1] * d[1] +
             t.matrix[r][2] * d[2];
  }
  XOut = out[0];
  YOut = out[1];
  ZOut = out[2];
}

// Theoretical geodetic form: GRS80 Cartesian coordinates, the similarity, back.
void TransformBlhTheoretical(const Similarity& t, std::span<const double> B,
                             std::span<const double> L, std::span<const double> h,
                             std::span<double> BOut, std::span<double> LOut, std::span<double> hOut,
                             std::span<PointStatus> status) {
  ForEachGroup(B.size(), [&](std::size_t start, std::size_t n) {
    const std::span<PointStatus> s = status.subspan(start, n);
    double X[kPointsAtOnce], Y[kPointsAtOnce], Z[kPointsAtOnce];
    double BSeconds[kPointsAtOnce], LSeconds[kPointsAtOnce], height[kPointsAtOnce];
    for (std::size_t k = 0; k < n; ++k) {
      const std::size_t i = start + k;
      GeodeticToCartesian(kGrs80Ellipsoid.a, kGrs80Ellipsoid.e2, kSecondsPerDegree * B[i],
                          kSecondsPerDegree * L[i], h[i], X[k], Y[k], Z[k], s[k]);
      ApplySimilarity(t, X[k], Y[k], Z[k], X[k], Y[k], Z[k], s[k]);
    }
    CartesianToGeodeticPoints({X, n}, {Y, n}, {Z, n}, kGrs80, {BSeconds, n}, {LSeconds, n},
                              {height, n}, s);
    for (std::size_t k = 0; k < n; ++k) {
      if (s[k] != 0) continue;
      BOut[start + k] = BSeconds[k] / kSecondsPerDegree;
      LOut[start + k] = LSeconds[k] / kSecondsPerDegree;
      hOut[start + k] = height[k];
    }
  });
}

// Empirical geodetic form: layers 4, 5, 6 at the input point, added (sign +1,
// towards PL-ETRF2000) or subtracted (sign −1, towards PL-ETRF89).
void TransformBlhEmpirical(double sign, double B, double L, double h, double& BOut, double& LOut,
                           double& hOut, PointStatus& status) {
  constexpr int kLayers[] = {4, 5, 6};
  double d[3];  // dB, dL, dh
  InterpolateLayers(kLayers, B, L, d, status);
  BOut = B + sign * LayerUnit(4) * d[0];
  LOut = L + sign * LayerUnit(5) * d[1];
  hOut = h + sign * LayerUnit(6) * d[2];
}

}  // namespace

void Etrf89ToEtrf2000Xyz(double X, double Y, double Z, double& XOut, double& YOut, double& ZOut,
                         PointStatus& status) {
  ApplySimilarity(kEtrf89ToEtrf2000, X, Y, Z, XOut, YOut, ZOut, status);
}

void Etrf2000ToEtrf89Xyz(double X, double Y, double Z, double& XOut, double& YOut, double& ZOut,
                         PointStatus& status) {
  ApplySimilarity(kEtrf2000ToEtrf89, X, Y, Z, XOut, YOut, ZOut, status);
}

namespace {

// Either direction of the geodetic form: the similarity t, or the layers with
// their sign (+1 towards PL-ETRF2000, −1 towards PL-ETRF89).
void ChangeBlh(const Similarity& t, double sign, std::span<const double> B,
               std::span<const double> L, std::span<const double> h, ComputationMethod method,
               std::span<double> BOut, std::span<double> LOut, std::span<double> hOut,
               std::span<PointStatus> status) {
  if (method == ComputationMethod::kTheoretical)
    return TransformBlhTheoretical(t, B, L, h, BOut, LOut, hOut, status);
  ForEachGroup(B.size(), [&](std::size_t start, std::size_t n) {
    PrefetchGridCells(B.subspan(start, n), L.subspan(start, n));
    for (std::size_t i = start; i < start + n; ++i) {
      if (status[i] == 0)
        TransformBlhEmpirical(sign, B[i], L[i], h[i], BOut[i], LOut[i], hOut[i], status[i]);
    }
  });
}

}  // namespace

void Etrf89ToEtrf2000BlhPoints(std::span<const double> B, std::span<const double> L,
                               std::span<const double> h, ComputationMethod method,
                               std::span<double> BOut, std::span<double> LOut,
                               std::span<double> hOut, std::span<PointStatus> status) {
  ChangeBlh(kEtrf89ToEtrf2000, +1.0, B, L, h, method, BOut, LOut, hOut, status);
}

void Etrf2000ToEtrf89BlhPoints(std::span<const double> B, std::span<const double> L,
                               std::span<const double> h, ComputationMethod method,
                               std::span<double> BOut, std::span<double> LOut,
                               std::span<double> hOut, std::span<PointStatus> status) {
  ChangeBlh(kEtrf2000ToEtrf89, -1.0, B, L, h, method, BOut, LOut, hOut, status);
}

void Etrf89ToEtrf2000Blh(double B, double L, double h, ComputationMethod method, double& BOut,
                         double& LOut, double& hOut, PointStatus& status) {
  Etrf89ToEtrf2000BlhPoints({&B, 1}, {&L, 1}, {&h, 1}, method, {&BOut, 1}, {&LOut, 1}, {&hOut, 1},
                            {&status, 1});
}

void Etrf2000ToEtrf89Blh(double B, double L, double h, ComputationMethod method, double& BOut,
                         double& LOut, double& hOut, PointStatus& status) {
  Etrf2000ToEtrf89BlhPoints({&B, 1}, {&L, 1}, {&h, 1}, method, {&BOut, 1}, {&LOut, 1}, {&hOut, 1},
                            {&status, 1});
}

}  // namespace kolvedir
