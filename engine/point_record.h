#pragma once
// Point records: one text line per point. Token 1 is the point name, numbers
// follow, anything after the numbers is a comment. Lines hold Windows-1250
// bytes; names and comments pass through unchanged.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kolvedir {

struct RecordBlock;

// Record kinds (InputKind / OutputKind of the JobDescription); the values are
// the codes of the record kinds.
enum class RecordKind : std::int32_t {
  kNone = 0,
  kGeodetic = 1,   // B, L (and h)
  kPlane = 2,      // x (northing), y (easting)
  kCartesian = 3,  // X, Y, Z
};
// BL formats (BLInputFormat / BLOutputFormat). A value other than
// kDegreesMinutesSeconds reads and writes decimal degrees.
enum class BlFormat : std::int32_t {
  kDegreesMinutesSeconds = 1,
  kDecimalDegrees = 2,
};

inline constexpr int kMaxTokens = 200;
// Width of the right-aligned point name in every output record.
inline constexpr int kNameWidth = 16;

// The tokens of one line, numbered 1..count (count ≤ 200). The views point into
// the line given to SplitLine, which must outlive them. A slot the line does
// not fill reads as an empty view. Tokens beyond the 200th are dropped.
class TokenList {
 public:
  int count() const { return count_; }
  // i: 1..200; an unfilled slot gives "".
  std::string_view operator[](int i) const {
    return i >= 1 && i <= count_ && i <= kMaxTokens ? slots_[i] : "";
  }

 private:
  friend void SplitLine(std::string_view line, TokenList& tokens);
  std::array<std::string_view, kMaxTokens + 1> slots_{};
  int count_ = 0;
};

// False for the five separators NUL, TAB, space, "," and ";"; true otherwise.
constexpr bool IsTokenChar(char c) {
  return c != '\0' && c != '\t' && c != ' ' && c != ',' && c != ';';
}

// Cuts line (without its line end) into tokens: maximal runs of token
// characters; runs of separators count as one. A blank line gives count 0.
void SplitLine(std::string_view line, TokenList& tokens);

// A real token: optional sign, digits with an optional decimal point ".",
// optional exponent. "nan", "inf", hexadecimal and anything else are not
// numbers. Gives false and leaves value untouched for a non-number.
bool ParseReal(std::string_view token, double& value);
// An integer token: optional sign and decimal digits that fit 32 bits.
bool ParseInteger(std::string_view token, std::int32_t& value);

// Degrees, minutes and seconds of an angle as read or as written.
struct DmsAngle {
  std::int32_t degrees = 0;
  std::int32_t minutes = 0;
  double seconds = 0;
};

// The numbers of one input record.
struct PointValues {
  // Geodetic: B, L in decimal degrees, h in metres (0 when absent). In the
  // degrees-minutes-seconds form also the parts as read.
  double B = 0, L = 0, h = 0;
  DmsAngle BParts, LParts;
  // Plane: x northing, y easting, metres.
  double x = 0, y = 0;
  // Cartesian: X, Y, Z geocentric, metres.
  double X = 0, Y = 0, Z = 0;
  // Plane and Cartesian records only: a coordinate token that the kind needs
  // is present but is not a number. Such a record is an error record: it must
  // not be transformed from the 0 it reads as.
  bool unreadableCoordinate = false;
};

// Converts the tokens of one record of `kind` in BL format `blFormat`.
// A missing or unreadable token reads as 0 (integer degrees and minutes that
// are not plain integers, such as "52.0", read as 0). DMS parts are added as
// they stand: B = d + m/60 + s/3600, no sign carried. No plausibility test.
PointValues ReadPointValues(const TokenList& tokens, RecordKind kind, BlFormat blFormat);

// The numbers of one output record.
struct OutputValues {
  // Geodetic: B, L in arc-seconds, h in metres.
  double BArcSeconds = 0, LArcSeconds = 0, h = 0;
  // Plane: x, y in metres; scale distortion (m − 1)·100000 in cm/km;
  // meridian convergence in grads.
  double x = 0, y = 0, distortion = 0, convergence = 0;
  // Cartesian: X, Y, Z in metres.
  double X = 0, Y = 0, Z = 0;
};

// Splits S arc-seconds: d = S/3600 and m = (S − 3600d)/60 truncated toward
// zero, s the rest. No carry is made when s later rounds to 60.
DmsAngle SplitArcSeconds(double arcSeconds);

// Field writers, appending to line. A field of width w is right-aligned and
// never cut; reals are rounded to `decimals` decimals in fixed notation with
// "." (locale-free).
void AppendRealField(std::string& line, double value, int width, int decimals);
void AppendIntegerField(std::string& line, std::int64_t value, int width);
// The point name right-aligned in 16 characters.
void AppendName(std::string& line, std::string_view name);
// " d m s d m s h": each field after one blank; degrees and minutes width 2,
// seconds 9.secondsDecimals, h 10.linearDecimals.
void AppendDmsFields(std::string& line, const DmsAngle& B, const DmsAngle& L, double h,
                     int secondsDecimals, int linearDecimals);

// Writes one TRANS 2D/3D record of outputKind and ends the line (Append...:
// appends it to line, without the line end):
//   geodetic, DMS:     name 16, then AppendDmsFields(SD, LD), comment
//   geodetic, decimal: name 16, " ", B 14.(SD+4), L 14.(SD+4), " ", h 10.LD, comment;
//                      a longitude filling its whole field gets one blank before it
//   plane:     name 16, " ", x 14.LD, " ", y 14.LD, " ", distortion 7.2, "[cm/km] ",
//              convergence 12.8, "[g] ", comment
//   Cartesian: name 16, " ", X 14.LD, " ", Y 14.LD, " ", Z 14.LD, comment
// secondsDecimals SD: 6, 5 or 4; linearDecimals LD: 4, 3 or 2. name and comment
// are written byte for byte.
void AppendPointRecord(std::string& line, std::string_view name, const OutputValues& values,
                       RecordKind outputKind, BlFormat blFormat, int secondsDecimals,
                       int linearDecimals, std::string_view comment);
void WritePointRecord(RecordBlock& out, std::string_view name, const OutputValues& values,
                      RecordKind outputKind, BlFormat blFormat, int secondsDecimals,
                      int linearDecimals, std::string_view comment);

// The record of a geodetic input point outside the admissible area: name 16,
// " ! punkt poza obszarem dopuszczalnym: ", B 10.7, " ", L 10.7 (decimal
// degrees); no comment.
void AppendOutOfAreaRecord(std::string& line, std::string_view name, double B, double L);
void WriteOutOfAreaRecord(RecordBlock& out, std::string_view name, double B, double L);

}  // namespace kolvedir
