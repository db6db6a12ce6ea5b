#include "engine/point_record.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "engine/record_blocks.h"

namespace kolvedir {

namespace {

// IsTokenChar of every byte, looked up rather than compared.
constexpr std::array<bool, 256> kTokenChars = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = IsTokenChar(static_cast<char>(c));
  return table;
}();

bool InToken(char c) { return kTokenChars[static_cast<unsigned char>(c)]; }

}  // namespace

void SplitLine(std::string_view line, TokenList& tokens) {
  tokens.count_ = 0;
  const char* p = line.data();
  const char* const end = p + line.size();
  while (p < end && tokens.count_ < kMaxTokens) {
    while (p < end && !InToken(*p)) ++p;
    const char* const start = p;
    while (p < end && InToken(*p)) ++p;
    if (p > start) tokens.slots_[++tokens.count_] = std::string_view(start, p - start);
  }
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Optional sign, digits with an optional ".", optional exponent with optional
// sign; at least one digit before the exponent.
bool IsDecimalNumber(std::string_view t) {
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t exponentDigits = 0;
    while (i < t.size() && IsDigit(t[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return i == t.size();
}

// The powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPower = 22;
constexpr std::uint64_t kMaxExactInteger = std::uint64_t{1} << 53;

// A number without exponent whose digits, read as one integer m, make at most
// 2^53, with at most 22 of them after the point: m and 10^k are then exact
// doubles, and one correctly rounded division gives m/10^k exactly as the
// full conversion does (Clinger's fast path). False for any other token,
// which the full conversion then takes.
bool ParseShortDecimal(std::string_view t, double& value) {
  const char* p = t.data();
  const char* const end = p + t.size();
  const bool negative = p < end && *p == '-';
  if (p < end && (*p == '+' || *p == '-')) ++p;
  std::uint64_t digits = 0;
  const auto readDigits = [&p, end, &digits] {
    const char* const first = p;
    for (; p < end && IsDigit(*p); ++p) digits = digits * 10 + static_cast<unsigned>(*p - '0');
    return static_cast<int>(p - first);
  };
  int count = readDigits(), decimals = 0;
  if (p < end && *p == '.') {
    ++p;
    decimals = readDigits();
    count += decimals;
  }
  // Up to 19 digits the integer has not wrapped round.
  if (p != end || count == 0 || count > 19 || digits > kMaxExactInteger ||
      decimals > kMaxExactPower)
    return false;
  const double magnitude = static_cast<double>(digits) / kExactPowersOfTen[decimals];
  value = negative ? -magnitude : magnitude;
  return true;
}

std::string_view WithoutPlus(std::string_view t) {
  return !t.empty() && t.front() == '+' ? t.substr(1) : t;
}

double RealOrZero(std::string_view token, bool& unreadable) {
  double value = 0;
  if (!token.empty() && !ParseReal(token, value)) unreadable = true;
  return value;
}

double RealOrZero(std::string_view token) {
  bool ignored = false;
  return RealOrZero(token, ignored);
}

std::int32_t IntegerOrZero(std::string_view token) {
  std::int32_t value = 0;
  return ParseInteger(token, value) ? value : 0;
}

DmsAngle ReadDms(const TokenList& tokens, int first) {
  return {IntegerOrZero(tokens[first]), IntegerOrZero(tokens[first + 1]),
          RealOrZero(tokens[first + 2])};
}

double DmsToDegrees(const DmsAngle& a) {
  return a.degrees + a.minutes / 60.0 + a.seconds / 3600.0;
}

}  // namespace

bool ParseReal(std::string_view token, double& value) {
  if (ParseShortDecimal(token, value)) return true;
  if (!IsDecimalNumber(token)) return false;
  const std::string_view t = WithoutPlus(token);
  double parsed = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), parsed);
  if (ec != std::errc{} || end != t.data() + t.size() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

bool ParseInteger(std::string_view token, std::int32_t& value) {
  const std::string_view t = WithoutPlus(token);
  // One sign at most: "+-64" is not a number.
  if (t.empty() || t.front() == '+' || (t.size() < token.size() && t.front() == '-')) return false;
  std::int32_t parsed = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), parsed);
  if (ec != std::errc{} || end != t.data() + t.size()) return false;
  value = parsed;
  return true;
}

PointValues ReadPointValues(const TokenList& tokens, RecordKind kind, BlFormat blFormat) {
  PointValues v;
  switch (kind) {
    case RecordKind::kGeodetic:
      if (blFormat == BlFormat::kDegreesMinutesSeconds) {
        v.BParts = ReadDms(tokens, 2);
        v.LParts = ReadDms(tokens, 5);
        v.B = DmsToDegrees(v.BParts);
        v.L = DmsToDegrees(v.LParts);
        v.h = RealOrZero(tokens[8]);
      } else {
        v.B = RealOrZero(tokens[2]);
        v.L = RealOrZero(tokens[3]);
        v.h = RealOrZero(tokens[4]);
      }
      break;
    case RecordKind::kPlane:
      v.x = RealOrZero(tokens[2], v.unreadableCoordinate);
      v.y = RealOrZero(tokens[3], v.unreadableCoordinate);
      break;
    case RecordKind::kCartesian:
      v.X = RealOrZero(tokens[2], v.unreadableCoordinate);
      v.Y = RealOrZero(tokens[3], v.unreadableCoordinate);
      v.Z = RealOrZero(tokens[4], v.unreadableCoordinate);
      break;
    default:
      break;
  }
  return v;
}

DmsAngle SplitArcSeconds(double arcSeconds) {
  DmsAngle a;
  a.degrees = static_cast<std::int32_t>(std::trunc(arcSeconds / 3600));
  a.minutes = static_cast<std::int32_t>(std::trunc((arcSeconds - 3600.0 * a.degrees) / 60));
  a.seconds = arcSeconds - 3600.0 * a.degrees - 60.0 * a.minutes;
  return a;
}

namespace {

void AppendAligned(std::string& line, std::string_view text, int width) {
  if (static_cast<int>(text.size()) < width) line.append(width - text.size(), ' ');
  line.append(text);
}

// The two decimal digits of 0..99, pair n at 2n.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the decimal digits of v, at least minDigits of them (zeros in front),
// backward so that they end at end; gives their start.
char* WriteDigitsBackward(char* end, std::uint64_t v, int minDigits) {
  char* p = end;
  for (; v >= 100; v /= 100) {
    p -= 2;
    std::memcpy(p, kDigitPairs + 2 * (v % 100), 2);
  }
  if (v >= 10) {
    p -= 2;
    std::memcpy(p, kDigitPairs + 2 * v, 2);
  } else {
    *--p = static_cast<char>('0' + v);
  }
  while (end - p < minDigits) *--p = '0';
  return p;
}

constexpr int kFastWidth = 64;  // widths padded here; wider fields take AppendAligned

// The field of width `width` (at most kFastWidth) that right-aligns the text
// at start..end: the blanks it lacks in front of the text, written into the
// room of kFastWidth bytes before start; gives the start of the field.
char* PadBackward(char* start, char* end, int width) {
  if (end - start >= width) return start;
  // A fill of fixed size needs no call; blanks in front of the field are never read.
  std::memset(start - kFastWidth, ' ', kFastWidth);
  return end - width;
}

constexpr int kFastDecimals = 10;
constexpr std::uint64_t kPowersOfTen[kFastDecimals + 1] = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000, 10000000000};

// Fixed notation of value with `decimals` decimals, rounded to nearest and
// right-aligned in `width` columns, written backward so that it ends at end
// (room for kFastWidth + 32 characters before it); gives its start, or nullptr
// where the rounding cannot be decided this way (the caller then converts
// exactly). The fraction s − ⌊s⌋ is exact; scaling it by 10^d errs by at most
// 1.2e-6 (d ≤ 10), so a scaled fraction farther than 1e-4 from one half
// rounds as the exact value does.
char* FormatFixedFast(double value, int decimals, int width, char* end) {
  const double s = std::fabs(value);
  if (decimals < 0 || decimals > kFastDecimals || width > kFastWidth || !(s < 9.0e15))
    return nullptr;
  const double whole = std::floor(s);
  const double scaled = (s - whole) * static_cast<double>(kPowersOfTen[decimals]);
  const double below = std::floor(scaled);
  const double rest = scaled - below;
  if (std::fabs(rest - 0.5) < 1e-4) return nullptr;
  std::uint64_t integerPart = static_cast<std::uint64_t>(whole);
  std::uint64_t fraction = static_cast<std::uint64_t>(below) + (rest > 0.5 ? 1 : 0);
  if (fraction == kPowersOfTen[decimals]) {
    fraction = 0;
    ++integerPart;
  }
  char* p = end;
  if (decimals > 0) {
    p = WriteDigitsBackward(p, fraction, decimals);
    *--p = '.';
  }
  p = WriteDigitsBackward(p, integerPart, 1);
  if (std::signbit(value)) *--p = '-';
  return PadBackward(p, end, width);
}

}  // namespace

