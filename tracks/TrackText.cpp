#include "tracks/TrackText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

namespace trakor3d
{
void SplitTokens(std::string_view line, std::string_view separators,
                 std::vector<std::string_view>& tokens)
{
    tokens.clear();
    size_t i = 0;
    while (i < line.size())
    {
        i = line.find_first_not_of(separators, i);
        if (i == std::string_view::npos)
            break;
        size_t end = line.find_first_of(separators, i);
        if (end == std::string_view::npos)
            end = line.size();
        tokens.push_back(line.substr(i, end - i));
        i = end;
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
    char buffer[128] = {};
    size_t n = 0;
    auto put = [&](std::string_view part) {
        for (char c : part)
            if (n < sizeof buffer)
                buffer[n++] = c;
    };
    put(token.substr(mantissaStart, i - mantissaStart));
    if (i < token.size() && (token[i] == 'e' || token[i] == 'E' || token[i] == 'd' || token[i] == 'D'))
    {
        size_t j = i + 1;
        if (j < token.size() && (token[j] == '+' || token[j] == '-'))
            ++j;
        const size_t end = SkipDigits(token, j);
        if (end > j) // an exponent letter without digits is not part of the number
        {
            put("e");
            put(token.substr(i + 1, end - (i + 1)));
        }
    }
    if (n >= sizeof buffer) // absurdly many digits: let the slow path decide
    {
        std::string copy(token.substr(mantissaStart));
        for (char& c : copy)
            if (c == 'd' || c == 'D')
                c = 'e';
        const double v = std::strtod(copy.c_str(), nullptr);
        return negative ? -v : v;
    }
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(buffer, buffer + n, value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) // overflow to infinity, underflow towards zero
        value = std::strtod(std::string(buffer, n).c_str(), nullptr);
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
