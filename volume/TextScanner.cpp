#include "volume/TextScanner.h"

#include "common/LineReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace volumira3d
{
namespace
{
constexpr size_t BufferSize = 1 << 20;

bool IsSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}
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

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The common number in one pass: at most 15 significant digits and a power of ten within 22,
// where one multiplication or division rounds correctly. False, with at unchanged, for anything
// else (the general way then decides).
bool ReadShortNumber(std::string_view text, size_t& at, double& value)
{
    static constexpr double Powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = text.data() + at;
    const char* end = text.data() + text.size();
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) ++p;
    std::uint64_t mantissa = 0;
    int digits = 0, significant = 0, scale = 0;
    for (; p < end && IsDigit(*p); ++p, ++digits)
        if (mantissa != 0 || *p != '0')
            mantissa = mantissa * 10 + unsigned(*p - '0'), ++significant;
    if (p < end && *p == '.')
        for (++p; p < end && IsDigit(*p); ++p, ++digits, --scale)
            if (mantissa != 0 || *p != '0')
                mantissa = mantissa * 10 + unsigned(*p - '0'), ++significant;
    if (digits == 0 || significant > 15) return false;
    if (p < end && (*p == 'e' || *p == 'E'))
    {
        ++p;
        const bool negativeExponent = p < end && *p == '-';
        if (p < end && (*p == '-' || *p == '+')) ++p;
        if (p == end || !IsDigit(*p)) return false;
        int exponent = 0;
        for (; p < end && IsDigit(*p); ++p)
            if ((exponent = exponent * 10 + (*p - '0')) > 1000) return false;
        scale += negativeExponent ? -exponent : exponent;
    }
    const size_t length = size_t(p - (text.data() + at));
    if (length >= CTextScanner::MaxNumberLength) return false;
    double magnitude = 0.0;
    if (scale < -22 || scale > 22)
    {
        if (mantissa != 0) return false;
    }
    else
        magnitude =
            scale < 0 ? double(mantissa) / Powers[-scale] : double(mantissa) * Powers[scale];
    value = negative ? -magnitude : magnitude;
    at += length;
    return true;
}

std::string_view SkipLeadingSpace(std::string_view token)
{
    while (!token.empty() && IsSpace(token[0]))
        token.remove_prefix(1);
    return token;
}
} // namespace

CTextScanner::CTextScanner() = default;

CTextScanner::~CTextScanner()
{
    Close();
}

bool IsRegularFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::uint64_t FileBytes(const std::string& path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<std::uint64_t>(size);
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
        while (m_Pos < m_End && IsSpace(m_Buffer[m_Pos]))
            m_LineEnds += m_Buffer[m_Pos++] == '\n';
        if (m_Pos < m_End || !Refill(1)) return;
    }
}

bool CTextScanner::Extract(double& value)
{
    if (m_Failed || !m_pFile) return Fail();
    SkipWhiteSpace();
    Refill(MaxNumberLength);
    size_t at = 0;
    const bool read = ExtractAt({m_Buffer.data() + m_Pos, m_End - m_Pos}, at, value);
    m_Pos += at;
    return read || Fail();
}

bool CTextScanner::Extract(std::int32_t& value)
{
    if (m_Failed || !m_pFile) return Fail();
    SkipWhiteSpace();
    Refill(MaxNumberLength);
    size_t at = 0;
    const bool read = ExtractAt({m_Buffer.data() + m_Pos, m_End - m_Pos}, at, value);
    m_Pos += at;
    return read || Fail();
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
