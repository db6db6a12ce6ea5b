#include "engine/system_names.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <span>

#include "engine/crs_names.h"
#include "engine/system_files.h"

namespace kolvedir {

namespace {

using Refusal = std::optional<std::string>;

// --threads takes at most four digits.
constexpr std::size_t kMaxThreadDigits = 4;

// The whole text as a decimal integer: digits after an optional "-", nothing
// else ("+18", " 18", "18.0" and "0x12" are not).
std::optional<std::int32_t> WholeNumber(std::string_view text) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string_view OutputName(const SystemFile& f) {
  return f.output.substr(0, f.output.size() - 2);  // without ".1"
}

const SystemFile* FindInput(std::string_view name) {
  for (const SystemFile& f : SystemFiles()) {
    if (f.input == name) return &f;
  }
  return nullptr;
}

const SystemFile* FindOutput(std::string_view name) {
  for (const SystemFile& f : SystemFiles()) {
    if (f.output == name || OutputName(f) == name) return &f;
  }
  return nullptr;
}

Refusal UnknownSystem(std::string_view name, bool output) {
  std::string known;
  for (const SystemFile& f : SystemFiles())
    known += (known.empty() ? "" : ", ") + std::string(output ? OutputName(f) : f.input);
  return "nieznany układ " + std::string(output ? "wynikowy" : "wejściowy") + " \"" +
         std::string(name) + "\"; znane: " + known + (output ? " (z \".1\" lub bez)" : "");
}

template <std::size_t N>
Refusal NotOneOf(std::string_view value, const std::array<std::string_view, N>& values,
                 std::string_view option) {
  if (std::ranges::find(values, value) != values.end()) return std::nullopt;
  std::string list;
  for (std::string_view v : values) list += (list.empty() ? "" : "|") + std::string(v);
  return std::string(option) + ": " + std::string(value) + " nie jest jedną z wartości " + list;
}

Refusal UnknownFrame(std::string_view frame, std::string_view option) {
  return frame.empty() ? std::nullopt : NotOneOf(frame, kFrameNames, option);
}

Refusal NotANumber(std::string_view zone, std::string_view option) {
  if (zone.empty() || WholeNumber(zone)) return std::nullopt;
  return std::string(option) + ": wartość nie jest liczbą całkowitą";
}

// Names that are wrong whatever the systems: frames, method, zones.
Refusal SpellingRefusal(const JobNames& n) {
  if (auto r = UnknownFrame(n.sourceFrame, "--from-frame")) return r;
  if (auto r = UnknownFrame(n.targetFrame, "--to-frame")) return r;
  if (auto r = NotOneOf(n.method, kMethodNames, "--method")) return r;
  if (auto r = NotANumber(n.sourceZone, "--from-zone")) return r;
  return NotANumber(n.targetZone, "--to-zone");
}

// One side of a TRANS 2D/3D job: its system and what was given for it.
struct TransSide {
  const SystemFile& file;
  std::string_view zone, frame;
  std::string_view zoneOption, frameOption;
};

// A GRS80 system takes PL-ETRF2000 or PL-ETRF89, a Pulkovo'42 one PULKOWO,
// implied when not given; a GRS80 system without a frame stays unchosen.
Refusal TransFrame(const TransSide& side, Frame& frame) {
  const std::string who = std::string(side.frameOption) + ": " + std::string(side.file.input);
  if (side.file.krassowsky) {
    if (!side.frame.empty() && side.frame != "PULKOWO") return who + " jest układem PULKOWO";
    frame = Frame::kPulkovo;
  } else if (side.frame == "PULKOWO") {
    return who + " wymaga PL-ETRF2000 lub PL-ETRF89";
  } else if (!side.frame.empty()) {
    frame = side.frame == "PL-ETRF2000" ? Frame::kEtrf2000 : Frame::kEtrf89;
  }
  return std::nullopt;
}

// One of the system's zones; a zone not given stays unchosen.
Refusal TransZone(const TransSide& side, std::int32_t& zone) {
  if (side.zone.empty()) return std::nullopt;
  const std::string who = std::string(side.zoneOption) + ": " + std::string(side.file.input);
  const std::span<const std::int32_t> zones = side.file.zones;
  if (zones.empty()) return who + " nie ma stref";
  zone = *WholeNumber(side.zone);
  if (std::ranges::find(zones, zone) != zones.end()) return std::nullopt;
  std::string list;
  for (std::int32_t z : zones) list += (list.empty() ? "" : ", ") + std::to_string(z);
  return who + " ma strefy " + list;
}

Refusal RefuseIf(bool given, std::string_view what) {
  if (!given) return std::nullopt;
  return std::string(what);
}

// The output of a TRANS 2D/3D or TRANS-H job: a system of the input's module.
Refusal SameModuleOutput(const JobNames& n, const SystemFile& in, const SystemFile*& out) {
  if (n.target.empty()) return "Nie określono zbioru wynikowego";
  out = FindOutput(n.target);
  if (out == nullptr) return UnknownSystem(n.target, true);
  if (out->module != in.module) return "--to " + n.target + ": inny moduł niż --from " + n.source;
  return std::nullopt;
}

Refusal DescribeTrans(const JobNames& n, const SystemFile& in, JobDescription& job) {
  const SystemFile* out = nullptr;
  if (auto r = SameModuleOutput(n, in, out)) return r;
  const TransSide from{in, n.sourceZone, n.sourceFrame, "--from-zone", "--from-frame"};
  const TransSide to{*out, n.targetZone, n.targetFrame, "--to-zone", "--to-frame"};
  if (auto r = TransFrame(from, job.InputFrame)) return r;
  if (auto r = TransFrame(to, job.OutputFrame)) return r;
  if (auto r = TransZone(from, job.InputZone)) return r;
  if (auto r = TransZone(to, job.OutputZone)) return r;
  job.OutputSystem = out->code;
  job.OutputKind = out->kind;
  job.Method = n.method == "theoretical" ? ComputationMethod::kTheoretical
                                         : ComputationMethod::kEmpirical;
  return std::nullopt;
}

Refusal DescribeHeight(const JobNames& n, const SystemFile& in, JobDescription& job) {
  const SystemFile* out = nullptr;
  if (auto r = SameModuleOutput(n, in, out)) return r;
  if (auto r = RefuseIf(!n.sourceFrame.empty() || !n.targetFrame.empty(),
                        "--from-frame/--to-frame nie dotyczy TRANS-H"))
    return r;
  if (auto r = RefuseIf(!n.sourceZone.empty() || !n.targetZone.empty(),
                        "--from-zone/--to-zone nie dotyczy TRANS-H"))
    return r;
  job.OutputSystem = out->code;
  job.OutputKind = out->kind;
  return std::nullopt;
}

// The task fixes the output: a target, when given, must be the task's own.
Refusal DescribeQuasigeoid(const JobNames& n, const SystemFile& in, JobDescription& job) {
  if (!n.target.empty()) {
    const SystemFile* out = FindOutput(n.target);
    if (out == nullptr) return UnknownSystem(n.target, true);
    if (out != &in) return "wynikiem " + std::string(in.input) + " jest " + std::string(in.output);
  }
  if (auto r = RefuseIf(n.sourceFrame == "PULKOWO", "--from-frame PULKOWO nie dotyczy quasigeoidy"))
    return r;
  if (auto r = RefuseIf(!n.targetFrame.empty(), "--to-frame nie dotyczy quasigeoidy")) return r;
  if (auto r = RefuseIf(!n.sourceZone.empty() || !n.targetZone.empty(),
                        "--from-zone/--to-zone nie dotyczy quasigeoidy"))
    return r;
  if (n.sourceFrame == "PL-ETRF2000") job.InputFrame = Frame::kQuasigeoidEtrf2000;
  if (n.sourceFrame == "PL-ETRF89") job.InputFrame = Frame::kQuasigeoidEtrf89;
  job.OutputSystem = in.code;
  job.OutputKind = in.kind;
  return std::nullopt;
}

Refusal Describe(const JobNames& n, JobDescription& job) {
  if (auto r = SpellingRefusal(n)) return r;
  if (n.source.empty()) return "brak opcji --from";
  const SystemFile* in = FindInput(n.source);
  if (in == nullptr) return UnknownSystem(n.source, false);
  job.ActiveModule = in->module;
  job.InputSystem = in->code;
  job.InputKind = in->kind;
  switch (in->module) {
    case Module::kTrans: return DescribeTrans(n, *in, job);
    case Module::kHeight: return DescribeHeight(n, *in, job);
    default: return DescribeQuasigeoid(n, *in, job);
  }
}

}  // namespace

NamedJob DescribeJob(const JobNames& given) {
  NamedJob named;
  // EPSG and common names ("EPSG:2177", "PUWG 1992") stand for a standard
  // name with its zone and frame.
  JobNames names = given;
  auto refusal = ResolveCrsName(names.source, names.sourceZone, names.sourceFrame, "--from");
  if (!refusal) refusal = ResolveCrsName(names.target, names.targetZone, names.targetFrame, "--to");
  if (!refusal) refusal = Describe(names, named.job);
  if (refusal) named = {JobDescription{}, std::move(*refusal)};
  return named;
}

ThreadCount ReadThreadCount(std::string_view text) {
  const bool digits = !text.empty() && text.size() <= kMaxThreadDigits &&
                      text.find_first_not_of("0123456789") == std::string_view::npos;
  if (!digits) return {0, "--threads: " + std::string(text) + " nie jest liczbą wątków"};
  return {*WholeNumber(text), {}};
}

}  // namespace kolvedir
