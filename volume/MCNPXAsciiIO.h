// MCNPX gridconv text: the format class of the reader family. Its header (data-set descriptors
// and the data-set choice) is read by the MCNPX loader, which this build does not have yet, so
// the header is refused.
#pragma once
#include "volume/VoxelIO.h"

namespace volumira3d
{
template <int A = 0, int B = 0>
class CMCNPXAsciiIO : public CVoxelIOGeometry, public CAsciiPolicy<CMCNPXData, A, B>
{
public:
    bool ReadHeader(CTextScanner&) override
    {
        this->m_Error = "MCNPX gridconv files cannot be read by this build.";
        return false;
    }
};
} // namespace volumira3d
