#include "common/Tokens.h"

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
        if (i > start) tokens.push_back(line.substr(start, i - start));
    }
}

std::vector<std::string_view> SplitTokens(std::string_view line, const CSeparators& isSeparator)
{
    std::vector<std::string_view> tokens;
    SplitTokens(line, isSeparator, tokens);
    return tokens;
}

std::string_view TrimBlanks(std::string_view text)
{
    static constexpr CSeparators Blank(" \t\r");
    size_t begin = 0, end = text.size();
    while (begin < end && Blank(text[begin]))
        ++begin;
    while (end > begin && Blank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}
