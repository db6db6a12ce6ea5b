#pragma once
// Delimited text with a header line (CSV, TSV): points in the columns the user
// chooses, every other column passed through in its place, and after the
// input's columns the computed ones, a status and a message.
//
// Reading: fields as RFC 4180 quotes them; a UTF-8 byte-order mark, CR LF or
// LF; a delimiter ",", ";" or tab, given or detected from the header line;
// where the delimiter is not ",", a decimal comma. A file that is not valid
// UTF-8 is read as Windows-1250. Writing: UTF-8 without a byte-order mark, the
// input's delimiter and line ends, the records in input order, every record
// (error points too, with empty computed cells).
#include <string>

#include "engine/job.h"
#include "engine/job_context.h"
#include "engine/job_files.h"
#include "kolvedir/transformer.h"

namespace kolvedir {

struct DelimitedTextOptions {
  // ',', ';' or '\t'; 0: the one of ',', ';' and tab found most often outside
  // quotes in the header line (',' when none).
  char delimiter = 0;
  // Which column holds what, as --columns takes it: "key=column,..." with the
  // keys id (the point's name in messages), then by the input kind x, y
  // (plane), B, L, h (geodetic) or X, Y, Z (Cartesian), keys in any case; a
  // column is a header name or a number from 1. Empty, or a key left out: the
  // column named like the key (any case), and for id one named id, nr, nazwa
  // or name when there is one.
  std::string columns;
  int threads = 1;  // threads of the transformer
};

// Runs one job on delimited text: job is the validated description the
// transformer was built from (module, systems, frames, kinds, BL formats and
// decimals; TRANS-H and the quasigeoid write their fixed decimals). The input
// and result are files or, empty, the standard streams; the encoding of
// files is only what the input is read as. Refuses (writing nothing) an input
// that cannot be read, is empty or is not UTF-8 when so told, and a header
// without a named column. Reports on ui as a job does, and counts in counters.
JobOutcome RunDelimitedTextJob(const JobDescription& job, const Transformer& transformer,
                               const JobFiles& files, const DelimitedTextOptions& options,
                               JobCounters& counters, JobUserInterface& ui);

}  // namespace kolvedir
