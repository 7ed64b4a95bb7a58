#pragma once

#include <cstddef>

namespace trakor
{

// Number fields of the output files, written like Fortran's SP,1PEw.d editing: the sign is
// always written, one digit stands before the point, and the exponent has a sign and two
// digits; an exponent of three digits takes the place of the letter, so the width never
// changes. Values that are not finite are right-aligned ("NaN", "+Infinity").

inline constexpr int GroupDecimals = 9;  // group bounds, script coordinates: 16 columns
inline constexpr int TrackDecimals = 15; // track coordinates, times, energies: 22 columns

constexpr std::size_t ExponentWidth(int decimals)
{
    return static_cast<std::size_t>(decimals) + 7;
}

// Writes exactly ExponentWidth(decimals) characters to `out` (no terminator); returns that
// count. `decimals` must lie in 1..30.
std::size_t FormatExponent(char* out, double value, int decimals, char letter);

// SP,Iw: right-aligned with the sign always written; returns `width`. A value too wide for the
// field is written as `width` asterisks.
std::size_t FormatSignedInteger(char* out, int value, std::size_t width);

} // namespace trakor
