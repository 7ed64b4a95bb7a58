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

// One number as the scanner extracts it; at advances past it.
bool ReadNumber(std::string_view text, size_t& at, double& value)
{
    const std::string_view rest = text.substr(at);
    const CNumberSpan span = ScanNumber(rest);
    if (!span.Found() || span.m_DanglingExponent || span.m_End >= CTextScanner::MaxNumberLength)
        return false;
    value = NumberValue(rest.substr(0, span.m_End));
    at += span.m_End;
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
        if (at == text.size()) return;
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
    std::vector<CPieceValues> pieces(static_cast<size_t>(threads));
#pragma omp parallel for num_threads(threads) schedule(static, 1)
    for (int t = 0; t < threads; ++t)
        ParseFlukaPiece(text.substr(ends[size_t(t)], ends[size_t(t) + 1] - ends[size_t(t)]),
                        pieces[size_t(t)]);
    m_Pos = ends.back();
    m_File.Release(m_Pos);
    if (m_Pos >= text.size()) m_Stopped = true;
    Join(pieces);
}

void CFlukaValueSource::Join(std::vector<CPieceValues>& pieces)
{
    m_Values.erase(m_Values.begin(), m_Values.begin() + static_cast<std::ptrdiff_t>(m_Next));
    m_Next = 0;
    for (CPieceValues& piece : pieces)
    {
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
            return;
        }
    }
}
} // namespace volumira3d
