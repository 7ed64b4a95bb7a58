#include "volume/formats/FlukaValueSource.h"

#include "volume/formats/Records.h"
#include "volume/formats/TextScanner.h"

#include <omp.h>

#include <algorithm>
#include <cmath>

namespace volumira3d
{
namespace
{
// The first white space at or after from, or the end.
size_t NextSpace(std::string_view text, size_t from)
{
    while (from < text.size() && !IsStreamSpace(text[from]))
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
        at = SkipStreamSpace(text, at);
        if (at == text.size())
        {
            piece.m_StopAt = at;
            return;
        }
        double value = 0;
        if (!ExtractAt(text, at, value)) break;
        if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        {
            double exponent = 0;
            if (!ExtractAt(text, at, exponent)) break;
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
