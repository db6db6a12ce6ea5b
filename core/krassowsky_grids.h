#pragma once
// Gauss–Krüger grids of Pulkovo'42 on the Krassowsky ellipsoid: "1942" in 3°
// and 6° strips, and the "1942/83" realisation, whose geodetic coordinates
// differ from Pulkovo'42 by a degree-5 polynomial in B and L.
#include "core/point_status.h"

namespace kolvedir {

// "1942" grid, m0 = 1. zone: central meridian, degrees; stripWidth: 3 (zones
// 15, 18, 21, 24, 27) or 6 (zones 15, 21, 27). Other pairs set kStatusUndefinedZone.
//   B, L: arc-seconds (Pulkovo'42); x, y: m; distortion: cm/km; convergence: grads.
void Grid1942Forward(double B, double L, int zone, int stripWidth, double& x, double& y,
                     double& distortion, double& convergence, PointStatus& status);
void Grid1942Inverse(double x, double y, int zone, int stripWidth, double& B, double& L,
                     PointStatus& status);
// The zone whose false easting the easting y (m) carries in strips of
// stripWidth: 3° strips as PL-2000 (millions digit = zone/3, zones 15 to 27),
// 6° strips as PL-UTM (3, 4, 5 million for zones 15, 21, 27); 0 for any other
// y or strip width.
int Grid1942ZoneOfEasting(double y, int stripWidth);

// 1942/83 realisation → Pulkovo'42 and back. B, L in and out: arc-seconds,
// fitted for 49°–55° N, 14°–24.2° E (corrections below 0.05″ and 0.07″ there).
// The two directions are separate fits; one after the other returns B, L
// within 5e-7″ inside Poland. Never fail.
void Bl4283ToBl42(double B, double L, double& BOut, double& LOut, PointStatus& status);
void Bl42ToBl4283(double B, double L, double& BOut, double& LOut, PointStatus& status);

}  // namespace kolvedir
