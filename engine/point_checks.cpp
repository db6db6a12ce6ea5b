#include "engine/point_checks.h"

#include "engine/text_encoding.h"

namespace kolvedir {

namespace {

// Tokens of a geodetic record: degrees-minutes-seconds d m s d m s h, decimal B L h.
constexpr int kDmsHeightToken = 8;
constexpr int kDecimalHeightToken = 4;

bool IsInteger(std::string_view token) {
  std::int32_t value = 0;
  return ParseInteger(token, value);
}

bool IsReal(std::string_view token) {
  double value = 0.0;
  return ParseReal(token, value);
}

// A number of minutes or seconds of arc, from 0 to below 60; minutes whole.
bool IsSexagesimalPart(std::string_view token, bool whole) {
  std::int32_t minutes = 0;
  double seconds = 0.0;
  if (whole) return ParseInteger(token, minutes) && minutes >= 0 && minutes < 60;
  return ParseReal(token, seconds) && seconds >= 0.0 && seconds < 60.0;
}

// Degrees, minutes and seconds of B (first = 2) or L (first = 5).
bool IsDmsAngle(const TokenList& tokens, int first) {
  return IsInteger(tokens[first]) && IsSexagesimalPart(tokens[first + 1], true) &&
         IsSexagesimalPart(tokens[first + 2], false);
}

bool IsFractional(std::string_view token) { return IsReal(token) && !IsInteger(token); }

std::string PointDefectText(std::string_view lead, std::string_view name,
                            std::string_view ending) {
  std::string text(lead);
  text.append(name);
  text.append(" poza obszarem dopuszczalnym lub inny defekt danych");
  text.append(ending);
  return text;
}

}  // namespace

bool InsideAdmissibleArea(double B, double L) {
  return B >= 49.0 && B <= 55.0 && L >= 14.0 && L <= 24.2;
}

bool GeodeticTokensReadable(const TokenList& tokens, BlFormat blFormat, HeightToken height) {
  const bool dms = blFormat == BlFormat::kDegreesMinutesSeconds;
  const int heightToken = dms ? kDmsHeightToken : kDecimalHeightToken;
  for (int i = 2; i < heightToken && i <= tokens.count(); ++i) {
    // Degrees and minutes (tokens 2, 3, 5, 6) of the degrees-minutes-seconds form are integers.
    const bool integer = dms && i != 4 && i != 7;
    if (!(integer ? IsInteger(tokens[i]) : IsReal(tokens[i]))) return false;
  }
  return height == HeightToken::kOptional || IsReal(tokens[heightToken]);
}

BlFormat OtherBlFormat(BlFormat blFormat) {
  return blFormat == BlFormat::kDegreesMinutesSeconds ? BlFormat::kDecimalDegrees
                                                      : BlFormat::kDegreesMinutesSeconds;
}

bool InsideAreaInOtherBlFormat(const TokenList& tokens, BlFormat blFormat) {
  const BlFormat other = OtherBlFormat(blFormat);
  if (!GeodeticTokensReadable(tokens, other, HeightToken::kOptional)) return false;
  const PointValues values = ReadPointValues(tokens, RecordKind::kGeodetic, other);
  return InsideAdmissibleArea(values.B, values.L);
}

bool HasOtherBlFormatShape(const TokenList& tokens, BlFormat blFormat) {
  if (blFormat == BlFormat::kDecimalDegrees) return IsDmsAngle(tokens, 2) && IsDmsAngle(tokens, 5);
  return IsFractional(tokens[2]) || IsFractional(tokens[5]);
}

std::string FailedPointText(std::string_view name, std::string_view ending) {
  return PointDefectText("  *** punkt ", name, ending);
}

std::string DistortedPointText(std::string_view name) {
  return PointDefectText(" *** punkt ", name, " ");
}

std::string WrongZoneText(std::string_view name, int zoneFound, int zoneChosen,
                          TextEncoding encoding) {
  std::string text = " *** punkt ";
  text.append(name);
  text.append(TextForFile(" ze strefy " + std::to_string(zoneFound) + ", a wybrano strefę " +
                              std::to_string(zoneChosen) + " ",
                          encoding));
  return text;
}

}  // namespace kolvedir
