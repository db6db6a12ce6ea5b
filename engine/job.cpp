#include "engine/job.h"

#include <optional>
#include <string>

#include "engine/job_context.h"
#include "engine/run_report.h"
#include "engine/system_files.h"
#include "engine/text_encoding.h"
#include "grid/correction_grid.h"
#include "grid/model_grid.h"

namespace kolvedir {

namespace {

constexpr std::string_view kNoOutputText = " nie określono zbioru wynikowego ";
// No module chosen; JobRefusal also gives it for a module number outside the
// three, which a job refuses without a message.
constexpr std::string_view kNoModuleText = "Nie określono zadania do wykonania";

std::string_view FrameName(Frame frame) {
  switch (frame) {
    case Frame::kEtrf2000: return " PL-ETRF2000 ";
    case Frame::kEtrf89: return " PL-ETRF89 ";
    default: return " PULKOWO ";
  }
}

std::string InputSystemTag(Frame frame, std::int32_t system) {
  const SystemFile* file = FindSystemFile(Module::kTrans, frame, system);
  return file ? "/" + std::string(file->input) + " " : std::string();
}

// The comment of every good TRANS 2D/3D record, in the files' encoding.
std::string BuildRecordComment(const JobDescription& job, TextEncoding encoding) {
  const std::string utf8 =
      std::string(FrameName(job.OutputFrame)) +
      " Z UKŁADU: " + std::string(FrameName(job.InputFrame)) +
      InputSystemTag(job.InputFrame, job.InputSystem) +
      (job.Method == ComputationMethod::kTheoretical ? " OPCJA MAT." : " OPCJA EMPIR. ");
  return TextForFile(utf8, encoding);
}

void TakeDecimals(std::string_view text, const std::array<std::string_view, 3>& items,
                  std::int32_t first, std::int32_t& decimals) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (text == items[i]) decimals = first - static_cast<std::int32_t>(i);
  }
}

// The systems of the zone choosers: xy2000 and UTM of the GRS80 frames, the
// "1965", "1942" and "1942/83" grids of Pulkovo'42. Unchosen frames count
// with the GRS80 ones.
bool NeedsZone(Frame frame, std::int32_t system) {
  switch (frame) {
    case Frame::kNone:
    case Frame::kEtrf2000:
    case Frame::kEtrf89: return system == 1 || system == 3;
    case Frame::kPulkovo: return system < 6;
    default: return false;
  }
}

// The checks every job makes first, in order: the message of the first that fails.
std::optional<std::string_view> CommonCheck(const JobDescription& job) {
  if (job.ActiveModule == Module::kNone) return kNoModuleText;
  if (job.ActiveModule == Module::kTrans && job.InputFrame == Frame::kNone)
    return "Nie określono układu odniesienia na wejściu";
  if (job.ActiveModule == Module::kTrans && job.OutputFrame == Frame::kNone)
    return "Nie określono układu odniesienia na wyjściu";
  if (job.InputSystem == 0) return "Nie określono zbioru wejściowego";
  if (job.OutputSystem == 0) return "Nie określono zbioru wynikowego";
  if (NeedsZone(job.InputFrame, job.InputSystem) && job.InputZone == 0)
    return "Nie określono strefy na wejściu";
  if (NeedsZone(job.OutputFrame, job.OutputSystem) && job.OutputZone == 0)
    return "Nie określono strefy na wyjściu";
  return std::nullopt;
}

bool IsTransFrame(Frame frame) {
  return frame == Frame::kEtrf2000 || frame == Frame::kEtrf89 || frame == Frame::kPulkovo;
}
bool IsHeightDatum(std::int32_t code) { return code >= 11 && code <= 13; }

// The checks of the module that need no file: the message of the first that
// fails, or the files of the job (no output file: TRANS-H without an output datum).
struct ModuleFiles {
  std::string_view refusal;  // empty when the job may go on
  std::string_view input, output;
  RecordKind inputKind = RecordKind::kNone, outputKind = RecordKind::kNone;
};

ModuleFiles Refuse(std::string_view message) {
  ModuleFiles files;
  files.refusal = message;
  return files;
}

