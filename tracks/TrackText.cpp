#include "tracks/TrackText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace trakor3d
{
bool ContainsAny(std::string_view text, std::string_view chars)
{
    return text.find_first_of(chars) != std::string_view::npos;
}

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

namespace
{
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

size_t SkipDigits(std::string_view s, size_t i)
{
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    return i;
}

// Exact: at most 15 significant digits fit a double exactly, and so does every power of ten up
// to 1e22, so one multiplication or division rounds correctly (Clinger's fast path).
bool ConvertExactly(std::string_view text, double& value)
{
    static constexpr double Powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    std::uint64_t mantissa = 0;
    int digits = 0, scale = 0;
    size_t i = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
    {
        if (mantissa == 0 && text[i] == '0') continue;
        mantissa = mantissa * 10 + (text[i] - '0');
        if (++digits > 15) return false;
    }
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && IsDigit(text[i]); ++i)
        {
            --scale;
            if (mantissa == 0 && text[i] == '0') continue;
            mantissa = mantissa * 10 + (text[i] - '0');
            if (++digits > 15) return false;
        }
    if (i < text.size()) // the exponent, after its letter
    {
        ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
        int exponent = 0;
        for (; i < text.size(); ++i)
        {
            exponent = exponent * 10 + (text[i] - '0');
            if (exponent > 1000) return false;
        }
        scale += negative ? -exponent : exponent;
    }
    if (scale < -22 || scale > 22) return mantissa == 0 ? (value = 0.0, true) : false;
    value = scale < 0 ? double(mantissa) / Powers[-scale] : double(mantissa) * Powers[scale];
    return true;
}

// The text is a complete decimal number without sign; overflow goes to infinity and underflow
// towards zero, as strtod does.
double Convert(std::string_view text)
{
    double value = 0.0;
    if (ConvertExactly(text, value)) return value;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = std::strtod(std::string(text).c_str(), nullptr);
    return value;
}
} // namespace

double ReadNumber(std::string_view token)
{
    size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
    const size_t mantissaStart = i;
    i = SkipDigits(token, i);
    size_t digits = i - mantissaStart;
    if (i < token.size() && token[i] == '.')
    {
        const size_t afterPoint = SkipDigits(token, i + 1);
        digits += afterPoint - (i + 1);
        i = afterPoint;
    }
    if (digits == 0) return 0.0;
    size_t end = i; // one past the number
    bool fortranLetter = false;
    if (i < token.size() &&
        (token[i] == 'e' || token[i] == 'E' || token[i] == 'd' || token[i] == 'D'))
    {
        size_t j = i + 1;
        if (j < token.size() && (token[j] == '+' || token[j] == '-')) ++j;
        const size_t expEnd = SkipDigits(token, j);
        if (expEnd > j) // an exponent letter without digits is not part of the number
        {
            end = expEnd;
            fortranLetter = token[i] == 'd' || token[i] == 'D';
        }
    }
    double value = 0.0;
    if (!fortranLetter)
        value = Convert(token.substr(mantissaStart, end - mantissaStart));
    else
    {
        // The same number with E; converter output carries D in every coordinate.
        char small[64];
        std::string large;
        const std::string_view number = token.substr(mantissaStart, end - mantissaStart);
        char* copy = small;
        if (number.size() > sizeof small)
        {
            large.assign(number);
            copy = large.data();
        }
        else
            number.copy(small, number.size());
        copy[i - mantissaStart] = 'e';
        value = Convert({copy, number.size()});
    }
    return negative ? -value : value;
}

int ReadInteger(std::string_view token)
{
    size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
    long long value = 0;
    for (; i < token.size() && IsDigit(token[i]); ++i)
    {
        value = value * 10 + (token[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}
} // namespace trakor3d
