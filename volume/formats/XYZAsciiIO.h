// The plug-in's own sparse voxel text format (".xyz"): a geometry header after a "VOXEL-DATA"
// marker line, then one "ix iy iz value" record per non-zero voxel.
#pragma once
#include "volume/formats/VoxelIO.h"

#include <string>

namespace volumira3d
{
class CVoxelGrid;

// Skips to the marker line, reads the three geometry lines and skips the two lines after them.
// False with a reason in error when there is no marker, a geometry line is missing or a step
// count is below 1 or an end does not lie above its start.
bool ReadXYZHeader(CTextScanner& in, CVoxelIOBase& geometry, std::string& error);

template <int A = 0, int B = 0>
class CXYZAsciiIO : public CVoxelIOGeometry, public CAsciiPolicy<CVoxelData, A, B>
{
public:
    bool ReadHeader(CTextScanner& in) override
    {
        m_BadRecords = 0;
        m_FirstBadLine = 0;
        return ReadXYZHeader(in, *this, this->m_Error);
    }
    // A line that does not hold a record is counted and skipped; only the end of the file ends
    // the records.
    bool SkipBadRecord() override
    {
        CTextScanner& in = this->m_In;
        if (m_BadRecords++ == 0) m_FirstBadLine = in.LineNumber();
        in.SkipLine();
        in.ClearFailure();
        return true;
    }

    std::int64_t m_BadRecords = 0;
    std::uint64_t m_FirstBadLine = 0;
};

// Writes the grid as an XYZ file: the header, then every non-zero voxel with x varying fastest.
// False with "Cannot open %s for writing." (or a write error) in error.
bool WriteXYZFile(const CVoxelGrid& grid, const std::string& path, std::string& error);
} // namespace volumira3d
