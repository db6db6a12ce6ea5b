#include "engine/crs_names.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace kolvedir {

namespace {

struct CommonName {
  std::string_view name;  // upper case, single blanks
  std::string_view system;
  std::int32_t zone;
  Frame frame;
};

// The common names: the PL-2000 strips by central meridian and by zone number
// (5 to 8), PL-1992, the PL-UTM zones by UTM number, the "1965" zones in
// Roman or Arabic digits, TARVO80 by its other name, the height datums.
constexpr std::array<CommonName, 49> kCommonNames{{
    {"PL-2000/15", "xy2000", 15, Frame::kNone},
    {"PL-2000/18", "xy2000", 18, Frame::kNone},
    {"PL-2000/21", "xy2000", 21, Frame::kNone},
    {"PL-2000/24", "xy2000", 24, Frame::kNone},
    {"CS2000/15", "xy2000", 15, Frame::kNone},
    {"CS2000/18", "xy2000", 18, Frame::kNone},
    {"CS2000/21", "xy2000", 21, Frame::kNone},
    {"CS2000/24", "xy2000", 24, Frame::kNone},
    {"PUWG 2000/15", "xy2000", 15, Frame::kNone},
    {"PUWG 2000/18", "xy2000", 18, Frame::kNone},
    {"PUWG 2000/21", "xy2000", 21, Frame::kNone},
    {"PUWG 2000/24", "xy2000", 24, Frame::kNone},
    {"PL-2000 STREFA 5", "xy2000", 15, Frame::kNone},
    {"PL-2000 STREFA 6", "xy2000", 18, Frame::kNone},
    {"PL-2000 STREFA 7", "xy2000", 21, Frame::kNone},
    {"PL-2000 STREFA 8", "xy2000", 24, Frame::kNone},
    {"PL-1992", "xy92", 0, Frame::kNone},
    {"PUWG 1992", "xy92", 0, Frame::kNone},
    {"PUWG-1992", "xy92", 0, Frame::kNone},
    {"CS92", "xy92", 0, Frame::kNone},
    {"PL-UTM/33", "UTM", 15, Frame::kNone},
    {"PL-UTM/34", "UTM", 21, Frame::kNone},
    {"1965 STREFA I", "xy65", 1, Frame::kPulkovo},
    {"1965 STREFA II", "xy65", 2, Frame::kPulkovo},
    {"1965 STREFA III", "xy65", 3, Frame::kPulkovo},
    {"1965 STREFA IV", "xy65", 4, Frame::kPulkovo},
    {"1965 STREFA V", "xy65", 5, Frame::kPulkovo},
    {"1965 STREFA 1", "xy65", 1, Frame::kPulkovo},
    {"1965 STREFA 2", "xy65", 2, Frame::kPulkovo},
    {"1965 STREFA 3", "xy65", 3, Frame::kPulkovo},
    {"1965 STREFA 4", "xy65", 4, Frame::kPulkovo},
    {"1965 STREFA 5", "xy65", 5, Frame::kPulkovo},
    {"PUWG 1965 STREFA I", "xy65", 1, Frame::kPulkovo},
    {"PUWG 1965 STREFA II", "xy65", 2, Frame::kPulkovo},
    {"PUWG 1965 STREFA III", "xy65", 3, Frame::kPulkovo},
    {"PUWG 1965 STREFA IV", "xy65", 4, Frame::kPulkovo},
    {"PUWG 1965 STREFA V", "xy65", 5, Frame::kPulkovo},
    {"PL-1965/I", "xy65", 1, Frame::kPulkovo},
    {"PL-1965/II", "xy65", 2, Frame::kPulkovo},
    {"PL-1965/III", "xy65", 3, Frame::kPulkovo},
    {"PL-1965/IV", "xy65", 4, Frame::kPulkovo},
    {"PL-1965/V", "xy65", 5, Frame::kPulkovo},
    {"GUGIK-80", "xyTARVO80", 0, Frame::kPulkovo},
    {"TARVO80", "xyTARVO80", 0, Frame::kPulkovo},
    {"PL-KRON86-NH", "BLH_K86", 0, Frame::kNone},
    {"PL-KRON2006-NH", "BLH_K2006", 0, Frame::kNone},
    {"PL-EVRF2007-NH", "BLH_EVRF", 0, Frame::kNone},
    {"KRON86", "BLH_K86", 0, Frame::kNone},
    {"EVRF2007", "BLH_EVRF", 0, Frame::kNone},
}};

// Upper case (ASCII), runs of blanks as one, none at the ends.
std::string Normalised(std::string_view name) {
  std::string out;
  for (const char c : name) {
    if (c == ' ' || c == '\t') {
      if (!out.empty() && out.back() != ' ') out += ' ';
      continue;
    }
    out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::optional<CrsName> FindEpsgName(std::string_view normalised) {
  constexpr std::string_view kPrefix = "EPSG:";
  if (!normalised.starts_with(kPrefix)) return std::nullopt;
  const std::string_view digits = normalised.substr(kPrefix.size());
  std::int32_t code = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty() ||
      digits.front() == '-')
    return std::nullopt;
  const CrsRow* row = FindCrsByEpsg(code);
  if (row == nullptr) return std::nullopt;
  return CrsName{row->system, row->zone, row->frame, row};
}

std::string ZoneText(std::int32_t zone) { return zone == 0 ? std::string() : std::to_string(zone); }

// "xy2000, strefa 18, PL-ETRF2000": what a name stands for.
std::string Meaning(const CrsName& n) {
  std::string text(n.system);
  if (n.zone != 0) text += ", strefa " + std::to_string(n.zone);
  if (n.frame != Frame::kNone) text += ", " + std::string(FrameOptionName(n.frame));
  return text;
}

}  // namespace

std::optional<CrsName> FindCrsName(std::string_view name) {
  const std::string normalised = Normalised(name);
  if (auto epsg = FindEpsgName(normalised)) return epsg;
  for (const CommonName& c : kCommonNames)
    if (c.name == normalised) return CrsName{c.system, c.zone, c.frame, nullptr};
  return std::nullopt;
}

std::string_view FrameOptionName(Frame frame) {
  switch (frame) {
    case Frame::kEtrf2000:
      return "PL-ETRF2000";
    case Frame::kEtrf89:
      return "PL-ETRF89";
    case Frame::kPulkovo:
      return "PULKOWO";
    default:
      return "";
  }
}

std::optional<std::string> ResolveCrsName(std::string& system, std::string& zone,
                                          std::string& frame, std::string_view option) {
  const std::optional<CrsName> named = FindCrsName(system);
  if (!named) return std::nullopt;
  const std::string impliedZone = ZoneText(named->zone);
  const std::string_view impliedFrame = FrameOptionName(named->frame);
  const auto contradiction = [&](std::string_view suffix, const std::string& given) {
    return std::string(option) + " " + system + " to " + Meaning(*named) + ", a " +
           std::string(option) + std::string(suffix) + " podaje " + given;
  };
  if (!zone.empty() && zone != impliedZone) return contradiction("-zone", zone);
  if (!frame.empty() && !impliedFrame.empty() && frame != impliedFrame)
    return contradiction("-frame", frame);
  system = std::string(named->system);
  zone = impliedZone;
  if (!impliedFrame.empty()) frame = std::string(impliedFrame);
  return std::nullopt;
}

std::string CrsTableText() {
  std::string text =
      "Układy programu i układy EPSG (różnica: największa względem definicji EPSG w PROJ\n"
      "w obszarze użycia strefy, w obie strony; osie w kolejności EPSG):\n\n"
      "układ        strefa  odniesienie   EPSG   osie     różnica   uwagi\n";
  for (const CrsRow& r : CrsTable()) {
    char figure[32] = "";
    if (r.epsg != 0) std::snprintf(figure, sizeof figure, "%g mm", r.differenceMm);
    char line[160];
    std::snprintf(
        line, sizeof line, "%-12s %-7s %-13s %-6s %-8s %-9s ", std::string(r.system).c_str(),
        ZoneText(r.zone).c_str(), std::string(FrameOptionName(r.frame)).c_str(),
        r.epsg != 0 ? std::to_string(r.epsg).c_str() : "brak", std::string(r.axes).c_str(), figure);
    text += line;
    if (r.epsg != 0) text += std::string(r.epsgName) + (r.note.empty() ? "" : "; ");
    text += std::string(r.note) + "\n";
  }
  text += "\nNazwy zwyczajowe:";
  std::string_view previous;
  for (const CommonName& c : kCommonNames) {
    text +=
        (c.system == previous ? ", " : "\n  " + std::string(c.system) + ": ") + std::string(c.name);
    previous = c.system;
  }
  return text +
         "\n\nKod EPSG wybiera układ programu ze strefą i układem odniesienia; "
         "obliczenia pozostają własne programu.\n";
}

}  // namespace kolvedir
