// The library's transformer: a job description built from system names,
// validated as a job validates it, and the job's per-point computation applied
// to arrays of points.
#include "kolvedir/transformer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#include "core/point_groups.h"
#include "engine/job.h"
#include "engine/job_description.h"
#include "engine/point_outcome.h"
#include "engine/point_record.h"
#include "engine/system_files.h"
#include "grid/correction_grid.h"

namespace kolvedir {

namespace {

constexpr double kSecondsPerDegree = 3600.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Fewer points than this per thread are not worth a thread.
constexpr std::size_t kPointsPerThread = 16384;

// ---- Names to a JobDescription ----

const SystemFile* FindInput(std::string_view name) {
  for (const SystemFile& f : SystemFiles()) {
    if (f.input == name) return &f;
  }
  return nullptr;
}

// By the output name, with or without ".1".
const SystemFile* FindOutput(std::string_view name) {
  for (const SystemFile& f : SystemFiles()) {
    if (f.output == name || f.output.substr(0, f.output.size() - 2) == name) return &f;
  }
  return nullptr;
}

// A TRANS 2D/3D frame by name. A known system takes only the frames of its
// group, PULKOWO implied for the Pulkovo'42 systems; a frame that does not fit
// counts as not chosen.
Frame TransFrame(const SystemFile* file, std::string_view name) {
  if (file != nullptr && file->krassowsky)
    return name.empty() || name == "PULKOWO" ? Frame::kPulkovo : Frame::kNone;
  if (name == "PL-ETRF2000") return Frame::kEtrf2000;
  if (name == "PL-ETRF89") return Frame::kEtrf89;
  return file == nullptr && name == "PULKOWO" ? Frame::kPulkovo : Frame::kNone;
}

Frame QuasigeoidFrame(std::string_view name) {
  if (name == "PL-ETRF2000") return Frame::kQuasigeoidEtrf2000;
  if (name == "PL-ETRF89") return Frame::kQuasigeoidEtrf89;
  return Frame::kNone;
}

// Unknown names and systems of another module leave their codes at 0 (not
// chosen), so that the job's own checks refuse them with the job's messages.
JobDescription Describe(const TransformerDescription& d) {
  const SystemFile* in = FindInput(d.source);
  const SystemFile* out = FindOutput(d.target);
  JobDescription job;
  job.ActiveModule = in != nullptr ? in->module : out != nullptr ? out->module : Module::kTrans;
  if (out != nullptr && out->module != job.ActiveModule) out = nullptr;
  job.InputSystem = in != nullptr ? in->code : 0;
  job.OutputSystem = out != nullptr ? out->code : 0;
  job.InputKind = in != nullptr ? in->kind : RecordKind::kNone;
  job.OutputKind = out != nullptr ? out->kind : job.InputKind;
  job.BLInputFormat = job.BLOutputFormat = BlFormat::kDecimalDegrees;
  switch (job.ActiveModule) {
    case Module::kTrans:
      job.InputFrame = TransFrame(in, d.source_frame);
      job.OutputFrame = TransFrame(out, d.target_frame);
      job.InputZone = d.source_zone;
      job.OutputZone = d.target_zone;
      job.Method = d.method == "theoretical" ? ComputationMethod::kTheoretical
                                             : ComputationMethod::kEmpirical;
      break;
    case Module::kQuasigeoid:
      job.InputFrame = QuasigeoidFrame(d.source_frame);
      // The task fixes the output: an empty target means it, another task's does not.
      job.OutputSystem = d.target.empty() || out == in ? job.InputSystem : 0;
      job.OutputKind = job.InputKind;
      break;
    default:
      break;
  }
  return job;
}

std::optional<std::string> MethodRefusal(std::string_view method) {
  if (method == "empirical" || method == "theoretical") return std::nullopt;
  return "Nieznana metoda obliczeń: \"" + std::string(method) + "\" (empirical lub theoretical)";
}

// ---- The grid, read once per process ----

// The store holds one grid for the whole process. The first transformer reads
// it; later ones naming the same file share it; a different file may replace
// it only when no transformer is alive.
class SharedGrid {
 public:
  static void Acquire(const std::filesystem::path& file) {
    std::error_code ignored;
    const std::filesystem::path path = std::filesystem::weakly_canonical(file, ignored);
    const std::lock_guard lock(mutex_);
    if (loaded_ && path == path_) {
      ++users_;
      return;
    }
    if (users_ > 0) {
      // A missing file is named as such, whatever grid is in use.
      if (!std::filesystem::exists(path, ignored))
        throw TransformerError(GridLoadMessage(GridLoadResult::kMissing, file));
      throw TransformerError(" *** Siatka interpolacyjna jest już wczytana z innego pliku: " +
                             path_.string());
    }
    const GridLoadResult result = LoadCorrectionGrid(path);
    if (result != GridLoadResult::kLoaded)
      throw TransformerError(GridLoadMessage(result, file));
    loaded_ = true;
    path_ = path;
    ++users_;
  }
  static void Release() {
    const std::lock_guard lock(mutex_);
    --users_;
  }

