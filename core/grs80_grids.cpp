#include "core/grs80_grids.h"

#include <optional>

#include "core/gauss_kruger.h"

namespace kolvedir {

namespace {

// National grid definitions of PL-2000, PL-1992 and PL-UTM (m0, false easting
// carrying the zone number in its millions, PL-1992 northing offset).
constexpr double kPl2000Scale = 0.999923;
constexpr double kPl1992Scale = 0.9993;
constexpr double kUtmScale = 0.9996;

}  // namespace

std::optional<GaussKrugerZone> Pl2000Zone(int zone) {
  if (zone != 15 && zone != 18 && zone != 21 && zone != 24 && zone != 27) return std::nullopt;
  return GaussKrugerZone{&kGrs80Ellipsoid, double(zone), kPl2000Scale, zone / 3 * 1e6 + 500000.0,
                         0.0};
}

GaussKrugerZone Pl1992Zone() { return {&kGrs80Ellipsoid, 19.0, kPl1992Scale, 500000.0, 5300000.0}; }

std::optional<GaussKrugerZone> UtmZone(int zone) {
  // UTM zone 33 (15°), 34 (21°), 35 (27°): FE 3.5, 4.5, 5.5 million.
  if (zone != 15 && zone != 21 && zone != 27) return std::nullopt;
  return GaussKrugerZone{&kGrs80Ellipsoid, double(zone), kUtmScale,
                         (zone - 15) / 6 * 1e6 + 3500000.0, 0.0};
}

void Pl2000Forward(double B, double L, int zone, double& x, double& y, double& distortion,
                   double& convergence, PointStatus& status) {
  ZoneForward(Pl2000Zone(zone), B, L, x, y, distortion, convergence, status);
}

void Pl2000Inverse(double x, double y, int zone, double& B, double& L, PointStatus& status) {
  ZoneInverse(Pl2000Zone(zone), x, y, B, L, status);
}

int Pl2000ZoneOfEasting(double y) { return ZoneOfEasting(Pl2000Zone, y); }

void Pl1992Forward(double B, double L, double& x, double& y, double& distortion,
                   double& convergence, PointStatus& status) {
  ZoneForward(Pl1992Zone(), B, L, x, y, distortion, convergence, status);
}

void Pl1992Inverse(double x, double y, double& B, double& L, PointStatus& status) {
  ZoneInverse(Pl1992Zone(), x, y, B, L, status);
}

void UtmForward(double B, double L, int zone, double& x, double& y, double& distortion,
                double& convergence, PointStatus& status) {
  ZoneForward(UtmZone(zone), B, L, x, y, distortion, convergence, status);
}

void UtmInverse(double x, double y, int zone, double& B, double& L, PointStatus& status) {
  ZoneInverse(UtmZone(zone), x, y, B, L, status);
}

int UtmZoneOfEasting(double y) { return ZoneOfEasting(UtmZone, y); }

}  // namespace kolvedir
