// The record loops of TRANS-H (normal heights between PL-KRON86-NH,
// PL-KRON2006-NH and PL-EVRF2007-NH) and of the quasigeoid PL-geoid-2011
// (height anomaly, ellipsoidal ↔ normal heights).
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/job_context.h"
#include "engine/point_checks.h"
#include "engine/point_record.h"
#include "grid/height_models.h"

namespace kolvedir {

namespace {

// Height datums of TRANS-H (InputSystem, OutputSystem).
constexpr std::int32_t kKron86 = 11;
constexpr std::int32_t kKron2006 = 12;
constexpr std::int32_t kEvrf2007 = 13;
// Quasigeoid tasks (InputSystem) and frames of the ellipsoidal heights (InputFrame).
constexpr std::int32_t kTaskAnomaly = 21;    // BL → BLn.1
constexpr std::int32_t kTaskToNormal = 22;   // BLH_e → BLH_n.1

// Both jobs write fixed decimals: seconds 9.5, degrees 14.9, heights 10.4.
constexpr int kSecondsDecimals = 5;
constexpr int kDegreesDecimals = 9;
constexpr int kDegreesWidth = 14;
constexpr int kHeightDecimals = 4;
constexpr int kHeightWidth = 10;

// What distinguishes the two loops.
struct HeightJob {
  std::string comment;               // of every good record
  std::string_view outOfAreaText;    // after the name of an out-of-area record
  std::string_view failedEnding;     // end of the error text of a failed point
  HeightToken height;                // does the job read an input height?
  // Output height of an admissible point, m; raises status on failure.
  double (*compute)(const JobDescription& job, const PointValues& values, PointStatus& status);
};

// ---- TRANS-H ----

std::string_view OutputDatumText(std::int32_t datum) {
  switch (datum) {
    case kKron86: return " PL-KRON86-NH ";
    case kKron2006: return " KRON2006 ";
    default: return " PL-EVRF2007-NH ";
  }
}

std::string_view InputDatumText(std::int32_t datum) {
  switch (datum) {
    case kKron86: return " z PL-KRON86-NH ";
    case kKron2006: return " z KRON2006 ";
    default: return " z PL-EVRF2007-NH ";
  }
}

// Normal height H (m) from datum `from` to datum `to`, through PL-KRON2006-NH,
// every step read at the same B, L (degrees). Equal datums copy H and read no grid.
double ChangeHeightDatum(std::int32_t from, std::int32_t to, double B, double L, double H,
                         PointStatus& status) {
  if (from == to) return H;
  double kron2006 = H;
  if (from == kKron86) kron2006 = Kron86ToKron2006(B, L, H, status);
  if (from == kEvrf2007) kron2006 = Evrf2007ToKron2006(B, L, H, status);
  if (to == kKron86) return Kron2006ToKron86(B, L, kron2006, status);
  if (to == kEvrf2007) return Kron2006ToEvrf2007(B, L, kron2006, status);
  return kron2006;
}

double ComputeNormalHeight(const JobDescription& job, const PointValues& values,
                           PointStatus& status) {
  return ChangeHeightDatum(job.InputSystem, job.OutputSystem, values.B, values.L, values.h,
                           status);
}

// ---- Quasigeoid ----

std::string_view QuasigeoidComment(std::int32_t task, bool etrf2000) {
  switch (task) {
    case kTaskAnomaly:
      return etrf2000 ? "  Hel_ETRF2000 - Hn_KRON86 " : "  Hel_ETRF89 - Hn_KRON86 ";
    case kTaskToNormal:
      return etrf2000 ? "  PL_KRON86-NH z Hel_ETRF2000 " : "  PL_KRON86-NH z Hel_ETRF89 ";
    default:
      return etrf2000 ? "  Hel(PL_ETRF2000)" : "  Hel(PL-ETRF89) ";
  }
}

double ComputeQuasigeoidHeight(const JobDescription& job, const PointValues& values,
                               PointStatus& status) {
  const double anomaly = job.InputFrame == Frame::kQuasigeoidEtrf2000
                             ? QuasigeoidAnomaly(values.B, values.L, status)
                             : QuasigeoidAnomalyEtrf89(values.B, values.L, status);
  switch (job.InputSystem) {
    case kTaskAnomaly: return anomaly;
    case kTaskToNormal: return values.h - anomaly;  // normal = ellipsoidal − ζ
    default: return values.h + anomaly;             // ellipsoidal = normal + ζ
  }
}

// ---- The common record loop ----

// Degrees, minutes and seconds of a point as read: the parts of a
// degrees-minutes-seconds record unchanged, those of decimal degrees derived.
void AnglesAsRead(const JobDescription& job, const PointValues& values, DmsAngle& B,
                  DmsAngle& L) {
  if (job.BLInputFormat == BlFormat::kDegreesMinutesSeconds) {
    B = values.BParts;
    L = values.LParts;
  } else {
    B = SplitArcSeconds(3600.0 * values.B);
    L = SplitArcSeconds(3600.0 * values.L);
  }
}

double PartsToDegrees(const DmsAngle& angle) {
  return (3600.0 * angle.degrees + 60.0 * angle.minutes + angle.seconds) / 3600.0;
}

void WriteHeightRecord(JobContext& context, std::string_view name, const DmsAngle& B,
                       const DmsAngle& L, double height, std::string_view comment) {
  std::string line;
  AppendName(line, name);
  if (context.job.BLOutputFormat == BlFormat::kDegreesMinutesSeconds) {
    AppendDmsFields(line, B, L, height, kSecondsDecimals, kHeightDecimals);
  } else {
    line += ' ';
    AppendRealField(line, PartsToDegrees(B), kDegreesWidth, kDegreesDecimals);
    line += ' ';
    AppendRealField(line, PartsToDegrees(L), kDegreesWidth, kDegreesDecimals);
    line += ' ';
    AppendRealField(line, height, kHeightWidth, kHeightDecimals);
  }
  line.append(comment);
  context.output.WriteLine(line);
}

void WriteOutOfAreaPoint(JobContext& context, const HeightJob& module, std::string_view name) {
  std::string question = " punkt poza obszarem dopuszczalnym, nr: ";
  question.append(name);
  AskAboutPoint(context, question);
  std::string line;
  AppendName(line, name);
  line.append(module.outOfAreaText);
  context.output.WriteLine(line);
}

void HeightRecord(JobContext& context, const HeightJob& module, const TokenList& tokens) {
  const JobDescription& job = context.job;
  const std::string_view name = tokens[1];
  const PointValues values = ReadPointValues(tokens, RecordKind::kGeodetic, job.BLInputFormat);
  ++context.counters.PointCount;
  if (!InsideAdmissibleArea(values.B, values.L)) {
    WriteOutOfAreaPoint(context, module, name);
    ++context.counters.ErrorCount;
    return;
  }
  PointStatus status = 0;
  const bool readable = GeodeticTokensReadable(tokens, job.BLInputFormat, module.height);
  double height = readable ? module.compute(job, values, status) : 0.0;
  std::string errorText;
  if (!readable || status != 0) {
    errorText = FailedPointText(name, module.failedEnding);
    AskAboutPoint(context, errorText);
    ++context.counters.ErrorCount;
    height = 0.0;
  }
  DmsAngle B, L;
  AnglesAsRead(job, values, B, L);
  WriteHeightRecord(context, name, B, L, height,
                    errorText.empty() ? std::string_view(module.comment) : errorText);
}

void RunHeightLoop(JobContext& context, const HeightJob& module) {
  std::string line;
  TokenList tokens;
  while (context.NextRecordLine(line)) {
    SplitLine(line, tokens);
    // Lines of fewer than three tokens are neither written nor counted.
    if (tokens.count() >= 3) HeightRecord(context, module, tokens);
  }
}

}  // namespace

void RunHeightJob(JobContext& context) {
  const JobDescription& job = context.job;
  std::string comment(OutputDatumText(job.OutputSystem));
  comment.append(InputDatumText(job.InputSystem));
  RunHeightLoop(context, {std::move(comment), " ! punkt poza obszarem dopuszczalnym", " ",
                          HeightToken::kRequired, ComputeNormalHeight});
}

void RunQuasigeoidJob(JobContext& context) {
  const JobDescription& job = context.job;
  const HeightToken height =
      job.InputSystem == kTaskAnomaly ? HeightToken::kIgnored : HeightToken::kRequired;
  RunHeightLoop(context,
                {std::string(QuasigeoidComment(job.InputSystem,
                                               job.InputFrame == Frame::kQuasigeoidEtrf2000)),
                 " ! punkt poza dopuszczalnym obszarem", "", height, ComputeQuasigeoidHeight});
}

}  // namespace kolvedir
