#include "platform/Clock.h"
#include "platform/UiServices.h"
#include "volume/formats/PHITSReader.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

#include <vector>

namespace volumira3d
{
namespace
{
// How the printed pages of a cartesian mesh lie in the grid: page, row and column to ix, iy, iz.
struct CPageLayout
{
    int m_Pages = 0, m_Rows = 0, m_Columns = 0;
    std::function<void(int page, int row, int column, int& ix, int& iy, int& iz)> m_Voxel;
};

CPageLayout LayoutOf(const CPHITSHeader& h)
{
    const int nx = h.m_Bins[0], ny = h.m_Bins[1], nz = h.m_Bins[2];
    CPageLayout l;
    if (h.m_Axis == "xy")
        l = {nz, ny, nx,
             [ny](int p, int r, int c, int& x, int& y, int& z) { x = c, y = ny - 1 - r, z = p; }};
    else if (h.m_Axis == "xz") // ((data(z,x),z=1,nz),x=nx,1,-1)
        l = {ny, nx, nz,
             [nx](int p, int r, int c, int& x, int& y, int& z) { x = nx - 1 - r, y = p, z = c; }};
    else if (h.m_Axis == "yz")
        l = {nx, ny, nz,
             [ny](int p, int r, int c, int& x, int& y, int& z) { x = p, y = ny - 1 - r, z = c; }};
    // One axis per page; the pages run through the other two, the later one fastest.
    else if (h.m_Axis == "x")
        l = {ny * nz, 1, nx,
             [nz](int p, int, int c, int& x, int& y, int& z) { x = c, y = p / nz, z = p % nz; }};
    else if (h.m_Axis == "y")
        l = {nx * nz, 1, ny,
             [nz](int p, int, int c, int& x, int& y, int& z) { x = p / nz, y = c, z = p % nz; }};
    else
        l = {nx * ny, 1, nz,
             [ny](int p, int, int c, int& x, int& y, int& z) { x = p / ny, y = p % ny, z = c; }};
    return l;
}

class CPHITSLoad : public CFormatLoad
{
public:
    using CFormatLoad::CFormatLoad;
    bool Load(const std::string& path);

private:
    bool MapPHITSCartesian(CPHITSReader& reader);
    bool MapPHITSCylinder(CPHITSReader& reader);
};
} // namespace

bool CPHITSLoad::Load(const std::string& path)
{
    CPHITSReader reader;
    if (!reader.Open(path))
    {
        m_Loader.LogError(reader.Error());
        if (!reader.Message().empty()) m_Loader.ShowProblem(reader.Message(), MB_ICONERROR);
        return false;
    }
    const CPHITSHeader& h = reader.Header();
    const double voxels = double(h.m_Bins[0]) * h.m_Bins[1] * h.m_Bins[2];
    if (voxels > double(reader.MaxValuesLeft()))
    {
        m_Loader.ReportProblem(
            Format("The PHITS mesh of %d x %d x %d bins holds more values than the rest "
                   "of the file can.",
                   h.m_Bins[0], h.m_Bins[1], h.m_Bins[2]),
            MB_ICONERROR);
        return false;
    }
    return h.m_Cylindrical ? MapPHITSCylinder(reader) : MapPHITSCartesian(reader);
}

bool CPHITSLoad::MapPHITSCartesian(CPHITSReader& reader)
{
    const CPHITSHeader& h = reader.Header();
    m_Grid.ClearDataSet();
    m_Grid.ResetStatistics();
    m_Log.AddLine("Preparing voxel structure...");
    if (!m_Loader.PrepareGrid(h.m_Bins[0], h.m_Bins[1], h.m_Bins[2])) return false;
    const long bins = static_cast<long>(m_Grid.VoxelCount());
    CProgressLine progress(m_Log, Format("Mapping %ld bins to XYZ... %d%%", bins, 0));
    const DWORD start = GetTickCount();
    const CPageLayout layout = LayoutOf(h);
    bool overflow = false;
    const auto store = [&](int page, int row, int column, double raw)
    {
        int ix = 0, iy = 0, iz = 0;
        layout.m_Voxel(page, row, column, ix, iy, iz);
        double value = 0;
        overflow |= !m_Loader.Normalised(raw, value);
        m_Grid.StoreValue(ix, iy, iz, overflow ? 0 : value);
    };
    const auto pageDone = [&](int page)
    { progress.Update(bins, static_cast<int>((page + 1) * 100LL / layout.m_Pages)); };
    if (!reader.ReadPages(layout.m_Pages, layout.m_Rows, layout.m_Columns, store, pageDone) ||
        overflow)
    {
        m_Loader.ReportProblem(overflow
                                   ? "A value times the normalization factor exceeds the range of "
                                     "numbers."
                                   : reader.Error(),
                               MB_ICONERROR);
        return false;
    }
    m_Loader.LogElapsed(start);
    for (int a = 0; a < 3; ++a)
    {
        m_Grid.m_GridMin[a] = h.m_Min[a];
        m_Grid.m_BinWidth[a] = h.m_Width[a];
    }
    m_Grid.m_TotalWeight = 1.0;
    m_Grid.m_GenParticle = 1;
    m_Grid.m_NrOfParticles = 1;
    return true;
}

bool CPHITSLoad::MapPHITSCylinder(CPHITSReader& reader)
{
    const CPHITSHeader& h = reader.Header();
    const int nr = h.m_Bins[0], nz = h.m_Bins[2];
    // The page prints z rows from the top down; the mapping wants them upwards.
    std::vector<double> values(static_cast<size_t>(nr) * nz);
    const auto store = [&](int, int row, int column, double value)
    { values[static_cast<size_t>(nz - 1 - row) * nr + column] = value; };
    if (!reader.ReadPages(1, nz, nr, store, [](int) {}))
    {
        m_Loader.ReportProblem(reader.Error(), MB_ICONERROR);
        return false;
    }
    CCylinderGeometry g;
    g.m_RMin = h.m_Min[0], g.m_DR = h.m_Width[0], g.m_NR = nr;
    g.m_RMax = h.m_RMax > 0 ? h.m_RMax : g.m_RMin + nr * g.m_DR;
    g.m_ZMin = h.m_Min[2], g.m_DZ = h.m_Width[2], g.m_NZ = nz;
    g.m_ZMax = g.m_ZMin + nz * g.m_DZ;
    g.m_AxisX = h.m_X0, g.m_AxisY = h.m_Y0;
    CVectorCylinderSource source(std::move(values));
    return m_Loader.MapCylinderFile(source, g);
}

bool LoadPHITS(CVolumeLoader& loader, const std::string& path)
{
    return CPHITSLoad(loader).Load(path);
}
} // namespace volumira3d
