// The TRANS 2D/3D record loop: every record of the input file is read,
// carried through its transformation chain and written, in input order.
#include <string>
#include <string_view>

#include "engine/job_context.h"
#include "engine/point_checks.h"
#include "engine/point_record.h"
#include "engine/trans_chain.h"

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

// Case A: geodetic input outside the admissible area; no transformation.
void WriteOutOfAreaPoint(JobContext& context, std::string_view name, const PointValues& values) {
  std::string question = " Punkt poza obszarem dopuszczalnym, nr: ";
  question.append(name);
  AskAboutPoint(context, question);
  WriteOutOfAreaRecord(context.output, name, values.B, values.L);
  ++context.counters.ErrorCount;
}

void TransformRecord(JobContext& context, const TokenList& tokens) {
  const JobDescription& job = context.job;
  const std::string_view name = tokens[1];
  const PointValues values = ReadPointValues(tokens, job.InputKind, job.BLInputFormat);
  if (job.InputKind == RecordKind::kGeodetic && !InsideAdmissibleArea(values.B, values.L)) {
    WriteOutOfAreaPoint(context, name, values);
    ++context.counters.PointCount;
    return;
  }
  OutputValues output;
  PointStatus status = 0;
  const bool unreadable = RecordUnreadable(job, tokens, values);
  if (!unreadable) TransformPoint(job, values, output, status);

  std::string errorText;  // replaces the record comment of a failed point
  if (unreadable || status != 0) {
    // Case B: every output value is written as 0.
    errorText = FailedPointText(name);
    output = OutputValues{};
    ++context.counters.ErrorCount;
  } else if (job.OutputKind == RecordKind::kPlane &&
             ExcessivePlaneDistortion(output.distortion, output.convergence)) {
    // Case C: the plane point lies too far from its zone.
    errorText = DistortedPointText(name);
    output.x = output.y = output.distortion = output.convergence = 0.0;
    ++context.counters.ErrorCount;
  }
  if (!errorText.empty()) AskAboutPoint(context, errorText);
  WritePointRecord(context.output, name, output, job.OutputKind, job.BLOutputFormat,
                   job.SecondsDecimals, job.LinearDecimals,
                   errorText.empty() ? std::string_view(context.RecordComment) : errorText);
  ++context.counters.PointCount;
}

}  // namespace

void RunTransJob(JobContext& context) {
  std::string line;
  TokenList tokens;
  while (context.NextRecordLine(line)) {
    SplitLine(line, tokens);
    // Lines of fewer than three tokens are neither written nor counted.
    if (tokens.count() >= 3) TransformRecord(context, tokens);
  }
}

}  // namespace kolvedir
