#pragma once
// Checks a record loop makes on a point before it transforms it, and the
// error texts of points that cannot be transformed.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/point_record.h"
#include "engine/text_encoding.h"

namespace kolvedir {

// The admissible area of geodetic input: 49° ≤ B ≤ 55°, 14° ≤ L ≤ 24.2°,
// bounds included. B, L: decimal degrees.
bool InsideAdmissibleArea(double B, double L);

// How a geodetic record treats its height token (token 8 in the
// degrees-minutes-seconds form, token 4 in decimal degrees).
enum class HeightToken {
  kOptional,  // missing or not a number it reads as 0, so it may hold a comment
  kRequired,  // the height is what the job transforms: it must be a number
};

// True when the latitude and longitude tokens of a geodetic record in BL
// format blFormat that the line holds are numbers (degrees and minutes of the
// degrees-minutes-seconds form plain integers) and the height token is a
// number where it is required. Tokens missing at the end of the line read as
// 0, as stored files expect; a token that is there but is not a number makes
// the record one that must not be transformed from the 0 it reads as.
bool GeodeticTokensReadable(const TokenList& tokens, BlFormat blFormat, HeightToken height);

// The BL format other than blFormat.
BlFormat OtherBlFormat(BlFormat blFormat);
// True when the latitude and longitude of a geodetic record, read in the BL
// format other than blFormat, lie inside the admissible area: a record outside
// it in blFormat that was probably written in the other format.
bool InsideAreaInOtherBlFormat(const TokenList& tokens, BlFormat blFormat);
// True when a geodetic record read in blFormat carries the shape of the other
// BL format: under decimal degrees, the six tokens after the name are degrees,
// minutes and seconds (whole degrees, whole minutes and seconds from 0 to
// below 60, of B and of L); under degrees, minutes and seconds, the degrees
// of B or of L are written with a fractional part.
bool HasOtherBlFormatShape(const TokenList& tokens, BlFormat blFormat);

// "  *** punkt " + name + " poza obszarem dopuszczalnym lub inny defekt danych"
// + ending: the comment of a record whose computation failed. The quasigeoid
// job passes an empty ending, the others " ".
std::string FailedPointText(std::string_view name, std::string_view ending = " ");
// " *** punkt " + name + " poza obszarem dopuszczalnym lub inny defekt danych ",
// with one leading blank: a plane point too far from its zone.
std::string DistortedPointText(std::string_view name);
// " *** punkt " + name + " ze strefy " + zoneFound + ", a wybrano strefę " +
// zoneChosen + " ", in the files' encoding (the name passes as it is): a plane
// point whose easting carries another zone than the chosen one. Zones: central
// meridians, degrees.
std::string WrongZoneText(std::string_view name, int zoneFound, int zoneChosen,
                          TextEncoding encoding);

}  // namespace kolvedir
