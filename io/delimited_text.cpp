#include "io/delimited_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <span>
#include <sstream>
#include <thread>
#include <vector>

#include "engine/point_outcome.h"
#include "engine/point_record.h"
#include "engine/run_report.h"
#include "engine/system_files.h"
#include "engine/text_encoding.h"
#include "io/array_jobs.h"

namespace kolvedir {

namespace {

constexpr std::size_t kBlockRecords = 65536;
// Fewer records than this per thread are not worth a thread.
constexpr std::size_t kRecordsPerThread = 8192;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kSecondsPerDegree = 3600.0;
// The height jobs write fixed decimals: seconds 5, degrees 9, heights 4.
constexpr int kHeightJobSecondsDecimals = 5;
constexpr int kHeightJobLinearDecimals = 4;

// One field of a record: its bytes as they stand in the input (quotes
// included) and its value (quotes removed; a doubled quote stays doubled,
// which no number holds).
struct Field {
  std::string_view raw, value;
};

// A record: its text without the line end, and its fields.
struct Record {
  std::string_view text;
  std::vector<Field> fields;
};

// Cuts the record starting at `at` (RFC 4180: a field in quotes may hold the
// delimiter, doubled quotes and line ends); advances `at` past its line end.
void CutRecord(std::string_view text, std::size_t& at, char delimiter, Record& record) {
  record.fields.clear();
  const std::size_t start = at;
  std::size_t fieldStart = at;
  bool quoted = false;
  const auto endField = [&](std::size_t end) {
    const std::string_view raw = text.substr(fieldStart, end - fieldStart);
    std::string_view value = raw;
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    record.fields.push_back({raw, value});
  };
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == delimiter) {
      endField(at);
      fieldStart = at + 1;
    } else if (!quoted && c == '\n') {
      const std::size_t end = at > start && text[at - 1] == '\r' ? at - 1 : at;
      endField(std::max(end, fieldStart));
      record.text = text.substr(start, end - start);
      ++at;
      return;
    }
  }
  const std::size_t end = at > start && text[at - 1] == '\r' ? at - 1 : at;
  endField(std::max(end, fieldStart));
  record.text = text.substr(start, end - start);
}

char DetectDelimiter(std::string_view header) {
  std::array<std::size_t, 3> counts{};
  constexpr std::array<char, 3> kDelimiters{';', '\t', ','};
  bool quoted = false;
  for (const char c : header) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    for (std::size_t i = 0; i < kDelimiters.size(); ++i)
      if (c == kDelimiters[i]) ++counts[i];
  }
  const auto most = std::max_element(counts.begin(), counts.end());
  return *most == 0 ? ',' : kDelimiters[most - counts.begin()];
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// ---- Columns ----

// The coordinate keys of an input kind, in the order of the transformer's a, b, c.
std::array<std::string_view, 3> CoordinateKeys(RecordKind kind) {
  switch (kind) {
    case RecordKind::kPlane:
      return {"x", "y", ""};
    case RecordKind::kCartesian:
      return {"X", "Y", "Z"};
    default:
      return {"B", "L", "h"};
  }
}

// Whether the job reads a third coordinate and whether it must be there.
enum class Third { kNone, kOptional, kRequired };

Third ThirdCoordinate(const JobDescription& job) {
  if (job.ActiveModule == Module::kTrans) {
    if (job.InputKind == RecordKind::kPlane) return Third::kNone;
    return job.InputKind == RecordKind::kCartesian ? Third::kRequired : Third::kOptional;
  }
  if (job.ActiveModule == Module::kQuasigeoid && job.InputSystem == 21) return Third::kNone;
  return Third::kRequired;
}

struct Columns {
  std::array<int, 3> coordinate{-1, -1, -1};  // field indices of a, b, c; -1 none
  int id = -1;
  std::size_t headerFields = 0;
  std::array<std::string, 3> names;  // as the header has them, for messages
};

