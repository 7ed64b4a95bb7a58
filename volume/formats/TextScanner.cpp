#include "volume/formats/TextScanner.h"

#include "common/FileSystem.h"
#include "common/LineReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace volumira3d
{
namespace
{
constexpr size_t BufferSize = 1 << 20;

// Converts a number as ScanInteger delimited it; overflow fails as it does for a stream.
bool ConvertInteger(std::string_view number, std::int32_t& value)
{
    if (number[0] == '+') number.remove_prefix(1);
    const char* last = number.data() + number.size();
    const auto [ptr, ec] = std::from_chars(number.data(), last, value);
    return ec == std::errc() && ptr == last;
}

// Stream extraction takes the number only with its exponent's digits, and fails on overflow.
bool ConvertReal(std::string_view text, const CNumberSpan& span, double& value)
{
    if (!span.Found() || span.m_DanglingExponent) return false;
    value = NumberValue(text.substr(0, span.m_End));
    return std::isfinite(value);
}

// The common number in one pass; false, with at unchanged, for anything else.
bool ReadShortNumber(std::string_view text, size_t& at, double& value)
{
    CNumberSpan span;
    double read = 0;
    if (!ScanShortNumber(text.substr(at), EExponentLetter::E, span, read) ||
        span.m_End >= CTextScanner::MaxNumberLength)
        return false;
    value = read;
    at += span.m_End;
    return true;
}

std::string_view SkipLeadingSpace(std::string_view token)
{
    return token.substr(SkipStreamSpace(token, 0));
}
} // namespace

CTextScanner::CTextScanner() = default;

CTextScanner::~CTextScanner()
{
    Close();
}

bool CTextScanner::Open(const std::string& path)
{
    Close();
    // A device or a pipe may never end; folders cannot be read.
    if (!IsRegularFile(path)) return false;
    m_pFile = std::fopen(path.c_str(), "rb");
    if (!m_pFile) return false;
    m_Buffer.resize(BufferSize + MaxNumberLength);
    if (std::fseek(m_pFile, 0, SEEK_END) == 0)
    {
        const long size = std::ftell(m_pFile);
        m_Size = size > 0 ? static_cast<std::uint64_t>(size) : 0;
    }
    std::rewind(m_pFile);
    m_Eof = false;
    m_Failed = false;
    return true;
}

void CTextScanner::Close()
{
    if (m_pFile) std::fclose(m_pFile);
    m_pFile = nullptr;
    m_Pos = m_End = 0;
    m_Consumed = 0;
    m_Size = 0;
    m_LineEnds = 0;
    m_Eof = true;
    m_Failed = false;
    std::vector<char>().swap(m_Buffer);
}

bool CTextScanner::Refill(size_t n)
{
    if (m_End - m_Pos >= n) return true;
    if (m_Eof) return false;
    // Keep the unread rest at the front, then fill behind it.
    const size_t rest = m_End - m_Pos;
    if (m_Pos > 0)
    {
        std::memmove(m_Buffer.data(), m_Buffer.data() + m_Pos, rest);
        m_Consumed += m_Pos;
        m_Pos = 0;
        m_End = rest;
    }
    while (m_End - m_Pos < n)
    {
        const size_t room = m_Buffer.size() - m_End;
        if (room == 0) break;
        const size_t got = std::fread(m_Buffer.data() + m_End, 1, room, m_pFile);
        if (got == 0)
        {
            m_Eof = true;
            break;
        }
        m_End += got;
    }
    return m_End - m_Pos >= n;
}

void CTextScanner::SkipWhiteSpace()
{
    for (;;)
    {
        while (m_Pos < m_End && IsStreamSpace(m_Buffer[m_Pos]))
            m_LineEnds += m_Buffer[m_Pos++] == '\n';
        if (m_Pos < m_End || !Refill(1)) return;
    }
}

template <class T> bool CTextScanner::ExtractNumber(T& value)
{
    if (m_Failed || !m_pFile) return Fail();
    SkipWhiteSpace();
    Refill(MaxNumberLength);
    size_t at = 0;
    const bool read = ExtractAt({m_Buffer.data() + m_Pos, m_End - m_Pos}, at, value);
    m_Pos += at;
    return read || Fail();
}

bool CTextScanner::Extract(double& value)
{
    return ExtractNumber(value);
}

bool CTextScanner::Extract(std::int32_t& value)
{
    return ExtractNumber(value);
}

size_t CTextScanner::ExtractPlainRun(double* values, size_t n)
{
    if (m_Failed || !m_pFile) return 0;
    size_t done = 0;
    // Whatever starts before `safe` ends inside the buffer, or is left for Extract.
    while (done < n && (m_End - m_Pos > MaxNumberLength || Refill(MaxNumberLength + 1)))
    {
        const char* const begin = m_Buffer.data();
        const char* const end = begin + m_End;
        const char* const safe = end - MaxNumberLength;
        const char* p = begin + m_Pos;
        for (; done < n && p < safe; ++p)
        {
            if (IsStreamSpace(*p))
            {
                m_LineEnds += *p == '\n';
                continue;
            }
            size_t length = 0;
            if (!ReadShortNumber({p, size_t(end - p)}, length, values[done]) ||
                !IsStreamSpace(p[length]))
            {
                m_Pos = static_cast<size_t>(p - begin);
                return done;
            }
            ++done;
            p += length - 1;
        }
        m_Pos = static_cast<size_t>(p - begin);
    }
    return done;
}

bool ExtractAt(std::string_view text, size_t& at, double& value)
{
    if (ReadShortNumber(text, at, value)) return true;
    const std::string_view rest = text.substr(at);
    const CNumberSpan span = ScanNumber(rest);
    if (!span.Found() || span.m_DanglingExponent || span.m_End >= CTextScanner::MaxNumberLength)
        return false;
    at += span.m_End; // an overflowing number is consumed, as a stream consumes it
    return ConvertReal(rest, span, value);
}

bool ExtractAt(std::string_view text, size_t& at, std::int32_t& value)
{
    const size_t available = text.size() - at;
    if (available == 0) return false;
    const std::string_view rest =
        text.substr(at, std::min(available, CTextScanner::MaxNumberLength));
    const CNumberSpan span = ScanInteger(rest);
    // Like a stream, a sign without digits is consumed before the extraction fails.
    at += span.Found() ? span.m_End : (rest[0] == '+' || rest[0] == '-');
    if (!span.Found() || (span.m_End == rest.size() && rest.size() < available)) return false;
    return ConvertInteger(rest.substr(0, span.m_End), value);
}

bool CTextScanner::ReadLine(std::string& line, size_t maxLen)
{
    line.clear();
    m_Truncated = m_Nul = false;
    if (Peek() < 0) return false;
    for (;;)
    {
        if (m_Pos >= m_End && !Refill(1)) break;
        const CLineStep step = AppendLinePart(m_Buffer.data() + m_Pos, m_End - m_Pos, maxLen, line,
                                              m_Truncated, m_Nul);
        m_Pos += step.m_Consumed;
        if (step.m_Ended)
        {
            ++m_LineEnds;
            break;
        }
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

void CTextScanner::SkipLine()
{
    for (;;)
    {
        if (m_Pos >= m_End && !Refill(1)) return;
        const char* start = m_Buffer.data() + m_Pos;
        const char* nl = static_cast<const char*>(std::memchr(start, '\n', m_End - m_Pos));
        if (nl)
        {
            ++m_LineEnds;
            m_Pos += static_cast<size_t>(nl - start) + 1;
            return;
        }
        m_Pos = m_End;
    }
}

bool ParseLeadingNumber(std::string_view token, double& value)
{
    token = SkipLeadingSpace(token);
    return ConvertReal(token, ScanNumber(token), value);
}

bool ParseLeadingNumber(std::string_view token, std::int32_t& value)
{
    token = SkipLeadingSpace(token);
    const CNumberSpan span = ScanInteger(token);
    return span.Found() && ConvertInteger(token.substr(0, span.m_End), value);
}

} // namespace volumira3d
