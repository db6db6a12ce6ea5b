// The table of EPSG systems against PROJ's own definitions: every row's EPSG
// system is the one PROJ names so (a system without a code: the WKT the
// program writes for it), and our computation agrees with PROJ's over
// a grid of points of the zone, both ways, within 1 mm or the figure the row
// states (and that figure is not larger than what is measured).
#include "engine/crs_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>

#include "engine/system_files.h"
#include "tools/crs_comparison.h"

namespace kolvedir {
namespace {

using Proj = std::unique_ptr<PJ, decltype(&proj_destroy)>;

constexpr double kAgreementMm = 1.0;

TEST(CrsTable, EveryRowAgainstProj) {
  PJ_CONTEXT* context = proj_context_create();
  for (const CrsRow& row : CrsTable()) {
    if (row.wkt.empty()) continue;
    const std::string code = "EPSG:" + std::to_string(row.epsg);
    SCOPED_TRACE(code + " " + std::string(row.system) + " " + std::to_string(row.zone));
    // A system without a code is written as its WKT: PROJ reads it as the same system.
    const Proj crs(
        proj_create(context, row.epsg != 0 ? code.c_str() : std::string(row.wkt).c_str()),
        &proj_destroy);
    ASSERT_TRUE(crs);
    EXPECT_EQ(std::string(proj_get_name(crs.get())), row.epsgName);
    std::string problem;
    const double mm = MeasureRow(context, CrsTable(), row, problem);
    ASSERT_GE(mm, 0) << problem;
    EXPECT_LE(mm, std::max(kAgreementMm, row.differenceMm)) << "measured, mm";
    // A stated figure above the agreement is what the row measures, not a stale one.
    if (row.differenceMm > kAgreementMm) {
      EXPECT_GE(mm * 1.1, row.differenceMm) << "measured, mm";
    }
  }
  proj_context_destroy(context);
}

// Every system of TRANS 2D/3D in each of its frames, and every height datum,
// has a row: its EPSG system or why there is none. Each EPSG code names one system.
TEST(CrsTable, EverySystemOnceByCode) {
  std::set<std::int32_t> codes;
  for (const CrsRow& row : CrsTable())
    if (row.epsg != 0) {
      EXPECT_TRUE(codes.insert(row.epsg).second) << row.epsg;
    }
  for (const SystemFile& f : SystemFiles()) {
    if (f.module == Module::kQuasigeoid) continue;
    for (const Frame frame : {Frame::kEtrf2000, Frame::kEtrf89, Frame::kPulkovo}) {
      if (f.module == Module::kTrans && f.krassowsky != (frame == Frame::kPulkovo)) continue;
      const Frame rowFrame = f.module == Module::kTrans ? frame : Frame::kNone;
      EXPECT_TRUE(
          std::any_of(CrsTable().begin(), CrsTable().end(),
                      [&](const CrsRow& r) { return r.system == f.input && r.frame == rowFrame; }))
          << f.input << " " << static_cast<int>(frame);
    }
  }
}

}  // namespace
}  // namespace kolvedir
