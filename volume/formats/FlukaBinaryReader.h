// FLUKA binary USRBIN files, read record by record: the run header, the first binning's header,
// its values; then what follows it (more binnings, the STATISTICS record of a sum file and the
// errors after it). Headers are validated before anything is allocated.
#pragma once
#include "volume/formats/FlukaHeader.h"
#include "volume/formats/FortranRecords.h"

#include <cstdint>
#include <string>
#include <vector>

namespace volumira3d
{
struct CFlukaBinaryHeader
{
    std::string m_Title;
    double m_TotalWeight = 1;
    std::int32_t m_NrOfParticles = 1;
    std::int32_t m_Number = 0;
    std::string m_Name;
    std::int32_t m_Type = 0;
    std::int32_t m_GenParticle = 0;
    CFlukaAxis m_Axis[3]; // x, y, z; cylindrical: r, phi, z
};

// True when the file begins with two Fortran records framed as a FLUKA USRBIN file's are: a run
// header and a binning header of at least their sizes, each frame fitting the file.
bool LooksLikeFlukaBinary(const std::string& path);

class CFlukaBinaryReader
{
public:
    // Opens the file and reads the two header records and the frame of the value record. False
    // (Error() says why and where) for a frame or a count that does not fit the file.
    bool Open(const std::string& path);
    const CFlukaBinaryHeader& Header() const { return m_Header; }
    std::int64_t ValueCount() const { return m_Values; }

    // The next n values of the current value record.
    bool ReadValues(float* dst, std::size_t n);
    // The next n values in place, as little-endian bytes, where the file could be mapped;
    // nullptr where it could not (ReadValues them then) or on failure (Error() set).
    const unsigned char* ViewValues(std::size_t n);

    // Walks the records after the first binning's values: reads the headers of the further
    // binnings and looks for the STATISTICS record and the error records after it (one per
    // binning). False (Error() says why) when a record there is broken; what was found before it
    // stays valid.
    bool ScanTail();
    // The headers of the binnings found so far, in file order.
    const std::vector<CFlukaBinaryHeader>& Binnings() const { return m_Binnings; }
    // Makes binning `index` the one read: its header, its values, its errors. False (Error() set)
    // for a header whose counts do not fit or an index out of range.
    bool SelectBinning(int index);
    bool HasStatistics() const { return m_ErrorsOffset != 0; }
    // Makes the error record of the selected binning the current value record.
    bool BeginErrors();
    // Makes the selected binning's values the current value record again.
    bool BeginValues();

    const std::string& Error() const;

private:
    bool ReadRunHeader();
    bool ReadBinningHeader(CFlukaBinaryHeader& header);
    bool CheckCounts();
    bool BeginArray(std::uint64_t offset, const char* what);
    bool Fail(const std::string& text);

    CFortranRecordFile m_File;
    CFlukaBinaryHeader m_Header;
    std::int64_t m_Values = 0;
    std::uint64_t m_ValuesOffset = 0, m_ErrorsOffset = 0;
    std::vector<CFlukaBinaryHeader> m_Binnings;
    std::vector<std::uint64_t> m_ValueOffsets, m_ErrorOffsets;
    std::string m_Error;
};
} // namespace volumira3d
