// The header of an MCNPX gridconv text file: the marker line with the number of data sets, one
// descriptor per data set, then the data sets one after another, each of three boundary lines,
// its value lines and as many error lines.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace volumira3d
{
class CTextScanner;
class CVoxelIOBase;

struct CMCNPXDescriptor
{
    std::int32_t m_MeshType = 0, m_Particle = 0, m_Reaction = 0;
    std::int32_t m_XBins = 0, m_YBins = 0, m_ZBins = 0;
    std::int32_t m_Values = 0;
    // Lines the data set occupies: boundaries, values and errors.
    std::int64_t Lines() const;
};

// Picks the data set (1-based) among the descriptors; called only when there are at least two.
using MCNPXChooser = std::function<int(const std::vector<CMCNPXDescriptor>&)>;

// Reads the header up to the first value of the chosen data set: its geometry goes to geometry,
// the boundaries of each axis (bins + 1, increasing) to edges. False with a reason in error when
// there is no marker in the first 100 lines, no usable descriptor, a count out of range, or the
// file ends first.
bool ReadMCNPXHeader(CTextScanner& in, const MCNPXChooser& choose, CVoxelIOBase& geometry,
                     std::vector<CMCNPXDescriptor>& descriptors, std::vector<double> (&edges)[3],
                     std::string& error);
} // namespace volumira3d
