#include "NumberFormat.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

namespace trakor
{
namespace
{

std::size_t RightAligned(char* out, std::string_view text, std::size_t width)
{
    if (text.size() > width) text = text.substr(0, width);
    std::memset(out, ' ', width - text.size());
    std::memcpy(out + width - text.size(), text.data(), text.size());
    return width;
}

std::size_t FormatNonFinite(char* out, double value, std::size_t width)
{
    if (std::isnan(value)) return RightAligned(out, "NaN", width);
    return RightAligned(out, value > 0 ? "+Infinity" : "-Infinity", width);
}

} // namespace

std::size_t FormatExponent(char* out, double value, int decimals, char letter)
{
    assert(decimals >= 1 && decimals <= 30);
    const std::size_t width = ExponentWidth(decimals);
    if (!std::isfinite(value)) return FormatNonFinite(out, value, width);
    // to_chars gives "d.ddde+XX" (or e+XXX), correctly rounded like printf's %.*e.
    char digits[64];
    const auto result = std::to_chars(digits, digits + sizeof digits, std::fabs(value),
                                      std::chars_format::scientific, decimals);
    const std::size_t mantissa = static_cast<std::size_t>(decimals) + 2;
    const std::size_t exponentDigits = static_cast<std::size_t>(result.ptr - digits) - mantissa - 2;
    out[0] = std::signbit(value) ? '-' : '+';
    std::memcpy(out + 1, digits, mantissa);
    char* tail = out + 1 + mantissa;
    if (exponentDigits == 2) *tail++ = letter;
    *tail++ = digits[mantissa + 1];
    std::memcpy(tail, digits + mantissa + 2, exponentDigits);
    return width;
}

std::size_t FormatSignedInteger(char* out, int value, std::size_t width)
{
    char text[16];
    text[0] = value < 0 ? '-' : '+';
    const long magnitude = value < 0 ? -static_cast<long>(value) : value;
    const auto result = std::to_chars(text + 1, text + sizeof text, magnitude);
    const std::string_view written(text, static_cast<std::size_t>(result.ptr - text));
    if (written.size() > width)
    {
        std::memset(out, '*', width);
        return width;
    }
    return RightAligned(out, written, width);
}

} // namespace trakor
