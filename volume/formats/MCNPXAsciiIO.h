// MCNPX gridconv text: the format class of the reader family. Its header walks the data-set
// descriptors and lets the chooser pick one when there are several; the records are the numbers
// that follow, of which the loader uses the first NX x NY x NZ.
#pragma once
#include "volume/formats/MCNPXHeader.h"
#include "volume/formats/VoxelIO.h"

namespace volumira3d
{
template <int A = 0, int B = 0>
class CMCNPXAsciiIO : public CVoxelIOGeometry, public CAsciiPolicy<CMCNPXData, A, B>
{
public:
    bool ReadHeader(CTextScanner& in) override
    {
        return ReadMCNPXHeader(in, m_Choose, *this, m_Descriptors, m_Edges, this->m_Error);
    }

    MCNPXChooser m_Choose;
    std::vector<CMCNPXDescriptor> m_Descriptors;
    std::vector<double> m_Edges[3]; // the chosen data set's boundaries, x, y, z
};
} // namespace volumira3d