// A column by header name (any case, blanks around ignored) or number from 1.
std::optional<int> FindColumn(const Record& header, std::string_view wanted) {
  const std::string key = AsciiLower(Trimmed(wanted));
  for (std::size_t i = 0; i < header.fields.size(); ++i)
    if (AsciiLower(Trimmed(header.fields[i].value)) == key) return static_cast<int>(i);
  int number = 0;
  const auto [end, error] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), number);
  if (error == std::errc() && end == wanted.data() + wanted.size() && number >= 1 &&
      number <= static_cast<int>(header.fields.size()))
    return number - 1;
  return std::nullopt;
}

// "key=column,..." into pairs; nullopt (refusal set) for a malformed text or unknown key.
std::optional<std::vector<std::pair<std::string, std::string>>> ParseColumnsOption(
    std::string_view text, const std::array<std::string_view, 3>& keys, Third third,
    std::string& refusal) {
  std::vector<std::pair<std::string, std::string>> pairs;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    const std::size_t equals = item.find('=');
    const std::string key = AsciiLower(Trimmed(item.substr(0, equals)));
    bool known = key == "id";
    for (std::size_t k = 0; k < keys.size(); ++k)
      known =
          known || (!keys[k].empty() && key == AsciiLower(keys[k]) && (k < 2 || third != Third::kNone));
    if (equals == std::string_view::npos || !known || Trimmed(item.substr(equals + 1)).empty()) {
      std::string list = "id";
      for (std::size_t k = 0; k < keys.size(); ++k)
        if (!keys[k].empty() && (k < 2 || third != Third::kNone))
          list += ", " + std::string(keys[k]);
      refusal = " *** --columns: \"" + std::string(item) +
                "\" nie jest parą klucz=kolumna; klucze tego zadania: " + list;
      return std::nullopt;
    }
    pairs.emplace_back(key, std::string(Trimmed(item.substr(equals + 1))));
  }
  return pairs;
}

std::optional<Columns> ChooseColumns(const JobDescription& job, const Record& header,
                                     const std::string& option, std::string& refusal) {
  const auto keys = CoordinateKeys(job.InputKind);
  const Third third = ThirdCoordinate(job);
  const auto pairs = ParseColumnsOption(option, keys, third, refusal);
  if (!pairs) return std::nullopt;
  const auto given = [&](std::string_view key) -> std::optional<std::string> {
    for (const auto& [k, column] : *pairs)
      if (k == AsciiLower(key)) return column;
    return std::nullopt;
  };
  Columns columns;
  columns.headerFields = header.fields.size();
  for (std::size_t k = 0; k < keys.size(); ++k) {
    if (keys[k].empty() || (k == 2 && third == Third::kNone)) continue;
    const std::optional<std::string> named = given(keys[k]);
    const std::string wanted = named.value_or(std::string(keys[k]));
    const std::optional<int> found = FindColumn(header, wanted);
    if (!found) {
      if (k == 2 && third == Third::kOptional && !named) continue;
      refusal = " *** Brak kolumny \"" + wanted + "\" (" + std::string(keys[k]) +
                ") w wierszu nagłówka; wskaż ją opcją --columns " + std::string(keys[k]) +
                "=NAZWA; zbioru wynikowego nie utworzono";
      return std::nullopt;
    }
    columns.coordinate[k] = *found;
    columns.names[k] = std::string(Trimmed(header.fields[*found].value));
  }
  if (const auto named = given("id")) {
    const std::optional<int> found = FindColumn(header, *named);
    if (!found) {
      refusal = " *** Brak kolumny \"" + *named +
                "\" (id) w wierszu nagłówka; zbioru wynikowego nie utworzono";
      return std::nullopt;
    }
    columns.id = *found;
  } else {
    for (const std::string_view name : {"id", "nr", "nazwa", "name"})
      if (const auto found = FindColumn(header, name); found && columns.id < 0) columns.id = *found;
  }
  return columns;
}

// ---- Numbers ----

// A number of a cell: blanks around allowed; a decimal comma where the
// delimiter is not ','.
bool ReadNumber(std::string_view cell, char delimiter, double& value) {
  cell = Trimmed(cell);
  const std::size_t comma = cell.find(',');
  if (comma == std::string_view::npos || delimiter == ',') return ParseReal(cell, value);
  std::string copy(cell);
  copy[comma] = '.';
  return ParseReal(copy, value);
}

