#include "volume/formats/XYZRecordSource.h"

#include "volume/formats/TextScanner.h"

#include <omp.h>

#include <algorithm>
#include <cstring>

namespace volumira3d
{
namespace
{
// The start of the line after the one holding from (the end when there is none).
size_t NextLine(std::string_view text, size_t from)
{
    const size_t end = text.find('\n', from);
    return end == std::string_view::npos ? text.size() : end + 1;
}

enum class ERead
{
    Record,
    Bad,
    Open
};

// One field of a record: white space skipped, then the number. failAt is where a failed
// extraction began, as the line count of the record extraction sees it.
template <class T>
ERead ReadField(std::string_view text, bool last, size_t& at, T& value, size_t& failAt)
{
    at = SkipStreamSpace(text, at);
    if (at == text.size() && !last) return ERead::Open;
    failAt = at;
    return ExtractAt(text, at, value) ? ERead::Record : ERead::Bad;
}

ERead ReadRecord(std::string_view text, bool last, size_t& at, CXYZRecord& record, size_t& failAt)
{
    ERead read = ReadField(text, last, at, record.m_IndexX, failAt);
    if (read == ERead::Record) read = ReadField(text, last, at, record.m_IndexY, failAt);
    if (read == ERead::Record) read = ReadField(text, last, at, record.m_IndexZ, failAt);
    if (read == ERead::Record) read = ReadField(text, last, at, record.m_Value, failAt);
    return read;
}
} // namespace

void ParseXYZPiece(std::string_view text, bool last, CXYZPiece& piece)
{
    piece.m_Records.clear();
    piece.m_BadRecords = 0;
    piece.m_FirstBadAt = piece.m_OpenAt = CXYZPiece::NoPlace;
    size_t at = 0;
    for (;;)
    {
        at = SkipStreamSpace(text, at);
        if (at == text.size()) return;
        const size_t start = at;
        CXYZRecord record{};
        size_t failAt = 0;
        switch (ReadRecord(text, last, at, record, failAt))
        {
        case ERead::Record:
            piece.m_Records.push_back(record);
            break;
        case ERead::Open:
            piece.m_OpenAt = start;
            return;
        case ERead::Bad:
            if (piece.m_BadRecords++ == 0) piece.m_FirstBadAt = failAt;
            at = NextLine(text, at);
            break;
        }
    }
}

CXYZRecordSource::CXYZRecordSource(const std::string& path, std::uint64_t offset, size_t pieceBytes)
    : m_PieceBytes(std::max<size_t>(pieceBytes, 1))
{
    m_Opened = m_File.Open(path);
    m_Start = m_Pos = static_cast<size_t>(std::min<std::uint64_t>(offset, m_File.Text().size()));
}

bool CXYZRecordSource::Next(const std::vector<CXYZRecord>*& records)
{
    const std::string_view text = m_File.Text();
    m_Records.clear();
    // A window may hold white space only, or records that only the next one completes.
    while (m_Records.empty() && m_Pos < text.size())
    {
        const int threads = std::max(1, omp_get_max_threads());
        // Piece ends lie at line starts, the last one at the window's end.
        std::vector<size_t> ends(static_cast<size_t>(threads) + 1, m_Pos);
        for (int t = 1; t <= threads; ++t)
        {
            const size_t from = std::min(text.size(), ends[size_t(t - 1)] + m_PieceBytes);
            ends[size_t(t)] = from == text.size() ? from : NextLine(text, from - 1);
        }
        m_Pieces.resize(static_cast<size_t>(threads));
#pragma omp parallel for num_threads(threads) schedule(static, 1)
        for (int t = 0; t < threads; ++t)
            ParseXYZPiece(text.substr(ends[size_t(t)], ends[size_t(t) + 1] - ends[size_t(t)]),
                          ends[size_t(t) + 1] == text.size(), m_Pieces[size_t(t)]);
        const size_t before = m_Pos;
        Join(ends);
        // A record longer than the whole window: wider windows until it fits.
        if (m_Pos == before) m_PieceBytes *= 2;
        m_File.Release(m_Pos);
    }
    records = &m_Records;
    return !m_Records.empty();
}

void CXYZRecordSource::Join(const std::vector<size_t>& ends)
{
    const std::string_view text = m_File.Text();
    size_t openAt = CXYZPiece::NoPlace;
    for (size_t p = 0; p < m_Pieces.size(); ++p)
    {
        if (openAt == CXYZPiece::NoPlace)
        {
            Take(m_Pieces[p], ends[p]);
            openAt = m_Pieces[p].m_OpenAt == CXYZPiece::NoPlace ? openAt
                                                                : ends[p] + m_Pieces[p].m_OpenAt;
            continue;
        }
        const size_t start = openAt;
        ParseXYZPiece(text.substr(start, ends[p + 1] - start), ends[p + 1] == text.size(), m_Again);
        Take(m_Again, start);
        openAt =
            m_Again.m_OpenAt == CXYZPiece::NoPlace ? CXYZPiece::NoPlace : start + m_Again.m_OpenAt;
    }
    m_Pos = openAt == CXYZPiece::NoPlace ? ends.back() : openAt;
}

void CXYZRecordSource::Take(const CXYZPiece& piece, size_t start)
{
    m_Records.insert(m_Records.end(), piece.m_Records.begin(), piece.m_Records.end());
    if (m_FirstBadAt == CXYZPiece::NoPlace && piece.m_FirstBadAt != CXYZPiece::NoPlace)
        m_FirstBadAt = start + piece.m_FirstBadAt;
    m_BadRecords += piece.m_BadRecords;
}

int CXYZRecordSource::Percent() const
{
    const size_t size = m_File.Text().size();
    if (size <= m_Start) return 100;
    return static_cast<int>((m_Pos - m_Start) * 100 / (size - m_Start));
}

std::uint64_t CXYZRecordSource::FirstBadLine() const
{
    if (m_FirstBadAt == CXYZPiece::NoPlace) return 0;
    const std::string_view before = m_File.Text().substr(0, m_FirstBadAt);
    return static_cast<std::uint64_t>(std::count(before.begin(), before.end(), '\n')) + 1;
}
} // namespace volumira3d
