// Computation core against PROJ: forward and inverse of every grid and the
// datum transformation, each timed with the core and with PROJ's proj_trans on
// the same points in the same run. After the runs a table gives ns per point
// and the ratio PROJ time / core time (> 1: the core is faster).
//
// PROJ is given its leanest path: a bare operation (+proj=tmerc with the
// Poder/Engsager series, +proj=sterea, or a cart/affine/cart pipeline with the
// twelve constants of PL-ETRF89 → Pulkovo'42, whose inverse PROJ takes as the
// algebraic inverse of the matrix) taking radians, never a CRS-to-CRS
// operation with unit and axis steps. The 1942/83 polynomials have no PROJ
// counterpart; that row times the core alone. Each side gets its inputs
// precomputed in its own units (arc-seconds and metres for the core; radians
// and easting, northing for PROJ).
//
// Run from a Release build: build-core-rel/bench/core_bench (Google Benchmark
// flags apply, e.g. --benchmark_filter=Pl2000; pin to one core with taskset).
#include <benchmark/benchmark.h>
#include <proj.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "core/datum.h"
#include "core/grs80_grids.h"
#include "core/krassowsky_grids.h"
#include "core/system1965.h"

namespace {

using namespace kolvedir;

constexpr int kPoints = 1024;

struct Point {
  double a, b;     // core: B, L (arc-seconds) or x, y (m)
  double h = 0.0;  // m, for TransformBlhDatum
};

// Forward or inverse of one conversion with the core (a plain function, as
// PROJ's operations are reached through plain function pointers too).
using CoreFn = void (*)(double, double, double&, double&, PointStatus&);

struct Conversion {
  std::string name;
  double bMin, bMax, lMin, lMax;  // area, degrees
  CoreFn forward, inverse;
  std::string proj;         // PROJ definition; empty: no equivalent operation
  bool geocentric = false;  // forward/inverse are TransformBlhDatum directions 1/2
};

double Sink = 0;  // defeats dead-code elimination of the core's outputs

template <void (*F)(double, double, int, double&, double&, double&, double&, PointStatus&),
          int Zone>
void Fwd(double B, double L, double& x, double& y, PointStatus& s) {
  double d, c;
  F(B, L, Zone, x, y, d, c, s);
  Sink += d + c;
}
template <void (*F)(double, double, int, double&, double&, PointStatus&), int Zone>
void Inv(double x, double y, double& B, double& L, PointStatus& s) {
  F(x, y, Zone, B, L, s);
}
constexpr Direction1965 kForward1965 = Direction1965::kForward;
constexpr Direction1965 kInverse1965 = Direction1965::kInverse;

template <Direction1965 Direction, int Zone>
void S1965(double a, double b, double& c, double& d, PointStatus& s) {
  double B = a, L = b, x = a, y = b, dist = 0, conv = 0;
  System1965Transform(Direction, Zone, B, L, x, y, dist, conv, s);
  if (Direction == Direction1965::kForward) {
    c = x, d = y, Sink += dist + conv;
  } else {
    c = B, d = L;
  }
}

std::vector<Conversion> Conversions() {
  const std::string tm = "+proj=tmerc +algo=poder_engsager ";
  const std::string datum =
      "+proj=pipeline +step +proj=cart +ellps=GRS80 +step +proj=affine "
      "+xoff=-33.4297 +yoff=146.5746 +zoff=76.2865 "
      "+s11=1.0000008407644 +s12=4.08960694e-6 +s13=2.5613907e-7 "
      "+s21=-4.0896065e-6 +s22=1.00000084076292 +s23=-1.73888787e-6 "
      "+s31=-2.5614618e-7 +s32=1.73888682e-6 +s33=1.00000084077125 "
      "+step +inv +proj=cart +ellps=krass";
  return {
      {"Pl2000 zone 18", 49, 55, 16.5, 19.5, Fwd<Pl2000Forward, 18>, Inv<Pl2000Inverse, 18>,
       tm + "+lon_0=18 +k=0.999923 +x_0=6500000 +ellps=GRS80"},
      {"Pl1992", 49, 55, 14, 24.2,
       [](double B, double L, double& x, double& y, PointStatus& s) {
         double d, c;
         Pl1992Forward(B, L, x, y, d, c, s);
         Sink += d + c;
       },
       [](double x, double y, double& B, double& L, PointStatus& s) {
         Pl1992Inverse(x, y, B, L, s);
       },
       tm + "+lon_0=19 +k=0.9993 +x_0=500000 +y_0=-5300000 +ellps=GRS80"},
      {"Utm zone 21", 49, 55, 18, 24.2, Fwd<UtmForward, 21>, Inv<UtmInverse, 21>,
       tm + "+lon_0=21 +k=0.9996 +x_0=4500000 +ellps=GRS80"},
      {"Grid1942 3° zone 21", 49, 55, 19.5, 22.5,
       [](double B, double L, double& x, double& y, PointStatus& s) {
         double d, c;
         Grid1942Forward(B, L, 21, 3, x, y, d, c, s);
         Sink += d + c;
       },
       [](double x, double y, double& B, double& L, PointStatus& s) {
         Grid1942Inverse(x, y, 21, 3, B, L, s);
       },
       tm + "+lon_0=21 +k=1 +x_0=7500000 +ellps=krass"},
      {"Grid1942/83 3° zone 21 (no PROJ equivalent)", 49, 55, 19.5, 22.5,
       [](double B, double L, double& x, double& y, PointStatus& s) {
         double B83, L83, d, c;
         Bl42ToBl4283(B, L, B83, L83, s);
         Grid1942Forward(B83, L83, 21, 3, x, y, d, c, s);
         Sink += d + c;
       },
       [](double x, double y, double& B, double& L, PointStatus& s) {
         double B83, L83;
         Grid1942Inverse(x, y, 21, 3, B83, L83, s);
         Bl4283ToBl42(B83, L83, B, L, s);
       },
       ""},
      {"System1965 zone 1", 49, 52.34, 18, 24.15, S1965<kForward1965, 1>, S1965<kInverse1965, 1>,
       "+proj=sterea +lat_0=50.625 +lon_0=21.083333333333333 +k=0.9998 +x_0=4637000 "
       "+y_0=5467000 +ellps=krass"},
      {"System1965 zone 2", 51.33, 54.51, 19, 23.95, S1965<kForward1965, 2>, S1965<kInverse1965, 2>,
       "+proj=sterea +lat_0=53.001944444444444 +lon_0=21.502777777777778 +k=0.9998 "
       "+x_0=4603000 +y_0=5806000 +ellps=krass"},
      {"System1965 zone 3", 52.16, 54.89, 14.14, 20, S1965<kForward1965, 3>, S1965<kInverse1965, 3>,
       "+proj=sterea +lat_0=53.583333333333333 +lon_0=17.008333333333333 +k=0.9998 "
       "+x_0=3501000 +y_0=5999000 +ellps=krass"},
      {"System1965 zone 4", 49.39, 53.34, 14.14, 19.09, S1965<kForward1965, 4>,
       S1965<kInverse1965, 4>,
       "+proj=sterea +lat_0=51.670833333333333 +lon_0=16.672222222222222 +k=0.9998 "
       "+x_0=3703000 +y_0=5627000 +ellps=krass"},
      {"System1965 zone 5", 49.39, 51.34, 18.33, 19.67, S1965<kForward1965, 5>,
       S1965<kInverse1965, 5>,
       tm + "+lon_0=18.958333333333333 +k=0.999983 +x_0=237000 +y_0=-4700000 +ellps=krass"},
      {"TARVO80", 49, 55, 14, 24.2, S1965<kForward1965, 0>, S1965<kInverse1965, 0>,
       "+proj=sterea +lat_0=52.166666666666667 +lon_0=19.166666666666667 +k=0.9997142857 "
       "+x_0=500000 +y_0=500000 +ellps=krass"},
      {"TransformBlhDatum", 49, 55, 14, 24.2, nullptr, nullptr, datum, true},
  };
}

// Points spread over the area on a 32 × 32 grid, in both sides' units.
struct PointSet {
  std::vector<Point> geodetic, plane;             // core
  std::vector<PJ_COORD> projGeodetic, projPlane;  // PROJ
};

PointSet MakePoints(const Conversion& c, PJ* pj) {
  PointSet p;
  const int n = int(std::sqrt(kPoints));
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      const double b = c.bMin + (c.bMax - c.bMin) * (i + 0.5) / n;
      const double l = c.lMin + (c.lMax - c.lMin) * (j + 0.5) / n;
      const double h = c.geocentric ? 100.0 * ((i + j) % 7) : 0.0;
      PointStatus s = 0;
      Point g{b * 3600, l * 3600, h}, q{};
      if (c.geocentric) {
        TransformBlhDatum(g.a, g.b, g.h, kEtrf89ToPulkovo, q.a, q.b, q.h, s);
      } else {
        c.forward(g.a, g.b, q.a, q.b, s);
      }
      p.geodetic.push_back(g);
      p.plane.push_back(q);
      PJ_COORD in = proj_coord(proj_torad(l), proj_torad(b), h, 0);
      p.projGeodetic.push_back(in);
      if (pj) p.projPlane.push_back(proj_trans(pj, PJ_FWD, in));
    }
  }
  return p;
}

