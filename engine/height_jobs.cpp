// The record loops of TRANS-H (normal heights between PL-KRON86-NH,
// PL-KRON2006-NH and PL-EVRF2007-NH) and of the quasigeoid PL-geoid-2011
// (height anomaly, ellipsoidal ↔ normal heights).
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/job_context.h"
#include "engine/point_checks.h"
#include "engine/point_outcome.h"
#include "engine/point_record.h"
#include "engine/record_blocks.h"

namespace kolvedir {

namespace {

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
};

// ---- TRANS-H ----

std::string_view OutputDatumText(std::int32_t datum) {
  switch (datum) {
    case kHeightKron86: return " PL-KRON86-NH ";
    case kHeightKron2006: return " KRON2006 ";
    default: return " PL-EVRF2007-NH ";
  }
}

std::string_view InputDatumText(std::int32_t datum) {
  switch (datum) {
    case kHeightKron86: return " z PL-KRON86-NH ";
    case kHeightKron2006: return " z KRON2006 ";
    default: return " z PL-EVRF2007-NH ";
  }
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

void WriteHeightRecord(const JobDescription& job, RecordBlock& block, std::string_view name,
                       const DmsAngle& B, const DmsAngle& L, double height,
                       std::string_view comment) {
  std::string& line = block.output;
  AppendName(line, name);
  if (job.BLOutputFormat == BlFormat::kDegreesMinutesSeconds) {
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
  line += "\r\n";
}

void WriteOutOfAreaPoint(RecordBlock& block, const HeightJob& module, std::string_view name) {
  std::string question = " punkt poza obszarem dopuszczalnym, nr: ";
  question.append(name);
  block.Ask(question);
  AppendName(block.output, name);
  block.output.append(module.outOfAreaText);
  block.output += "\r\n";
}

void HeightRecord(const JobContext& context, const HeightJob& module, const TokenList& tokens,
                  RecordBlock& block) {
  const JobDescription& job = context.job;
  const std::string_view name = tokens[1];
  const PointValues values = ReadPointValues(tokens, RecordKind::kGeodetic, job.BLInputFormat);
  const HeightPointResult result = ComputeHeightPoint(
      job, values, GeodeticTokensReadable(tokens, job.BLInputFormat, module.height));
  ++block.points;
  block.CountGeodeticRecord(
      result.error == PointError::kOutOfArea && InsideAreaInOtherBlFormat(tokens, job.BLInputFormat),
      HasOtherBlFormatShape(tokens, job.BLInputFormat));
  if (result.error == PointError::kOutOfArea) {
    WriteOutOfAreaPoint(block, module, name);
    ++block.errors;
    return;
  }
  std::string errorText;
  if (result.error != PointError::kNone) {
    errorText = FailedPointText(name, module.failedEnding);
    block.Ask(errorText);
    ++block.errors;
  }
  DmsAngle B, L;
  AnglesAsRead(job, values, B, L);
  WriteHeightRecord(job, block, name, B, L, result.height,
                    errorText.empty() ? std::string_view(module.comment) : errorText);
}

void RunHeightLoop(JobContext& context, const HeightJob& module) {
  RunRecordBlocks(context,
                  [&context, &module](std::span<const std::string> lines, RecordBlock& block) {
                    thread_local TokenList tokens;
                    for (const std::string& line : lines) {
                      SplitLine(line, tokens);
                      // Lines of fewer than three tokens are neither written nor counted.
                      if (tokens.count() >= 3) HeightRecord(context, module, tokens, block);
                    }
                  });
}

}  // namespace

void RunHeightJob(JobContext& context) {
  const JobDescription& job = context.job;
  std::string comment(OutputDatumText(job.OutputSystem));
  comment.append(InputDatumText(job.InputSystem));
  RunHeightLoop(context, {std::move(comment), " ! punkt poza obszarem dopuszczalnym", " ",
                          HeightToken::kRequired});
}

void RunQuasigeoidJob(JobContext& context) {
  const JobDescription& job = context.job;
  const HeightToken height =
      job.InputSystem == kTaskAnomaly ? HeightToken::kOptional : HeightToken::kRequired;
  RunHeightLoop(context,
                {std::string(QuasigeoidComment(job.InputSystem,
                                               job.InputFrame == Frame::kQuasigeoidEtrf2000)),
                 " ! punkt poza dopuszczalnym obszarem", "", height});
}

}  // namespace kolvedir