// Degrees, minutes and seconds in one cell: "51 0 1.25709", or with ° ' "
// (or ′ ″) after the parts; degrees and minutes whole numbers. B = d + m/60 +
// s/3600 as in point records.
bool ReadDms(std::string_view cell, char delimiter, double& degrees) {
  std::string text(cell);
  for (const std::string_view mark : {"°", "′", "″", "'", "\""}) {
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at))
      text.replace(at, mark.size(), " ");
  }
  std::istringstream parts(text);
  std::string d, m, s;
  std::int32_t wholeDegrees = 0, minutes = 0;
  double seconds = 0;
  std::string rest;
  if (!(parts >> d >> m >> s) || (parts >> rest)) return false;
  if (!ParseInteger(d, wholeDegrees) || !ParseInteger(m, minutes) ||
      !ReadNumber(s, delimiter, seconds))
    return false;
  degrees = wholeDegrees + minutes / 60.0 + seconds / kSecondsPerDegree;
  return true;
}

// ---- Output ----

struct Format {
  char delimiter;
  std::string_view lineEnd;
  bool decimalComma = false;
  BlFormat blOut;
  int secondsDecimals, linearDecimals;
};

void AppendNumber(std::string& out, double value, int decimals, const Format& f) {
  const std::size_t start = out.size();
  AppendRealField(out, value, 0, decimals);
  if (f.decimalComma)
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), '.', ',');
}

void AppendAngle(std::string& out, double degrees, const Format& f) {
  if (f.blOut != BlFormat::kDegreesMinutesSeconds)
    return AppendNumber(out, degrees, f.secondsDecimals + 4, f);
  const DmsAngle a = SplitArcSeconds(degrees * kSecondsPerDegree);
  AppendIntegerField(out, a.degrees, 0);
  out += ' ';
  AppendIntegerField(out, a.minutes, 0);
  out += ' ';
  AppendNumber(out, a.seconds, f.secondsDecimals, f);
}

