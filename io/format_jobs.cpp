#include "io/format_jobs.h"

#include <dlfcn.h>

#include "engine/crs_table.h"
#include "engine/program_places.h"
#include "engine/run_report.h"
#include "engine/system_files.h"
#include "engine/text_encoding.h"

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

// The GIS layer unit, loaded from the module in the program folder on first
// use; null, with refusal set, where it cannot be.
const GisLayerFunctions* GisLayers(std::string& refusal) {
#if KOLVEDIR_GDAL
  struct Loaded {
    const GisLayerFunctions* functions = nullptr;
    std::string error;
  };
  static const Loaded loaded = [] {
    Loaded result;
    const std::filesystem::path folder = PlacesOfThisPart().helperFolder;
    void* module = ::dlopen((folder / kGisModule).c_str(), RTLD_NOW | RTLD_LOCAL);
    void* entry = module ? ::dlsym(module, kGisModuleEntry) : nullptr;
    if (entry == nullptr) {
      const char* why = ::dlerror();
      result.error = " *** Nie można wczytać modułu warstw GIS " + (folder / kGisModule).string() +
                     (why ? " (" + std::string(why) + ")" : std::string());
      return result;
    }
    result.functions = reinterpret_cast<const GisLayerFunctions* (*)()>(entry)();
    return result;
  }();
  refusal = loaded.error;
  return loaded.functions;
#else
  refusal = " *** Ten program nie czyta warstw GIS: zbudowano go bez GDAL";
  return nullptr;
#endif
}

}  // namespace

InputFormat InputFormatOf(const std::string& option, const std::filesystem::path& input) {
  if (option == "points") return InputFormat::kPointRecords;
  if (option == "csv") return InputFormat::kDelimitedText;
  if (option == "gis") return InputFormat::kGisLayers;
  const std::string extension = AsciiLower(input.extension().string());
  if (extension == ".csv" || extension == ".tsv") return InputFormat::kDelimitedText;
  for (const GisExtension& e : kGisExtensions)
    if (e.extension == extension) return InputFormat::kGisLayers;
  return InputFormat::kPointRecords;
}

JobOutcome RunFormatJob(InputFormat format, const JobDescription& job,
                        const TransformerDescription& names, const JobFiles& files,
                        const FormatOptions& options, JobCounters& counters, JobUserInterface& ui) {
  std::optional<Transformer> transformer;
  std::string refusal;
  const GisLayerFunctions* gis = format == InputFormat::kGisLayers ? GisLayers(refusal) : nullptr;
  try {
    if (refusal.empty()) transformer.emplace(names);
  } catch (const TransformerError& e) {
    refusal = e.what();
  }
  if (!refusal.empty()) {
    ui.ShowInformation(refusal);
    ReportJobEnd(ui, counters, false);
    return JobOutcome::kRefused;
  }
  const JobDescription described = WithKinds(job);
  if (gis != nullptr) {
    const ArrayTransform transform = [&](const PointArrays& in, const ResultArrays& out,
                                         int threads) { transformer->Transform(in, out, threads); };
    return gis->run(described, transform, files, options.gis, counters, ui);
  }
  return RunDelimitedTextJob(described, *transformer, files, options.text, counters, ui);
}

const CrsRow* SourceOfLayer(const std::filesystem::path& input, const std::string& layer,
                            std::string& refusal) {
  const GisLayerFunctions* gis = GisLayers(refusal);
  return gis ? gis->layerSystem(input, layer, refusal) : nullptr;
}

}  // namespace kolvedir