void AppendRealField(std::string& line, double value, int width, int decimals) {
  char buffer[400];  // enough for any finite double in fixed notation
  char* const end = buffer + sizeof buffer;
  if (const char* field = FormatFixedFast(value, decimals, width, end)) {
    line.append(field, end - field);
    return;
  }
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc{}) return AppendAligned(line, "?", width);
  AppendAligned(line, std::string_view(buffer, result.ptr - buffer), width);
}

void AppendIntegerField(std::string& line, std::int64_t value, int width) {
  char buffer[32 + kFastWidth];
  char* const end = buffer + sizeof buffer;
  // The magnitude in unsigned arithmetic, which also holds that of the most negative value.
  const std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  char* p = WriteDigitsBackward(end, magnitude, 1);
  if (value < 0) *--p = '-';
  if (width > kFastWidth) return AppendAligned(line, std::string_view(p, end - p), width);
  const char* field = PadBackward(p, end, width);
  line.append(field, end - field);
}

void AppendName(std::string& line, std::string_view name) { AppendAligned(line, name, kNameWidth); }

void AppendDmsFields(std::string& line, const DmsAngle& B, const DmsAngle& L, double h,
                     int secondsDecimals, int linearDecimals) {
  for (const DmsAngle* a : {&B, &L}) {
    line += ' ';
    AppendIntegerField(line, a->degrees, 2);
    line += ' ';
    AppendIntegerField(line, a->minutes, 2);
    line += ' ';
    AppendRealField(line, a->seconds, 9, secondsDecimals);
  }
  line += ' ';
  AppendRealField(line, h, 10, linearDecimals);
}

