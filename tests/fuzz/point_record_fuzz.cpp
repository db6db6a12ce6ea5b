// Point records on arbitrary bytes: SplitLine, then ReadPointValues in every
// record kind and BL format, then the field writers on the values read.
// Checks the token list against a plain model of the separators and that
// every number read is finite and written back readable.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/point_record.h"

namespace {

using namespace kolvedir;

void Require(bool condition) {
  if (!condition) std::abort();
}

// Number of maximal runs of token characters in line.
int ModelTokenCount(std::string_view line) {
  int count = 0;
  for (std::size_t j = 0; j < line.size(); ++j) {
    if (IsTokenChar(line[j]) && (j == 0 || !IsTokenChar(line[j - 1]))) ++count;
  }
  return count;
}

void CheckTokens(std::string_view line, const TokenList& tokens) {
  const int expected = ModelTokenCount(line);
  Require(tokens.count() == (expected < kMaxTokens ? expected : kMaxTokens));
  const char* previousEnd = line.data();
  for (int i = 1; i <= tokens.count(); ++i) {
    const std::string_view t = tokens[i];
    Require(!t.empty());
    Require(t.data() >= previousEnd && t.data() + t.size() <= line.data() + line.size());
    for (char c : t) Require(IsTokenChar(c));
    // Maximal run: bounded by separators or the ends of the line.
    Require(t.data() == line.data() || !IsTokenChar(t.data()[-1]));
    Require(t.data() + t.size() == line.data() + line.size() || !IsTokenChar(t.data()[t.size()]));
    previousEnd = t.data() + t.size();
  }
  Require(tokens[tokens.count() + 1].empty());
  Require(tokens[0].empty());
}

// A real written with `decimals` decimals reads back within half a unit of
// its last decimal (plus the rounding of very large values).
void CheckRealField(double value, int width, int decimals) {
  std::string field;
  AppendRealField(field, value, width, decimals);
  Require(static_cast<int>(field.size()) >= width);
  const std::size_t first = field.find_first_not_of(' ');
  Require(first != std::string::npos);
  Require(first == 0 || static_cast<int>(field.size()) == width);
  double back = 0;
  Require(ParseReal(std::string_view(field).substr(first), back));
  Require(std::fabs(back - value) <= 0.5 * std::pow(10.0, -decimals) + std::fabs(value) * 1e-15);
}

void CheckValues(const PointValues& v) {
  for (double d : {v.B, v.L, v.h, v.x, v.y, v.X, v.Y, v.Z, v.BParts.seconds, v.LParts.seconds}) {
    Require(std::isfinite(d));
  }
  for (int decimals : {2, 4, 10}) {
    for (double d : {v.B, v.L, v.h, v.x, v.y, v.X, v.Y, v.Z}) CheckRealField(d, 14, decimals);
  }
  std::string dms;
  AppendDmsFields(dms, v.BParts, v.LParts, v.h, 6, 4);
  Require(dms.size() >= 1 + 2 + 1 + 2 + 1 + 9 + 1 + 2 + 1 + 2 + 1 + 9 + 1 + 10);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  TokenList tokens;
  SplitLine(line, tokens);
  CheckTokens(line, tokens);
  for (std::int32_t kind : {1, 2, 3, 0, 4}) {
    for (std::int32_t format : {1, 2, 0}) {
      CheckValues(ReadPointValues(tokens, RecordKind(kind), BlFormat(format)));
    }
  }
  // A token that reads as a real converts the same way on its own.
  for (int i = 1; i <= tokens.count(); ++i) {
    double value = 0;
    if (ParseReal(tokens[i], value)) {
      Require(std::isfinite(value));
      Require(value == std::strtod(std::string(tokens[i]).c_str(), nullptr));
    }
    std::int32_t integer = 0;
    if (ParseInteger(tokens[i], integer)) {
      Require(std::strtoll(std::string(tokens[i]).c_str(), nullptr, 10) == integer);
    }
  }
  return 0;
}
