#include "volume/formats/XYZAsciiIO.h"

#include "platform/SafeWrite.h"
#include "platform/UiServices.h"
#include "volume/model/VoxelGrid.h"

#include <cmath>
#include <fstream>

namespace volumira3d
{
namespace
{
struct CXYZAxis
{
    double m_Start = 0, m_End = 0;
    std::int32_t m_Steps = 0;
};

bool ParseGeometryLine(const std::string& line, char axis, CXYZAxis& out, std::string& error)
{
    const auto tokens = SplitTokens(line, CSeparators(" \t"));
    double steps = 0;
    const bool read = tokens.size() > 5 && ParseLeadingNumber(tokens[1], out.m_Start) &&
                      ParseLeadingNumber(tokens[3], out.m_End) &&
                      ParseLeadingNumber(tokens[5], steps);
    if (!read)
    {
        error = Format("The %c geometry line \"%s\" cannot be read.", axis, line.c_str());
        return false;
    }
    // Checked as a double first: a count beyond int cannot be truncated safely.
    if (!(steps >= 1) || steps > 2147483647.0)
    {
        error = Format("The %c-steps of the header (%s) must be at least 1.", axis,
                       std::string(tokens[5]).c_str());
        return false;
    }
    if (!(out.m_End > out.m_Start))
    {
        error = Format("The %c-end of the header (%g) must lie above the %c-start (%g).", axis,
                       out.m_End, axis, out.m_Start);
        return false;
    }
    out.m_Steps = static_cast<std::int32_t>(steps);
    return true;
}
} // namespace

bool ReadXYZHeader(CTextScanner& in, CVoxelIOBase& geometry, std::string& error)
{
    std::string line;
    bool marker = false;
    while (!marker && in.ReadLine(line))
        marker = line.find("VOXEL-DATA") != std::string::npos;
    if (!marker)
    {
        error = "No line with \"VOXEL-DATA\" was found.";
        return false;
    }
    CXYZAxis axes[3];
    const char names[3] = {'X', 'Y', 'Z'};
    for (int a = 0; a < 3; ++a)
    {
        if (!in.ReadLine(line))
        {
            error = "The file ends inside the geometry header.";
            return false;
        }
        if (!ParseGeometryLine(line, names[a], axes[a], error)) return false;
    }
    in.SkipLine();
    in.SkipLine();
    geometry.SetNX(axes[0].m_Steps);
    geometry.SetNY(axes[1].m_Steps);
    geometry.SetNZ(axes[2].m_Steps);
    geometry.SetXRange(axes[0].m_Start, axes[0].m_End);
    geometry.SetYRange(axes[1].m_Start, axes[1].m_End);
    geometry.SetZRange(axes[2].m_Start, axes[2].m_End);
    geometry.SetDX((axes[0].m_End - axes[0].m_Start) / axes[0].m_Steps);
    geometry.SetDY((axes[1].m_End - axes[1].m_Start) / axes[1].m_Steps);
    geometry.SetDZ((axes[2].m_End - axes[2].m_Start) / axes[2].m_Steps);
    geometry.SetOrigin(axes[0].m_Start, axes[1].m_Start, axes[2].m_Start);
    return true;
}

bool WriteXYZFile(const CVoxelGrid& grid, const std::string& path, std::string& error)
{
    CSafeOutput file(path, std::ios::out | std::ios::trunc);
    if (!file.IsOpen())
    {
        error = Format("Cannot open %s for writing.", path.c_str());
        return false;
    }
    std::ostream& out = file.Stream();
    const char names[3] = {'X', 'Y', 'Z'};
    const std::int32_t counts[3] = {grid.m_NrXBins, grid.m_NrYBins, grid.m_NrZBins};
    out << "VOXEL-DATA @2007 Volumix3D\n";
    for (int a = 0; a < 3; ++a)
    {
        const double start = grid.m_GridMin[a];
        out << names[a] << "-start: " << start << " " << names[a]
            << "-end: " << start + counts[a] * grid.m_BinWidth[a] << " " << names[a]
            << "-steps: " << counts[a] << "\n";
    }
    out << std::string(42, '=') << "\n"
        << "X Y Z Data\n";
    CVoxelData record;
    for (std::int32_t iz = 0; iz < grid.m_NrZBins; ++iz)
        for (std::int32_t iy = 0; iy < grid.m_NrYBins; ++iy)
            for (std::int32_t ix = 0; ix < grid.m_NrXBins; ++ix)
            {
                const double value = grid.m_Voxels[ix][iy][iz];
                if (value == 0) continue;
                record.m_IndexX = ix;
                record.m_IndexY = iy;
                record.m_IndexZ = iz;
                record.m_Value = value;
                out << record;
            }
    if (file.Commit()) return true;
    error = Format("Writing %s failed: %s", path.c_str(), file.Error().c_str());
    return false;
}
} // namespace volumira3d
