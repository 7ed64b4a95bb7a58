// A buffered reader of text files for the voxel readers. Numbers are extracted with the rules of
// stream extraction (leading white space skipped, optional sign, digits, decimal point, exponent;
// reading stops at the first character that does not belong to the number; overflow fails), but
// without a stream's per-character cost. Lines are read with a bound on their length, so that a
// file without line ends cannot exhaust memory. Like a stream, a failed extraction sticks.
#pragma once
#include "common/NumberScan.h"
#include "common/Tokens.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace volumira3d
{
class CTextScanner
{
public:
    static constexpr size_t DefaultMaxLine = 1 << 16;
    // Longest number accepted; a longer run of digits is refused instead of read.
    static constexpr size_t MaxNumberLength = 1024;

    CTextScanner();
    ~CTextScanner();
    CTextScanner(const CTextScanner&) = delete;
    CTextScanner& operator=(const CTextScanner&) = delete;

    // Opens a regular file; false for anything else.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_pFile != nullptr; }
    // Bytes of the file and bytes consumed so far.
    std::uint64_t Size() const { return m_Size; }
    std::uint64_t Position() const { return m_Consumed + m_Pos; }

    // Next character without consuming it; -1 at the end.
    int Peek()
    {
        if (m_Pos < m_End) return static_cast<unsigned char>(m_Buffer[m_Pos]);
        return Refill(1) ? static_cast<unsigned char>(m_Buffer[m_Pos]) : -1;
    }
    int Get()
    {
        const int c = Peek();
        if (c >= 0) ++m_Pos;
        if (c == '\n') ++m_LineEnds;
        return c;
    }
    // The 1-based line of the next character, for messages.
    std::uint64_t LineNumber() const { return m_LineEnds + 1; }
    // Skips white space; true when nothing else is left.
    bool AtEnd()
    {
        SkipWhiteSpace();
        return Peek() < 0;
    }

    // Stream extraction of a double or an int. False (and the scanner failed) when no number
    // starts here, the number overflows or the end was reached.
    bool Extract(double& value);
    bool Extract(std::int32_t& value);
    // Extracts up to n doubles in a row as Extract would, stopping early (and leaving for
    // Extract) at the first one that is not a plain number followed by white space, near the
    // end of the file, or after a failure. Returns how many were extracted.
    size_t ExtractPlainRun(double* values, size_t n);
    bool Failed() const { return m_Failed; }
    // Lets extraction go on after a failure (a reader that skips what it cannot read).
    void ClearFailure() { m_Failed = false; }

    // The next line without its end and without a CR before it; at most maxLen characters are
    // kept, the rest of a longer line is skipped. False at the end of the file.
    bool ReadLine(std::string& line, size_t maxLen = DefaultMaxLine);
    bool LineTruncated() const { return m_Truncated; }
    bool LineHadNul() const { return m_Nul; }
    // Skips the rest of the current line including its end.
    void SkipLine();

private:
    // The one body of the two Extract overloads.
    template <class T> bool ExtractNumber(T& value);
    // Makes at least n bytes available from m_Pos unless the file ends first.
    bool Refill(size_t n);
    void SkipWhiteSpace();
    bool Fail()
    {
        m_Failed = true;
        return false;
    }

    std::FILE* m_pFile = nullptr;
    std::vector<char> m_Buffer;
    size_t m_Pos = 0, m_End = 0;
    std::uint64_t m_Consumed = 0; // bytes dropped from the buffer's front
    std::uint64_t m_Size = 0;
    std::uint64_t m_LineEnds = 0; // line feeds consumed
    bool m_Eof = true, m_Failed = false, m_Truncated = false, m_Nul = false;
};

// The white space that stream extraction skips.
inline bool IsStreamSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}
// The first place at or after at that is no such white space; the text's size when there is none.
inline size_t SkipStreamSpace(std::string_view text, size_t at)
{
    while (at < text.size() && IsStreamSpace(text[at]))
        ++at;
    return at;
}

// Extraction of the number that starts at text[at] (no white space skipped), exactly as the
// scanner extracts it from the same text: at advances past what the scanner consumes, also when
// the extraction fails. The text must hold what follows the number up to white space.
bool ExtractAt(std::string_view text, size_t& at, double& value);
bool ExtractAt(std::string_view text, size_t& at, std::int32_t& value);

// Stream extraction applied to one token: the number at its start (leading blanks skipped).
// False when the token does not start with a number or the number overflows.
bool ParseLeadingNumber(std::string_view token, double& value);
bool ParseLeadingNumber(std::string_view token, std::int32_t& value);

} // namespace volumira3d
