#pragma once
// Plane grids of the GRS80 frames: PL-2000 (3° zones), PL-1992 (one zone) and
// PL-UTM (6° zones). The zone is always the caller's; a point is never checked
// against it. A zone outside the tables sets kStatusUndefinedZone.
#include <optional>

#include "core/gauss_kruger.h"
#include "core/point_status.h"

namespace kolvedir {

// The zones of the three grids (PL-2000 and PL-UTM: nothing for a zone
// outside their tables), for callers projecting many points at once.
std::optional<GaussKrugerZone> Pl2000Zone(int zone);
GaussKrugerZone Pl1992Zone();
std::optional<GaussKrugerZone> UtmZone(int zone);

// PL-2000. zone: central meridian, degrees, one of 15, 18, 21, 24, 27.
//   B, L: arc-seconds; x, y: m; distortion: cm/km; convergence: grads.
void Pl2000Forward(double B, double L, int zone, double& x, double& y, double& distortion,
                   double& convergence, PointStatus& status);
void Pl2000Inverse(double x, double y, int zone, double& B, double& L, PointStatus& status);
// The zone whose false easting the easting y (m) carries: the millions digit
// of y is zone/3 (15 for 5 000 000 ≤ y < 6 000 000 ... 27 below 10 000 000);
// 0 for any other y.
int Pl2000ZoneOfEasting(double y);

// PL-1992 (central meridian 19°, m0 = 0.9993, northing offset 5300000 m).
void Pl1992Forward(double B, double L, double& x, double& y, double& distortion,
                   double& convergence, PointStatus& status);
void Pl1992Inverse(double x, double y, double& B, double& L, PointStatus& status);

// PL-UTM. zone: central meridian, degrees, one of 15 (UTM 33), 21 (34), 27 (35).
void UtmForward(double B, double L, int zone, double& x, double& y, double& distortion,
                double& convergence, PointStatus& status);
void UtmInverse(double x, double y, int zone, double& B, double& L, PointStatus& status);
// The zone whose false easting the easting y (m) carries: the millions digit
// of y is the last digit of the UTM zone number (15 for 3 000 000 ≤ y <
// 4 000 000, 21 below 5 000 000, 27 below 6 000 000); 0 for any other y.
int UtmZoneOfEasting(double y);

}  // namespace kolvedir
