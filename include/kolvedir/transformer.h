#pragma once
// Kolvedir as a library: one transformation of a TRANS 2D/3D, TRANS-H or
// quasigeoid job, built once and applied to arrays of points. The numbers are
// those the job writes: the record loops and this interface share the
// computation of a point.
//
// Units at this interface: B, L in decimal degrees (eastern longitude
// positive); x (northing), y (easting), X, Y, Z and every height in metres;
// scale distortion (m − 1)·100000 in cm/km; meridian convergence in grads.
//
// Thread safety: a Transformer is immutable once built; Transform may be
// called on one Transformer from any number of threads at once. The
// interpolation grid is read once per process and shared read-only by every
// Transformer (see Transformer::Transformer).
#include <charconv>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "kolvedir/version.h"

namespace kolvedir {

// A zone: central meridian in whole degrees (xy2000, xy42_3, xy42_83_3: 15,
// 18, 21, 24; UTM, xy42_6, xy42_83_6: 15, 21) or the "1965" zone 1 to 5
// (xy65). Given as a number (0: none) or as the text kolvedir-batch reads
// after --from-zone or --to-zone ("18"; empty: none).
class Zone {
 public:
  Zone() = default;
  Zone(int number) {  // NOLINT(google-explicit-constructor): a number is a zone
    if (number == 0) return;
    char digits[12];
    text_.assign(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
  }
  Zone(std::string text) : text_(std::move(text)) {}  // NOLINT(google-explicit-constructor)
  Zone(const char* text) : text_(text) {}             // NOLINT(google-explicit-constructor)

  // The zone as kolvedir-batch would read it; empty when none is given.
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// What to transform, by the names the runner kolvedir-batch accepts; the
// transformer refuses what the runner refuses, with the runner's messages.
struct TransformerDescription {
  // Standard file name of the input system:
  //   TRANS 2D/3D, PL-ETRF2000 or PL-ETRF89: "xy2000", "xy92", "UTM", "BLH_GRS", "XYZ_GRS";
  //   TRANS 2D/3D, PULKOWO: "xy65", "xy42_3", "xy42_6", "xy42_83_3", "xy42_83_6",
  //                         "xyTARVO80", "BLH_KRA", "XYZ_KRA";
  //   TRANS-H: "BLH_K86", "BLH_K2006", "BLH_EVRF";
  //   quasigeoid: "BL" (height anomaly), "BLH_e" (ellipsoidal → normal),
  //               "BLH_n" (normal → ellipsoidal).
  // Or an EPSG name ("EPSG:2177") or a common name ("PL-2000/18", "PUWG 1992",
  // "1965 strefa III") of a system of `kolvedir-batch --list-systems`: it
  // gives the zone and, for an EPSG name, the frame; a zone or frame given
  // beside it must agree with it. The computation stays the program's own.
  std::string source;
  // None for systems without zones; a zone the system does not have is refused.
  Zone source_zone;
  // "PL-ETRF2000", "PL-ETRF89" or "PULKOWO" (implied for the Pulkovo'42
  // systems). Quasigeoid: the frame of the ellipsoidal heights, "PL-ETRF2000"
  // or "PL-ETRF89". Unused by TRANS-H.
  std::string source_frame;
  // Standard name of the output system, with or without ".1", or an EPSG or
  // common name as for source; for the quasigeoid it may stay empty (the task
  // fixes the output).
  std::string target;
  Zone target_zone;
  std::string target_frame;  // TRANS 2D/3D only
  // TRANS 2D/3D: "empirical" (grid corrections, the default) or "theoretical";
  // checked for the other modules too.
  std::string method = "empirical";
  // The interpolation grid file PL_grid_001.bin (every job reads it); empty
  // for DefaultGridFile().
  std::string grid;
};

// The grid file an empty TransformerDescription::grid stands for, as the
// programs find theirs: in an installed tree the user's
// $XDG_DATA_HOME/kolvedir/PL_grid_001.bin (by default under
// ~/.local/share) when it exists, else the installed <prefix>/share/kolvedir/
// PL_grid_001.bin; beside the library in a portable program folder.
std::string DefaultGridFile();

// A description the engine refuses; what() is its Polish message, UTF-8.
class TransformerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Status of one point: 0 good; any other value marks a point the job writes as
// an error record, and all its outputs are NaN.
enum class PointResult : std::int32_t {
  kGood = 0,
  kOutOfArea = 1,    // geodetic input outside 49°–55° N, 14°–24.2° E (a NaN B or L too)
  kFailed = 2,       // outside the grid, a failed conversion, a NaN or infinite coordinate
  kDistorted = 3,    // plane output: |distortion| > 200 cm/km or |convergence| > 20 grads
  kWrongZone = 4,    // plane input whose easting carries another zone than the chosen one
};

// Kinds of coordinates at either side.
enum class CoordinateKind : std::int32_t {
  kGeodetic = 1,   // a = B (degrees), b = L (degrees), c = h (m)
  kPlane = 2,      // a = x northing, b = y easting (m); c = h (m): ignored on input,
                   //   the ellipsoidal height in the output frame on output
  kCartesian = 3,  // a = X, b = Y, c = Z (m)
};

// Input arrays, all of one length n. c may be empty: h = 0 for geodetic and
// plane input; Cartesian input, TRANS-H and the quasigeoid tasks "BLH_e" and
// "BLH_n" need it. Height jobs: a = B, b = L (degrees), c = the input height
// (ignored by "BL").
struct PointArrays {
  std::span<const double> a, b, c;
};

// Output arrays of length n. distortion and convergence may be empty; they are
// filled for plane output only. Height jobs: a = B, b = L as given (degrees),
// c = the output height (the anomaly for "BL").
struct ResultArrays {
  std::span<double> a, b, c;
  std::span<std::int32_t> status;  // PointResult values
  std::span<double> distortion, convergence;
};

class Transformer {
 public:
  // Validates the description as kolvedir-batch does, with its messages (a
  // zone or frame left out by the job's own), and reads the grid file, as
  // every job does. The process holds one grid: transformers
  // naming the same file share it, read once; one naming another file is
  // refused while a transformer uses the first, and replaces it otherwise.
  // Throws TransformerError. A job run in the same process reloads the grid of
  // its own: do not mix the two in one process.
  explicit Transformer(const TransformerDescription& description);
  ~Transformer();
  Transformer(Transformer&&) noexcept;
  Transformer& operator=(Transformer&&) noexcept;

  CoordinateKind SourceKind() const;
  CoordinateKind TargetKind() const;

  // Whether the grid read is the model grid that the program folder carries
  // until the official grid is installed: its numbers are not those of the
  // official grid. kolvedir-batch then prints ModelGridNotice().
  bool UsesModelGrid() const;
  // What the program tells of the model grid (Polish, UTF-8, one line).
  static std::string_view ModelGridNotice();

  // What a job says of a point given status (a PointResult other than kGood):
  // Polish, UTF-8, one line. inputEasting: the point's input b (m) for plane
  // input, which names the zone of a point of another zone; unused otherwise.
  std::string PointMessage(std::int32_t status, double inputEasting = 0.0) const;

  // Transforms in.a.size() points into out, using up to `threads` threads
  // (0: one per core; 1: the calling thread only; large arrays only are
  // split). Throws TransformerError for a number of threads that
  // kolvedir-batch refuses (below 0 or above 9999), std::invalid_argument
  // when the array lengths differ or a required c is missing. Not for a
  // moved-from Transformer.
  void Transform(const PointArrays& in, const ResultArrays& out, int threads = 1) const;

 private:
  struct Impl;
  std::unique_ptr<const Impl> impl_;
};

}  // namespace kolvedir