// A field quoted as RFC 4180 asks when it holds the delimiter, a quote or a line end.
void AppendField(std::string& out, std::string_view text, char delimiter) {
  if (text.find_first_of(std::string{delimiter, '"', '\r', '\n'}) == std::string_view::npos) {
    out += text;
    return;
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

// The computed columns' names: by the output kind; a name the input already
// has gets the output system's name after it ("x_xy92").
std::vector<std::string> ComputedNames(const JobDescription& job, const Record& header,
                                       std::string_view outputSystem) {
  std::vector<std::string> names;
  switch (job.OutputKind) {
    case RecordKind::kPlane:
      names = {"x", "y", "distortion", "convergence"};
      break;
    case RecordKind::kCartesian:
      names = {"X", "Y", "Z"};
      break;
    default:
      names = {"B", "L", "h"};
      break;
  }
  names.insert(names.end(), {"status", "message"});
  for (std::string& name : names) {
    for (const Field& f : header.fields) {
      if (AsciiLower(Trimmed(f.value)) == AsciiLower(name)) {
        name += "_" + std::string(outputSystem);
        break;
      }
    }
  }
  return names;
}

void AppendComputed(std::string& out, const JobDescription& job, const ResultArrays& r,
                    std::size_t i, const Format& f) {
  const auto cell = [&](auto&& write) {
    out += f.delimiter;
    write();
  };
  const bool good = r.status[i] == 0;
  const auto number = [&](double v, int decimals) {
    cell([&] {
      if (good) AppendNumber(out, v, decimals, f);
    });
  };
  switch (job.OutputKind) {
    case RecordKind::kPlane:
      number(r.a[i], f.linearDecimals);
      number(r.b[i], f.linearDecimals);
      number(r.distortion[i], 2);
      number(r.convergence[i], 8);
      break;
    case RecordKind::kCartesian:
      number(r.a[i], f.linearDecimals);
      number(r.b[i], f.linearDecimals);
      number(r.c[i], f.linearDecimals);
      break;
    default:
      cell([&] {
        if (good) AppendAngle(out, r.a[i], f);
      });
      cell([&] {
        if (good) AppendAngle(out, r.b[i], f);
      });
      number(r.c[i], f.linearDecimals);
      break;
  }
}

// ---- The job ----

// The whole input: a file read at once at its size, standard input in parts.
bool ReadWholeInput(const JobFiles& files, std::string& text) {
  std::FILE* in = files.input.empty() ? stdin : std::fopen(files.input.c_str(), "rb");
  if (in == nullptr) return false;
  std::error_code unknown;
  const std::uintmax_t fileSize =
      files.input.empty() ? 0 : std::filesystem::file_size(files.input, unknown);
  const std::size_t chunk = std::max<std::size_t>(unknown ? 0 : fileSize + 1, std::size_t{1} << 22);
  std::size_t size = 0;
  for (;;) {
    text.resize(size + chunk);
    const std::size_t got = std::fread(text.data() + size, 1, chunk, in);
    size += got;
    if (got < chunk) break;
  }
  text.resize(size);
  const bool failed = std::ferror(in) != 0;
  if (in != stdin) std::fclose(in);
  return !failed;
}

// The input as UTF-8: its bytes, and where its text starts (after a
// byte-order mark); nullopt with the refusal.
struct Input {
  std::string bytes;
  std::size_t start = 0;
};

std::optional<Input> ReadInput(const JobFiles& files, std::string& refusal) {
  Input input;
  if (!ReadWholeInput(files, input.bytes)) {
    refusal = " *** Nie można otworzyć zbioru wejściowego: " + InputText(files);
    return std::nullopt;
  }
  if (input.bytes.starts_with(kUtf8ByteOrderMark)) input.start = kUtf8ByteOrderMark.size();
  const std::string_view text = std::string_view(input.bytes).substr(input.start);
  Utf8Scan scan;
  scan.Add(text);
  if (files.encoding == TextEncoding::kUtf8 && !scan.Valid()) {
    refusal = " *** Zbiór wejściowy nie jest poprawnym tekstem UTF-8: " + InputText(files) +
              "; zbioru wynikowego nie utworzono";
    return std::nullopt;
  }
  if (files.encoding == TextEncoding::kWindows1250 || !scan.Valid())
    return Input{Win1250ToUtf8(text), 0};
  return input;
}

struct Job {
  const JobDescription& job;
  const Transformer& transformer;
  const JobFiles& files;
  const DelimitedTextOptions& options;
  JobCounters& counters;
  JobUserInterface& ui;
  std::string& refusal;
};

// The decimal separator the input's coordinates use: the first one found in
// the records of `block` decides (a decimal comma is possible only where the
// delimiter is not ',').
bool UsesDecimalComma(std::span<const Record> block, const Columns& columns, char delimiter) {
  if (delimiter == ',') return false;
  for (const Record& r : block) {
    for (const int c : columns.coordinate) {
      if (c < 0 || c >= static_cast<int>(r.fields.size())) continue;
      const std::string_view v = r.fields[c].value;
      if (v.find(',') != std::string_view::npos) return true;
      if (v.find('.') != std::string_view::npos) return false;
    }
  }
  return false;
}

void AskAboutRecord(Job& j, std::string_view name, const std::string& message) {
  if (j.counters.SuppressPointMessages) return;
  if (j.ui.AskPointQuestion("punkt " + EscapeControlCharacters(name) + ": " + message +
                            " - Czy wyłączyć ten komunikat? "))
    j.counters.SuppressPointMessages = true;
}

// What one slice of a block gives: its output records, and the name and
// message of each of its error points, in input order.
struct Slice {
  std::string out;
  std::vector<std::pair<std::string, std::string>> errors;
};

// Transforms and writes the records of one slice of a block; touches nothing
// but `slice` (slices of a block run side by side).
void RunSlice(const Job& j, std::span<const Record> block, const Columns& columns,
              std::uint64_t firstRecord, const Format& f, Slice& slice) {
  const std::size_t n = block.size();
  std::array<std::vector<double>, 3> in;
  for (auto& v : in) v.assign(n, kNaN);
  std::vector<std::string> unreadable(n);  // the name of an unreadable coordinate's column
  const bool dms = j.job.BLInputFormat == BlFormat::kDegreesMinutesSeconds &&
                   j.job.InputKind == RecordKind::kGeodetic;
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t k = 0; k < 3; ++k) {
      const int c = columns.coordinate[k];
      if (c < 0) {
        in[k][i] = 0.0;
        continue;
      }
      const bool present = c < static_cast<int>(block[i].fields.size());
      const std::string_view cell = present ? block[i].fields[c].value : std::string_view();
      const bool angle = dms && k < 2;
      const bool ok = present && (angle ? ReadDms(cell, f.delimiter, in[k][i])
                                        : ReadNumber(cell, f.delimiter, in[k][i]));
      if (!ok && unreadable[i].empty()) unreadable[i] = columns.names[k];
    }
  }
  std::array<std::vector<double>, 5> result;
  for (auto& v : result) v.assign(n, kNaN);
  std::vector<std::int32_t> status(n);
  const bool plane = j.job.OutputKind == RecordKind::kPlane;
  const ResultArrays r{result[0],
                       result[1],
                       result[2],
                       status,
                       plane ? std::span<double>(result[3]) : std::span<double>(),
                       plane ? std::span<double>(result[4]) : std::span<double>()};
  const bool third = columns.coordinate[2] >= 0;
  j.transformer.Transform(
      {in[0], in[1], third ? std::span<const double>(in[2]) : std::span<const double>()}, r, 1);
  std::string& out = slice.out;
  for (std::size_t i = 0; i < n; ++i) {
    if (!unreadable[i].empty()) status[i] = static_cast<std::int32_t>(PointResult::kFailed);
    out += block[i].text;
    for (std::size_t k = block[i].fields.size(); k < columns.headerFields; ++k) out += f.delimiter;
    AppendComputed(out, j.job, r, i, f);
    out += f.delimiter;
    AppendIntegerField(out, status[i], 0);
    out += f.delimiter;
    if (status[i] != 0) {
      std::string message =
          !unreadable[i].empty()
              ? "nieczytelna wartość w kolumnie " + unreadable[i]
              : PointResultText(j.job, status[i],
                                j.job.InputKind == RecordKind::kPlane ? in[1][i] : 0.0);
      AppendField(out, message, f.delimiter);
      std::string name = columns.id >= 0 && columns.id < static_cast<int>(block[i].fields.size())
                             ? std::string(block[i].fields[columns.id].value)
                             : "w wierszu " + std::to_string(firstRecord + i + 2);
      slice.errors.emplace_back(std::move(name), std::move(message));
    }
    out += f.lineEnd;
  }
}

