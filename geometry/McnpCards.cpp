#include "geometry/McnpCards.h"

#include "common/FileSystem.h"
#include "common/NumberScan.h"
#include "common/TextCase.h"
#include "common/Tokens.h"
#include "platform/UiServices.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>

namespace
{
std::string ExpandTabs(const std::string& text)
{
    std::string out;
    for (const char c : text)
        if (c == '\t')
            out.append(8 - out.size() % 8, ' ');
        else if (c != '\r')
            out += c;
    return out;
}

bool IsBlank(const std::string& text)
{
    return text.find_first_not_of(' ') == std::string::npos;
}

// "c" in columns 1-5, after blanks only, followed by a blank or the end of the line.
bool IsCommentLine(const std::string& text)
{
    const size_t at = text.find_first_not_of(' ');
    return at != std::string::npos && at < 5 && (text[at] == 'c' || text[at] == 'C') &&
           (at + 1 == text.size() || text[at + 1] == ' ');
}

std::string WithoutComment(const std::string& text)
{
    return text.substr(0, text.find('$'));
}

bool Continues(const std::string& text)
{
    return text.size() >= 5 && text.compare(0, 5, "     ") == 0;
}

// Joins lines [begin, end) into cards; a blank line ends the block when blankEnds (its index
// then goes to end), else it is skipped.
std::vector<CMcnpCard> Cards(const std::vector<CInputLine>& lines, size_t& at, bool blankEnds)
{
    std::vector<CMcnpCard> cards;
    bool open = false; // the last card ended with "&"
    for (; at < lines.size(); ++at)
    {
        const std::string raw = ExpandTabs(lines[at].m_Text);
        if (IsBlank(raw))
        {
            if (blankEnds)
            {
                ++at;
                break;
            }
            continue;
        }
        if (IsCommentLine(raw)) continue;
        std::string text = WithoutComment(raw);
        const size_t last = text.find_last_not_of(' ');
        const bool ampersand = last != std::string::npos && text[last] == '&';
        if (ampersand) text.erase(last);
        if ((open || Continues(raw)) && !cards.empty())
            cards.back().m_Text += " " + text;
        else if (!IsBlank(text))
            cards.push_back({text, lines[at].m_File, lines[at].m_Line});
        open = ampersand;
    }
    return cards;
}

bool IsNumber(const std::string& text, double& value)
{
    return ReadNumberField(text, value) == EFieldProblem::None;
}

// A shorthand field "3r", "r", "2i", "ilog", "0.5m", "2j": its count (or factor) and letters.
bool Shorthand(const std::string& field, double& count, std::string& letters)
{
    size_t split = 0;
    while (split < field.size() &&
           (std::isdigit(static_cast<unsigned char>(field[split])) || field[split] == '.'))
        ++split;
    letters = LowerCase(field.substr(split));
    if (letters != "r" && letters != "i" && letters != "ilog" && letters != "log" &&
        letters != "m" && letters != "j")
        return false;
    count = 1;
    return split == 0 || IsNumber(field.substr(0, split), count);
}
} // namespace

bool InputLines(CLineReader& reader, const std::string& file, std::vector<CInputLine>& lines)
{
    bool whole = true;
    std::string text;
    for (int n = 1; reader.Next(text); ++n)
    {
        lines.push_back({text, file, n});
        whole = whole && !reader.Truncated();
    }
    return whole;
}

bool ReadInputLines(const std::string& path, std::vector<CInputLine>& lines, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!IsRegularFile(path) || !in)
    {
        error = "The file " + path + " cannot be opened.";
        return false;
    }
    CLineReader reader(in);
    if (InputLines(reader, path, lines)) return true;
    error = Format("The file %s has a line longer than %zu bytes: it is not an input.",
                   path.c_str(), reader.MaxLine());
    return false;
}

CMcnpDeck SplitMcnpDeck(const std::vector<CInputLine>& lines)
{
    CMcnpDeck deck;
    size_t at = 0;
    while (at < lines.size() && IsBlank(lines[at].m_Text))
        ++at;
    if (at < lines.size() && LowerCase(lines[at].m_Text).find("message:") == 0)
        while (at < lines.size() && !IsBlank(ExpandTabs(lines[at++].m_Text)))
            ;
    if (at < lines.size()) deck.m_Title = lines[at++].m_Text;
    deck.m_Cells = Cards(lines, at, true);
    deck.m_Surfaces = Cards(lines, at, true);
    deck.m_Data = Cards(lines, at, true);
    return deck;
}

std::vector<CMcnpCard> JoinMcnpCards(const std::vector<CInputLine>& lines)
{
    size_t at = 0;
    return Cards(lines, at, false);
}

bool ExpandShorthand(std::vector<std::string>& fields, std::string& error)
{
    std::vector<std::string> out;
    // No card of the geometry has more entries; a shorthand asking for more is a broken field.
    constexpr double MaxEntries = 100000;
    for (size_t i = 0; i < fields.size(); ++i)
    {
        double count = 0;
        std::string letters;
        if (!Shorthand(fields[i], count, letters))
        {
            out.push_back(fields[i]);
            continue;
        }
        if (count > MaxEntries || static_cast<double>(out.size()) + count > MaxEntries)
        {
            error = "\"" + fields[i] + "\" makes too many entries";
            return false;
        }
        const auto whole = static_cast<size_t>(count);
        if (letters == "j")
        {
            out.insert(out.end(), whole, "j");
            continue;
        }
        double before = 0;
        if (out.empty() || !IsNumber(out.back(), before))
        {
            error = "\"" + fields[i] + "\" has no number before it";
            return false;
        }
        if (letters == "r")
            out.insert(out.end(), whole, out.back());
        else if (letters == "m")
            out.push_back(Format("%.17g", before * count));
        else
        {
            double after = 0;
            if (i + 1 >= fields.size() || !IsNumber(fields[i + 1], after))
            {
                error = "\"" + fields[i] + "\" has no number after it";
                return false;
            }
            const bool log = letters != "i";
            if (log && !(before > 0 && after > 0))
            {
                error = "\"" + fields[i] +
                        "\" interpolates logarithmically between numbers that "
                        "are not positive";
                return false;
            }
            for (size_t k = 1; k <= whole; ++k)
            {
                const double f = static_cast<double>(k) / static_cast<double>(whole + 1);
                out.push_back(Format(
                    "%.17g",
                    log ? std::exp(std::log(before) + f * (std::log(after) - std::log(before)))
                        : before + f * (after - before)));
            }
        }
    }
    fields = std::move(out);
    return true;
}

bool LooksLikeMcnpInput(const std::string& head)
{
    std::vector<CInputLine> lines;
    CLineReader reader(head);
    InputLines(reader, "", lines);
    const CMcnpDeck deck = SplitMcnpDeck(lines);
    if (deck.m_Cells.empty() || deck.m_Surfaces.empty()) return false;
    static constexpr CSeparators Blanks(" ");
    const auto cell = SplitTokens(deck.m_Cells.front().m_Text, Blanks);
    const auto surface = SplitTokens(deck.m_Surfaces.front().m_Text, Blanks);
    int number = 0;
    const auto integer = [&number](std::string_view t)
    { return ReadIntegerField(t, number) == EFieldProblem::None; };
    if (cell.size() < 3 || !integer(cell[0]) ||
        !(integer(cell[1]) || LowerCase(std::string(cell[1])) == "like"))
        return false;
    if (surface.size() < 2) return false;
    std::string number0(surface[0]);
    if (!number0.empty() && (number0[0] == '*' || number0[0] == '+')) number0.erase(0, 1);
    return integer(number0);
}
