#include "tracks/TrackText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

namespace trakor3d
{
void SplitTokens(std::string_view line, const CSeparators& isSeparator,
                 std::vector<std::string_view>& tokens)
{
    tokens.clear();
    const size_t n = line.size();
    size_t i = 0;
    while (i < n)
    {
        while (i < n && isSeparator(line[i]))
            ++i;
        const size_t start = i;
        while (i < n && !isSeparator(line[i]))
            ++i;
        if (i > start)
            tokens.push_back(line.substr(start, i - start));
    }
}

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
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t SkipDigits(std::string_view s, size_t i)
{
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    return i;
}

// The text is a complete decimal number without sign; overflow goes to infinity and underflow
// towards zero, as strtod does.
double Convert(std::string_view text)
{
    double value = 0.0;
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
    if (i < token.size() && (token[i] == '+' || token[i] == '-'))
        negative = token[i++] == '-';
    const size_t mantissaStart = i;
    i = SkipDigits(token, i);
    size_t digits = i - mantissaStart;
    if (i < token.size() && token[i] == '.')
    {
        const size_t afterPoint = SkipDigits(token, i + 1);
        digits += afterPoint - (i + 1);
        i = afterPoint;
    }
    if (digits == 0)
        return 0.0;
    size_t end = i; // one past the number
    bool fortranLetter = false;
    if (i < token.size() && (token[i] == 'e' || token[i] == 'E' || token[i] == 'd' || token[i] == 'D'))
    {
        size_t j = i + 1;
        if (j < token.size() && (token[j] == '+' || token[j] == '-'))
            ++j;
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
    if (i < token.size() && (token[i] == '+' || token[i] == '-'))
        negative = token[i++] == '-';
    long long value = 0;
    for (; i < token.size() && IsDigit(token[i]); ++i)
    {
        value = value * 10 + (token[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}
} // namespace trakor3d
