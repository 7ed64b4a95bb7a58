// Splitting a line into tokens at runs of separator characters, as every text format here does.
#pragma once
#include <string_view>
#include <vector>

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

// Splits at runs of the separator characters; no empty tokens. The first form reuses the
// caller's vector (for readers that split every line).
void SplitTokens(std::string_view line, const CSeparators& isSeparator,
                 std::vector<std::string_view>& tokens);
std::vector<std::string_view> SplitTokens(std::string_view line, const CSeparators& isSeparator);

// The text without the blanks, tabs and carriage returns at either end.
std::string_view TrimBlanks(std::string_view text);
