#include "io/gis_layers.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/atomic_file.h"
#include "engine/crs_names.h"
#include "engine/crs_table.h"
#include "engine/point_outcome.h"
#include "engine/run_report.h"
#include "engine/system_error_text.h"
#include "engine/system_files.h"
#include "engine/text_encoding.h"
#include "io/array_jobs.h"

namespace kolvedir {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Vertices gathered from features before one call of the transformer.
constexpr std::size_t kBlockVertices = 65536;

std::string LowerExtension(const std::filesystem::path& path) {
  return AsciiLower(path.extension().string());
}

void RegisterDrivers() {
  static std::once_flag once;
  std::call_once(once, [] { GDALAllRegister(); });
}

// GDAL's last error, for a message: " (GDAL: ...)" or empty.
std::string GdalError() {
  const std::string text = CPLGetLastErrorMsg();
  return text.empty() ? std::string() : " (GDAL: " + text + ")";
}

// Keeps GDAL's own messages off the standard streams while it lives; the
// programs say what failed themselves.
class QuietGdal {
 public:
  QuietGdal() { CPLPushErrorHandler(CPLQuietErrorHandler); }
  ~QuietGdal() { CPLPopErrorHandler(); }
};

// A Shapefile needs its .shx and .dbf beside it (any case of the extension).
std::string MissingShapefilePart(const std::filesystem::path& input) {
  if (LowerExtension(input) != ".shp") return {};
  for (const char* part : {".shx", ".dbf"}) {
    std::string upper = part;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::filesystem::path lower = input, capital = input;
    std::error_code ignored;
    if (!std::filesystem::exists(lower.replace_extension(part), ignored) &&
        !std::filesystem::exists(capital.replace_extension(upper), ignored))
      return lower.string();
  }
  return {};
}

GDALDatasetUniquePtr OpenInput(const std::filesystem::path& input, std::string& refusal) {
  RegisterDrivers();
  const std::string missing = MissingShapefilePart(input);
  if (!missing.empty()) {
    refusal = " *** Brak pliku " + missing + " warstwy " + input.string() +
              "; zbioru wynikowego nie utworzono";
    return nullptr;
  }
  CPLErrorReset();
  GDALDatasetUniquePtr dataset(GDALDataset::Open(input.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  if (!dataset || dataset->GetLayerCount() == 0) {
    refusal = " *** Nie można odczytać warstw GIS ze zbioru " + input.string() + GdalError() +
              "; zbioru wynikowego nie utworzono";
    return nullptr;
  }
  return dataset;
}

std::optional<std::int32_t> EpsgOf(const OGRSpatialReference& srs) {
  const auto code = [](const OGRSpatialReference& s) -> std::optional<std::int32_t> {
    const char* authority = s.GetAuthorityName(nullptr);
    const char* value = s.GetAuthorityCode(nullptr);
    if (authority && value && EQUAL(authority, "EPSG")) return std::atoi(value);
    return std::nullopt;
  };
  if (auto found = code(srs)) return found;
  int count = 0;
  int* confidence = nullptr;
  OGRSpatialReferenceH* matches = srs.FindMatches(nullptr, &count, &confidence);
  std::optional<std::int32_t> found;
  if (count > 0 && confidence[0] >= 90) found = code(*OGRSpatialReference::FromHandle(matches[0]));
  OSRFreeSRSArray(matches);
  CPLFree(confidence);
  return found;
}

// A system's name as the ESRI WKT of a Shapefile spells it: letters, digits
// and "-" kept, any other run of characters one "_", none at the ends.
std::string EsriName(std::string_view name) {
  std::string out;
  for (const char c : name) {
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '-')
      out += c;
    else if (!out.empty() && out.back() != '_')
      out += '_';
  }
  if (!out.empty() && out.back() == '_') out.pop_back();
  return out;
}

// The row of a system without an EPSG code that the program wrote as WKT,
// by the name it gave it (a format that keeps WKT1 only loses its axis
// order, and a Shapefile spells the name its own way).
const CrsRow* RowWithoutCode(const OGRSpatialReference& srs) {
  const char* name = srs.GetName();
  if (name == nullptr) return nullptr;
  for (const CrsRow& row : CrsTable())
    if (row.epsg == 0 && !row.wkt.empty() &&
        (row.epsgName == name || EsriName(row.epsgName) == name))
      return &row;
  return nullptr;
}

// A layer's system, or null when it has none: a GeoPackage names its two
// undefined systems (ids -1 and 0) "Undefined Cartesian SRS" and "Undefined
// geographic SRS".
const OGRSpatialReference* SystemOf(OGRLayer& layer) {
  const OGRSpatialReference* srs = layer.GetSpatialRef();
  const char* name = srs ? srs->GetName() : nullptr;
  if (name != nullptr && std::string_view(name).starts_with("Undefined ") &&
      srs->GetAuthorityCode(nullptr) == nullptr)
    return nullptr;
  return srs;
}

// The row of the table of a layer's system, by its EPSG code or its WKT.
const CrsRow* RowOf(const OGRSpatialReference& srs, std::optional<std::int32_t>& code) {
  code = EpsgOf(srs);
  return code ? FindCrsByEpsg(*code) : RowWithoutCode(srs);
}

OGRLayer* FindLayer(GDALDataset& dataset, const std::string& name, std::string& refusal) {
  OGRLayer* layer = name.empty() ? dataset.GetLayer(0) : dataset.GetLayerByName(name.c_str());
  if (layer == nullptr) refusal = " *** Zbiór nie ma warstwy \"" + name + "\"";
  return layer;
}

// ---- Systems of layers ----

Frame TransFrameOf(Frame frame) {
  if (frame == Frame::kQuasigeoidEtrf2000) return Frame::kEtrf2000;
  if (frame == Frame::kQuasigeoidEtrf89) return Frame::kEtrf89;
  return frame;
}

std::string_view SystemName(const JobDescription& job, std::int32_t code, Frame frame) {
  const SystemFile* f = FindSystemFile(job.ActiveModule, frame, code);
  return f ? f->input : std::string_view();
}

// "xy2000, strefa 18, PL-ETRF2000": the job's input side, as a message names it.
std::string InputSide(const JobDescription& job) {
  std::string text(SystemName(job, job.InputSystem, job.InputFrame));
  if (job.InputZone != 0) text += ", strefa " + std::to_string(job.InputZone);
  const std::string_view frame = FrameOptionName(TransFrameOf(job.InputFrame));
  if (!frame.empty()) text += ", " + std::string(frame);
  return text;
}

// Whether a layer in the EPSG system of `row` holds the input of `job`. The
// height jobs read B, L of any GRS80 geographic system.
bool LayerFitsInput(const JobDescription& job, const CrsRow& row) {
  const std::string_view input = SystemName(job, job.InputSystem, job.InputFrame);
  if (job.ActiveModule == Module::kTrans)
    return row.system == input && row.zone == job.InputZone && row.frame == job.InputFrame;
  if (row.system == "BLH_GRS")
    return job.ActiveModule == Module::kHeight || row.frame == TransFrameOf(job.InputFrame);
  return row.system == input || (input == "BLH_n" && row.system == "BLH_K86");
}

// The rows the output system may take, the first of `dimensions` preferred.
const CrsRow* OutputRow(const JobDescription& job, int dimensions) {
  std::string_view system = SystemName(job, job.OutputSystem, job.OutputFrame);
  Frame frame = job.OutputFrame;
  if (job.ActiveModule == Module::kQuasigeoid) {
    // The tasks write normal heights in PL-KRON86-NH, or ellipsoidal ones
    // (or the anomaly) beside B, L of the frame.
    system = job.InputSystem == 22 ? "BLH_K86" : "BLH_GRS";
    frame = job.InputSystem == 22 ? Frame::kNone : TransFrameOf(job.InputFrame);
  }
  if (job.ActiveModule == Module::kHeight) frame = Frame::kNone;
  const CrsRow* found = nullptr;
  for (const CrsRow& row : CrsTable()) {
    if (row.system != system || row.frame != frame || row.wkt.empty()) continue;
    if (row.zone != 0 && row.zone != job.OutputZone) continue;
    if (found == nullptr || (found->dimensions != dimensions && row.dimensions == dimensions))
      found = &row;
  }
  return found;
}

// ---- Vertices ----

// Calls f(curve) for every simple curve and f(point) for every point of geometry.
template <typename F>
void ForEachPart(OGRGeometry* geometry, F&& f) {
  if (geometry == nullptr || geometry->IsEmpty()) return;
  switch (wkbFlatten(geometry->getGeometryType())) {
    case wkbPoint:
      return f(geometry->toPoint());
    case wkbLineString:
    case wkbLinearRing:
    case wkbCircularString:
      return f(geometry->toSimpleCurve());
    case wkbCompoundCurve:
      for (OGRCurve* curve : *geometry->toCompoundCurve()) ForEachPart(curve, f);
      return;
    case wkbPolygon:
    case wkbCurvePolygon:
    case wkbTriangle:
      for (OGRCurve* ring : *geometry->toCurvePolygon()) ForEachPart(ring, f);
      return;
    case wkbPolyhedralSurface:
    case wkbTIN:
      for (OGRPolygon* polygon : *geometry->toPolyhedralSurface()) ForEachPart(polygon, f);
      return;
    default:
      if (OGR_GT_IsSubClassOf(geometry->getGeometryType(), wkbGeometryCollection))
        for (OGRGeometry* part : *geometry->toGeometryCollection()) ForEachPart(part, f);
      return;
  }
}

// How a job's coordinates sit in a layer's x, y, z.
struct Axes {
  bool swapIn, swapOut;  // plane and geodetic: x easting / longitude, y northing / latitude
  bool heightIn;         // z is the input's third coordinate
  bool heightOut;        // z becomes the output's third coordinate
  bool forceZ;           // every output geometry has z (Cartesian output)
};

Axes AxesOf(const JobDescription& job, bool layerHasZ) {
  const bool cartesianIn = job.InputKind == RecordKind::kCartesian;
  const bool cartesianOut = job.OutputKind == RecordKind::kCartesian;
  const bool carriesHeight = job.ActiveModule != Module::kTrans ||
                             (job.InputKind != RecordKind::kPlane && layerHasZ) || cartesianIn;
  return {!cartesianIn, !cartesianOut, carriesHeight && layerHasZ, carriesHeight || cartesianOut,
          cartesianOut};
}

// Features of one block with their geometries' vertices in arrays.
struct Block {
  std::vector<std::unique_ptr<OGRFeature>> features;
  std::vector<std::size_t> firstVertex;  // of each feature; one past the last at the end
  std::vector<double> a, b, c;
  void Clear() {
    features.clear();
    firstVertex.assign(1, 0);
    a.clear();
    b.clear();
    c.clear();
  }
};

void Gather(const Axes& axes, OGRGeometry* geometry, Block& block) {
  const auto add = [&](double x, double y, double z) {
    block.a.push_back(axes.swapIn ? y : x);
    block.b.push_back(axes.swapIn ? x : y);
    block.c.push_back(axes.heightIn ? z : 0.0);
  };
  ForEachPart(geometry, [&](auto* part) {
    if constexpr (std::is_same_v<decltype(part), OGRPoint*>) {
      add(part->getX(), part->getY(), part->getZ());
    } else {
      for (int i = 0; i < part->getNumPoints(); ++i)
        add(part->getX(i), part->getY(i), part->getZ(i));
    }
  });
}

void Scatter(const Axes& axes, OGRGeometry* geometry, const ResultArrays& r, std::size_t at) {
  if (geometry == nullptr) return;
  if (axes.forceZ) geometry->set3D(TRUE);
  const auto value = [&](double& x, double& y) {
    x = axes.swapOut ? r.b[at] : r.a[at];
    y = axes.swapOut ? r.a[at] : r.b[at];
  };
  ForEachPart(geometry, [&](auto* part) {
    double x = 0, y = 0;
    if constexpr (std::is_same_v<decltype(part), OGRPoint*>) {
      value(x, y);
      part->setX(x);
      part->setY(y);
      if (axes.heightOut && (part->Is3D() || axes.forceZ)) part->setZ(r.c[at]);
      ++at;
    } else {
      for (int i = 0; i < part->getNumPoints(); ++i, ++at) {
        value(x, y);
        part->setPoint(i, x, y);
        if (axes.heightOut && (part->Is3D() || axes.forceZ)) part->setZ(i, r.c[at]);
      }
    }
  });
}

// ---- The job ----

struct Job {
  const JobDescription& job;
  const ArrayTransform& transform;
  const JobFiles& files;
  const GisLayerOptions& options;
  JobCounters& counters;
  JobUserInterface& ui;
  std::string& refusal;
};

// The driver of the output: the one named, or the one of its extension.
GDALDriver* OutputDriver(Job& j) {
  std::string name = j.options.outputFormat;
  if (name.empty()) {
    const std::string extension = LowerExtension(j.files.output);
    for (const GisExtension& e : kGisExtensions)
      if (e.extension == extension) name = e.driver;
  }
  GDALDriver* driver =
      name.empty() ? nullptr : GetGDALDriverManager()->GetDriverByName(name.c_str());
  if (driver == nullptr || !driver->GetMetadataItem(GDAL_DCAP_CREATE) ||
      !driver->GetMetadataItem(GDAL_DCAP_VECTOR))
    j.refusal = " *** Nieznany format zbioru wynikowego " + j.files.output.string() +
                (name.empty() ? "" : " (" + name + ")") +
                "; wskaż go opcją --output-format, np. GPKG, \"ESRI Shapefile\", GeoJSON";
  return driver;
}

std::vector<OGRLayer*> ChosenLayers(Job& j, GDALDataset& input) {
  if (!j.options.layer.empty()) {
    OGRLayer* layer = FindLayer(input, j.options.layer, j.refusal);
    return layer ? std::vector<OGRLayer*>{layer} : std::vector<OGRLayer*>{};
  }
  std::vector<OGRLayer*> layers;
  for (OGRLayer* layer : input.GetLayers()) layers.push_back(layer);
  return layers;
}

bool CheckLayerSystem(Job& j, OGRLayer& layer) {
  const OGRSpatialReference* srs = SystemOf(layer);
  if (srs == nullptr) return true;  // takes the job's input system
  std::optional<std::int32_t> code;
  const CrsRow* row = RowOf(*srs, code);
  if (row != nullptr && LayerFitsInput(j.job, *row)) return true;
  const char* name = srs->GetName();
  j.refusal = " *** Warstwa \"" + std::string(layer.GetName()) + "\" ma układ " +
              (code ? "EPSG:" + std::to_string(*code) + " " : std::string()) + "(" +
              (name ? name : "bez nazwy") + "), a --from to " + InputSide(j.job) +
              "; zbioru wynikowego nie utworzono";
  return false;
}

OGRLayer* CreateOutputLayer(Job& j, GDALDataset& output, OGRLayer& source, const Axes& axes) {
  OGRwkbGeometryType type = source.GetGeomType();
  if (axes.forceZ) type = OGR_GT_SetZ(type);
  const bool hasZ = OGR_GT_HasZ(type);
  std::unique_ptr<OGRSpatialReference> srs;
  if (const CrsRow* row = OutputRow(j.job, hasZ ? 3 : 2)) {
    srs = std::make_unique<OGRSpatialReference>();
    srs->importFromWkt(std::string(row->wkt).c_str());
    srs->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  }
  CPLStringList options;
  if (source.GetFIDColumn() && *source.GetFIDColumn() && EQUAL(output.GetDriverName(), "GPKG"))
    options.SetNameValue("FID", source.GetFIDColumn());
  // A Shapefile is written in ISO-8859-1 unless told otherwise: Polish texts would be lost.
  if (EQUAL(output.GetDriverName(), "ESRI Shapefile")) options.SetNameValue("ENCODING", "UTF-8");
  OGRLayer* layer = output.CreateLayer(source.GetName(), srs.get(), type, options.List());
  if (layer == nullptr) return nullptr;
  OGRFeatureDefn* definition = source.GetLayerDefn();
  for (int i = 0; i < definition->GetFieldCount(); ++i)
    if (layer->CreateField(definition->GetFieldDefn(i), TRUE) != OGRERR_NONE) return nullptr;
  return layer;
}

// The first vertex of feature k that failed, or the end of its vertices.
std::size_t FailedVertex(const Block& block, const std::vector<std::int32_t>& status,
                         std::size_t k) {
  for (std::size_t v = block.firstVertex[k]; v < block.firstVertex[k + 1]; ++v)
    if (status[v] != 0) return v;
  return block.firstVertex[k + 1];
}

// Transforms the block and writes its features; false when the job fails.
bool WriteBlock(Job& j, Block& block, const Axes& axes, OGRLayer& source, OGRLayer& target,
                const std::vector<int>& fieldMap) {
  const std::size_t n = block.a.size();
  std::array<std::vector<double>, 3> out;
  for (auto& v : out) v.assign(n, kNaN);
  std::vector<std::int32_t> status(n);
  const ResultArrays r{out[0], out[1], out[2], status, {}, {}};
  j.transform({block.a, block.b,
               axes.heightIn ? std::span<const double>(block.c) : std::span<const double>()},
              r, j.options.threads);
  for (std::size_t k = 0; k < block.features.size(); ++k) {
    OGRFeature& feature = *block.features[k];
    ++j.counters.PointCount;
    const std::size_t failed = FailedVertex(block, status, k);
    if (failed < block.firstVertex[k + 1]) {
      const std::string why = "obiekt FID " + std::to_string(feature.GetFID()) + " warstwy \"" +
                              source.GetName() +
                              "\": " + PointResultText(j.job, status[failed], block.b[failed]);
      if (!j.options.skipFailures) {
        j.refusal = " *** " + why +
                    "; zbioru wynikowego nie utworzono (--skip-failures pomija "
                    "takie obiekty)";
        return false;
      }
      ++j.counters.ErrorCount;
      if (!j.counters.SuppressPointMessages &&
          j.ui.AskPointQuestion("pominięto " + why + " - Czy wyłączyć ten komunikat? "))
        j.counters.SuppressPointMessages = true;
      continue;
    }
    OGRGeometry* geometry = feature.GetGeometryRef();
    Scatter(axes, geometry, r, block.firstVertex[k]);
    OGRFeature copy(target.GetLayerDefn());
    copy.SetFrom(&feature, fieldMap.data(), TRUE);
    copy.SetFID(feature.GetFID());
    if (geometry != nullptr) {
      geometry->assignSpatialReference(target.GetSpatialRef());
      copy.SetGeometryDirectly(feature.StealGeometry());
    }
    if (target.CreateFeature(&copy) != OGRERR_NONE) {
      j.refusal =
          " *** Nie można zapisać obiektu FID " + std::to_string(feature.GetFID()) + GdalError();
      return false;
    }
  }
  return true;
}

bool CopyLayer(Job& j, OGRLayer& source, GDALDataset& output) {
  if (!CheckLayerSystem(j, source)) return false;
  const Axes axes = AxesOf(j.job, OGR_GT_HasZ(source.GetGeomType()));
  if (j.job.ActiveModule != Module::kTrans && !axes.heightIn &&
      !(j.job.ActiveModule == Module::kQuasigeoid && j.job.InputSystem == 21)) {
    j.refusal = " *** Warstwa \"" + std::string(source.GetName()) +
                "\" nie ma współrzędnej Z, a zadanie przelicza wysokości";
    return false;
  }
  OGRLayer* target = CreateOutputLayer(j, output, source, axes);
  if (target == nullptr) {
    j.refusal = " *** Nie można utworzyć warstwy \"" + std::string(source.GetName()) +
                "\" w zbiorze wynikowym" + GdalError();
    return false;
  }
  std::vector<int> fieldMap(source.GetLayerDefn()->GetFieldCount());
  for (std::size_t i = 0; i < fieldMap.size(); ++i) fieldMap[i] = static_cast<int>(i);
  Block block;
  block.Clear();
  source.ResetReading();
  for (;;) {
    std::unique_ptr<OGRFeature> feature(source.GetNextFeature());
    const bool more = feature != nullptr;
    if (more) {
      Gather(axes, feature->GetGeometryRef(), block);
      block.features.push_back(std::move(feature));
      block.firstVertex.push_back(block.a.size());
      if (block.a.size() < kBlockVertices) continue;
    }
    if (!WriteBlock(j, block, axes, source, *target, fieldMap)) return false;
    block.Clear();
    if (j.ui.StopRequested()) return false;
    if (!more) return true;
  }
}

// Every file GDAL made in `folder` (of /vsimem) goes through the atomic
// writer beside the output, all created before any replaces its destination.
bool CommitFiles(Job& j, const std::string& folder) {
  const CPLStringList names(VSIReadDir(folder.c_str()));
  const std::filesystem::path destination = j.files.output.parent_path();
  std::vector<std::unique_ptr<AtomicFile>> files;
  for (int i = 0; i < names.size(); ++i) {
    const std::string name = names[i];
    if (name == "." || name == "..") continue;
    vsi_l_offset size = 0;
    GByte* bytes = VSIGetMemFileBuffer((folder + "/" + name).c_str(), &size, FALSE);
    auto file = std::make_unique<AtomicFile>();
    if (!file->Create(destination / name) ||
        !file->Write(std::string_view(reinterpret_cast<const char*>(bytes), size))) {
      j.refusal = " *** Nie można zapisać zbioru wynikowego " + (destination / name).string() +
                  " (" + SystemErrorText(file->SystemError()) + ")";
      return false;
    }
    files.push_back(std::move(file));
  }
  for (auto& file : files) {
    if (!file->Commit()) {
      j.refusal = " *** Błąd zapisu zbioru wynikowego " + j.files.output.string() + " (" +
                  SystemErrorText(file->SystemError()) + ")";
      return false;
    }
  }
  return true;
}

// A folder of /vsimem of its own, removed with the object.
class MemoryFolder {
 public:
  MemoryFolder() {
    static std::atomic<int> next{0};
    path_ = "/vsimem/kolvedir-" + std::to_string(::getpid()) + "-" + std::to_string(next++);
    VSIMkdir(path_.c_str(), 0755);
  }
  ~MemoryFolder() { VSIRmdirRecursive(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

JobOutcome Run(Job& j) {
  if (j.files.input.empty() || j.files.output.empty()) {
    j.refusal = " *** Warstwy GIS czyta się i zapisuje tylko w plikach, nie w strumieniach";
    return JobOutcome::kRefused;
  }
  const QuietGdal quiet;
  GDALDatasetUniquePtr input = OpenInput(j.files.input, j.refusal);
  if (!input) return JobOutcome::kRefused;
  const std::vector<OGRLayer*> layers = ChosenLayers(j, *input);
  if (layers.empty()) return JobOutcome::kRefused;
  GDALDriver* driver = OutputDriver(j);
  if (driver == nullptr) return JobOutcome::kRefused;
  const MemoryFolder memory;
  const std::string outputName = memory.path() + "/" + j.files.output.filename().string();
  GDALDatasetUniquePtr output(driver->Create(outputName.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
  if (!output) {
    j.refusal =
        " *** Nie można utworzyć zbioru wynikowego " + j.files.output.string() + GdalError();
    return JobOutcome::kFailed;
  }
  if (layers.size() > 1 && !output->TestCapability(ODsCCreateLayer)) {
    j.refusal = " *** Format wynikowy przyjmuje jedną warstwę; wskaż ją opcją --layer";
    return JobOutcome::kRefused;
  }
  const bool transaction = output->StartTransaction() == OGRERR_NONE;
  for (OGRLayer* layer : layers) {
    if (!CopyLayer(j, *layer, *output)) {
      if (j.ui.StopRequested()) return JobOutcome::kStopped;
      return JobOutcome::kRefused;
    }
  }
  CPLErrorReset();
  const bool committed = !transaction || output->CommitTransaction() == OGRERR_NONE;
  output.reset();  // closing writes the rest
  if (!committed || CPLGetLastErrorType() >= CE_Failure) {
    j.refusal = " *** Błąd zapisu zbioru wynikowego " + j.files.output.string() + GdalError();
    return JobOutcome::kFailed;
  }
  return CommitFiles(j, memory.path()) ? JobOutcome::kCompleted : JobOutcome::kFailed;
}

}  // namespace

const CrsRow* LayerSystem(const std::filesystem::path& input, const std::string& layer,
                          std::string& refusal) {
  const QuietGdal quiet;
  GDALDatasetUniquePtr dataset = OpenInput(input, refusal);
  if (!dataset) return nullptr;
  OGRLayer* found = FindLayer(*dataset, layer, refusal);
  if (found == nullptr) return nullptr;
  const OGRSpatialReference* srs = SystemOf(*found);
  std::optional<std::int32_t> code;
  const CrsRow* row = srs ? RowOf(*srs, code) : nullptr;
  if (row == nullptr) {
    const char* name = srs ? srs->GetName() : nullptr;
    refusal = "--from: warstwa \"" + std::string(found->GetName()) + "\" " +
              (srs ? "ma układ " + (code ? "EPSG:" + std::to_string(*code) + " " : std::string()) +
                         "(" + (name ? name : "bez nazwy") + "), który nie jest układem programu"
                   : std::string("nie ma układu współrzędnych")) +
              "; podaj --from";
  }
  return row;
}

JobOutcome RunGisLayerJob(const JobDescription& job, const ArrayTransform& transform,
                          const JobFiles& files, const GisLayerOptions& options,
                          JobCounters& counters, JobUserInterface& ui) {
  return RunArrayJob(job.ActiveModule, false, counters, ui, [&](std::string& refusal) {
    Job j{job, transform, files, options, counters, ui, refusal};
    return Run(j);
  });
}

}  // namespace kolvedir
