// The values of a FLUKA cartesian text body, parsed on every thread of the OpenMP runtime. The
// text is mapped and taken in windows; each window is split at white space into one piece per
// thread, the pieces are parsed at once and their values joined in file order. A record never
// spans white space, so the values, the place where reading stops and the broken-exponent
// warning are exactly those of reading record by record, whatever the thread count.
#pragma once
#include "common/MappedFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace volumira3d
{
// What one piece of text held.
struct CPieceValues
{
    std::vector<double> m_Values;
    bool m_Stopped = false;    // a record could not be read: nothing after it counts
    size_t m_StopAt = 0;       // where the record that could not be read begins (or ends)
    long long m_RepairAt = -1; // index of the first broken-exponent record, -1 when none
    double m_RepairMantissa = 0, m_RepairExponent = 0;
};

// Reads the records of a piece one after another, as the record extraction reads them.
void ParseFlukaPiece(std::string_view text, CPieceValues& piece);

// The records left behind the values handed out: how many, the last one and the line from the
// place where a record could not be read (empty when the text ended).
struct CRestOfBlock
{
    long long m_Values = 0;
    double m_Last = 0;
    std::string m_StopLine;
};

class CFlukaValueSource
{
public:
    // Window bytes per thread.
    static constexpr size_t DefaultPieceBytes = 1 << 21;

    // The records from offset on; warningRecords is the number of records one extraction step
    // reads, which decides whether a broken exponent beyond the last value used is warned about.
    CFlukaValueSource(const std::string& path, std::uint64_t offset, double normalization,
                      size_t warningRecords, size_t pieceBytes = DefaultPieceBytes);
    bool Opened() const { return m_Opened; }
    // The next value times the normalization; false when no further record can be read.
    bool Next(double& value)
    {
        if (m_Used % m_WarningRecords == 0) WarnAhead();
        if (m_Next == m_Values.size() && !ParseMore()) return false;
        value = m_Values[m_Next++] * m_Normalization;
        ++m_Used;
        return true;
    }

    // Copies up to count values (times the normalization) to out as Next hands them out one by
    // one, and stops after a value that is not a finite number; the number of values copied.
    size_t Take(double* out, size_t count);
    // Parses to the end of the records without handing them out or warning about them.
    CRestOfBlock Rest();

private:
    // Parses the next window and appends its values; false when nothing was added.
    bool ParseMore();
    void ParseWindow();
    // Shows the warning of a broken exponent among the records the next step would read.
    void WarnAhead();
    void Join(const std::vector<size_t>& starts);

    CMappedFile m_File;
    bool m_Opened = false;
    size_t m_Pos = 0;
    double m_Normalization;
    size_t m_WarningRecords;
    size_t m_PieceBytes;
    std::vector<CPieceValues> m_Pieces; // kept from window to window, as their memory is
    std::vector<double> m_Values;
    size_t m_Next = 0;
    long long m_Used = 0;   // values handed out
    long long m_Parsed = 0; // values parsed from the start
    bool m_Stopped = false;
    size_t m_StopPos = 0; // meaningful once stopped
    double m_Last = 0;    // the last value parsed
    long long m_RepairAt = -1;
    double m_RepairMantissa = 0, m_RepairExponent = 0;
    bool m_Warned = false;
};
} // namespace volumira3d
