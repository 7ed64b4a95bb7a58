// The cards of an MCNP input, as the code reads them: the title line, then the cell, surface and
// data blocks, each ended by a blank line. Comment lines ("c" in columns 1-5 followed by a blank)
// and "$" comments are dropped, tabs become blanks, and a line continues the card before it when
// its first five columns are blank or the card's last line ends with "&".
#pragma once
#include "common/LineReader.h"
#include "geometry/FlukaInput.h"

#include <string>
#include <vector>

// A card: its lines joined by blanks, where its first line is.
using CMcnpCard = CInputLine;

struct CMcnpDeck
{
    std::string m_Title;
    std::vector<CMcnpCard> m_Cells, m_Surfaces, m_Data;
};

// The lines a reader gives, numbered from 1 and named by file; false when a line was longer than
// the reader's bound (only its start is kept).
bool InputLines(CLineReader& reader, const std::string& file, std::vector<CInputLine>& lines);
// The lines of a file; false, with the problem in error, when it cannot be read or a line is cut.
bool ReadInputLines(const std::string& path, std::vector<CInputLine>& lines, std::string& error);

// The three blocks of an MCNP input's lines (a message block before the title is skipped).
CMcnpDeck SplitMcnpDeck(const std::vector<CInputLine>& lines);
// The cards of lines that hold one block, blank lines skipped (a PHITS section).
std::vector<CMcnpCard> JoinMcnpCards(const std::vector<CInputLine>& lines);

// Expands the shorthand of a card's fields: "3r" repeats the entry before it three times, "2i"
// inserts two linear interpolates between its neighbours ("2ilog" logarithmic ones), "0.5m" is the
// entry before times 0.5, "2j" jumps two entries (they become "j": the default). False, with the
// problem in error, when a shorthand has no entry to work on.
bool ExpandShorthand(std::vector<std::string>& fields, std::string& error);

// Whether the start of a file reads as an MCNP input: a title, then a cell card ("j m ..." or
// "j LIKE n BUT ...") and, after a blank line, a surface card.
bool LooksLikeMcnpInput(const std::string& head);
