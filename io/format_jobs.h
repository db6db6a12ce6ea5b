#pragma once
// Jobs on the input kinds beside point records, as the runner starts them:
// the kind told or seen from the input's name, the transformer built from the
// job's names, and the kind's own reader and writer run with it.
#include <filesystem>
#include <optional>
#include <string>

#include "engine/crs_table.h"
#include "engine/job.h"
#include "io/delimited_text.h"
#include "io/gis_layers.h"
#include "kolvedir/transformer.h"

namespace kolvedir {

enum class InputFormat { kPointRecords, kDelimitedText, kGisLayers };

// The kind `option` names ("points", "csv", "gis"), or for "auto" (or empty)
// the one of the input's extension: .csv and .tsv are delimited text, the
// extensions of kGisExtensions GIS layers, anything else point records.
InputFormat InputFormatOf(const std::string& option, const std::filesystem::path& input);

struct FormatOptions {
  DelimitedTextOptions text;
  GisLayerOptions gis;
};

// Runs one job of `format` (not point records): builds the transformer of
// `names` (a refusal is the job's refusal) and runs the kind's job; a GIS job
// first loads the module of GIS layers (kGisModule) from the program folder.
JobOutcome RunFormatJob(InputFormat format, const JobDescription& job,
                        const TransformerDescription& names, const JobFiles& files,
                        const FormatOptions& options, JobCounters& counters, JobUserInterface& ui);

// --from left out: the system of the input layer (system, zone, frame of a
// row of the table), or nullptr with refusal set (Polish) when the layer has
// none of the table.
const CrsRow* SourceOfLayer(const std::filesystem::path& input, const std::string& layer,
                            std::string& refusal);

}  // namespace kolvedir
