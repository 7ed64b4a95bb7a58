#include "volume/loading/FormatDispatch.h"

#include "common/FileSystem.h"
#include "common/LineReader.h"
#include "common/TextCase.h"
#include "volume/formats/FlukaBinaryReader.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <vector>

namespace volumira3d
{
// The load functions, each in its loading/LoadFoo.cpp.
bool LoadXYZ(CVolumeLoader& loader, const std::string& path);
bool LoadMCNPX(CVolumeLoader& loader, const std::string& path);
bool LoadFlukaBinary(CVolumeLoader& loader, const std::string& path);
bool LoadFlukaCartesian(CVolumeLoader& loader, const std::string& path);
bool LoadFlukaRZ(CVolumeLoader& loader, const std::string& path);
bool LoadFlukaRPhiZ(CVolumeLoader& loader, const std::string& path);
bool LoadPHITS(CVolumeLoader& loader, const std::string& path);
bool LoadFlukaVoxel(CVolumeLoader& loader, const std::string& path);
bool LoadMeshtal(CVolumeLoader& loader, const std::string& path);

namespace
{
constexpr CFilterEntry XYZFilter[] = {{6, "XYZ voxel files (*.xyz)", "*.xyz"}};
constexpr CFilterEntry MCNPXFilter[] = {{8, "MCNPX gridconv file (*.mcnpx)", "*.mcnpx"}};
constexpr CFilterEntry BinaryFilter[] = {{5, "FLUKA USRBIN - BINARY (*.bin)", "*.bin"}};
// Averaged and error files have no name part: they are identified by their FLUKA header.
constexpr CFilterEntry CartesianFilter[] = {
    {0, "FLUKA average USRBIN - ASCII (*.avg)", "*.avg"},
    {1, "FLUKA error USRBIN - ASCII (*.err)", "*.err"},
    {2, "FLUKA cartesian USRBIN - ASCII (*.usrbin)", "*.usrbin"},
    {9, "Volumix3D/FLUKA averaged file (*.avg)", "*.avg"},
    {10, "Volumix3D/FLUKA error of average file (*.err)", "*.err"},
};
constexpr CFilterEntry RZFilter[] = {{3, "FLUKA RZ symmetric USRBIN - ASCII (*.rz)", "*.rz"}};
constexpr CFilterEntry RPhiZFilter[] = {{4, "FLUKA R-Phi-Z USRBIN - ASCII (*.rpz)", "*.rpz"}};
constexpr CFilterEntry PHITSFilter[] = {{7, "PHITS (*.out)", "*.out"}};
constexpr CFilterEntry VoxelFilter[] = {{11, "FLUKA voxel file (*.vxl)", "*.vxl"}};
constexpr CFilterEntry MeshtalFilter[] = {{12, "MCNP mesh tally (meshtal*)", "meshtal*"}};

const CVolumeFormat Formats[] = {
    {"XYZ voxel", ".xyz", {}, "", XYZFilter, &LoadXYZ},
    {"MCNPX gridconv",
     ".mcnpx",
     {"mcnpx", "MCNPX"},
     "Identified MCNPX data...",
     MCNPXFilter,
     &LoadMCNPX},
    // fort.21 or *.bnn as FLUKA names them: recognised by the Fortran framing of their records.
    {"FLUKA binary USRBIN",
     ".bin",
     {},
     "Identified FLUKA - binary USRBIN...",
     BinaryFilter,
     &LoadFlukaBinary,
     &LooksLikeFlukaBinary},
    {"FLUKA cartesian USRBIN",
     ".usrbin",
     {"Cartesian binning"},
     "Identified FLUKA - cartesian USRBIN...",
     CartesianFilter,
     &LoadFlukaCartesian},
    {"FLUKA R-Z USRBIN",
     ".rz",
     {"R - Z     binning"},
     "Identified FLUKA - RZ USRBIN...",
     RZFilter,
     &LoadFlukaRZ},
    {"FLUKA R-Phi-Z USRBIN",
     ".rpz",
     {"R-Phi-Z   binning"},
     "Identified FLUKA - R-Phi-Z USRBIN...",
     RPhiZFilter,
     &LoadFlukaRPhiZ},
    {"PHITS", ".out", {"    title = ["}, "Identified PHITS data...", PHITSFilter, &LoadPHITS},
    {"FLUKA voxel", ".vxl", {}, "", VoxelFilter, &LoadFlukaVoxel},
    {"MCNP meshtal",
     "/meshtal",
     {"Mesh Tally Number"},
     "Identified MCNP mesh tally data...",
     MeshtalFilter,
     &LoadMeshtal},
};

bool HasPhrase(const CVolumeFormat& format, std::string_view line)
{
    for (std::string_view phrase : format.m_Phrases)
        if (!phrase.empty() && line.find(phrase) != std::string_view::npos) return true;
    return false;
}

const CVolumeFormat* FormatOfLine(std::string_view line)
{
    for (const CVolumeFormat& format : Formats)
        if (HasPhrase(format, line)) return &format;
    return nullptr;
}

std::string BuildFilter()
{
    std::vector<CFilterEntry> entries;
    for (const CVolumeFormat& format : Formats)
        entries.insert(entries.end(), format.m_Filter.begin(), format.m_Filter.end());
    std::stable_sort(entries.begin(), entries.end(),
                     [](const CFilterEntry& a, const CFilterEntry& b)
                     { return a.m_Rank < b.m_Rank; });
    std::string filter;
    for (const CFilterEntry& entry : entries)
        filter.append(entry.m_Text).append("|").append(entry.m_Pattern).append("|");
    return filter + "All Files (*.*)|*.*|";
}
} // namespace

std::span<const CVolumeFormat> VolumeFormats()
{
    return Formats;
}

const CVolumeFormat* FormatNamed(std::string_view name)
{
    for (const CVolumeFormat& format : VolumeFormats())
        if (format.m_Name == name) return &format;
    return nullptr;
}

const CVolumeFormat* FormatFromPath(const std::string& path)
{
    const std::string lower = LowerCase(path);
    const std::string_view name = std::string_view(lower).substr(lower.find_last_of('/') + 1);
    for (const CVolumeFormat& format : Formats)
        if (!format.m_NamePart.empty() &&
            (format.m_NamePart.front() == '/' ? name.starts_with(format.m_NamePart.substr(1))
                                              : lower.find(format.m_NamePart) != std::string::npos))
            return &format;
    return nullptr;
}

const CVolumeFormat* IdentifyContent(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!IsRegularFile(path) || !in) return nullptr;
    for (const CVolumeFormat& format : Formats)
        if (format.m_Recognize && format.m_Recognize(path)) return &format;
    CLineReader reader(in);
    std::string line;
    for (int i = 0; i < 10 && reader.Next(line); ++i)
        if (const CVolumeFormat* format = FormatOfLine(line)) return format;
    return nullptr;
}

const std::string& InputFileFilter()
{
    static const std::string filter = BuildFilter();
    return filter;
}

std::string_view FormatName(const CVolumeFormat* format)
{
    return format ? format->m_Name : "unknown";
}
} // namespace volumira3d
