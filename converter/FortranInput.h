#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace trakor
{

// Reading of one answer line as a Fortran formatted READ does it: only the first `width`
// columns are read, a short line counts as padded with blanks, and blanks inside a numeric
// field are ignored (an all-blank field is 0). Tabs count as blanks.

// Aw: the first `width` characters, padded with blanks to exactly `width`.
std::string ReadCharacterField(std::string_view line, std::size_t width);

// Iw: nullopt when the field is not an optionally signed integer.
std::optional<int> ReadIntegerField(std::string_view line, std::size_t width);

// Dw.0: an optionally signed decimal number with an optional exponent introduced by E, D or Q
// (any case) or by a sign alone ("1.5-3"); nullopt when the field is not such a number or
// its value is not finite.
std::optional<double> ReadRealField(std::string_view line, std::size_t width);

} // namespace trakor
