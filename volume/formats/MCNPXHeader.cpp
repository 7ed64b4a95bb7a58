#include "volume/formats/MCNPXHeader.h"

#include "common/NumberScan.h"
#include "common/Tokens.h"
#include "platform/UiServices.h"
#include "volume/formats/TextScanner.h"
#include "volume/formats/VoxelIO.h"

#include <cmath>

namespace volumira3d
{
namespace
{
const CSeparators Separators(" ,;:\t");

bool ReadLineOrFail(CTextScanner& in, std::string& line, const char* what, std::string& error)
{
    if (in.ReadLine(line)) return true;
    error = std::string("The file ends before ") + what + ".";
    return false;
}

bool FindMarker(CTextScanner& in, std::int32_t& sets, std::string& error)
{
    std::string line;
    for (int i = 0; i < 100 && in.ReadLine(line); ++i)
    {
        if (line.find("mcnpx") == std::string::npos && line.find("MCNPX") == std::string::npos)
            continue;
        const auto tokens = SplitTokens(line, Separators);
        if (tokens.empty() || !ParseLeadingNumber(tokens[0], sets) || sets < 1)
        {
            error = "The MCNPX marker line \"" + line +
                    "\" does not start with a number of data "
                    "sets.";
            return false;
        }
        return ReadLineOrFail(in, line, "the data-set descriptors", error);
    }
    error = "No line with \"mcnpx\" or \"MCNPX\" was found among the first 100 lines.";
    return false;
}

// One descriptor line; false when it has fewer than 10 tokens or they are not numbers.
bool ParseDescriptor(const std::string& line, CMCNPXDescriptor& d)
{
    const auto t = SplitTokens(line, Separators);
    std::int32_t xb = 0, yb = 0, zb = 0;
    if (t.size() < 10 || !ParseLeadingNumber(t[0], d.m_MeshType) ||
        !ParseLeadingNumber(t[1], d.m_Particle) || !ParseLeadingNumber(t[2], xb) ||
        !ParseLeadingNumber(t[3], yb) || !ParseLeadingNumber(t[4], zb) ||
        !ParseLeadingNumber(t[6], d.m_Values) || !ParseLeadingNumber(t[9], d.m_Reaction))
        return false;
    d.m_XBins = xb - 1, d.m_YBins = yb - 1, d.m_ZBins = zb - 1;
    return true;
}

bool ReadDescriptors(CTextScanner& in, std::int32_t sets,
                     std::vector<CMCNPXDescriptor>& descriptors, std::string& error)
{
    std::string line;
    for (std::int32_t i = 0; i < sets; ++i)
    {
        CMCNPXDescriptor d;
        if (!ReadLineOrFail(in, line, "the data-set descriptors end", error)) return false;
        if (!ParseDescriptor(line, d))
        {
            // The line belongs to the data, so every later line would be read one place off.
            error = Format("The MCNPX file announces %d data sets but describes %d: \"%.200s\" "
                           "is no descriptor.",
                           sets, i, line.c_str());
            return false;
        }
        descriptors.push_back(d);
        for (int skip = 0; skip < 3; ++skip)
            if (!ReadLineOrFail(in, line, "the data-set descriptors end", error)) return false;
        if (d.m_MeshType != 10 && d.m_MeshType != 12) break;
    }
    return true;
}

bool CheckDescriptor(const CMCNPXDescriptor& d, int set, std::string& error)
{
    if (d.m_XBins < 1 || d.m_YBins < 1 || d.m_ZBins < 1 || d.m_Values < 1)
    {
        error = Format("Data set %d of the MCNPX file has %d x %d x %d bins and %d values.", set,
                       d.m_XBins, d.m_YBins, d.m_ZBins, d.m_Values);
        return false;
    }
    // The values count is an int32, so a product beyond it can never be covered.
    const double bins = double(d.m_XBins) * d.m_YBins * d.m_ZBins;
    if (d.m_Values >= bins) return true;
    error = Format("Data set %d of the MCNPX file announces %d values for its %.0f bins.", set,
                   d.m_Values, bins);
    return false;
}

// The bin boundaries of one axis: bins + 1 numbers, finite and increasing (bins of unequal width
// keep their edges).
bool ReadBoundaries(CTextScanner& in, char axis, int bins, std::vector<double>& bounds,
                    std::string& error)
{
    std::string line;
    if (!ReadLineOrFail(in, line, "the boundary lines of the data set", error)) return false;
    const auto t = SplitTokens(line, Separators);
    bounds.assign(t.size(), 0.0);
    for (size_t i = 0; i < t.size(); ++i)
        if (const EFieldProblem why = ReadNumberField(t[i], bounds[i]); why != EFieldProblem::None)
        {
            error = Format("The %c boundary line of the MCNPX data set cannot be read: %s.", axis,
                           FieldProblemText(t[i], why).c_str());
            return false;
        }
    if (bounds.size() != size_t(bins) + 1)
    {
        error = Format("The %c boundary line of the MCNPX data set holds %zu boundaries where its "
                       "%d bins need %d.",
                       axis, bounds.size(), bins, bins + 1);
        return false;
    }
    const double width = (bounds.back() - bounds.front()) / bins;
    if (!(width > 0) || !std::isfinite(width))
    {
        error = Format("The %c boundaries of the MCNPX data set run from %g to %g: no bin width.",
                       axis, bounds.front(), bounds.back());
        return false;
    }
    for (size_t i = 1; i < bounds.size(); ++i)
        if (!(bounds[i] > bounds[i - 1]))
        {
            error = Format("The %c boundaries of the MCNPX data set do not increase (%g, %g).",
                           axis, bounds[i - 1], bounds[i]);
            return false;
        }
    return true;
}
} // namespace

std::int64_t CMCNPXDescriptor::Lines() const
{
    return m_XBins > 0 ? std::int64_t(m_Values) / m_XBins * 2 + 3 : 3;
}

bool ReadMCNPXHeader(CTextScanner& in, const MCNPXChooser& choose, CVoxelIOBase& geometry,
                     std::vector<CMCNPXDescriptor>& descriptors, std::vector<double> (&edges)[3],
                     std::string& error)
{
    std::int32_t sets = 0;
    descriptors.clear();
    if (!FindMarker(in, sets, error) || !ReadDescriptors(in, sets, descriptors, error))
        return false;
    int set = descriptors.size() >= 2 && choose ? choose(descriptors) : 1;
    if (set < 1 || set > static_cast<int>(descriptors.size())) set = 1;
    // Exactly the lines of the data sets before the chosen one.
    std::string line;
    for (int k = 0; k + 1 < set; ++k)
        for (std::int64_t i = 0; i < descriptors[k].Lines(); ++i)
            if (!ReadLineOrFail(in, line, "the chosen data set", error)) return false;
    const CMCNPXDescriptor& d = descriptors[set - 1];
    if (!CheckDescriptor(d, set, error)) return false;
    if (!ReadBoundaries(in, 'x', d.m_XBins, edges[0], error) ||
        !ReadBoundaries(in, 'y', d.m_YBins, edges[1], error) ||
        !ReadBoundaries(in, 'z', d.m_ZBins, edges[2], error))
        return false;
    const double lo[3] = {edges[0].front(), edges[1].front(), edges[2].front()};
    const double hi[3] = {edges[0].back(), edges[1].back(), edges[2].back()};
    geometry.SetNX(d.m_XBins), geometry.SetNY(d.m_YBins), geometry.SetNZ(d.m_ZBins);
    geometry.SetXRange(lo[0], hi[0]), geometry.SetYRange(lo[1], hi[1]);
    geometry.SetZRange(lo[2], hi[2]);
    geometry.SetDX((hi[0] - lo[0]) / d.m_XBins);
    geometry.SetDY((hi[1] - lo[1]) / d.m_YBins);
    geometry.SetDZ((hi[2] - lo[2]) / d.m_ZBins);
    geometry.SetOrigin(lo[0], lo[1], lo[2]);
    return true;
}
} // namespace volumira3d
