#include "grid/height_models.h"

#include "core/ellipsoid.h"
#include "core/geocentric.h"
#include "grid/correction_grid.h"
#include "grid/frame_transformation.h"
#include "grid/interpolation.h"

namespace kolvedir {
namespace {

// Constant parts of the datum changes, m; grid layers 2 and 3 carry the rest,
// layer 1 the anomaly.
constexpr double kKron86ToKron2006 = 0.00495;   // subtracted towards PL-KRON2006-NH
constexpr double kKron2006ToEvrf2007 = 0.17084;  // added towards PL-EVRF2007-NH
constexpr double kSecondsPerDegree = 3600.0;

}  // namespace

double Kron86ToKron2006(double B, double L, double H, PointStatus& status) {
  if (status != 0) return 0.0;
  return H - kKron86ToKron2006 + LayerUnit(2) * InterpolateLayer(2, B, L, status);
}

double Kron2006ToKron86(double B, double L, double H, PointStatus& status) {
  if (status != 0) return 0.0;
  return H + kKron86ToKron2006 - LayerUnit(2) * InterpolateLayer(2, B, L, status);
}

double Kron2006ToEvrf2007(double B, double L, double H, PointStatus& status) {
  if (status != 0) return 0.0;
  return H + kKron2006ToEvrf2007 + LayerUnit(3) * InterpolateLayer(3, B, L, status);
}

double Evrf2007ToKron2006(double B, double L, double H, PointStatus& status) {
  if (status != 0) return 0.0;
  return H - kKron2006ToEvrf2007 - LayerUnit(3) * InterpolateLayer(3, B, L, status);
}

double QuasigeoidAnomaly(double B, double L, PointStatus& status) {
  if (status != 0) return 0.0;
  return LayerUnit(1) * InterpolateLayer(1, B, L, status);
}

double QuasigeoidAnomalyEtrf89(double B, double L, PointStatus& status) {
  const double anomaly = QuasigeoidAnomaly(B, L, status);
  if (status != 0) return 0.0;
  // The quasigeoid point (B, L, ζ) of PL-ETRF2000, carried into PL-ETRF89.
  double X = 0, Y = 0, Z = 0;
  GeodeticToCartesian(kGrs80Ellipsoid.a, kGrs80Ellipsoid.e2, kSecondsPerDegree * B,
                      kSecondsPerDegree * L, anomaly, X, Y, Z, status);
  Etrf2000ToEtrf89Xyz(X, Y, Z, X, Y, Z, status);
  double BIgnored = 0, LIgnored = 0, height = 0;
  CartesianToGeodetic(X, Y, Z, kGrs80, BIgnored, LIgnored, height, status);
  return status != 0 ? 0.0 : height;
}

}  // namespace kolvedir
