#include "core/krassowsky_grids.h"

#include <array>
#include <optional>

#include "core/gauss_kruger.h"

namespace kolvedir {

namespace {

// "1942" strips: m0 = 1; FE = L0/3 million + 500 km for 3° strips, the 6°
// strip number's last digit in millions + 500 km for 6° strips.
std::optional<GaussKrugerZone> Zone1942(int zone, int stripWidth) {
  const bool defined = (stripWidth == 3 && (zone == 15 || zone == 18 || zone == 21 ||
                                            zone == 24 || zone == 27)) ||
                       (stripWidth == 6 && (zone == 15 || zone == 21 || zone == 27));
  if (!defined) return std::nullopt;
  const double falseEasting =
      stripWidth == 3 ? zone / 3 * 1e6 + 500000.0 : (zone - 15) / 6 * 1e6 + 3500000.0;
  return GaussKrugerZone{&kKrassowskyEllipsoid, double(zone), 1.0, falseEasting, 0.0};
}

// One direction of the 1942/83 ↔ 1942 polynomial: centre, normalising factor
// (per arc-second), constant offsets (arc-seconds) and triangular coefficient
// tables C(i, j), i + j ≤ 5, stored row by row (i = 0: j = 0..5; i = 1: j = 0..4 ...).
struct Polynomial4283 {
  double B0, L0, k, dB0, dL0;
  std::array<double, 21> CB, CL;
};

// Fitted coefficients of the program's 1942/83 model (stored values).
constexpr Polynomial4283 k4283To42{
    187611.29938974, 69674.01306858, 5.327818808265835e-05, -0.01193847832865611,
    -0.02114490177736201,
    {-0.001654115603767821, -0.01211627000729559, 0.008267581646974187, -0.01571359844259105,
     -0.003891248120680688, 0.01117820764037528,
     0.02829309962327951, -0.007704570878609081, -0.008877797057016827, 0.002090275233986175,
     0.01432232016863597,
     -0.001822175625443287, -0.01697707153871925, 0.03345482734758297, 0.01495982582261107,
     -0.07687379148738105, -0.009758867700358753, 0.0966849117083915,
     -0.05409228953563259, 0.06430145174896597,
     0.2046151725160623},
    {-0.0002154555194504269, 0.01365332301284616, -0.007320790705734794, 0.01462796378108752,
     0.00796129031968056, -0.002630290089254929,
     0.0399911826388342, -0.03872905969761094, 0.02237109464827398, 0.05051689552396772,
     0.01256871699092868,
     0.005268399658551575, 0.02999859890305924, 0.004776815003869776, 0.0152363745861343,
     0.0533724344212686, 0.01096780282995731, -0.2007271056656786,
     0.054942672942153, -0.3033034290515519,
     -0.08564991373383168}};

constexpr Polynomial4283 k42To4283{
    187611.287451263, 69673.99192368265, 5.327812718102912e-05, 0.01193847832865611,
    0.02114490177736201,
    {0.001654113742500926, 0.01211625644341487, -0.008267566109140697, 0.01571357082311881,
     0.003891250580544222, -0.01117819754262268,
     -0.02829310654257568, 0.007704647720003521, 0.008877628180471397, -0.002090431704693582,
     -0.01432211809879907,
     0.001822174285316368, 0.01697723461812892, -0.03345475974758205, -0.01496009481471422,
     0.07687347186463281, 0.009759188304113714, -0.09668473532753781,
     0.05409195903011332, -0.06430134009601103,
     -0.2046141647156018},
    {0.0002154508937146172, -0.01365334908872831, 0.007320837501457732, -0.01462803627481851,
     -0.007961337426277167, 0.00263033184478152,
     -0.03999114706267862, 0.03872894989167169, -0.02237095555764925, -0.05051677274216771,
     -0.01256882804590891,
     -0.005268471095040334, -0.02999865105114688, -0.004776351961496642, -0.01523573478832415,
     -0.05337240548070993, -0.01096798230690613, 0.200728228223796,
     -0.05494290999651365, 0.3033025793206878,
     0.08564895325502328}};

void ApplyPolynomial(const Polynomial4283& poly, double B, double L, double& BOut, double& LOut,
                     PointStatus& status) {
  if (status != 0) return;
  const double u = (B - poly.B0) * poly.k;
  const double v = (L - poly.L0) * poly.k;
  double b = B + poly.dB0;
  double l = L + poly.dL0;
  int index = 0;
  double ui = 1.0;
  for (int i = 0; i <= 5; ++i, ui *= u) {
    double vj = 1.0;
    for (int j = 0; j <= 5 - i; ++j, vj *= v, ++index) {
      b += ui * vj * poly.CB[index];
      l += ui * vj * poly.CL[index];
    }
  }
  BOut = b;
  LOut = l;
}

}  // namespace

void Grid1942Forward(double B, double L, int zone, int stripWidth, double& x, double& y,
                     double& distortion, double& convergence, PointStatus& status) {
  ZoneForward(Zone1942(zone, stripWidth), B, L, x, y, distortion, convergence, status);
}

void Grid1942Inverse(double x, double y, int zone, int stripWidth, double& B, double& L,
                     PointStatus& status) {
  ZoneInverse(Zone1942(zone, stripWidth), x, y, B, L, status);
}

int Grid1942ZoneOfEasting(double y, int stripWidth) {
  return ZoneOfEasting([stripWidth](int zone) { return Zone1942(zone, stripWidth); }, y);
}

void Bl4283ToBl42(double B, double L, double& BOut, double& LOut, PointStatus& status) {
  ApplyPolynomial(k4283To42, B, L, BOut, LOut, status);
}

void Bl42ToBl4283(double B, double L, double& BOut, double& LOut, PointStatus& status) {
  ApplyPolynomial(k42To4283, B, L, BOut, LOut, status);
}

}  // namespace kolvedir
