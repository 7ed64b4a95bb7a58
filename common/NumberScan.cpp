#include "common/NumberScan.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <locale.h>
#include <string>

namespace
{
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsSign(char c)
{
    return c == '+' || c == '-';
}

size_t SkipDigits(std::string_view s, size_t i)
{
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    return i;
}

bool IsExponentLetter(char c, EExponentLetter letters)
{
    return c == 'e' || c == 'E' || (letters == EExponentLetter::EOrD && (c == 'd' || c == 'D'));
}

// mantissa times ten to the scale: at most 15 significant digits fit a double exactly, and so
// does every power of ten up to 1e22, so one multiplication or division rounds correctly
// (Clinger's fast path). A zero mantissa is 0 at any scale; false for any other scale beyond 22.
bool ScaleExactly(std::uint64_t mantissa, int scale, double& magnitude)
{
    if (scale < -22 || scale > 22)
    {
        if (mantissa != 0) return false;
        magnitude = 0.0;
        return true;
    }
    magnitude = scale < 0 ? double(mantissa) / ExactPowersOfTen[-scale]
                          : double(mantissa) * ExactPowersOfTen[scale];
    return true;
}

// Exact where ScaleExactly is. The text is an unsigned number as ScanNumber delimits it, with any
// exponent letter.
bool ConvertExactly(std::string_view text, double& value)
{
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
        if (i < text.size() && IsSign(text[i])) negative = text[i++] == '-';
        int exponent = 0;
        for (; i < text.size(); ++i)
        {
            exponent = exponent * 10 + (text[i] - '0');
            if (exponent > 1000) return false;
        }
        scale += negative ? -exponent : exponent;
    }
    return ScaleExactly(mantissa, scale, value);
}

// The library's conversion knows only E; a Fortran D becomes one in a copy. Out of range (the
// library gives no value then), strtod saturates.
double ConvertByLibrary(std::string_view text)
{
    std::string copy;
    if (text.find_first_of("dD") != std::string_view::npos)
    {
        copy.assign(text);
        copy[copy.find_first_of("dD")] = 'e';
        text = copy;
    }
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) value = StrtodC(std::string(text).c_str());
    return value;
}
} // namespace

CNumberSpan ScanNumber(std::string_view text, EExponentLetter letters)
{
    size_t i = !text.empty() && IsSign(text[0]) ? 1 : 0;
    const size_t mantissaStart = i;
    i = SkipDigits(text, i);
    size_t digits = i - mantissaStart;
    if (i < text.size() && text[i] == '.')
    {
        const size_t afterPoint = SkipDigits(text, i + 1);
        digits += afterPoint - (i + 1);
        i = afterPoint;
    }
    if (digits == 0) return {};
    CNumberSpan span{i, false};
    if (i < text.size() && IsExponentLetter(text[i], letters))
    {
        size_t j = i + 1;
        if (j < text.size() && IsSign(text[j])) ++j;
        const size_t exponentEnd = SkipDigits(text, j);
        if (exponentEnd > j)
            span.m_End = exponentEnd;
        else
            span.m_DanglingExponent = true;
    }
    return span;
}

bool ScanShortNumber(std::string_view text, EExponentLetter letters, CNumberSpan& span,
                     double& value)
{
    const char* const begin = text.data();
    const char* p = begin;
    const char* const end = begin + text.size();
    const bool negative = p < end && *p == '-';
    if (p < end && IsSign(*p)) ++p;
    // Leading zeros are skipped apart, so that the digit loops only accumulate; a mantissa of
    // more than 15 digits may wrap, as it is refused below anyway.
    const char* const integerStart = p;
    while (p < end && *p == '0')
        ++p;
    std::uint64_t mantissa = 0;
    const char* const integerDigits = p;
    for (; p < end && IsDigit(*p); ++p)
        mantissa = mantissa * 10 + unsigned(*p - '0');
    std::ptrdiff_t significant = p - integerDigits;
    bool anyDigit = p > integerStart;
    std::ptrdiff_t fraction = 0;
    if (p < end && *p == '.')
    {
        const char* const fractionStart = ++p;
        if (significant == 0)
            while (p < end && *p == '0')
                ++p;
        const char* const fractionDigits = p;
        for (; p < end && IsDigit(*p); ++p)
            mantissa = mantissa * 10 + unsigned(*p - '0');
        significant += p - fractionDigits;
        fraction = p - fractionStart;
        anyDigit = anyDigit || fraction > 0;
    }
    if (!anyDigit || significant > 15 || fraction > 1000) return false;
    int scale = -static_cast<int>(fraction);
    if (p < end && IsExponentLetter(*p, letters))
    {
        ++p;
        const bool negativeExponent = p < end && *p == '-';
        if (p < end && IsSign(*p)) ++p;
        if (p == end || !IsDigit(*p)) return false;
        int exponent = 0;
        for (; p < end && IsDigit(*p); ++p)
            if ((exponent = exponent * 10 + (*p - '0')) > 1000) return false;
        scale += negativeExponent ? -exponent : exponent;
    }
    double magnitude = 0.0;
    if (!ScaleExactly(mantissa, scale, magnitude)) return false;
    value = negative ? -magnitude : magnitude;
    span = {size_t(p - begin), false};
    return true;
}

