// Tokens and numbers of the track file.
#pragma once
#include <string_view>
#include <vector>

namespace trakor3d
{
// A set of separator characters, looked up by byte.
class CSeparators
{
public:
    constexpr explicit CSeparators(std::string_view chars) : m_Is{}
    {
        for (char c : chars)
            m_Is[static_cast<unsigned char>(c)] = true;
    }
    constexpr bool operator()(char c) const { return m_Is[static_cast<unsigned char>(c)]; }

private:
    bool m_Is[256];
};

// Splits at runs of the separator characters; no empty tokens.
void SplitTokens(std::string_view line, const CSeparators& isSeparator,
                 std::vector<std::string_view>& tokens);
bool ContainsAny(std::string_view text, std::string_view chars);
bool Contains(std::string_view text, std::string_view part);

// A decimal number read from the start of the token; reading stops at the first character that
// does not belong to it. The exponent letter may be E or D (as Fortran writes it). No number: 0.
double ReadNumber(std::string_view token);
// An integer (sign and digits) read from the start of the token, clamped to int. No number: 0.
int ReadInteger(std::string_view token);
} // namespace trakor3d
