// Helpers of the volume tests: data paths, FLUKA text made to measure, a loader fixture.
#pragma once
#include "testkit/Scratch.h"
#include "testkit/UiCapture.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

#include <cstdio>
#include <string>
#include <vector>

namespace volumira3d::test
{
using namespace ::testkit;

inline std::string DataPath(const std::string& name)
{
    return SourcePath("volume/tests/data/" + name);
}

// Values as FLUKA prints them, ten to a line.
inline std::string FlukaValues(const std::vector<double>& values)
{
    std::string out;
    char buf[32];
    for (size_t i = 0; i < values.size(); ++i)
    {
        std::snprintf(buf, sizeof buf, " %11.4E", values[i]);
        out += (i % 10 == 0 ? "     " : "") + std::string(buf) +
               (i % 10 == 9 || i + 1 == values.size() ? "\n" : "");
    }
    return out;
}

inline std::string CoordinateLine(const char* axis, double min, double max, int bins, double width,
                                  const char* unit = "cm")
{
    char buf[160];
    std::snprintf(buf, sizeof buf,
                  "      %s coordinate: from %11.4E to %11.4E %s, %5d bins (%11.4E %s wide)\n",
                  axis, min, max, unit, bins, width, unit);
    return buf;
}

inline std::string FlukaCartesian(int nx, int ny, int nz, const std::string& values)
{
    return "1\n   Cartesian binning n.   1  \"test      \" , generalized particle n.  208\n" +
           CoordinateLine("X", 0, nx, nx, 1) + CoordinateLine("Y", 0, ny, ny, 1) +
           CoordinateLine("Z", 0, nz, nz, 1) +
           "      Data follow in a matrix A(ix,iy,iz), format (1(5x,1p,10(1x,e11.4)))\n\n" + values;
}

inline std::string FlukaRZ(double rmin, double rmax, int nr, double dr, int nz,
                           const std::string& values)
{
    return "1\n   R - Z     binning n.   1  \"rz        \" , generalized particle n.  208\n" +
           CoordinateLine("R", rmin, rmax, nr, dr) + CoordinateLine("Z", 0, nz, nz, 1) +
           "      axis coordinates: X =  0.0000E+00, Y =  0.0000E+00 cm\n"
           "      Data follow in a matrix A(ir,iz), format (1(5x,1p,10(1x,e11.4)))\n\n" +
           values;
}

inline std::string FlukaRPhiZ(double rmin, double rmax, int nr, double dr, int nphi, int nz,
                              const std::string& values)
{
    return "1\n   R-Phi-Z   binning n.   1  \"rpz       \" , generalized particle n.  208\n" +
           CoordinateLine("R", rmin, rmax, nr, dr) +
           CoordinateLine("P", -3.1416, 3.1416, nphi, 6.2832 / nphi, "rad") +
           CoordinateLine("Z", 0, nz, nz, 1) +
           "      Data follow in a matrix A(ir,ip,iz), format (1(5x,1p,10(1x,e11.4)))\n\n" + values;
}

// The grid's content: every value times its voxel's volume (what rebinning keeps).
inline double VolumeTotal(const CVoxelGrid& grid)
{
    double total = 0;
    for (int ix = 0; ix < grid.m_NrXBins; ++ix)
        for (int iy = 0; iy < grid.m_NrYBins; ++iy)
            for (int iz = 0; iz < grid.m_NrZBins; ++iz)
                total += grid.m_Voxels[ix][iy][iz];
    return total * grid.m_BinWidth[0] * grid.m_BinWidth[1] * grid.m_BinWidth[2];
}

inline std::vector<double> Sequence(size_t count, double first = 1)
{
    std::vector<double> values(count);
    for (size_t i = 0; i < count; ++i)
        values[i] = first + double(i);
    return values;
}

// A loader test: a grid, its log, and the loader that fills them.
class CLoaderTest : public CUiTest
{
protected:
    CVolumeLoader Loader() { return CVolumeLoader(m_Grid, m_Log); }
    bool Logged(const std::string& text) const
    {
        for (const auto& line : m_Log.m_Lines)
            if (line.first == text) return true;
        return false;
    }
    CVoxelGrid m_Grid;
    CStringLog m_Log;
};
} // namespace volumira3d::test