// Benchmark name → CPU ns per point: the least and the median over the
// repetitions (the least is the robust figure on a shared machine).
std::map<std::string, std::vector<double>> gNanosPerPoint;

double Least(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Shows the aggregates (or single runs) and records every repetition.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    std::vector<Run> shown;
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Iteration) {
        const double unit = r.time_unit == benchmark::kMicrosecond   ? 1e3
                            : r.time_unit == benchmark::kMillisecond ? 1e6
                                                                     : 1.0;
        gNanosPerPoint[r.benchmark_name()].push_back(r.GetAdjustedCPUTime() * unit / kPoints);
        if (r.repetitions > 1) continue;
      } else if (r.aggregate_name != "median") {
        continue;
      }
      shown.push_back(r);
    }
    if (!shown.empty()) ConsoleReporter::ReportRuns(shown);
  }
};

std::vector<PJ*> gProjs;

void RegisterAll(PJ_CONTEXT* ctx, std::vector<std::string>& rows) {
  static std::vector<Conversion> conversions = Conversions();
  static std::vector<PointSet> points;
  points.reserve(conversions.size());
  for (const Conversion& c : conversions) {
    PJ* pj = c.proj.empty() ? nullptr : proj_create(ctx, c.proj.c_str());
    if (!c.proj.empty() && !pj) std::fprintf(stderr, "PROJ rejects %s\n", c.proj.c_str());
    gProjs.push_back(pj);
    points.push_back(MakePoints(c, pj));
    const PointSet& p = points.back();
    if (pj) {  // both sides compute the same conversion: largest difference
      double worst = 0;
      for (int k = 0; k < kPoints; ++k) {
        const PJ_COORD& q = p.projPlane[k];
        worst = c.geocentric
                    ? std::max({worst, std::fabs(p.plane[k].a - proj_todeg(q.lpz.phi) * 3600),
                                std::fabs(p.plane[k].b - proj_todeg(q.lpz.lam) * 3600)})
                    : std::max({worst, std::fabs(p.plane[k].a - q.xy.y),
                                std::fabs(p.plane[k].b - q.xy.x)});
      }
      std::fprintf(stderr, "%-46s core - PROJ up to %.2g %s\n", c.name.c_str(), worst,
                   c.geocentric ? "arc-seconds" : "m");
    }
    for (const bool forward : {true, false}) {
      const std::string row = c.name + (forward ? " forward" : " inverse");
      rows.push_back(row);
      benchmark::RegisterBenchmark(
          (row + "/core").c_str(), [&c, &p, forward](benchmark::State& st) {
            for (auto _ : st) {
              for (int k = 0; k < kPoints; ++k) {
                PointStatus s = 0;
                double u = 0, v = 0, h = 0;
                if (c.geocentric) {
                  const Point& in = forward ? p.geodetic[k] : p.plane[k];
                  TransformBlhDatum(in.a, in.b, in.h, forward ? kEtrf89ToPulkovo : kPulkovoToEtrf89,
                                    u, v, h, s);
                } else if (forward) {
                  c.forward(p.geodetic[k].a, p.geodetic[k].b, u, v, s);
                } else {
                  c.inverse(p.plane[k].a, p.plane[k].b, u, v, s);
                }
                benchmark::DoNotOptimize(u);
                benchmark::DoNotOptimize(v);
                benchmark::DoNotOptimize(h);
              }
            }
          });
      if (!pj) continue;
      benchmark::RegisterBenchmark(
          (row + "/proj").c_str(), [pj, &p, forward](benchmark::State& st) {
            for (auto _ : st) {
              for (int k = 0; k < kPoints; ++k) {
                PJ_COORD out = proj_trans(pj, forward ? PJ_FWD : PJ_INV,
                                          forward ? p.projGeodetic[k] : p.projPlane[k]);
                benchmark::DoNotOptimize(out);
              }
            }
          });
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Defaults, overridable on the command line: five repetitions of each
  // benchmark in random order, so that the core and PROJ share the machine's
  // moods alike.
  std::vector<char*> args(argv, argv + argc);
  std::string repetitions = "--benchmark_repetitions=5";
  std::string interleave = "--benchmark_enable_random_interleaving=true";
  std::string minTime = "--benchmark_min_time=0.1";
  args.insert(args.begin() + 1, {repetitions.data(), interleave.data(), minTime.data()});
  int count = int(args.size());

  PJ_CONTEXT* ctx = proj_context_create();
  std::vector<std::string> rows;
  RegisterAll(ctx, rows);
  benchmark::Initialize(&count, args.data());
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf(
      "\nCPU ns per point on one core, least (median) of the repetitions;\n"
      "ratio = PROJ time / core time (> 1: the core is faster)\n");
  std::printf("%-52s %16s %16s %14s\n", "conversion", "core", "PROJ", "ratio");
  for (const std::string& row : rows) {
    const auto core = gNanosPerPoint.find(row + "/core");
    const auto proj = gNanosPerPoint.find(row + "/proj");
    if (core == gNanosPerPoint.end()) continue;
    char coreText[32], projText[32] = "-", ratioText[32] = "-";
    std::snprintf(coreText, sizeof coreText, "%.1f (%.1f)", Least(core->second),
                  Median(core->second));
    if (proj != gNanosPerPoint.end()) {
      std::snprintf(projText, sizeof projText, "%.1f (%.1f)", Least(proj->second),
                    Median(proj->second));
      std::snprintf(ratioText, sizeof ratioText, "%.2f (%.2f)",
                    Least(proj->second) / Least(core->second),
                    Median(proj->second) / Median(core->second));
    }
    std::printf("%-52s %16s %16s %14s\n", row.c_str(), coreText, projText, ratioText);
  }
  std::printf("(checksum %g)\n", Sink);
  for (PJ* pj : gProjs)
    if (pj) proj_destroy(pj);
  proj_context_destroy(ctx);
  return 0;
}