CNumberSpan ScanInteger(std::string_view text)
{
    const size_t start = !text.empty() && IsSign(text[0]) ? 1 : 0;
    const size_t end = SkipDigits(text, start);
    return end > start ? CNumberSpan{end, false} : CNumberSpan{};
}

double NumberValue(std::string_view number)
{
    const bool negative = !number.empty() && number[0] == '-';
    if (!number.empty() && IsSign(number[0])) number.remove_prefix(1);
    double value = 0.0;
    if (!ConvertExactly(number, value)) value = ConvertByLibrary(number);
    return negative ? -value : value;
}

namespace
{
// Fortran's Ew.d drops the letter of a three-digit exponent: "2.987-103".
size_t BareExponentEnd(std::string_view field, size_t mantissaEnd)
{
    if (mantissaEnd >= field.size() || !IsSign(field[mantissaEnd])) return 0;
    const size_t end = SkipDigits(field, mantissaEnd + 1);
    return end > mantissaEnd + 1 && end == field.size() ? end : 0;
}
} // namespace

EFieldProblem ReadNumberField(std::string_view field, double& value, EExponentLetter letters)
{
    const CNumberSpan span = ScanNumber(field, letters);
    if (!span.Found() || span.m_DanglingExponent) return EFieldProblem::NotANumber;
    double read = 0.0;
    if (span.m_End == field.size())
        read = NumberValue(field);
    else if (letters == EExponentLetter::EOrD && BareExponentEnd(field, span.m_End))
    {
        std::string lettered(field.substr(0, span.m_End));
        lettered += 'e';
        lettered += field.substr(span.m_End);
        read = NumberValue(lettered);
    }
    else
        return EFieldProblem::NotANumber;
    if (!std::isfinite(read)) return EFieldProblem::OutOfRange;
    value = read;
    return EFieldProblem::None;
}

EFieldProblem ReadIntegerField(std::string_view field, long long& value)
{
    const CNumberSpan span = ScanInteger(field);
    if (!span.Found() || span.m_End != field.size()) return EFieldProblem::NotANumber;
    if (field[0] == '+') field.remove_prefix(1);
    long long read = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), read);
    if (ec != std::errc()) return EFieldProblem::OutOfRange;
    value = read;
    return EFieldProblem::None;
}

EFieldProblem ReadIntegerField(std::string_view field, int& value)
{
    long long wide = 0;
    const EFieldProblem problem = ReadIntegerField(field, wide);
    if (problem != EFieldProblem::None) return problem;
    if (wide < INT_MIN || wide > INT_MAX) return EFieldProblem::OutOfRange;
    value = static_cast<int>(wide);
    return EFieldProblem::None;
}

std::string FieldProblemText(std::string_view field, EFieldProblem problem)
{
    constexpr size_t Shown = 40; // a run-together line is not worth quoting whole
    if (field.empty()) return "an empty field is not a number";
    std::string quoted(1, '"');
    quoted.append(field.substr(0, Shown));
    quoted.append(field.size() > Shown ? "...\"" : "\"");
    switch (problem)
    {
    case EFieldProblem::None:
        break;
    case EFieldProblem::NotANumber:
        return quoted + " is not a number";
    case EFieldProblem::OutOfRange:
        return quoted + " is out of range";
    }
    return quoted;
}

namespace
{
template <class T, class Read>
std::optional<T> Checked(std::string_view field, std::string& problem, Read read)
{
    T value{};
    const EFieldProblem why = read(value);
    if (why == EFieldProblem::None) return value;
    problem = FieldProblemText(field, why);
    return std::nullopt;
}
} // namespace

std::optional<double> CheckedNumber(std::string_view field, std::string& problem,
                                    EExponentLetter letters)
{
    return Checked<double>(field, problem,
                           [&](double& v) { return ReadNumberField(field, v, letters); });
}

std::optional<int> CheckedInteger(std::string_view field, std::string& problem)
{
    return Checked<int>(field, problem, [&](int& v) { return ReadIntegerField(field, v); });
}

double StrtodC(const char* text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t());
    return strtod_l(text, nullptr, cLocale);
}
