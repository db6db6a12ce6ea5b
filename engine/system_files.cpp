#include "engine/system_files.h"

#include <array>

#include "engine/point_record.h"

namespace kolvedir {

namespace {

constexpr std::array<SystemFile, 19> kSystemFiles{{
    {Module::kTrans, false, 1, "xy2000", "xy2000.1", RecordKind::kPlane},
    {Module::kTrans, false, 2, "xy92", "xy92.1", RecordKind::kPlane},
    {Module::kTrans, false, 3, "UTM", "UTM.1", RecordKind::kPlane},
    {Module::kTrans, false, 4, "BLH_GRS", "BLH_GRS.1", RecordKind::kGeodetic},
    {Module::kTrans, false, 5, "XYZ_GRS", "XYZ_GRS.1", RecordKind::kCartesian},
    {Module::kTrans, true, 1, "xy65", "xy65.1", RecordKind::kPlane},
    {Module::kTrans, true, 2, "xy42_3", "xy42_3.1", RecordKind::kPlane},
    {Module::kTrans, true, 3, "xy42_6", "xy42_6.1", RecordKind::kPlane},
    {Module::kTrans, true, 4, "xy42_83_3", "xy42_83_3.1", RecordKind::kPlane},
    {Module::kTrans, true, 5, "xy42_83_6", "xy42_83_6.1", RecordKind::kPlane},
    {Module::kTrans, true, 6, "xyTARVO80", "xyTARVO80.1", RecordKind::kPlane},
    {Module::kTrans, true, 7, "BLH_KRA", "BLH_KRA.1", RecordKind::kGeodetic},
    {Module::kTrans, true, 8, "XYZ_KRA", "XYZ_KRA.1", RecordKind::kCartesian},
    {Module::kHeight, false, 11, "BLH_K86", "BLH_K86.1", RecordKind::kGeodetic},
    {Module::kHeight, false, 12, "BLH_K2006", "BLH_K2006.1", RecordKind::kGeodetic},
    {Module::kHeight, false, 13, "BLH_EVRF", "BLH_EVRF.1", RecordKind::kGeodetic},
    {Module::kQuasigeoid, false, 21, "BL", "BLn.1", RecordKind::kGeodetic},
    {Module::kQuasigeoid, false, 22, "BLH_e", "BLH_n.1", RecordKind::kGeodetic},
    {Module::kQuasigeoid, false, 23, "BLH_n", "BLH_e.1", RecordKind::kGeodetic},
}};

}  // namespace

std::span<const SystemFile> SystemFiles() { return kSystemFiles; }

const SystemFile* FindSystemFile(Module module, Frame frame, std::int32_t code) {
  const bool krassowsky =
      module == Module::kTrans && frame != Frame::kEtrf2000 && frame != Frame::kEtrf89;
  for (const SystemFile& f : kSystemFiles) {
    if (f.module == module && f.krassowsky == krassowsky && f.code == code) return &f;
  }
  return nullptr;
}

}  // namespace kolvedir
