// Reads a text stream line by line with a bound on the line length, so that a file without line
// ends cannot exhaust memory. A CR before the LF is dropped, as text mode does.
#pragma once
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

// One step of reading a line out of a buffer: appends the bytes before the next LF in
// [start, start + avail) to line, keeping at most maxLen characters in all, and notes a cut line
// or a NUL byte in the flags. Returns the bytes consumed (the LF included) and whether the line
// ended here. A CR before the LF is left for the caller to drop once the line is complete.
struct CLineStep
{
    size_t m_Consumed;
    bool m_Ended;
};
CLineStep AppendLinePart(const char* start, size_t avail, size_t maxLen, std::string& line,
                         bool& truncated, bool& nul);

class CLineReader
{
public:
    static constexpr size_t DefaultMaxLine = 1 << 20;

    explicit CLineReader(std::istream& in, size_t maxLine = DefaultMaxLine);
    // Lines of text already in memory (a mapping, a piece of one); the text must outlive the
    // reader.
    explicit CLineReader(std::string_view text, size_t maxLine = DefaultMaxLine);
    // The next line without its end; false at the end of the stream.
    bool Next(std::string& line);
    // The same without a copy where it can: the view holds until the next call.
    bool Next(std::string_view& line);
    // The last line was longer than the bound; only its start was kept.
    bool Truncated() const { return m_Truncated; }
    // The last line held a NUL byte (binary data, not text).
    bool HadNul() const { return m_Nul; }
    std::uint64_t BytesRead() const { return m_BytesRead; }
    // A call of Next found no further line.
    bool Exhausted() const { return m_Exhausted; }
    size_t MaxLine() const { return m_MaxLine; }

private:
    bool Fill();

    std::istream* m_pIn = nullptr; // none: the text lies in memory
    size_t m_MaxLine;
    std::vector<char> m_Buffer;
    const char* m_pData;
    std::string m_Spanning; // a line that crosses the end of the buffer
    size_t m_Pos = 0, m_End = 0;
    std::uint64_t m_BytesRead = 0;
    bool m_Truncated = false, m_Nul = false, m_Eof = false, m_Exhausted = false;
};
