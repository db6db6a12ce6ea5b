#pragma once
// Per-point status shared by every computation operation.
//
// An operation entered with a non-zero status returns at once and leaves all
// its outputs untouched, so a chain of operations stops after the first
// failure without tests between the steps. A failing operation sets its own
// non-zero code; no operation ever resets the status to zero (the record loops
// do that before each point).
#include <cstdint>

namespace kolvedir {

using PointStatus = std::int32_t;

// Codes set by CartesianToGeodetic.
inline constexpr PointStatus kStatusGeocentre = 1;          // X = Y = Z = 0
inline constexpr PointStatus kStatusNoConvergence = 2;      // latitude iteration limit reached
inline constexpr PointStatus kStatusBadEllipsoid = 3;       // EllipsoidCode other than 1 or 2
// Codes of our own for parameters outside the tables and for non-finite values.
inline constexpr PointStatus kStatusUndefinedZone = 4;      // zone, strip width or direction not in the tables
inline constexpr PointStatus kStatusNotFinite = 5;          // NaN or infinity in an input or a result
inline constexpr PointStatus kStatusBeyondPole = 6;         // a plane northing beyond the pole

}  // namespace kolvedir
