// The records of an XYZ body, parsed on every thread of the OpenMP runtime from a read-only
// mapping. The text is taken in windows cut into one piece per thread at line ends; a record that
// runs on past the end of its piece is read again together with the next piece. Records, skipped
// lines and the first skipped line are exactly those of reading record by record.
#pragma once
#include "common/MappedFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace volumira3d
{
struct CXYZRecord
{
    double m_Value;
    std::int32_t m_IndexX, m_IndexY, m_IndexZ;
};

// What one piece of text held.
struct CXYZPiece
{
    static constexpr size_t NoPlace = static_cast<size_t>(-1);
    std::vector<CXYZRecord> m_Records;
    std::int64_t m_BadRecords = 0;
    size_t m_FirstBadAt = NoPlace; // where reading the first bad record failed
    size_t m_OpenAt = NoPlace;     // a record that begins here is cut off by the piece's end
};

// Reads the records of a piece as the record extraction reads them, a line that does not hold a
// record skipped; last says the piece ends the file (a record cut off there is a bad one).
void ParseXYZPiece(std::string_view text, bool last, CXYZPiece& piece);

class CXYZRecordSource
{
public:
    // Window bytes per thread.
    static constexpr size_t DefaultPieceBytes = 1 << 21;

    CXYZRecordSource(const std::string& path, std::uint64_t offset,
                     size_t pieceBytes = DefaultPieceBytes);
    bool Opened() const { return m_Opened; }
    // The records of the next window in file order (reused by the next call); false when the
    // text is used up.
    bool Next(const std::vector<CXYZRecord>*& records);
    // Share of the text read, in percent.
    int Percent() const;
    std::int64_t BadRecords() const { return m_BadRecords; }
    // The 1-based line where the first bad record was found; 0 when there is none.
    std::uint64_t FirstBadLine() const;

private:
    // Joins the pieces of a window cut at ends; a record left open continues in the next piece.
    void Join(const std::vector<size_t>& ends);
    void Take(const CXYZPiece& piece, size_t start);

    CMappedFile m_File;
    bool m_Opened = false;
    size_t m_Start = 0, m_Pos = 0;
    size_t m_PieceBytes;
    std::vector<CXYZPiece> m_Pieces;
    CXYZPiece m_Again; // a piece read again from an open record on
    std::vector<CXYZRecord> m_Records;
    std::int64_t m_BadRecords = 0;
    size_t m_FirstBadAt = CXYZPiece::NoPlace;
};
} // namespace volumira3d