// Transforms one block of records in slices side by side, then writes the
// slices to sink and counts and asks about their error points in input
// order. slices: reused from block to block with their storage.
void RunBlock(Job& j, std::span<const Record> block, const Columns& columns,
              std::uint64_t firstRecord, const Format& f, std::vector<Slice>& slices,
              OutputSink& sink) {
  const std::size_t parts =
      std::clamp<std::size_t>(block.size() / kRecordsPerThread, 1,
                              static_cast<std::size_t>(std::max(j.options.threads, 1)));
  slices.resize(parts);
  for (Slice& slice : slices) {
    slice.out.clear();
    slice.errors.clear();
  }
  const auto run = [&](std::size_t p) {
    const std::size_t begin = block.size() * p / parts, end = block.size() * (p + 1) / parts;
    RunSlice(j, block.subspan(begin, end - begin), columns, firstRecord + begin, f, slices[p]);
  };
  {
    std::vector<std::jthread> workers;
    for (std::size_t p = 1; p < parts; ++p) workers.emplace_back(run, p);
    run(0);
  }
  for (const Slice& slice : slices) {
    sink.WriteBlock(slice.out);
    for (const auto& [name, message] : slice.errors) {
      ++j.counters.ErrorCount;
      AskAboutRecord(j, name, message);
    }
  }
  j.counters.PointCount += static_cast<std::int32_t>(block.size());
}

