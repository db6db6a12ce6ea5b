// The TRANS 2D/3D record loop: every record of the input file is read,
// carried through its transformation chain and written, in input order.
#include <span>
#include <string>
#include <string_view>

#include "core/point_groups.h"
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

// A geodetic record outside the area in the chosen BL format but inside it in
// the other.
bool InsideInOtherBlFormat(const JobDescription& job, std::string_view line) {
  thread_local TokenList tokens;
  SplitLine(line, tokens);
  return InsideAreaInOtherBlFormat(tokens, job.BLInputFormat);
}

// Writes the record of one point, asking about it when it is an error point.
// line: its input line; name: the line's point name; otherBlShape: a geodetic
// record in the shape of the other BL format.
void WriteTransRecord(const JobContext& context, std::string_view line, std::string_view name,
                      const TransPointResult& result, bool otherBlShape, RecordBlock& block) {
  const JobDescription& job = context.job;
  ++block.points;
  if (job.InputKind == RecordKind::kGeodetic)
    block.CountGeodeticRecord(
        result.error == PointError::kOutOfArea && InsideInOtherBlFormat(job, line), otherBlShape);
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

// The points of up to kPointsAtOnce lines: read, computed together, written
// in input order. Lines of fewer than three tokens are neither written nor
// counted.
void TransformRecords(const JobContext& context, std::span<const std::string> lines,
                      RecordBlock& block) {
  const JobDescription& job = context.job;
  thread_local TokenList tokens;
  PointValues values[kPointsAtOnce];
  bool readable[kPointsAtOnce], otherBlShape[kPointsAtOnce];
  std::string_view records[kPointsAtOnce], names[kPointsAtOnce];
  std::size_t n = 0;
  for (const std::string& line : lines) {
    SplitLine(line, tokens);
    if (tokens.count() < 3) continue;
    values[n] = ReadPointValues(tokens, job.InputKind, job.BLInputFormat);
    readable[n] = !RecordUnreadable(job, tokens, values[n]);
    otherBlShape[n] = job.InputKind == RecordKind::kGeodetic &&
                      HasOtherBlFormatShape(tokens, job.BLInputFormat);
    records[n] = line;
    names[n++] = tokens[1];
  }
  TransPointResult results[kPointsAtOnce];
  ComputeTransPoints(job, {values, n}, {readable, n}, {results, n});
  for (std::size_t k = 0; k < n; ++k)
    WriteTransRecord(context, records[k], names[k], results[k], otherBlShape[k], block);
}

}  // namespace

void RunTransJob(JobContext& context) {
  RunRecordBlocks(context, [&context](std::span<const std::string> lines, RecordBlock& block) {
    ForEachGroup(lines.size(), [&](std::size_t start, std::size_t n) {
      TransformRecords(context, lines.subspan(start, n), block);
    });
  });
}

}  // namespace kolvedir
