#include "volume/FormatDispatch.h"

#include "common/LineReader.h"
#include "volume/TextScanner.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string_view>

namespace volumira3d
{
namespace
{
struct CNamePart
{
    std::string_view m_Part;
    EVolumeFormat m_Format;
};

// In this order: the first that occurs anywhere in the path decides.
constexpr CNamePart NameParts[] = {
    {".xyz", EVolumeFormat::XYZ},         {".mcnpx", EVolumeFormat::MCNPX},
    {".bin", EVolumeFormat::FlukaBinary}, {".usrbin", EVolumeFormat::FlukaCartesian},
    {".rz", EVolumeFormat::FlukaRZ},      {".rpz", EVolumeFormat::FlukaRPhiZ},
    {".out", EVolumeFormat::PHITS},       {".vxl", EVolumeFormat::FlukaVoxel},
};

EVolumeFormat FormatOfLine(std::string_view line)
{
    if (line.find("mcnpx") != std::string_view::npos ||
        line.find("MCNPX") != std::string_view::npos)
        return EVolumeFormat::MCNPX;
    if (line.find("Cartesian binning") != std::string_view::npos)
        return EVolumeFormat::FlukaCartesian;
    if (line.find("R - Z     binning") != std::string_view::npos) return EVolumeFormat::FlukaRZ;
    if (line.find("R-Phi-Z   binning") != std::string_view::npos) return EVolumeFormat::FlukaRPhiZ;
    if (line.find("    title = [") != std::string_view::npos) return EVolumeFormat::PHITS;
    return EVolumeFormat::Unknown;
}
} // namespace

EVolumeFormat FormatFromPath(const std::string& path)
{
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const CNamePart& part : NameParts)
        if (lower.find(part.m_Part) != std::string::npos) return part.m_Format;
    return EVolumeFormat::Unknown;
}

EVolumeFormat IdentifyContent(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!IsRegularFile(path) || !in) return EVolumeFormat::Unknown;
    CLineReader reader(in);
    std::string line;
    for (int i = 0; i < 10 && reader.Next(line); ++i)
        if (const EVolumeFormat format = FormatOfLine(line); format != EVolumeFormat::Unknown)
            return format;
    return EVolumeFormat::Unknown;
}

const char* IdentifiedLogLine(EVolumeFormat format)
{
    switch (format)
    {
    case EVolumeFormat::MCNPX:
        return "Identified MCNPX data...";
    case EVolumeFormat::FlukaCartesian:
        return "Identified FLUKA - cartesian USRBIN...";
    case EVolumeFormat::FlukaRZ:
        return "Identified FLUKA - RZ USRBIN...";
    case EVolumeFormat::FlukaRPhiZ:
        return "Identified FLUKA - R-Phi-Z USRBIN...";
    case EVolumeFormat::PHITS:
        return "Identified PHITS data...";
    default:
        return "";
    }
}
} // namespace volumira3d
