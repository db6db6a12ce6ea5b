#pragma once
// Ellipsoids, angle units and Krüger coefficient sets of the computation core.
//
// Angles cross every interface of the core in arc-seconds (eastern longitude
// positive); heights and coordinates in metres. All values are stored
// constants; the derived ones (e², b, 1/ρ″) are derived once from them.
#include <array>

namespace kolvedir {

// 1 = GRS80 (PL-ETRF2000, PL-ETRF89), 2 = Krassowsky (Pulkovo'42).
enum EllipsoidCode : int { kGrs80 = 1, kKrassowsky = 2 };

// Seconds per radian, ρ″ (stored value), and its reciprocal computed once by a division.
inline constexpr double kRhoSeconds = 206264.80624709636;
inline constexpr double kSecondsToRadians = 1.0 / kRhoSeconds;
// Convergence is reported in grads: radians × 200/π rounded to nine significant figures.
inline constexpr double kRadiansToGrads = 63.6619772;
// 45° in arc-seconds, as it enters the conformal-latitude formula.
inline constexpr double kFortyFiveDegreesSeconds = 162000.0;

// Fourth-order Krüger series (Krüger 1912; coefficients as in Karney 2011,
// "Transverse Mercator with an accuracy of a few nanometers", in n = f/(2 − f)).
// Index 0 exists in storage and is never read; indices 1 to 4 are the terms.
using KrugerCoefficients = std::array<double, 5>;

struct Ellipsoid {
  double a;             // semi-major axis, m
  double f;             // flattening
  double e;             // first eccentricity
  double e2;            // e·e
  double b;             // semi-minor axis (1 − f)·a, m
  double R;             // rectifying radius, m
  KrugerCoefficients alpha;  // conformal sphere → plane (forward)
  KrugerCoefficients beta;   // plane → conformal sphere (inverse), stored negative
  KrugerCoefficients delta;  // conformal latitude → geodetic latitude
};

// GRS80: a, f from the IUGG 1979 definition (1/298.257222101); e, R and the
// Krüger sets are the program's stored values of the formulas above.
inline constexpr Ellipsoid kGrs80Ellipsoid{
    6378137.0,
    0.003352810681182317,
    0.08181919104281576,
    0.08181919104281576 * 0.08181919104281576,
    (1.0 - 0.003352810681182317) * 6378137.0,
    6367449.145771047,
    {0.0, 0.0008377318247344338, 7.608527788826151e-07, 1.197638019173151e-09, 2.44337624251036e-12},
    {0.0, -0.0008377321681641433, -5.905869626082721e-08, -1.673488904988343e-10, -2.16773780559675e-13},
    {0.0, 0.003356551485596691, 6.571873148458856e-06, 1.764656426454279e-08, 5.40048218775987e-11},
};

// Krassowsky 1940: a = 6378245 m, f = 1/298.3; e, R and the Krüger sets stored.
inline constexpr Ellipsoid kKrassowskyEllipsoid{
    6378245.0,
    0.003352329869259152,
    0.08181333401693136,
    0.08181333401693136 * 0.08181333401693136,
    (1.0 - 0.003352329869259152) * 6378245.0,
    6367558.49687498,
    {0.0, 0.0008376117571403064, 7.606346141533867e-07, 1.197122824062624e-09, 2.441972616145668e-12},
    {0.0, -0.0008376121004223031, -5.904168570211653e-08, -1.672768339464948e-10, -2.166492522990356e-13},
    {0.0, 0.003356069601753972, 6.569986331658416e-06, 1.763896519656579e-08, 5.397379816930152e-11},
};

}  // namespace kolvedir
