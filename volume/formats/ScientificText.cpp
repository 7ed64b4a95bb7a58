#include "volume/formats/ScientificText.h"

#include "common/NumberScan.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace volumira3d
{
namespace
{
// a times ten to the k, through powers of ten that doubles hold exactly: each step rounds once,
// so the result is within a few units in the last place.
double Scale(double a, int k)
{
    for (; k > 22; k -= 22)
        a *= 1e22;
    for (; k < -22; k += 22)
        a /= 1e22;
    return k >= 0 ? a * ExactPowersOfTen[k] : a / ExactPowersOfTen[-k];
}

// The library's exact conversion, in printf's upper case.
char* WriteExactly(char* out, double value)
{
    char* end =
        std::to_chars(out, out + Scientific4Chars, value, std::chars_format::scientific, 4).ptr;
    for (char* p = out; p != end; ++p)
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    return end;
}

char* WriteDigits(char* out, bool negative, std::uint32_t digits, int exponent)
{
    if (negative) *out++ = '-';
    // Constant divisors, so that no division instruction is left.
    const std::uint32_t low = digits % 10000;
    out[0] = char('0' + digits / 10000);
    out[1] = '.';
    out[2] = char('0' + low / 1000);
    out[3] = char('0' + low / 100 % 10);
    out[4] = char('0' + low / 10 % 10);
    out[5] = char('0' + low % 10);
    out += 6;
    *out++ = 'E';
    *out++ = exponent < 0 ? '-' : '+';
    const int e = std::abs(exponent);
    if (e >= 100) *out++ = char('0' + e / 100);
    *out++ = char('0' + e / 10 % 10);
    *out++ = char('0' + e % 10);
    return out;
}
} // namespace

// Five significant digits are the mantissa m = |value| * 10^(4 - e) rounded, e the decimal
// exponent. m is computed within far less than a millionth; only when it lies that close to a
// rounding tie (or the value is zero, not finite or extreme) does the exact conversion decide.
char* WriteScientific4(char* out, double value)
{
    const double a = std::fabs(value);
    if (!(a >= 1e-300 && a <= 1e300)) return WriteExactly(out, value);
    // The binary exponent as frexp gives it, from the bits: a is normal here.
    const int binary = static_cast<int>(std::bit_cast<std::uint64_t>(a) >> 52) - 1022;
    // floor(log10(a)), or one less: a lies in [2^(binary-1), 2^binary).
    // Shifted to be positive, so that truncation floors (binary - 1 lies in [-997, 997]).
    int exponent = static_cast<int>((binary - 1) * 0.30102999566398120 + 400) - 400;
    double m = Scale(a, 4 - exponent);
    if (m >= 1e5) m = Scale(a, 4 - ++exponent);
    const double fraction = m - static_cast<std::uint32_t>(m);
    if (m < 1e4 || std::fabs(fraction - 0.5) < 1e-6) return WriteExactly(out, value);
    // m is positive and not near a half (left to WriteExactly above): truncation rounds.
    auto digits = static_cast<std::uint32_t>(m + 0.5); // NOLINT(bugprone-incorrect-roundings)
    if (digits == 100000) digits = 10000, ++exponent;
    return WriteDigits(out, value < 0, digits, exponent);
}
} // namespace volumira3d
