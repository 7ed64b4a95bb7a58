#include "volume/FlukaValueSource.h"

#include "common/NumberScan.h"
#include "volume/Records.h"
#include "volume/TextScanner.h"

#include <omp.h>

#include <algorithm>
#include <cmath>

namespace volumira3d
{
namespace
{
bool IsSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
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

// One number as the scanner extracts it; at advances past it.
bool ReadNumber(std::string_view text, size_t& at, double& value)
{
    if (ReadShortNumber(text, at, value)) return true;
    const std::string_view rest = text.substr(at);
    const CNumberSpan span = ScanNumber(rest);
    if (!span.Found() || span.m_DanglingExponent || span.m_End >= CTextScanner::MaxNumberLength)
        return false;
    value = NumberValue(rest.substr(0, span.m_End));
    at += span.m_End; // an overflowing number is consumed, as the scanner consumes it
    return std::isfinite(value);
}

// The first white space at or after from, or the end.
size_t NextSpace(std::string_view text, size_t from)
{
    while (from < text.size() && !IsSpace(text[from]))
        ++from;
    return from;
}
} // namespace

void ParseFlukaPiece(std::string_view text, CPieceValues& piece)
{
    piece.m_Values.clear();
    piece.m_Stopped = false;
    piece.m_RepairAt = -1;
    size_t at = 0;
    for (;;)
    {
        while (at < text.size() && IsSpace(text[at]))
            ++at;
        if (at == text.size())
        {
            piece.m_StopAt = at;
            return;
        }
        double value = 0;
        if (!ReadNumber(text, at, value)) break;
        if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        {
            double exponent = 0;
            if (!ReadNumber(text, at, exponent)) break;
            if (piece.m_RepairAt < 0)
            {
                piece.m_RepairAt = static_cast<long long>(piece.m_Values.size());
                piece.m_RepairMantissa = value;
                piece.m_RepairExponent = exponent;
            }
            value *= std::pow(10.0, exponent);
            if (!std::isfinite(value)) break;
        }
        piece.m_Values.push_back(value);
    }
    piece.m_Stopped = true;
    piece.m_StopAt = at;
}

CFlukaValueSource::CFlukaValueSource(const std::string& path, std::uint64_t offset,
                                     double normalization, size_t warningRecords, size_t pieceBytes)
    : m_Normalization(normalization), m_WarningRecords(std::max<size_t>(warningRecords, 1)),
      m_PieceBytes(std::max<size_t>(pieceBytes, 1))
{
    m_Opened = m_File.Open(path);
    m_Pos = static_cast<size_t>(std::min<std::uint64_t>(offset, m_File.Text().size()));
}

void CFlukaValueSource::WarnAhead()
{
    const long long upTo = m_Used + static_cast<long long>(m_WarningRecords);
    while (!m_Stopped && m_Parsed < upTo && ParseMore())
    {
    }
    // The record that stops reading may still have been repaired (its value then overflowed).
    if (m_Warned || m_RepairAt < 0 || m_RepairAt >= upTo) return;
    m_Warned = true;
    WarnBrokenNotation(m_RepairMantissa, m_RepairExponent);
}

bool CFlukaValueSource::ParseMore()
{
    const long long before = m_Parsed;
    // A window of white space only adds nothing; the next one may.
    while (!m_Stopped && m_Parsed == before)
        ParseWindow();
    return m_Parsed > before;
}

void CFlukaValueSource::ParseWindow()
{
    const std::string_view text = m_File.Text();
    const int threads = std::max(1, omp_get_max_threads());
    // Piece ends lie at white space, the last one at the window's end.
    std::vector<size_t> ends(static_cast<size_t>(threads) + 1, m_Pos);
    for (int t = 1; t <= threads; ++t)
        ends[size_t(t)] =
            NextSpace(text, std::min(text.size(), ends[size_t(t - 1)] + m_PieceBytes));
    m_Pieces.resize(static_cast<size_t>(threads));
#pragma omp parallel for num_threads(threads) schedule(static, 1)
    for (int t = 0; t < threads; ++t)
        ParseFlukaPiece(text.substr(ends[size_t(t)], ends[size_t(t) + 1] - ends[size_t(t)]),
                        m_Pieces[size_t(t)]);
    m_Pos = ends.back();
    m_File.Release(m_Pos);
    if (m_Pos >= text.size())
    {
        m_Stopped = true;
        m_StopPos = text.size();
    }
    Join(ends);
}

void CFlukaValueSource::Join(const std::vector<size_t>& starts)
{
    m_Values.erase(m_Values.begin(), m_Values.begin() + static_cast<std::ptrdiff_t>(m_Next));
    m_Next = 0;
    for (size_t p = 0; p < m_Pieces.size(); ++p)
    {
        const CPieceValues& piece = m_Pieces[p];
        if (!piece.m_Values.empty()) m_Last = piece.m_Values.back();
        if (m_RepairAt < 0 && piece.m_RepairAt >= 0)
        {
            m_RepairAt = m_Parsed + piece.m_RepairAt;
            m_RepairMantissa = piece.m_RepairMantissa;
            m_RepairExponent = piece.m_RepairExponent;
        }
        m_Values.insert(m_Values.end(), piece.m_Values.begin(), piece.m_Values.end());
        m_Parsed += static_cast<long long>(piece.m_Values.size());
        if (piece.m_Stopped)
        {
            m_Stopped = true;
            m_StopPos = starts[p] + piece.m_StopAt;
            return;
        }
    }
}

size_t CFlukaValueSource::Take(double* out, size_t count)
{
    size_t taken = 0;
    while (taken < count)
    {
        if (m_Used % m_WarningRecords == 0) WarnAhead();
        if (m_Next == m_Values.size() && !ParseMore()) break;
        // Up to the next warning step, as Next would reach it.
        const size_t step = m_WarningRecords - size_t(m_Used % m_WarningRecords);
        size_t n = std::min({count - taken, m_Values.size() - m_Next, step});
        const double* in = m_Values.data() + m_Next;
        double* to = out + taken;
        bool finite = true;
        for (size_t i = 0; i < n; ++i)
        {
            to[i] = in[i] * m_Normalization;
            finite &= std::isfinite(to[i]);
        }
        if (!finite)
            n = size_t(std::find_if(to, to + n, [](double v) { return !std::isfinite(v); }) - to) +
                1;
        m_Next += n;
        m_Used += static_cast<long long>(n);
        taken += n;
        if (!finite) break;
    }
    return taken;
}

CRestOfBlock CFlukaValueSource::Rest()
{
    // Values parsed are dropped window by window: only their count and the last one matter.
    while (!m_Stopped)
    {
        m_Next = m_Values.size();
        ParseWindow();
    }
    CRestOfBlock rest;
    rest.m_Values = m_Parsed - m_Used;
    rest.m_Last = m_Last;
    const std::string_view text = m_File.Text().substr(std::min(m_StopPos, m_File.Text().size()));
    std::string_view line = text.substr(0, std::min(text.find('\n'), CTextScanner::DefaultMaxLine));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    rest.m_StopLine = std::string(line);
    return rest;
}
} // namespace volumira3d
