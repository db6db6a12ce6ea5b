// The TRANS 2D/3D record loop: every record of the input file is read,
// carried through its transformation chain and written, in input order.
#include <string>
#include <string_view>

#include "engine/job_context.h"
#include "engine/point_checks.h"
#include "engine/point_outcome.h"
#include "engine/point_record.h"
#include "engine/record_blocks.h"

namespace kolvedir {

namespace {

// A point inside the area whose record cannot be read or whose chain fails.
bool RecordUnreadable(const JobDescription& job, const TokenList& tokens,
                      const PointValues& values) {
  switch (job.InputKind) {
    case RecordKind::kGeodetic:
      return !GeodeticTokensReadable(tokens, job.BLInputFormat, HeightToken::kOptional);
    case RecordKind::kCartesian:
      // X, Y and Z are all needed: a missing Z would put the point on the equator's plane.
      return values.unreadableCoordinate || tokens[4].empty();
    default:
      return values.unreadableCoordinate;
  }
}

// The comment that replaces the record comment of an error point, and the
// question asked about it.
std::string ErrorText(const JobContext& context, const TransPointResult& result,
                      std::string_view name) {
  switch (result.error) {
    case PointError::kFailed: return FailedPointText(name);
    case PointError::kDistorted: return DistortedPointText(name);
    case PointError::kWrongZone:
      return WrongZoneText(name, result.zoneFound, context.job.InputZone, context.encoding);
    default: return {};
  }
}

void TransformRecord(const JobContext& context, const TokenList& tokens, RecordBlock& block) {
  const JobDescription& job = context.job;
  const std::string_view name = tokens[1];
  const PointValues values = ReadPointValues(tokens, job.InputKind, job.BLInputFormat);
  const TransPointResult result =
      ComputeTransPoint(job, values, !RecordUnreadable(job, tokens, values));
  ++block.points;
  if (job.InputKind == RecordKind::kGeodetic)
    block.CountGeodeticRecord(result.error == PointError::kOutOfArea &&
                              InsideAreaInOtherBlFormat(tokens, job.BLInputFormat));
  if (result.error == PointError::kNone) {
    WritePointRecord(block, name, result.output, job.OutputKind, job.BLOutputFormat,
                     job.SecondsDecimals, job.LinearDecimals, context.RecordComment);
    return;
  }
  ++block.errors;
  if (result.error == PointError::kOutOfArea) {
    // B, L as read, or as the inverse projection of a plane point gave them.
    std::string question = " Punkt poza obszarem dopuszczalnym, nr: ";
    question.append(name);
    block.Ask(question);
    WriteOutOfAreaRecord(block, name, result.B, result.L);
    return;
  }
  const std::string errorText = ErrorText(context, result, name);
  block.Ask(errorText);
  WritePointRecord(block, name, result.output, job.OutputKind, job.BLOutputFormat,
                   job.SecondsDecimals, job.LinearDecimals, errorText);
}

}  // namespace

void RunTransJob(JobContext& context) {
  RunRecordBlocks(context, [&context](const std::string& line, RecordBlock& block) {
    thread_local TokenList tokens;
    SplitLine(line, tokens);
    // Lines of fewer than three tokens are neither written nor counted.
    if (tokens.count() >= 3) TransformRecord(context, tokens, block);
  });
}

}  // namespace kolvedir