ModuleFiles ModuleCheck(const JobDescription& job) {
  const SystemFile* in = nullptr;
  const SystemFile* out = nullptr;
  switch (job.ActiveModule) {
    case Module::kTrans:
      if (!IsTransFrame(job.InputFrame))
        return Refuse("Nie określono układu odniesienia na wejściu");
      if (job.InputSystem == 0) return Refuse("Nie określono układu współrzędnych na wejściu");
      if (!IsTransFrame(job.OutputFrame))
        return Refuse("Nie określono układu odniesienia na wyjściu");
      if (job.OutputSystem == 0) return Refuse("Nie określono układu współrzędnych na wyjściu");
      in = FindSystemFile(Module::kTrans, job.InputFrame, job.InputSystem);
      out = FindSystemFile(Module::kTrans, job.OutputFrame, job.OutputSystem);
      if (!in) return Refuse("Nie określono układu współrzędnych na wejściu");
      if (!out) return Refuse("Nie określono układu współrzędnych na wyjściu");
      return {{}, in->input, out->output, in->kind, out->kind};
    case Module::kHeight:
      if (!IsHeightDatum(job.InputSystem)) return Refuse("ale najpierw określ układ wysokościowy na wejściu");
      in = FindSystemFile(Module::kHeight, Frame::kNone, job.InputSystem);
      out = FindSystemFile(Module::kHeight, Frame::kNone, job.OutputSystem);
      return {{}, in->input, out ? out->output : std::string_view{}};
    case Module::kQuasigeoid:
      if (job.InputFrame != Frame::kQuasigeoidEtrf2000 &&
          job.InputFrame != Frame::kQuasigeoidEtrf89)
        return Refuse("ale najpierw określ układ odniesienia");
      in = FindSystemFile(Module::kQuasigeoid, Frame::kNone, job.InputSystem);
      if (!in) return Refuse("ale najpierw określ rodzaj przekształcenia");
      // The task fixes the output: OutputSystem always equals InputSystem here.
      return {{}, in->input, in->output};
    default:
      return {};
  }
}

// What a failed job adds about the result: a file is left as it was, a
// stream holds what was written before the failure.
std::string_view ResultLeft(const JobFiles& files) {
  return files.output.empty() ? "; wynik jest niepełny" : "; zbiór wynikowy nie został zmieniony";
}

// Opens the input, settling its encoding, and creates the result; false
// (outcome set) when either fails.
bool OpenFiles(JobContext& context, const JobFiles& files, JobOutcome& outcome) {
  JobUserInterface& ui = context.ui;
  const OpenedInput input = OpenJobInput(files, context.input);
  if (input.result == InputOpening::kCannotOpen) {
    ui.ShowInformation(" *** Nie można otworzyć zbioru wejściowego: " + InputText(files));
    outcome = JobOutcome::kFailed;
    return false;
  }
  if (input.result == InputOpening::kNotUtf8) {
    ui.ShowInformation(" *** Zbiór wejściowy nie jest poprawnym tekstem UTF-8: " +
                       InputText(files) + "; zbioru wynikowego nie utworzono");
    outcome = JobOutcome::kRefused;
    return false;
  }
  if (!CreateJobOutput(files, context.output)) {
    ui.ShowInformation(" *** Nie można utworzyć zbioru wynikowego: " + OutputText(files) +
                       " (" + context.output.ErrorText() + ")");
    outcome = JobOutcome::kFailed;
    return false;
  }
  context.encoding = input.encoding;
  context.RecordComment = BuildRecordComment(context.job, input.encoding);
  if (input.byteOrderMark) context.output.WriteBlock(kUtf8ByteOrderMark);
  return true;
}

// Why the input could not be read to its end; empty when it was. A line too
// long for any point record means the file is no point file at all (binary
// data, or line ends of another system, which run all records into one): the
// job is refused rather than writing one doubtful record in place of its points.
std::string InputFault(const LineSource& input, const JobFiles& files) {
  if (input.Failed()) return " *** Błąd odczytu zbioru wejściowego: " + InputText(files);
  if (!input.LineTooLong()) return {};
  return " *** Wiersz " + std::to_string(input.LineNumber()) + " zbioru wejściowego " +
         InputText(files) + " jest dłuższy niż " + std::to_string(kMaxLineBytes >> 20) +
         " MiB - to nie jest zbiór punktów";
}

// Opens the files, runs the loop of the module and saves the result.
JobOutcome RunRecordLoop(JobContext& context, const JobFiles& files) {
  JobOutcome outcome = JobOutcome::kCompleted;
  if (!OpenFiles(context, files, outcome)) return outcome;
  switch (context.job.ActiveModule) {
    case Module::kTrans: RunTransJob(context); break;
    case Module::kHeight: RunHeightJob(context); break;
    default: RunQuasigeoidJob(context); break;
  }
  JobUserInterface& ui = context.ui;
  const std::string inputFault = InputFault(context.input, files);
  context.input.Close();
  if (context.stopped) {
    context.output.Discard();
    ReportJobStopped(ui, context.counters, files.output.empty());
    return JobOutcome::kStopped;
  }
  if (!inputFault.empty()) {
    context.output.Discard();
    ui.ShowInformation(inputFault + std::string(ResultLeft(files)));
    return JobOutcome::kFailed;
  }
  if (!context.output.Commit()) {
    ui.ShowInformation(" *** Błąd zapisu zbioru wynikowego: " + OutputText(files) + " (" +
                       context.output.ErrorText() + ")" + std::string(ResultLeft(files)));
    return JobOutcome::kFailed;
  }
  ReportJobResult(ui, context.counters, context.job.ActiveModule);
  if (context.InputLooksLikeOtherBlFormat())
    ReportBlFormatHint(ui, context.counters, context.job.BLInputFormat);
  return JobOutcome::kCompleted;
}

