#include "engine/system_files.h"

#include <array>

#include "engine/point_record.h"

namespace kolvedir {

namespace {

// Central meridians of the 3° and 6° strips and the zones of the "1965" system.
constexpr std::array<std::int32_t, 4> kStrips3{15, 18, 21, 24};
constexpr std::array<std::int32_t, 2> kStrips6{15, 21};
constexpr std::array<std::int32_t, 5> kZones1965{1, 2, 3, 4, 5};

constexpr std::array<SystemFile, 19> kSystemFiles{{
    {Module::kTrans, false, 1, "xy2000", "xy2000.1", RecordKind::kPlane, kStrips3},
    {Module::kTrans, false, 2, "xy92", "xy92.1", RecordKind::kPlane, {}},
    {Module::kTrans, false, 3, "UTM", "UTM.1", RecordKind::kPlane, kStrips6},
    {Module::kTrans, false, 4, "BLH_GRS", "BLH_GRS.1", RecordKind::kGeodetic, {}},
    {Module::kTrans, false, 5, "XYZ_GRS", "XYZ_GRS.1", RecordKind::kCartesian, {}},
    {Module::kTrans, true, 1, "xy65", "xy65.1", RecordKind::kPlane, kZones1965},
    {Module::kTrans, true, 2, "xy42_3", "xy42_3.1", RecordKind::kPlane, kStrips3},
    {Module::kTrans, true, 3, "xy42_6", "xy42_6.1", RecordKind::kPlane, kStrips6},
    {Module::kTrans, true, 4, "xy42_83_3", "xy42_83_3.1", RecordKind::kPlane, kStrips3},
    {Module::kTrans, true, 5, "xy42_83_6", "xy42_83_6.1", RecordKind::kPlane, kStrips6},
    {Module::kTrans, true, 6, "xyTARVO80", "xyTARVO80.1", RecordKind::kPlane, {}},
    {Module::kTrans, true, 7, "BLH_KRA", "BLH_KRA.1", RecordKind::kGeodetic, {}},
    {Module::kTrans, true, 8, "XYZ_KRA", "XYZ_KRA.1", RecordKind::kCartesian, {}},
    {Module::kHeight, false, 11, "BLH_K86", "BLH_K86.1", RecordKind::kGeodetic, {}},
    {Module::kHeight, false, 12, "BLH_K2006", "BLH_K2006.1", RecordKind::kGeodetic, {}},
    {Module::kHeight, false, 13, "BLH_EVRF", "BLH_EVRF.1", RecordKind::kGeodetic, {}},
    {Module::kQuasigeoid, false, 21, "BL", "BLn.1", RecordKind::kGeodetic, {}},
    {Module::kQuasigeoid, false, 22, "BLH_e", "BLH_n.1", RecordKind::kGeodetic, {}},
    {Module::kQuasigeoid, false, 23, "BLH_n", "BLH_e.1", RecordKind::kGeodetic, {}},
}};

// Where each module, group and code stands in kSystemFiles, -1 where no file
// has them: a lookup per point instead of a search. Built from the table.
constexpr int kModules = 4;  // Module codes 0 to 3
constexpr int kCodes = 32;   // system codes 0 to 31
using FileIndex = std::array<std::array<std::array<std::int8_t, kCodes>, 2>, kModules>;

constexpr FileIndex IndexFiles() {
  FileIndex index{};
  for (auto& groups : index)
    for (auto& codes : groups) codes.fill(-1);
  for (std::size_t i = 0; i < kSystemFiles.size(); ++i) {
    const SystemFile& f = kSystemFiles[i];
    index[static_cast<int>(f.module)][f.krassowsky][f.code] = static_cast<std::int8_t>(i);
  }
  return index;
}
constexpr FileIndex kFileIndex = IndexFiles();

}  // namespace

std::span<const SystemFile> SystemFiles() { return kSystemFiles; }

const SystemFile* FindSystemFile(Module module, Frame frame, std::int32_t code) {
  const bool krassowsky =
      module == Module::kTrans && frame != Frame::kEtrf2000 && frame != Frame::kEtrf89;
  const auto m = static_cast<std::int32_t>(module);
  if (m < 0 || m >= kModules || code < 0 || code >= kCodes) return nullptr;
  const int i = kFileIndex[m][krassowsky][code];
  return i < 0 ? nullptr : &kSystemFiles[i];
}

}  // namespace kolvedir
