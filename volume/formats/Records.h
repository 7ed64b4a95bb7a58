// The records the text readers produce: one object per value (FLUKA, MCNPX) or per line (XYZ).
#pragma once
#include <cstdint>
#include <ostream>

namespace volumira3d
{
class CTextScanner;

// One line of an XYZ voxel file: its indices and value.
class CVoxelData
{
public:
    virtual ~CVoxelData() = default;
    double m_Value = 0;
    std::int32_t m_IndexX = 0, m_IndexY = 0, m_IndexZ = 0;
};

// One value of a FLUKA cartesian USRBIN text file; its position in the file gives the bin.
class CFlukaData
{
public:
    virtual ~CFlukaData() = default;
    double m_Value = 0;
    std::int32_t m_IndexX = 0, m_IndexY = 0, m_IndexZ = 0;
    bool m_NotationWarned = false; // the broken-exponent warning of this read has been shown
};

// One number of an MCNPX gridconv file.
class CMCNPXData
{
public:
    virtual ~CMCNPXData() = default;
    double m_Value = 0;
    std::int32_t m_IndexX = 0, m_IndexY = 0, m_IndexZ = 0;
};

// Record extraction: false (and the scanner failed) when the record cannot be read.
bool ExtractRecord(CTextScanner& in, CVoxelData& record);
// Reads one value and repairs a broken exponent (1.2345-102: the letter E is missing). The first
// repair of a read shows the warning; notationWarned carries that state from value to value.
bool ExtractRecord(CTextScanner& in, CFlukaData& record, bool& notationWarned);
bool ExtractRecord(CTextScanner& in, CMCNPXData& record);
// The warning shown once per read at the first broken exponent.
void WarnBrokenNotation(double mantissa, double exponent);

std::ostream& operator<<(std::ostream& os, const CVoxelData& record);
std::ostream& operator<<(std::ostream& os, const CFlukaData& record);
std::ostream& operator<<(std::ostream& os, const CMCNPXData& record);
} // namespace volumira3d