bool LoadGrid(JobGrid& grid, JobUserInterface& ui) {
  if (grid.loaded) return true;
  const GridLoadResult result = LoadCorrectionGrid(grid.file);
  if (result != GridLoadResult::kLoaded) {
    ui.ShowMessage(GridLoadMessage(result, grid.file));
    return false;
  }
  grid.loaded = true;
  return true;
}

JobOutcome RunModule(JobDescription& job, const JobFiles& files, JobGrid& grid,
                     JobCounters& counters, JobUserInterface& ui) {
  ClearMonitor(ui);
  if (!LoadGrid(grid, ui)) return JobOutcome::kRefused;
  ReportGridLoaded(ui, counters);
  // Every module reads the grid's values but TRANS 2D/3D of the theoretical method.
  if (job.ActiveModule != Module::kTrans || job.Method == ComputationMethod::kEmpirical) {
    // Read once for a run of jobs on one loaded grid: telling means reading the whole file.
    if (!grid.model) grid.model = IsModelGrid(grid.file);
    if (*grid.model) ReportModelGrid(ui, counters);
  }
  counters.PointCount = 0;

  if (job.ActiveModule == Module::kTrans) job.InputKind = job.OutputKind = RecordKind::kNone;
  const ModuleFiles names = ModuleCheck(job);
  if (!names.refusal.empty()) {
    ui.ShowInformation(std::string(names.refusal));
    return JobOutcome::kRefused;
  }
  if (names.input.empty()) return JobOutcome::kRefused;  // no module of that number
  if (job.ActiveModule == Module::kTrans) {
    job.InputKind = names.inputKind;
    job.OutputKind = names.outputKind;
  }
  // A path that cannot even be examined (a loop of links, say) is not "missing":
  // the job goes on and fails where the file is opened, with that message.
  std::error_code unexaminable;
  if (!files.input.empty() && !std::filesystem::exists(files.input, unexaminable) &&
      !unexaminable) {
    const char* text = job.ActiveModule == Module::kTrans ? " ! nie istnieje zbiór wejściowy: "
                                                          : " nie istnieje zbiór wejściowy: ";
    ui.ShowInformation(text + InputText(files));
    return JobOutcome::kRefused;
  }
  if (names.output.empty()) {
    ui.ShowInformation(std::string(kNoOutputText));
    return JobOutcome::kRefused;
  }
  JobContext context{job, counters, ui, TextEncoding::kWindows1250, {}, {}, {}};
  const JobOutcome outcome = RunRecordLoop(context, files);
  // Nothing of a failed job reaches the result file.
  if (outcome != JobOutcome::kCompleted) counters.PointCount = 0;
  return outcome;
}

}  // namespace

std::optional<std::string> JobRefusal(const JobDescription& job) {
  if (const auto refusal = CommonCheck(job)) return std::string(*refusal);
  const ModuleFiles files = ModuleCheck(job);
  if (!files.refusal.empty()) return std::string(files.refusal);
  if (files.input.empty()) return std::string(kNoModuleText);
  if (files.output.empty()) return std::string(kNoOutputText);
  return std::nullopt;
}

JobOutcome RunJobOnFiles(JobDescription& job, const JobFiles& files, JobGrid& grid,
                         JobCounters& counters, JobUserInterface& ui) {
  counters.ErrorCount = 0;
  counters.SuppressPointMessages = false;
  JobOutcome outcome = JobOutcome::kRefused;
  if (const auto refusal = CommonCheck(job)) {
    ui.ShowInformation(std::string(*refusal));
  } else {
    outcome = RunModule(job, files, grid, counters, ui);
  }
  ReportJobEnd(ui, counters, outcome == JobOutcome::kStopped);
  return outcome;
}

JobOutcome RunJob(JobDescription& job, const std::filesystem::path& objectsRoot,
                  std::string_view objectName, std::string_view secondsText,
                  std::string_view linearText, const std::filesystem::path& gridFile,
                  JobCounters& counters, JobUserInterface& ui) {
  job.ObjectFolder = (objectsRoot / objectName).string();
  ui.SetStatusText(3, "Folder roboczy: " + job.ObjectFolder);
  TakeDecimals(secondsText, kSecondsPrecisionItems, 6, job.SecondsDecimals);
  TakeDecimals(linearText, kLinearPrecisionItems, 4, job.LinearDecimals);
  const std::filesystem::path folder = job.ObjectFolder;
  const ModuleFiles names = ModuleCheck(job);  // refused later, in its turn
  JobGrid grid{gridFile};
  return RunJobOnFiles(job, {folder / names.input, folder / names.output}, grid, counters, ui);
}

}  // namespace kolvedir
