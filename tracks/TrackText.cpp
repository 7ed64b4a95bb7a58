#include "tracks/TrackText.h"

#include "common/NumberScan.h"

#include <algorithm>
#include <climits>
#include <limits>

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

double ReadNumber(std::string_view token)
{
    CNumberSpan shortSpan;
    double value = 0;
    if (ScanShortNumber(token, EExponentLetter::EOrD, shortSpan, value)) return value;
    const CNumberSpan span = ScanNumber(token, EExponentLetter::EOrD);
    return span.Found() ? NumberValue(token.substr(0, span.m_End)) : 0.0;
}

double ReadCoordinate(std::string_view token)
{
    return ScanNumber(token, EExponentLetter::EOrD).Found()
               ? ReadNumber(token)
               : std::numeric_limits<double>::quiet_NaN();
}

int ReadInteger(std::string_view token)
{
    const CNumberSpan span = ScanInteger(token);
    if (!span.Found()) return 0;
    const bool negative = token[0] == '-';
    long long value = 0;
    for (size_t i = token[0] == '+' || negative ? 1 : 0; i < span.m_End; ++i)
        value = std::min(value * 10 + (token[i] - '0'), static_cast<long long>(INT_MAX) + 1);
    if (negative) value = -value;
    return static_cast<int>(std::min(value, static_cast<long long>(INT_MAX)));
}
} // namespace trakor3d
