#include "core/datum.h"

#include "core/ellipsoid.h"
#include "core/geocentric.h"
#include "core/point_groups.h"

namespace kolvedir {

namespace {

// The program's twelve constants of each direction (translation in metres and
// a full 3×3 matrix close to scale plus rotation). They are independent fits:
// the reverse matrix is not the algebraic inverse of the forward one.
struct Affine {
  double T[3];
  double M[3][3];
};

constexpr Affine kEtrf89ToPulkovoAffine{
    {-33.4297, 146.5746, 76.2865},
    {{8.407644e-7, 4.08960694e-6, 2.5613907e-7},
     {-4.0896065e-6, 8.4076292e-7, -1.73888787e-6},
     {-2.5614618e-7, 1.73888682e-6, 8.4077125e-7}}};

// Applied after removing the translation of the forward direction.
constexpr Affine kPulkovoToEtrf89Affine{
    {33.4297, -146.5746, -76.2865},
    {{-8.4078048e-7, -4.08959962e-6, -2.5614575e-7},
     {4.08960007e-6, -8.4078196e-7, 1.73888389e-6},
     {2.5613864e-7, -1.73888494e-6, -8.4077363e-7}}};

// v′ = v + M·v
void AddMatrixProduct(const double (&M)[3][3], double x, double y, double z, double& XOut,
                      double& YOut, double& ZOut) {
  XOut = x + M[0][0] * x + M[0][1] * y + M[0][2] * z;
  YOut = y + M[1][0] * x + M[1][1] * y + M[1][2] * z;
  ZOut = z + M[2][0] * x + M[2][1] * y + M[2][2] * z;
}

}  // namespace

// Matrix on the untranslated coordinates, translation added last.
void Etrf89ToPulkovoXyz(double X, double Y, double Z, double& XOut, double& YOut, double& ZOut,
                        PointStatus& status) {
  if (status != 0) return;
  const Affine& t = kEtrf89ToPulkovoAffine;
  double x, y, z;
  AddMatrixProduct(t.M, X, Y, Z, x, y, z);
  XOut = x + t.T[0];
  YOut = y + t.T[1];
  ZOut = z + t.T[2];
}

// Translation removed first (each result a double), then the matrix.
void PulkovoToEtrf89Xyz(double X, double Y, double Z, double& XOut, double& YOut, double& ZOut,
                        PointStatus& status) {
  if (status != 0) return;
  const Affine& t = kPulkovoToEtrf89Affine;
  AddMatrixProduct(t.M, X + t.T[0], Y + t.T[1], Z + t.T[2], XOut, YOut, ZOut);
}

void TransformBlhDatumPoints(std::span<const double> B, std::span<const double> L,
                             std::span<const double> h, int direction, std::span<double> BOut,
                             std::span<double> LOut, std::span<double> hOut,
                             std::span<PointStatus> status) {
  const bool toPulkovo = direction == kEtrf89ToPulkovo;
  if (!toPulkovo && direction != kPulkovoToEtrf89) return;
  const Ellipsoid& from = toPulkovo ? kGrs80Ellipsoid : kKrassowskyEllipsoid;
  ForEachGroup(B.size(), [&](std::size_t start, std::size_t n) {
    double X[kPointsAtOnce], Y[kPointsAtOnce], Z[kPointsAtOnce];
    for (std::size_t k = 0; k < n; ++k) {
      const std::size_t i = start + k;
      double X1 = 0, Y1 = 0, Z1 = 0;
      GeodeticToCartesian(from.a, from.e2, B[i], L[i], h[i], X1, Y1, Z1, status[i]);
      (toPulkovo ? Etrf89ToPulkovoXyz : PulkovoToEtrf89Xyz)(X1, Y1, Z1, X[k], Y[k], Z[k],
                                                            status[i]);
    }
    CartesianToGeodeticPoints({X, n}, {Y, n}, {Z, n}, toPulkovo ? kKrassowsky : kGrs80,
                              BOut.subspan(start, n), LOut.subspan(start, n),
                              hOut.subspan(start, n), status.subspan(start, n));
  });
}

void TransformBlhDatum(double B, double L, double h, int direction, double& BOut, double& LOut,
                       double& hOut, PointStatus& status) {
  TransformBlhDatumPoints({&B, 1}, {&L, 1}, {&h, 1}, direction, {&BOut, 1}, {&LOut, 1}, {&hOut, 1},
                          {&status, 1});
}

}  // namespace kolvedir
