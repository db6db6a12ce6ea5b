#pragma once
// Systems by the names GIS users know: EPSG codes ("EPSG:2177") and the
// common Polish names that are unambiguous ("PL-2000/18", "CS2000/18",
// "PUWG 1992", "CS92", "1965 strefa III", "GUGiK-80", "PL-KRON86-NH", ...).
// Such a name stands for one of our systems with its zone and, for an EPSG
// code, its frame; it never changes how the system is computed.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/crs_table.h"
#include "engine/job_description.h"

namespace kolvedir {

struct CrsName {
  std::string_view system;      // standard file name
  std::int32_t zone = 0;        // 0: a system without zones
  Frame frame = Frame::kNone;   // kNone: the name does not say (a height datum, "PL-2000/18")
  const CrsRow* row = nullptr;  // the EPSG row, for an EPSG name
};

// The system `name` stands for: "EPSG:NNNN" (any case) of a row of the table
// that has an EPSG system, or a common name (case and runs of blanks
// ignored). nullopt for any other name, the standard file names included.
std::optional<CrsName> FindCrsName(std::string_view name);

// The name of a frame as the runner takes it: "PL-ETRF2000", "PL-ETRF89",
// "PULKOWO"; empty for kNone.
std::string_view FrameOptionName(Frame frame);

// One side of a job as typed: system, zone and frame texts (empty: not given).
// When `system` is an EPSG or common name, it becomes the standard file name
// and the zone and frame the name implies are filled in. A zone or frame
// given beside the name that contradicts it refuses the side: the message
// (Polish, UTF-8) names both, with the options `option`, `option`-zone and
// `option`-frame ("--from" or "--to"). nullopt when the side is accepted.
std::optional<std::string> ResolveCrsName(std::string& system, std::string& zone,
                                          std::string& frame, std::string_view option);

// The table as kolvedir-batch --list-systems prints it (UTF-8, Polish).
std::string CrsTableText();

}  // namespace kolvedir
