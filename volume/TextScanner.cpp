#include "volume/TextScanner.h"

#include "common/LineReader.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <locale.h>

namespace volumira3d
{
namespace
{
constexpr size_t BufferSize = 1 << 20;

bool IsSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

const char* SkipDigits(const char* p, const char* end)
{
    while (p < end && IsDigit(*p))
        ++p;
    return p;
}

// The characters stream extraction takes for a floating-point number at [p, end): sign, digits,
// point, digits, and an exponent only after mantissa digits. Sets ok when they form a number
// (an exponent letter without digits does not).
const char* ScanReal(const char* p, const char* end, bool& ok)
{
    const char* start = p;
    if (p < end && (*p == '+' || *p == '-')) ++p;
    const char* digits = p;
    p = SkipDigits(p, end);
    bool mantissa = p > digits;
    if (p < end && *p == '.')
    {
        const char* fraction = ++p;
        p = SkipDigits(p, end);
        mantissa = mantissa || p > fraction;
    }
    ok = mantissa;
    if (mantissa && p < end && (*p == 'e' || *p == 'E'))
    {
        ++p;
        if (p < end && (*p == '+' || *p == '-')) ++p;
        const char* expDigits = p;
        p = SkipDigits(p, end);
        ok = p > expDigits;
    }
    return p > start ? p : start;
}

const char* ScanInteger(const char* p, const char* end, bool& ok)
{
    const char* start = p;
    if (p < end && (*p == '+' || *p == '-')) ++p;
    const char* digits = p;
    p = SkipDigits(p, end);
    ok = p > digits;
    return p > start ? p : start;
}

} // namespace

double StrtodC(const char* text)
{
    // Independent of the locale a host may have set, which could expect a decimal comma.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t());
    return strtod_l(text, nullptr, cLocale);
}

namespace
{
// Converts a scanned number; overflow fails as it does for a stream, underflow gives the nearest
// representable value as strtod does.
bool ConvertReal(const char* first, const char* last, double& value)
{
    if (first < last && *first == '+') ++first;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec == std::errc() && ptr == last) return true;
    if (ec != std::errc::result_out_of_range) return false;
    const std::string copy(first, last);
    value = StrtodC(copy.c_str());
    return std::isfinite(value);
}

bool ConvertInteger(const char* first, const char* last, std::int32_t& value)
{
    if (first < last && *first == '+') ++first;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && ptr == last;
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
            ++m_Pos;
        if (m_Pos < m_End || !Refill(1)) return;
    }
}

bool CTextScanner::Extract(double& value)
{
    if (m_Failed || !m_pFile) return Fail();
    SkipWhiteSpace();
    Refill(MaxNumberLength);
    const char* first = m_Buffer.data() + m_Pos;
    const char* end = m_Buffer.data() + m_End;
    if (first == end) return Fail();
    const char* digits = first + (*first == '+' || *first == '-');
    // from_chars takes the characters stream extraction takes, except that it also reads "inf" and
    // "nan", stops in front of an exponent letter without digits (where the stream fails), and
    // does not take a leading "+".
    if (digits == end || !(IsDigit(*digits) || *digits == '.')) return Fail();
    const auto [last, ec] = std::from_chars(first + (*first == '+'), end, value);
    const size_t length = static_cast<size_t>(last - first);
    if (last == first || length >= MaxNumberLength ||
        (last < end && (*last == 'e' || *last == 'E') && !std::memchr(first, 'e', length) &&
         !std::memchr(first, 'E', length)))
        return Fail();
    m_Pos += static_cast<size_t>(last - first);
    if (ec == std::errc()) return true;
    const std::string copy(first, last);
    value = StrtodC(copy.c_str());
    return std::isfinite(value) || Fail();
}

bool CTextScanner::Extract(std::int32_t& value)
{
    if (m_Failed || !m_pFile) return Fail();
    SkipWhiteSpace();
    Refill(MaxNumberLength);
    const char* first = m_Buffer.data() + m_Pos;
    const char* end = m_Buffer.data() + m_End;
    if (first == end) return Fail();
    const char* limit =
        end - first > static_cast<long>(MaxNumberLength) ? first + MaxNumberLength : end;
    bool ok = false;
    const char* last = ScanInteger(first, limit, ok);
    m_Pos += static_cast<size_t>(last - first);
    if (!ok || (last == limit && limit != end)) return Fail();
    return ConvertInteger(first, last, value) || Fail();
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
        if (step.m_Ended) break;
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
            m_Pos += static_cast<size_t>(nl - start) + 1;
            return;
        }
        m_Pos = m_End;
    }
}

bool ParseLeadingNumber(std::string_view token, double& value)
{
    const char* p = token.data();
    const char* end = p + token.size();
    while (p < end && IsSpace(*p))
        ++p;
    bool ok = false;
    const char* last = ScanReal(p, end, ok);
    return ok && ConvertReal(p, last, value);
}

bool ParseLeadingNumber(std::string_view token, std::int32_t& value)
{
    const char* p = token.data();
    const char* end = p + token.size();
    while (p < end && IsSpace(*p))
        ++p;
    bool ok = false;
    const char* last = ScanInteger(p, end, ok);
    return ok && ConvertInteger(p, last, value);
}

} // namespace volumira3d
