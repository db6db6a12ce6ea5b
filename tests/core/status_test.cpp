// The point status convention on every operation of the core: a non-zero
// status on entry changes nothing; parameters outside the tables are refused;
// non-finite and absurd inputs never crash or hang.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "core/datum.h"
#include "core/ellipsoid.h"
#include "core/gauss_kruger.h"
#include "core/geocentric.h"
#include "core_test_support.h"

namespace kolvedir::test {
namespace {

using Values = std::array<double, 6>;
constexpr double kSentinel = -123456.789;
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// The decided answer to a NaN or infinite input: projections refuse with
// kStatusNotFinite; CartesianToGeodetic (and so TransformBlhDatum) ends at its
// iteration limit with kStatusNoConvergence; the operations that never fail
// pass the value on, to be refused by the next projection or conversion.
enum class OnNonFinite { kNotFinite, kNoConvergence, kPassesOn };

struct Operation {
  std::string name;
  Values in;    // valid inputs
  int inputs;   // how many of in[] are read
  int outputs;  // how many of out[] are written; the rest must stay untouched
  OnNonFinite nonFinite;
  std::function<void(const Values& in, Values& out, PointStatus&)> run;
};

bool Same(double a, double b) {  // bit for bit, NaN included
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

std::vector<Operation> AllOperations() {
  const Ellipsoid g = kGrs80Ellipsoid, k = kKrassowskyEllipsoid;
  const Values blh{Deg(52), Deg(19), 100}, xyz{3846287.0508, 1175927.9611, 4933544.6201};
  const GaussKrugerZone zone{&kKrassowskyEllipsoid, 19, 1, 0, 0};
  using O = OnNonFinite;
  using P = PointStatus;
  std::vector<Operation> ops = {
      {"GeodeticToCartesian GRS80", blh, 3, 3, O::kPassesOn, [g](auto& i, auto& o, P& s) {
         GeodeticToCartesian(g.a, g.e2, i[0], i[1], i[2], o[0], o[1], o[2], s); }},
      {"GeodeticToCartesian Krassowsky", blh, 3, 3, O::kPassesOn, [k](auto& i, auto& o, P& s) {
         GeodeticToCartesian(k.a, k.e2, i[0], i[1], i[2], o[0], o[1], o[2], s); }},
      {"CartesianToGeodetic 1", xyz, 3, 3, O::kNoConvergence, [](auto& i, auto& o, P& s) {
         CartesianToGeodetic(i[0], i[1], i[2], 1, o[0], o[1], o[2], s); }},
      {"CartesianToGeodetic 2", xyz, 3, 3, O::kNoConvergence, [](auto& i, auto& o, P& s) {
         CartesianToGeodetic(i[0], i[1], i[2], 2, o[0], o[1], o[2], s); }},
      {"GaussKrugerForward", blh, 2, 4, O::kNotFinite, [g](auto& i, auto& o, P& s) {
         GaussKrugerForward(i[0], i[1], 18, g.alpha, g.R, g.e, g.a, 0.999923, 6.5e6, 0, o[0], o[1],
                            o[2], o[3], s); }},
      {"GaussKrugerInverse", {5.7e6, 6.6e6}, 2, 2, O::kNotFinite, [g](auto& i, auto& o, P& s) {
         GaussKrugerInverse(i[0], i[1], 18, g.beta, g.delta, g.R, 0.999923, 6.5e6, 0, o[0], o[1],
                            s); }},
      {"ZoneForward", blh, 2, 4, O::kNotFinite, [zone](auto& i, auto& o, P& s) {
         ZoneForward(zone, i[0], i[1], o[0], o[1], o[2], o[3], s); }},
      {"ZoneInverse", {5.7e6, 1e5}, 2, 2, O::kNotFinite, [zone](auto& i, auto& o, P& s) {
         ZoneInverse(zone, i[0], i[1], o[0], o[1], s); }},
      {"Bl4283ToBl42", blh, 2, 2, O::kPassesOn, [](auto& i, auto& o, P& s) {
         Bl4283ToBl42(i[0], i[1], o[0], o[1], s); }},
      {"Bl42ToBl4283", blh, 2, 2, O::kPassesOn, [](auto& i, auto& o, P& s) {
         Bl42ToBl4283(i[0], i[1], o[0], o[1], s); }},
      {"Etrf89ToPulkovoXyz", xyz, 3, 3, O::kPassesOn, [](auto& i, auto& o, P& s) {
         Etrf89ToPulkovoXyz(i[0], i[1], i[2], o[0], o[1], o[2], s); }},
      {"PulkovoToEtrf89Xyz", xyz, 3, 3, O::kPassesOn, [](auto& i, auto& o, P& s) {
         PulkovoToEtrf89Xyz(i[0], i[1], i[2], o[0], o[1], o[2], s); }},
      {"TransformBlhDatum 1", blh, 3, 3, O::kNoConvergence, [](auto& i, auto& o, P& s) {
         TransformBlhDatum(i[0], i[1], i[2], 1, o[0], o[1], o[2], s); }},
      {"TransformBlhDatum 2", blh, 3, 3, O::kNoConvergence, [](auto& i, auto& o, P& s) {
         TransformBlhDatum(i[0], i[1], i[2], 2, o[0], o[1], o[2], s); }},
  };
  // Every zone of every grid at the middle of its area. System1965Transform
  // reads and writes one group of six values: what it must only read is
  // checked through out[4] (forward) or out[2] (inverse).
  for (const GridZone& z : kGridZones) {
    const Values bl{Deg((z.area.bMin + z.area.bMax) / 2), Deg((z.area.lMin + z.area.lMax) / 2)};
    Values xy{};
    PointStatus status = 0;
    Forward(z, bl[0], bl[1], xy[0], xy[1], xy[2], xy[3], status);
    const std::string name = z.name;
    if (z.grid != k1965) {
      ops.push_back({name + " forward", bl, 2, 4, O::kNotFinite, [z](auto& i, auto& o, P& s) {
                       Forward(z, i[0], i[1], o[0], o[1], o[2], o[3], s); }});
      ops.push_back({name + " inverse", xy, 2, 2, O::kNotFinite, [z](auto& i, auto& o, P& s) {
                       Inverse(z, i[0], i[1], o[0], o[1], s); }});
      continue;
    }
    ops.push_back({name + " forward", bl, 2, 4, O::kNotFinite, [z](auto& i, auto& o, P& s) {
                     double B = i[0], L = i[1];
                     System1965Transform(Direction1965::kForward, z.zone, B, L, o[0], o[1], o[2],
                                         o[3], s);
                     if (!Same(B, i[0]) || !Same(L, i[1])) o[4] = kNaN; }});
    ops.push_back({name + " inverse", xy, 2, 2, O::kNotFinite, [z](auto& i, auto& o, P& s) {
                     double x = i[0], y = i[1];
                     System1965Transform(Direction1965::kInverse, z.zone, o[0], o[1], x, y, o[4],
                                         o[5], s);
                     if (!Same(x, i[0]) || !Same(y, i[1])) o[2] = kNaN; }});
  }
  return ops;
}

void ExpectUntouched(const Values& out, int from, const std::string& what) {
  for (int j = from; j < int(out.size()); ++j) EXPECT_EQ(out[j], kSentinel) << what << ": " << j;
}

TEST(PointStatus, NonZeroStatusOnEntryChangesNothing) {
  for (const Operation& op : AllOperations()) {
    for (const PointStatus entry : {1, 2, 3, 4, 5, -1, std::numeric_limits<PointStatus>::min()}) {
      Values out;
      out.fill(kSentinel);
      PointStatus status = entry;
      op.run(op.in, out, status);
      EXPECT_EQ(status, entry) << op.name;
      ExpectUntouched(out, 0, op.name);
    }
  }
}

TEST(PointStatus, ValidInputWritesExactlyTheOutputs) {
  for (const Operation& op : AllOperations()) {
    Values out;
    out.fill(kSentinel);
    PointStatus status = 0;
    op.run(op.in, out, status);
    EXPECT_EQ(status, 0) << op.name;
    for (int j = 0; j < op.outputs; ++j)
      EXPECT_TRUE(std::isfinite(out[j]) && out[j] != kSentinel) << op.name << ", out " << j;
    ExpectUntouched(out, op.outputs, op.name);
  }
}

// NaN or infinity in any input: the decided status with nothing written (or,
// for the operations that never fail, status 0). Absurd finite inputs: a
// status with nothing written, or finite outputs (garbage that the batch job's
// plausibility checks of scale and convergence catch).
TEST(PointStatus, NonFiniteAndAbsurdInputsNeverCrashOrHang) {
  for (const Operation& op : AllOperations()) {
    for (int slot = 0; slot < op.inputs; ++slot) {
      for (const double bad : {kNaN, kInf, -kInf, 1e300, -1e300, 1e-300, 0.0, Deg(90), Deg(-90),
                               Deg(180), Deg(1e6)}) {
        Values in = op.in, out;
        out.fill(kSentinel);
        in[slot] = bad;
        PointStatus status = 0;
        op.run(in, out, status);
        const std::string what = op.name + ", in " + std::to_string(slot) + " = " + std::to_string(bad);
        if (!std::isfinite(bad) && op.nonFinite != OnNonFinite::kPassesOn) {
          const bool projection = op.nonFinite == OnNonFinite::kNotFinite;
          EXPECT_EQ(status, projection ? kStatusNotFinite : kStatusNoConvergence) << what;
        }
        if (op.nonFinite == OnNonFinite::kPassesOn) {
          EXPECT_EQ(status, 0) << what;
        } else if (status != 0) {
          ExpectUntouched(out, 0, what);
        } else {
          for (int j = 0; j < op.outputs; ++j) EXPECT_TRUE(std::isfinite(out[j])) << what;
        }
        ExpectUntouched(out, op.outputs, what);
      }
    }
  }
}

// Zones, strip widths and directions outside the tables: kStatusUndefinedZone,
// nothing written. (Ellipsoid codes: geocentric_test.)
TEST(PointStatus, UndefinedZonesStripsAndDirectionsAreRefused) {
  std::vector<GridZone> undefined;
  for (const int zone : {0, 12, 16, 19, 30, -15, 33, 34})
    for (const Grid grid : {kPl2000, kUtm, k1942Strip3, k1942Strip6})
      undefined.push_back({grid, zone, "", {}, ""});
  for (const int zone : {18, 24}) {
    undefined.push_back({kUtm, zone, "", {}, ""});
    undefined.push_back({k1942Strip6, zone, "", {}, ""});
  }
  for (const int zone : {-1, 6, 65, 1 << 30}) undefined.push_back({k1965, zone, "", {}, ""});
  for (const GridZone& z : undefined) {
    Values out;
    out.fill(kSentinel);
    PointStatus forward = 0, inverse = 0;
    Forward(z, Deg(52), Deg(19), out[0], out[1], out[2], out[3], forward);
    Inverse(z, 5.7e6, 6.5e6, out[4], out[5], inverse);
    EXPECT_TRUE(forward == kStatusUndefinedZone && inverse == kStatusUndefinedZone)
        << "grid " << int(z.grid) << ", zone " << z.zone;
    ExpectUntouched(out, 0, "undefined zone");
  }
  for (const int strip : {0, 1, 4, 9}) {
    Values out;
    out.fill(kSentinel);
    PointStatus status = 0;
    Grid1942Forward(Deg(52), Deg(21), 21, strip, out[0], out[1], out[2], out[3], status);
    EXPECT_EQ(status, kStatusUndefinedZone) << "strip " << strip;
    ExpectUntouched(out, 0, "strip width");
  }
  for (const int direction : {0, 3, -1}) {
    for (const int zone : {0, 1, 5}) {
      Values v;
      v.fill(kSentinel);
      PointStatus status = 0;
      System1965Transform(Direction1965(direction), zone, v[0], v[1], v[2], v[3], v[4], v[5],
                          status);
      EXPECT_EQ(status, kStatusUndefinedZone) << "direction " << direction;
      ExpectUntouched(v, 0, "1965 direction");
    }
  }
  Values out;
  out.fill(kSentinel);
  PointStatus forward = 0, inverse = 0;
  ZoneForward(std::nullopt, Deg(52), Deg(19), out[0], out[1], out[2], out[3], forward);
  ZoneInverse(std::nullopt, 5.7e6, 6.5e6, out[4], out[5], inverse);
  EXPECT_TRUE(forward == kStatusUndefinedZone && inverse == kStatusUndefinedZone);
  ExpectUntouched(out, 0, "empty zone");
}

}  // namespace
}  // namespace kolvedir::test
