#include "engine/system_files.h"

#include <array>

#include "engine/point_record.h"

namespace kolvedir {

namespace {

constexpr std::array<SystemFile, 19> kSystemFiles{{
    {1, false, 1, "xy2000", "xy2000.1", kKindPlane},
    {1, false, 2, "xy92", "xy92.1", kKindPlane},
    {1, false, 3, "UTM", "UTM.1", kKindPlane},
    {1, false, 4, "BLH_GRS", "BLH_GRS.1", kKindGeodetic},
    {1, false, 5, "XYZ_GRS", "XYZ_GRS.1", kKindCartesian},
    {1, true, 1, "xy65", "xy65.1", kKindPlane},
    {1, true, 2, "xy42_3", "xy42_3.1", kKindPlane},
    {1, true, 3, "xy42_6", "xy42_6.1", kKindPlane},
    {1, true, 4, "xy42_83_3", "xy42_83_3.1", kKindPlane},
    {1, true, 5, "xy42_83_6", "xy42_83_6.1", kKindPlane},
    {1, true, 6, "xyTARVO80", "xyTARVO80.1", kKindPlane},
    {1, true, 7, "BLH_KRA", "BLH_KRA.1", kKindGeodetic},
    {1, true, 8, "XYZ_KRA", "XYZ_KRA.1", kKindCartesian},
    {2, false, 11, "BLH_K86", "BLH_K86.1", kKindGeodetic},
    {2, false, 12, "BLH_K2006", "BLH_K2006.1", kKindGeodetic},
    {2, false, 13, "BLH_EVRF", "BLH_EVRF.1", kKindGeodetic},
    {3, false, 21, "BL", "BLn.1", kKindGeodetic},
    {3, false, 22, "BLH_e", "BLH_n.1", kKindGeodetic},
    {3, false, 23, "BLH_n", "BLH_e.1", kKindGeodetic},
}};

}  // namespace

std::span<const SystemFile> SystemFiles() { return kSystemFiles; }

const SystemFile* FindSystemFile(std::int32_t module, std::int32_t frame, std::int32_t code) {
  const bool krassowsky = module == 1 && frame != 1 && frame != 2;
  for (const SystemFile& f : kSystemFiles) {
    if (f.module == module && f.krassowsky == krassowsky && f.code == code) return &f;
  }
  return nullptr;
}

}  // namespace kolvedir
