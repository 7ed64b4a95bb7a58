// Tokens and numbers of the track file.
#pragma once
#include "common/Tokens.h"

#include <string_view>

namespace trakor3d
{
bool ContainsAny(std::string_view text, std::string_view chars);
bool Contains(std::string_view text, std::string_view part);

// A decimal number read from the start of the token; reading stops at the first character that
// does not belong to it. The exponent letter may be E or D (as Fortran writes it). No number: 0.
double ReadNumber(std::string_view token);
// The same for a point's coordinate or time, where no value may be made up: NaN (which the point
// check refuses) when the token does not start with a number ("NaN", "+Infinity", "*****").
double ReadCoordinate(std::string_view token);
// An integer (sign and digits) read from the start of the token, clamped to int. No number: 0.
int ReadInteger(std::string_view token);
} // namespace trakor3d