JobOutcome Refuse(Job& j, const std::string& message) {
  j.refusal = message;
  return JobOutcome::kRefused;
}

JobOutcome Run(Job& j) {
  std::string refusal;
  const std::optional<Input> input = ReadInput(j.files, refusal);
  if (!input) return Refuse(j, refusal);
  const std::string* const text = &input->bytes;
  std::size_t at = input->start;
  // Blank lines before the header are no header.
  while (at < text->size() && (text->at(at) == '\n' || text->at(at) == '\r')) ++at;
  if (at == text->size())
    return Refuse(j, " *** Zbiór wejściowy " + InputText(j.files) +
                         " jest pusty: brak wiersza nagłówka; zbioru wynikowego nie utworzono");
  const std::size_t headerEnd = text->find('\n', at);
  const std::string_view firstLine = std::string_view(*text).substr(at, headerEnd - at);
  const char delimiter = j.options.delimiter ? j.options.delimiter : DetectDelimiter(firstLine);
  Record header;
  CutRecord(*text, at, delimiter, header);
  const std::optional<Columns> columns = ChooseColumns(j.job, header, j.options.columns, refusal);
  if (!columns) return Refuse(j, refusal);

  OutputSink sink;
  if (!CreateJobOutput(j.files, sink))
    return Refuse(j, " *** Nie można utworzyć zbioru wynikowego: " + OutputText(j.files) + " (" +
                         sink.ErrorText() + ")");
  const bool crlf =
      headerEnd != std::string::npos && headerEnd > 0 && (*text)[headerEnd - 1] == '\r';
  Format f{
      delimiter,           crlf ? "\r\n" : "\n", false, j.job.BLOutputFormat, j.job.SecondsDecimals,
      j.job.LinearDecimals};
  if (j.job.ActiveModule != Module::kTrans) {
    f.secondsDecimals = kHeightJobSecondsDecimals;
    f.linearDecimals = kHeightJobLinearDecimals;
  }
  std::string out(header.text);  // the header line
  std::string_view outputSystem;
  if (const SystemFile* s =
          FindSystemFile(j.job.ActiveModule, j.job.OutputFrame, j.job.OutputSystem))
    outputSystem = s->input;
  for (const std::string& name : ComputedNames(j.job, header, outputSystem)) {
    out += delimiter;
    AppendField(out, name, delimiter);
  }
  out += f.lineEnd;

  sink.WriteBlock(out);
  // The records and slices of a block, reused from block to block with their storage.
  std::vector<Record> records(kBlockRecords);
  std::vector<Slice> slices;
  std::uint64_t done = 0;
  bool first = true;
  while (at < text->size()) {
    std::size_t used = 0;
    while (at < text->size() && used < kBlockRecords) {
      CutRecord(*text, at, delimiter, records[used]);
      if (!records[used].text.empty()) ++used;  // blank lines hold no point
    }
    if (used == 0) break;
    const std::span<const Record> block(records.data(), used);
    if (first) f.decimalComma = UsesDecimalComma(block, *columns, delimiter);
    first = false;
    RunBlock(j, block, *columns, done, f, slices, sink);
    done += used;
    j.ui.ShowProgress(at, text->size());
    if (j.ui.StopRequested()) {
      sink.Discard();
      return JobOutcome::kStopped;
    }
  }
  if (!sink.Commit()) {
    j.refusal = " *** Błąd zapisu zbioru wynikowego: " + OutputText(j.files) + " (" +
                sink.ErrorText() + ")";
    return JobOutcome::kFailed;
  }
  return JobOutcome::kCompleted;
}

}  // namespace

JobOutcome RunDelimitedTextJob(const JobDescription& job, const Transformer& transformer,
                               const JobFiles& files, const DelimitedTextOptions& options,
                               JobCounters& counters, JobUserInterface& ui) {
  return RunArrayJob(job.ActiveModule, files.output.empty(), counters, ui,
                     [&](std::string& refusal) {
                       Job j{job, transformer, files, options, counters, ui, refusal};
                       return Run(j);
                     });
}

}  // namespace kolvedir
