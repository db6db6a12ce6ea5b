#pragma once
// One batch job, as the button "Wykonaj obliczenia" starts it.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/job_context.h"
#include "engine/job_description.h"
#include "engine/job_files.h"
#include "engine/job_ui.h"

namespace kolvedir {

// The items of the precision combo boxes, in order, blanks included.
// The seconds-precision combo box: items 0, 1, 2 give SecondsDecimals 6, 5, 4.
inline constexpr std::array<std::string_view, 3> kSecondsPrecisionItems = {
    "0.000001 \" ", "0.00001 \"", "0.0001\" "};
// The linear-precision combo box: items 0, 1, 2 give LinearDecimals 4, 3, 2.
inline constexpr std::array<std::string_view, 3> kLinearPrecisionItems = {"0.0001m", "0.001m",
                                                                          "0.01m "};

// What the program says when a job runs out of memory: both entry points
// catch std::bad_alloc around a job, whose files are then closed, its
// temporary result removed and the earlier result kept.
inline constexpr std::string_view kOutOfMemoryMessage =
    " *** Za mało pamięci do wykonania zadania; zbiór wynikowy nie został zmieniony";

enum class JobOutcome {
  kCompleted,  // the record loop ran to its end and the result file was written
  kRefused,    // a check failed (validation, grid, missing input): nothing written
  kFailed,     // the input could not be read or the result file not written
  kStopped,    // the user stopped the record loop: nothing written
};

// The job's own checks of the selection state, those that need neither the
// grid nor a file, in the order a job makes them: the message (UTF-8) a job
// shows when it refuses `job`, or nothing when the job may go on. A job also
// refuses when the grid cannot be loaded or its input file is missing.
std::optional<std::string> JobRefusal(const JobDescription& job);

// The grid of one job or of a run of jobs: the first job reads `file` into
// the store and sets `loaded`; the jobs after it use the store as it is.
struct JobGrid {
  std::filesystem::path file;  // the interpolation grid file
  bool loaded = false;
  std::optional<bool> model = std::nullopt;  // whether it is the model grid, once a job has asked
};

// Runs one job of the described module on any input and result:
//   job:      module, frames, systems, zones, method, formats and decimals;
//             InputKind and OutputKind are set here
//   files:    the input and the result (files or standard streams) and the
//             input's encoding (kAuto: detected); the result is written in it
//   grid:     read unless already loaded
//   counters: the program-wide counters of the run report
//   ui:       the dialogs and the monitor
// Validates, checks and writes as the object job does, with the same
// messages. Every job, refused or not, ends with the closing monitor lines.
JobOutcome RunJobOnFiles(JobDescription& job, const JobFiles& files, JobGrid& grid,
                         JobCounters& counters, JobUserInterface& ui);

// Runs one job on the working object with the selection state `job` as it stands:
//   objectsRoot:  folder holding the working objects ("OBIEKTY")
//   objectName:   the text of the object combo box (UTF-8), the working object's folder name
//   secondsText:  the text shown by the seconds-precision combo box; equal to one of its items it
//                 sets SecondsDecimals, any other text keeps the previous value
//   linearText:   the text shown by the linear-precision combo box; the same for LinearDecimals
//   gridFile:     the interpolation grid file (the program folder's PL_grid_001.bin)
//   counters:     the program-wide counters of the run report
//   ui:           the dialogs, monitor, panels and status bar
// Sets job.ObjectFolder and the decimals, then runs RunJobOnFiles on the
// standard files of the object, reading the grid anew, with the encoding detected.
JobOutcome RunJob(JobDescription& job, const std::filesystem::path& objectsRoot,
                  std::string_view objectName, std::string_view secondsText,
                  std::string_view linearText, const std::filesystem::path& gridFile,
                  JobCounters& counters, JobUserInterface& ui);

}  // namespace kolvedir
