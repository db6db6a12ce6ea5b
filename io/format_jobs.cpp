#include "io/format_jobs.h"

#include "engine/crs_table.h"
#include "engine/run_report.h"
#include "engine/system_files.h"

namespace kolvedir {

namespace {

// The record kinds of the job's systems (a job derives them when it runs).
JobDescription WithKinds(JobDescription job) {
  const SystemFile* in = FindSystemFile(job.ActiveModule, job.InputFrame, job.InputSystem);
  const SystemFile* out = FindSystemFile(job.ActiveModule, job.OutputFrame, job.OutputSystem);
  job.InputKind = in ? in->kind : RecordKind::kNone;
  job.OutputKind = out ? out->kind : job.InputKind;
  return job;
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace

bool HasGisLayers() {
#if KOLVEDIR_GDAL
  return true;
#else
  return false;
#endif
}

InputFormat InputFormatOf(const std::string& option, const std::filesystem::path& input) {
  if (option == "points") return InputFormat::kPointRecords;
  if (option == "csv") return InputFormat::kDelimitedText;
  if (option == "gis") return InputFormat::kGisLayers;
  const std::string extension = Lower(input.extension().string());
  if (extension == ".csv" || extension == ".tsv") return InputFormat::kDelimitedText;
#if KOLVEDIR_GDAL
  if (IsGisLayerPath(input)) return InputFormat::kGisLayers;
#endif
  return InputFormat::kPointRecords;
}

JobOutcome RunFormatJob(InputFormat format, const JobDescription& job,
                        const TransformerDescription& names, const JobFiles& files,
                        const FormatOptions& options, JobCounters& counters,
                        JobUserInterface& ui) {
  std::optional<Transformer> transformer;
  try {
    transformer.emplace(names);
  } catch (const TransformerError& e) {
    ui.ShowInformation(e.what());
    ReportJobEnd(ui, counters, false);
    return JobOutcome::kRefused;
  }
  const JobDescription described = WithKinds(job);
#if KOLVEDIR_GDAL
  if (format == InputFormat::kGisLayers)
    return RunGisLayerJob(described, *transformer, files, options.gis, counters, ui);
#endif
  (void)format;
  return RunDelimitedTextJob(described, *transformer, files, options.text, counters, ui);
}

const CrsRow* SourceOfLayer(const std::filesystem::path& input, const std::string& layer,
                            std::string& refusal) {
#if KOLVEDIR_GDAL
  return LayerSystem(input, layer, refusal);
#else
  (void)input;
  (void)layer;
  refusal = "brak opcji --from";
  return nullptr;
#endif
}

}  // namespace kolvedir
