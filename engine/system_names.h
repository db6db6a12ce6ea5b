#pragma once
// Jobs described by names: systems by their standard file names, zones,
// frames and the method, as kolvedir-batch takes them on its command line and
// the library in a transformer's description. This is the one place that
// turns such names into a JobDescription or refuses them, so that every way
// into the engine refuses the same names with the same messages.
#include <array>
#include <string>
#include <string_view>

#include "engine/job_description.h"

namespace kolvedir {

// The names of a job as typed; an empty text is a name not given.
struct JobNames {
  std::string source;       // input system: its standard input file name ("xy2000"), an EPSG or common name
  std::string sourceZone;   // decimal whole number: central meridian (degrees) or "1965" zone
  std::string sourceFrame;  // one of kFrameNames
  std::string target;       // output system, its standard output file name with or without ".1"
  std::string targetZone;
  std::string targetFrame;
  std::string method = "empirical";  // one of kMethodNames
};

inline constexpr std::array<std::string_view, 3> kFrameNames{"PL-ETRF2000", "PL-ETRF89",
                                                             "PULKOWO"};
inline constexpr std::array<std::string_view, 2> kMethodNames{"empirical", "theoretical"};

// A job described by names, or why not.
struct NamedJob {
  // Module, frames, systems, zones and method; InputKind and OutputKind of
  // the systems. Formats and decimals keep their defaults.
  JobDescription job;
  // Empty when the names describe a job; else the message (Polish, UTF-8)
  // that refuses them, naming the options of kolvedir-batch.
  std::string refusal;
};

// A system may also be named by an EPSG code or a common name (engine/crs_names):
// it then gives its zone and frame, and a zone or frame given beside it that
// contradicts it is refused, naming both.
// Refuses unknown names (listing the known ones), a zone that is no decimal
// whole number or not one of its system's zones, a zone or frame a system or
// module does not take, and a missing source or, but for the quasigeoid, a
// missing target. A missing zone or frame that the job itself asks for stays
// unchosen (0), for the job to refuse with its own message.
NamedJob DescribeJob(const JobNames& names);

// The number of computing threads as --threads reads it, or why not.
struct ThreadCount {
  int threads = 0;  // 0: one per core
  std::string refusal;  // empty when `threads` holds the count
};

// text: decimal digits, at most four (0 to 9999).
ThreadCount ReadThreadCount(std::string_view text);

}  // namespace kolvedir
