// The library's transformer: a job description built from system names as
// the runner builds it, validated as a job validates it, and the job's
// per-point computation applied to arrays of points.
#include "kolvedir/transformer.h"

#include <algorithm>
#include <charconv>
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
#include "engine/program_places.h"
#include "engine/system_names.h"
#include "grid/correction_grid.h"
#include "grid/model_grid.h"

namespace kolvedir {

namespace {

constexpr double kSecondsPerDegree = 3600.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Fewer points than this per thread are not worth a thread.
constexpr std::size_t kPointsPerThread = 16384;

// The names of a description as kolvedir-batch reads them.
JobNames NamesOf(const TransformerDescription& d) {
  return {d.source, d.source_zone.Text(), d.source_frame, d.target, d.target_zone.Text(),
          d.target_frame, d.method};
}

// ---- The grid, read once per process ----

// The store holds one grid for the whole process. The first transformer reads
// it; later ones naming the same file share it; a different file may replace
// it only when no transformer is alive.
class SharedGrid {
 public:
  // Whether the grid is the model grid, told once per grid read.
  static bool Acquire(const std::filesystem::path& file) {
    std::error_code ignored;
    const std::filesystem::path path = std::filesystem::weakly_canonical(file, ignored);
    const std::lock_guard lock(mutex_);
    if (loaded_ && path == path_) {
      ++users_;
      return model_;
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
    model_ = IsModelGrid(path);
    ++users_;
    return model_;
  }
  static void Release() {
    const std::lock_guard lock(mutex_);
    --users_;
  }

 private:
  static inline std::mutex mutex_;
  static inline std::filesystem::path path_;
  static inline bool loaded_ = false;
  static inline bool model_ = false;
  static inline int users_ = 0;
};

// ---- One point ----

CoordinateKind KindOf(RecordKind kind) { return static_cast<CoordinateKind>(kind); }

// The threads a Transform call is given, as kolvedir-batch reads --threads.
std::size_t ThreadsToUse(int threads) {
  char digits[12];
  const ThreadCount count =
      ReadThreadCount({digits, std::to_chars(digits, digits + sizeof digits, threads).ptr});
  if (!count.refusal.empty()) throw TransformerError(count.refusal);
  if (count.threads == 0) return std::max(1u, std::thread::hardware_concurrency());
  return static_cast<std::size_t>(count.threads);
}

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

std::string DefaultGridFile() { return GridInUse(PlacesOfThisPart()).string(); }

// Hidden: the shared library exports the public interface only.
struct [[gnu::visibility("hidden")]] Transformer::Impl {
  JobDescription job;
  bool needsHeight = false;
  bool modelGrid = false;

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

// The library's point statuses are numbered as the engine's point errors.
static_assert(static_cast<int>(PointError::kOutOfArea) == static_cast<int>(PointResult::kOutOfArea) &&
              static_cast<int>(PointError::kFailed) == static_cast<int>(PointResult::kFailed) &&
              static_cast<int>(PointError::kDistorted) == static_cast<int>(PointResult::kDistorted) &&
              static_cast<int>(PointError::kWrongZone) == static_cast<int>(PointResult::kWrongZone));

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
  const NamedJob named = DescribeJob(NamesOf(description));
  if (!named.refusal.empty()) throw TransformerError(named.refusal);
  if (auto refusal = JobRefusal(named.job)) throw TransformerError(*refusal);
  const bool modelGrid =
      SharedGrid::Acquire(description.grid.empty() ? DefaultGridFile() : description.grid);
  impl_.reset(new Impl{named.job, NeedsHeight(named.job), modelGrid});
}

Transformer::~Transformer() = default;
Transformer::Transformer(Transformer&&) noexcept = default;
Transformer& Transformer::operator=(Transformer&&) noexcept = default;

CoordinateKind Transformer::SourceKind() const { return KindOf(impl_->job.InputKind); }
CoordinateKind Transformer::TargetKind() const { return KindOf(impl_->job.OutputKind); }
bool Transformer::UsesModelGrid() const { return impl_->modelGrid; }
std::string_view Transformer::ModelGridNotice() { return kolvedir::ModelGridNotice(); }
std::string Transformer::PointMessage(std::int32_t status, double inputEasting) const {
  return PointResultText(impl_->job, status, inputEasting);
}

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

  const auto parts = std::clamp<std::size_t>(n / kPointsPerThread, 1, ThreadsToUse(threads));
  const auto range = [&](std::size_t part) {
    impl_->TransformRange(in, out, n * part / parts, n * (part + 1) / parts);
  };
  std::vector<std::jthread> workers;
  for (std::size_t part = 1; part < parts; ++part) workers.emplace_back(range, part);
  range(0);
}

}  // namespace kolvedir
