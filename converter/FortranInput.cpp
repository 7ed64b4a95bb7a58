#include "FortranInput.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace trakor
{
namespace
{

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The field's characters with the blanks removed.
std::string PackedField(std::string_view line, std::size_t width)
{
    std::string packed;
    for (char c : line.substr(0, width))
        if (!IsBlank(c)) packed += c;
    return packed;
}

std::size_t SkipDigits(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return pos;
}

bool IsExponentLetter(char c)
{
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper == 'E' || upper == 'D' || upper == 'Q';
}

// Rewrites a Fortran real ("+1.5D-3", "2-3", ".5") as "1.5e-3" for from_chars; empty when
// the text is not a Fortran real.
std::string CanonicalReal(std::string_view text)
{
    std::string out;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        out += text[pos++] == '-' ? "-" : "";
    const std::size_t intEnd = SkipDigits(text, pos);
    std::size_t digits = intEnd - pos;
    out += std::string(text.substr(pos, digits)) + (digits == 0 ? "0" : "");
    pos = intEnd;
    if (pos < text.size() && text[pos] == '.')
    {
        const std::size_t fracEnd = SkipDigits(text, pos + 1);
        digits += fracEnd - pos - 1;
        out += text.substr(pos, fracEnd - pos);
        pos = fracEnd;
    }
    if (digits == 0) return {};
    if (pos == text.size()) return out;
    if (IsExponentLetter(text[pos])) ++pos;
    out += 'e';
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) out += text[pos++];
    const std::size_t expEnd = SkipDigits(text, pos);
    if (expEnd == pos || expEnd != text.size()) return {};
    return out + std::string(text.substr(pos));
}

} // namespace

std::string ReadCharacterField(std::string_view line, std::size_t width)
{
    std::string field(line.substr(0, width));
    field.resize(width, ' ');
    return field;
}

std::optional<int> ReadIntegerField(std::string_view line, std::size_t width)
{
    const std::string packed = PackedField(line, width);
    if (packed.empty()) return 0;
    const std::size_t signs = (packed[0] == '+' || packed[0] == '-') ? 1 : 0;
    if (SkipDigits(packed, signs) != packed.size() || packed.size() == signs) return std::nullopt;
    // from_chars takes a minus sign but no plus sign.
    const char* first = packed.data() + (packed[0] == '+' ? 1 : 0);
    const char* last = packed.data() + packed.size();
    int value = 0;
    if (std::from_chars(first, last, value).ec != std::errc()) return std::nullopt;
    return value;
}

std::optional<double> ReadRealField(std::string_view line, std::size_t width)
{
    const std::string packed = PackedField(line, width);
    if (packed.empty()) return 0.0;
    const std::string text = CanonicalReal(packed);
    if (text.empty()) return std::nullopt;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace trakor
