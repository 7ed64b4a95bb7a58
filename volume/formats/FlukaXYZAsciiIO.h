// FLUKA cartesian USRBIN text: the binning header, then the values with x varying fastest.
#pragma once
#include "volume/formats/FlukaHeader.h"
#include "volume/formats/VoxelIO.h"

namespace volumira3d
{
// Stores a parsed cartesian header into the geometry fields (lower bounds also as origin).
void ApplyCartesianHeader(const CFlukaHeader& header, CVoxelIOBase& geometry);

template <int A = 0, int B = 0>
class CFlukaXYZAsciiIO : public CVoxelIOGeometry, public CAsciiPolicy<CFlukaData, A, B>
{
public:
    bool ReadHeader(CTextScanner& in) override
    {
        CFlukaHeader header;
        if (!ReadFlukaHeader(in, EFlukaBinning::Cartesian, header, this->m_Error, m_BinningIndex))
            return false;
        ApplyCartesianHeader(header, *this);
        m_TotalWeight = header.m_TotalWeight;
        m_GenParticle = header.m_GenParticle;
        m_NrOfParticles = header.m_NrOfParticles;
        return true;
    }

    double m_TotalWeight = 0;
    std::int32_t m_GenParticle = 0;
    std::int32_t m_NrOfParticles = 0;
    int m_BinningIndex = 0; // which cartesian binning of the file is read, 0 the first
};
} // namespace volumira3d
