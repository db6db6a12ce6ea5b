#pragma once
// What a running job hands to the record loop of its module.
//
// RunJobOnFiles validates the job, loads the grid, opens the input file,
// creates the output file and builds the record comment, then calls the loop
// of the module. The loop reads every line of `input`, writes one record per
// processed line to `output`, counts points and errors in `counters` and
// returns. It does not close the files and does not report: the job then
// commits the output file (a failed write is a job error, never a success) and
// writes the result and closing lines of the monitor.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/job_description.h"
#include "engine/job_ui.h"
#include "engine/point_files.h"
#include "engine/text_encoding.h"

namespace kolvedir {

// Counters of the run report. One instance lives for the whole program run:
// MonitorLine carries over from job to job; ErrorCount and PointCount are 0
// between jobs; SuppressPointMessages is switched off at every job start.
struct JobCounters {
  std::int32_t MonitorLine = 0;    // last monitor line written; 0 at program start
  std::int32_t ErrorCount = 0;     // error points of the current job
  std::int32_t PointCount = 0;     // records written in the current job, error records included
  bool SuppressPointMessages = false;  // the user answered Yes to a point question
};

struct JobContext {
  // The geodetic records look written in the other BL format: every one
  // failed the area test and would pass it read in the other format, or most
  // of them carry the other format's shape (HasOtherBlFormatShape).
  bool InputLooksLikeOtherBlFormat() const;

  const JobDescription& job;  // validated; InputKind, OutputKind and the decimals set
  JobCounters& counters;
  JobUserInterface& ui;
  // The encoding of both files, kWindows1250 or kUtf8: every text written
  // into a record is in it (TextForFile).
  TextEncoding encoding = TextEncoding::kWindows1250;
  // TRANS 2D/3D: the comment of every good record, in `encoding`, e.g.
  // " PL-ETRF89  Z UKŁADU:  PL-ETRF2000 /xy2000  OPCJA EMPIR. ".
  std::string RecordComment;
  LineSource input;
  OutputSink output;
  bool stopped = false;  // the user stopped the record loop
  std::uint64_t geodeticRecords = 0;
  std::uint64_t otherBlFormatRecords = 0;  // outside in the chosen format, inside in the other
  std::uint64_t otherBlShapeRecords = 0;   // in the shape of the other format
};

// Announces a problem with one point: unless SuppressPointMessages is on, asks
// the Yes/No question `text` + " - Czy wyłączyć ten komunikat? " (text given
// in the files' encoding, as written into the file; shown in UTF-8); Yes
// switches SuppressPointMessages on. Does not count the error.
void AskAboutPoint(JobContext& context, std::string_view fileText);

// Record loops, one per module.
void RunTransJob(JobContext& context);        // ActiveModule 1, TRANS 2D/3D
void RunHeightJob(JobContext& context);       // ActiveModule 2, TRANS-H
void RunQuasigeoidJob(JobContext& context);   // ActiveModule 3, quasigeoid

}  // namespace kolvedir
