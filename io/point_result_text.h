#pragma once
// What the programs say about a point that gives no result, in a status
// column, a message column or a refusal, from the status the library gives it.
#include <cstdint>
#include <string>

#include "engine/job_description.h"

namespace kolvedir {

// The Polish text (UTF-8) of status (a kolvedir::PointResult value other than
// kGood) of a point of `job` whose input easting was y (m; it tells the zone
// of a point of another zone).
std::string PointResultText(const JobDescription& job, std::int32_t status, double y);

}  // namespace kolvedir