namespace {

constexpr int kDegreesWidth = 14;

void AppendDecimalDegrees(std::string& line, double BArcSeconds, double LArcSeconds,
                          int decimals) {
  line += ' ';
  AppendRealField(line, BArcSeconds / 3600, kDegreesWidth, decimals);
  // The longitude follows the latitude without a blank of its own; when it
  // fills its whole field one blank keeps the record readable.
  const std::size_t start = line.size();
  AppendRealField(line, LArcSeconds / 3600, kDegreesWidth, decimals);
  if (line[start] != ' ') line.insert(start, 1, ' ');
}

}  // namespace

void AppendPointRecord(std::string& line, std::string_view name, const OutputValues& v,
                       RecordKind outputKind, BlFormat blFormat, int secondsDecimals,
                       int linearDecimals, std::string_view comment) {
  AppendName(line, name);
  switch (outputKind) {
    case RecordKind::kGeodetic:
      if (blFormat == BlFormat::kDegreesMinutesSeconds) {
        AppendDmsFields(line, SplitArcSeconds(v.BArcSeconds), SplitArcSeconds(v.LArcSeconds),
                        v.h, secondsDecimals, linearDecimals);
      } else {
        AppendDecimalDegrees(line, v.BArcSeconds, v.LArcSeconds, secondsDecimals + 4);
        line += ' ';
        AppendRealField(line, v.h, 10, linearDecimals);
      }
      break;
    case RecordKind::kPlane:
      for (double c : {v.x, v.y}) {
        line += ' ';
        AppendRealField(line, c, 14, linearDecimals);
      }
      line += ' ';
      AppendRealField(line, v.distortion, 7, 2);
      line += "[cm/km] ";
      AppendRealField(line, v.convergence, 12, 8);
      line += "[g] ";
      break;
    case RecordKind::kCartesian:
      for (double c : {v.X, v.Y, v.Z}) {
        line += ' ';
        AppendRealField(line, c, 14, linearDecimals);
      }
      break;
    default:
      break;
  }
  line += comment;
}

void WritePointRecord(RecordBlock& out, std::string_view name, const OutputValues& values,
                      RecordKind outputKind, BlFormat blFormat, int secondsDecimals,
                      int linearDecimals, std::string_view comment) {
  AppendPointRecord(out.output, name, values, outputKind, blFormat, secondsDecimals,
                    linearDecimals, comment);
  out.output += "\r\n";
}

void AppendOutOfAreaRecord(std::string& line, std::string_view name, double B, double L) {
  AppendName(line, name);
  line += " ! punkt poza obszarem dopuszczalnym: ";
  AppendRealField(line, B, 10, 7);
  line += ' ';
  AppendRealField(line, L, 10, 7);
}

void WriteOutOfAreaRecord(RecordBlock& out, std::string_view name, double B, double L) {
  AppendOutOfAreaRecord(out.output, name, B, L);
  out.output += "\r\n";
}

}  // namespace kolvedir