 private:
  static inline std::mutex mutex_;
  static inline std::filesystem::path path_;
  static inline bool loaded_ = false;
  static inline int users_ = 0;
};

// ---- One point ----

CoordinateKind KindOf(RecordKind kind) { return static_cast<CoordinateKind>(kind); }

// The height anomaly task reads no height.
bool ReadsHeight(const JobDescription& job) {
  return !(job.ActiveModule == Module::kQuasigeoid && job.InputSystem == kTaskAnomaly);
}

// Cartesian input, TRANS-H and the quasigeoid's height conversions cannot do
// without c; geodetic TRANS 2D/3D input takes h = 0.
bool NeedsHeight(const JobDescription& job) {
  if (job.ActiveModule == Module::kTrans) return job.InputKind == RecordKind::kCartesian;
  return ReadsHeight(job);
}

}  // namespace

struct Transformer::Impl {
  JobDescription job;
  bool needsHeight = false;

  // Made only once the grid is acquired.
  ~Impl() { SharedGrid::Release(); }

  // Points begin..end − 1 of in into out.
  void TransformRange(const PointArrays& in, const ResultArrays& out, std::size_t begin,
                      std::size_t end) const;
};

namespace {

// The values of point i as a record of the input system would give them;
// false when one that the system needs is not a finite number.
bool ReadPoint(const JobDescription& job, const PointArrays& in, std::size_t i,
               PointValues& values) {
  const double a = in.a[i], b = in.b[i];
  const double c = in.c.empty() ? 0.0 : in.c[i];
  bool finite = std::isfinite(a) && std::isfinite(b);
  switch (job.InputKind) {
    case RecordKind::kPlane:
      values.x = a;
      values.y = b;
      break;
    case RecordKind::kCartesian:
      values.X = a;
      values.Y = b;
      values.Z = c;
      finite = finite && std::isfinite(c);
      break;
    default:
      values.B = a;
      values.L = b;
      values.h = c;
      finite = finite && (!ReadsHeight(job) || std::isfinite(c));
      break;
  }
  return finite;
}

PointResult ResultOf(PointError error) {
  switch (error) {
    case PointError::kNone: return PointResult::kGood;
    case PointError::kOutOfArea: return PointResult::kOutOfArea;
    case PointError::kFailed: return PointResult::kFailed;
    case PointError::kDistorted: return PointResult::kDistorted;
    case PointError::kWrongZone: return PointResult::kWrongZone;
  }
  return PointResult::kFailed;
}

void WriteNaN(const ResultArrays& out, std::size_t i) {
  out.a[i] = out.b[i] = out.c[i] = kNaN;
  if (!out.distortion.empty()) out.distortion[i] = kNaN;
  if (!out.convergence.empty()) out.convergence[i] = kNaN;
}

void WriteTransOutput(const JobDescription& job, const OutputValues& output,
                      const ResultArrays& out, std::size_t i) {
  switch (job.OutputKind) {
    case RecordKind::kPlane:
      out.a[i] = output.x;
      out.b[i] = output.y;
      out.c[i] = output.h;
      if (!out.distortion.empty()) out.distortion[i] = output.distortion;
      if (!out.convergence.empty()) out.convergence[i] = output.convergence;
      break;
    case RecordKind::kCartesian:
      out.a[i] = output.X;
      out.b[i] = output.Y;
      out.c[i] = output.Z;
      break;
    default:
      out.a[i] = output.BArcSeconds / kSecondsPerDegree;
      out.b[i] = output.LArcSeconds / kSecondsPerDegree;
      out.c[i] = output.h;
      break;
  }
}

void WriteTransPoint(const JobDescription& job, const TransPointResult& result,
                     const ResultArrays& out, std::size_t i) {
  out.status[i] = static_cast<std::int32_t>(ResultOf(result.error));
  if (result.error != PointError::kNone) return WriteNaN(out, i);
  WriteTransOutput(job, result.output, out, i);
}

void WriteHeightPoint(const PointValues& values, const HeightPointResult& result,
                      const ResultArrays& out, std::size_t i) {
  out.status[i] = static_cast<std::int32_t>(ResultOf(result.error));
  if (result.error != PointError::kNone) return WriteNaN(out, i);
  out.a[i] = values.B;
  out.b[i] = values.L;
  out.c[i] = result.height;
}

}  // namespace

void Transformer::Impl::TransformRange(const PointArrays& in, const ResultArrays& out,
                                       std::size_t begin, std::size_t end) const {
  ForEachGroup(end - begin, [&](std::size_t first, std::size_t n) {
    const std::size_t start = begin + first;
    PointValues values[kPointsAtOnce];
    bool readable[kPointsAtOnce];
    for (std::size_t k = 0; k < n; ++k) readable[k] = ReadPoint(job, in, start + k, values[k]);
    if (job.ActiveModule == Module::kTrans) {
      TransPointResult results[kPointsAtOnce];
      ComputeTransPoints(job, {values, n}, {readable, n}, {results, n});
      for (std::size_t k = 0; k < n; ++k) WriteTransPoint(job, results[k], out, start + k);
    } else {
      for (std::size_t k = 0; k < n; ++k)
        WriteHeightPoint(values[k], ComputeHeightPoint(job, values[k], readable[k]), out,
                         start + k);
    }
  });
}

Transformer::Transformer(const TransformerDescription& description) {
  const JobDescription job = Describe(description);
  if (auto refusal = JobRefusal(job)) throw TransformerError(*refusal);
  if (auto refusal = MethodRefusal(description.method)) throw TransformerError(*refusal);
  SharedGrid::Acquire(description.grid);
  impl_.reset(new Impl{job, NeedsHeight(job)});
}

Transformer::~Transformer() = default;
Transformer::Transformer(Transformer&&) noexcept = default;
Transformer& Transformer::operator=(Transformer&&) noexcept = default;

CoordinateKind Transformer::SourceKind() const { return KindOf(impl_->job.InputKind); }
CoordinateKind Transformer::TargetKind() const { return KindOf(impl_->job.OutputKind); }

void Transformer::Transform(const PointArrays& in, const ResultArrays& out, int threads) const {
  const std::size_t n = in.a.size();
  const auto fits = [n](std::size_t size) { return size == n; };
  const auto fitsOrEmpty = [n](std::size_t size) { return size == n || size == 0; };
  if (!fits(in.b.size()) || !fitsOrEmpty(in.c.size()) || !fits(out.a.size()) ||
      !fits(out.b.size()) || !fits(out.c.size()) || !fits(out.status.size()) ||
      !fitsOrEmpty(out.distortion.size()) || !fitsOrEmpty(out.convergence.size()))
    throw std::invalid_argument("kolvedir::Transformer::Transform: arrays of different lengths");
  if (impl_->needsHeight && in.c.empty() && n > 0)
    throw std::invalid_argument("kolvedir::Transformer::Transform: this transformation needs c");

  const auto parts = std::clamp<std::size_t>(n / kPointsPerThread, 1,
                                             static_cast<std::size_t>(std::max(threads, 1)));
  const auto range = [&](std::size_t part) {
    impl_->TransformRange(in, out, n * part / parts, n * (part + 1) / parts);
  };
  std::vector<std::jthread> workers;
  for (std::size_t part = 1; part < parts; ++part) workers.emplace_back(range, part);
  range(0);
}

}  // namespace kolvedir
