#pragma once
// Conversion between geodetic (B, L, h) and geocentric Cartesian (X, Y, Z) coordinates.
#include <span>

#include "core/point_status.h"

namespace kolvedir {

// Geodetic → Cartesian on the ellipsoid (a, e2). Closed form; never fails.
//   a: semi-major axis, m; e2: squared first eccentricity.
//   B: latitude, arc-seconds, [−324000, 324000]; L: longitude, arc-seconds, any value;
//   h: ellipsoidal height, m.
//   X, Y, Z: geocentric coordinates, m (X towards L = 0, Z towards the north pole).
void GeodeticToCartesian(double a, double e2, double B, double L, double h,
                         double& X, double& Y, double& Z, PointStatus& status);

// Cartesian → geodetic by Newton iteration on the latitude (stop when the step
// is at most 5e-6 m; at most 19 iterations).
//   X, Y, Z: geocentric coordinates, m, any finite values.
//   ellipsoid: EllipsoidCode, 1 GRS80 or 2 Krassowsky.
//   B: latitude, arc-seconds, [−324000, 324000]; L: longitude, arc-seconds,
//   [0, 1296000] (never negative); h: ellipsoidal height, m.
// Status: 3 for an unknown ellipsoid code, 1 for the geocentre, 2 when the
// iteration does not converge (also for NaN or infinite inputs, and for a
// point near the geocentre where it settles beyond ±90°). On failure no
// output is written.
void CartesianToGeodetic(double X, double Y, double Z, int ellipsoid,
                         double& B, double& L, double& h, PointStatus& status);

// CartesianToGeodetic over arrays of points (spans of one length), several
// points iterating at once through the vector maths library. Points whose
// status is not zero are skipped, their outputs untouched; every other point
// gets exactly what CartesianToGeodetic gives it (that function is this one
// over one point), whatever its neighbours. Units and statuses as there.
void CartesianToGeodeticPoints(std::span<const double> X, std::span<const double> Y,
                               std::span<const double> Z, int ellipsoid, std::span<double> B,
                               std::span<double> L, std::span<double> h,
                               std::span<PointStatus> status);

// The height rule of CartesianToGeodetic at its final latitude φ:
//   p: distance from the polar axis, m; Z: m; sinPhi, cosPhi: sin φ, cos φ;
//   N: prime-vertical radius at φ, m; e2: squared first eccentricity.
// Returns p/cos φ − N when |cos φ| > |sin φ|, else Z/sin φ − N·(1 − e²) (so at
// |cos φ| = |sin φ| the second formula).
double EllipsoidalHeight(double p, double Z, double sinPhi, double cosPhi, double N, double e2);

}  // namespace kolvedir
