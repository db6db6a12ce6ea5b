#include "grid/frame_transformation.h"

#include "core/ellipsoid.h"
#include "core/geocentric.h"
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
void TransformBlhTheoretical(const Similarity& t, double B, double L, double h, double& BOut,
                             double& LOut, double& hOut, PointStatus& status) {
  double X = 0, Y = 0, Z = 0;
  GeodeticToCartesian(kGrs80Ellipsoid.a, kGrs80Ellipsoid.e2, kSecondsPerDegree * B,
                      kSecondsPerDegree * L, h, X, Y, Z, status);
  ApplySimilarity(t, X, Y, Z, X, Y, Z, status);
  double BSeconds = 0, LSeconds = 0, height = 0;
  CartesianToGeodetic(X, Y, Z, kGrs80, BSeconds, LSeconds, height, status);
  if (status != 0) return;
  BOut = BSeconds / kSecondsPerDegree;
  LOut = LSeconds / kSecondsPerDegree;
  hOut = height;
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

void Etrf89ToEtrf2000Blh(double B, double L, double h, ComputationMethod method, double& BOut,
                         double& LOut, double& hOut, PointStatus& status) {
  if (status != 0) return;
  if (method == ComputationMethod::kTheoretical) {
    TransformBlhTheoretical(kEtrf89ToEtrf2000, B, L, h, BOut, LOut, hOut, status);
  } else {
    TransformBlhEmpirical(+1.0, B, L, h, BOut, LOut, hOut, status);
  }
}

void Etrf2000ToEtrf89Blh(double B, double L, double h, ComputationMethod method, double& BOut,
                         double& LOut, double& hOut, PointStatus& status) {
  if (status != 0) return;
  if (method == ComputationMethod::kTheoretical) {
    TransformBlhTheoretical(kEtrf2000ToEtrf89, B, L, h, BOut, LOut, hOut, status);
  } else {
    TransformBlhEmpirical(-1.0, B, L, h, BOut, LOut, hOut, status);
  }
}

}  // namespace kolvedir
