#include "platform/Clock.h"
#include "platform/UiServices.h"
#include "volume/formats/FlukaRZAsciiReader.h"
#include "volume/loading/CylinderResampling.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

#include <omp.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace volumira3d
{
namespace
{
// Beyond this many bins per half axis no grid fits into any memory.
constexpr double MaxHalfBins = 1e7;

// The streaming text reader as a source of ring values.
class CTextCylinderSource : public ICylinderSource
{
public:
    explicit CTextCylinderSource(CFlukaRZAsciiReader& reader) : m_Reader(reader) {}
    bool ReadValue(double& value) override { return m_Reader.ReadValue(value); }
    void Close() override { m_Reader.Close(); }
    bool Exhausted() const override { return m_Reader.Exhausted(); }
    std::uint64_t MaxValuesLeft() const override { return m_Reader.MaxValuesLeft(); }
    std::int64_t GetCount() const override { return m_Reader.GetCount(); }

private:
    CFlukaRZAsciiReader& m_Reader;
};

CCylinderGeometry GeometryOf(const CFlukaRZAsciiReader& reader)
{
    CCylinderGeometry g;
    reader.GetRRange(g.m_RMin, g.m_RMax);
    g.m_DR = reader.GetDR();
    g.m_NR = reader.GetNR();
    reader.GetZRange(g.m_ZMin, g.m_ZMax);
    g.m_DZ = reader.GetDZ();
    g.m_NZ = reader.GetNZ();
    g.m_AxisX = reader.GetAxisX();
    g.m_AxisY = reader.GetAxisY();
    g.m_TotalWeight = reader.GetTotalWeight();
    g.m_GenParticle = reader.GetGenParticle();
    g.m_NrOfParticles = reader.GetNrOfParticles();
    return g;
}

// With several binnings of the kind, the chosen one; a refused header: no value has been read,
// whatever its notation.
bool OpenCylinderFile(CVolumeLoader& loader, CFlukaRZAsciiReader& reader, EFlukaBinning binning)
{
    int index = 0;
    if (!loader.ChooseFlukaTextBinning(reader.Path(), binning, index)) return false;
    reader.SetBinningIndex(index);
    if (reader.Open()) return true;
    loader.LogError(reader.Error());
    return false;
}
} // namespace

bool CVolumeLoader::PlanRadialLayout(const CCylinderGeometry& geometry, CRadialLayout& layout)
{
    const double rmin = geometry.m_RMin, rmax = geometry.m_RMax, dr = geometry.m_DR;
    // Rmax must be where the bins end (within the rounding of printed numbers): a header that
    // disagrees with itself cannot say which of the two the grid should follow.
    const bool consistent = std::abs(rmin + geometry.m_NR * dr - rmax) <= 0.5 * dr;
    if (!(rmin >= 0) || !(rmax > rmin) || !(dr > 0) || geometry.m_NR < 1 || !consistent ||
        rmin / dr + geometry.m_NR > MaxHalfBins)
    {
        ReportProblem(Format("The radial binning from %g to %g cm in bins of %g cm cannot be "
                             "mapped onto a grid.",
                             rmin, rmax, dr),
                      MB_ICONERROR);
        return false;
    }
    // From the bin count, not from Rmax / DR truncated: 10 / 0.1 in single precision is 99.99999.
    layout.m_Off = std::llround(rmin / dr);
    layout.m_N = layout.m_Off + geometry.m_NR;
    layout.m_DR = dr;
    layout.m_NR = geometry.m_NR;
    if (layout.m_N > 100 && layout.m_N % 2 == 0 &&
        AfxMessageBox("More than 100 radial bins have been detected. Do you want to compact these "
                      "by a factor of 2 to save memory?",
                      MB_YESNO | MB_ICONQUESTION) == IDYES)
    {
        layout.m_Compact = true;
        layout.m_DR *= 2;
        layout.m_OddLeftover = layout.m_NR % 2 != 0;
        layout.m_NR /= 2;
        layout.m_N /= 2;
        layout.m_Off /= 2;
    }
    return true;
}

bool CVolumeLoader::ReadRingValue(ICylinderSource& reader, const CRadialLayout& layout,
                                  double& value)
{
    double first = 0, second = 0;
    if (!reader.ReadValue(first) || (layout.m_Compact && !reader.ReadValue(second))) return false;
    double a = 0, b = 0;
    if (Normalised(first, a) && Normalised(second, b))
    {
        value = layout.m_Compact ? (a + b) / 2 : a;
        return true;
    }
    // A value beyond the range of numbers ends the reading as an unreadable one does.
    reader.Close();
    return false;
}

// A compacted row of an odd number of rings leaves one value; reading it keeps the next row in
// step with the file.
void CVolumeLoader::FinishRow(ICylinderSource& reader, const CRadialLayout& layout)
{
    double leftover = 0;
    if (layout.m_OddLeftover) reader.ReadValue(leftover);
}

void CVolumeLoader::ReportShortCylinderFile(const ICylinderSource& reader, long long expected)
{
    if (reader.GetCount() >= expected) return;
    m_Log.AddLine(Format("Only %lld of %lld values could be read; the remaining voxels were left "
                         "at 0.",
                         static_cast<long long>(reader.GetCount()), expected),
                  ILoadLog::IconWarning);
}

bool LoadFlukaRZ(CVolumeLoader& loader, const std::string& path)
{
    CFlukaRZAsciiReader reader(path);
    if (!OpenCylinderFile(loader, reader, EFlukaBinning::RZ)) return false;
    CTextCylinderSource source(reader);
    return loader.MapCylinderFile(source, GeometryOf(reader));
}

// The values of the whole binning, plane after plane, sector after sector, ring after ring,
// until the file runs out; count is how many were read.
long long CVolumeLoader::ReadCylinderValues(ICylinderSource& reader, const CRadialLayout& layout,
                                            std::vector<double>& values)
{
    const long long size = static_cast<long long>(values.size());
    long long count = 0;
    while (count < size && !reader.Exhausted())
    {
        for (int ir = 0; ir < layout.m_NR && count < size; ++ir, ++count)
            if (!ReadRingValue(reader, layout, values[static_cast<size_t>(count)])) return count;
        FinishRow(reader, layout);
    }
    return count;
}

bool CVolumeLoader::MapCylinderFile(ICylinderSource& reader, const CCylinderGeometry& geometry)
{
    CRadialLayout layout;
    if (!PlanRadialLayout(geometry, layout)) return false;
    const long long nphi = std::max(1, geometry.m_NPhi), nz = geometry.m_NZ;
    // No more values than the file can hold, however large the header's counts are.
    const long long held = std::min<long long>(
        layout.m_NR * nphi * nz,
        static_cast<long long>(std::min<std::uint64_t>(reader.MaxValuesLeft(), 1ULL << 40)));
    if (double(held) * 8.0 > double(AvailableMemory()))
    {
        ReportProblem(Format("The %lld values of the binning would need %.1f MB of memory, more "
                             "than is available.",
                             held, double(held) * 8.0 / 1e6),
                      MB_ICONERROR);
        return false;
    }
    std::vector<double> values(static_cast<size_t>(held));
    const long long count = ReadCylinderValues(reader, layout, values);
    CCylinderMesh mesh;
    mesh.m_Origin = {geometry.m_AxisX, geometry.m_AxisY, 0};
    // A compaction of one ring leaves none: the mesh keeps one, without a value.
    const int rings = std::max(layout.m_NR, 1);
    mesh.m_R = EvenEdges(geometry.m_RMin, geometry.m_RMin + rings * layout.m_DR, rings);
    // Sectors no value reaches stay out of the mesh: a header may announce billions of them.
    const long long reached = std::min(nphi, (held + rings - 1) / rings);
    mesh.m_Phi = EvenEdges(-std::numbers::pi, std::numbers::pi, nphi, std::max(reached, 1LL));
    mesh.m_T = EvenEdges(geometry.m_ZMin, geometry.m_ZMin + nz * geometry.m_DZ, nz);
    if (!MapCylinder(mesh, values, count, layout.m_DR, nphi == 1)) return false;
    ReportShortCylinderFile(reader, static_cast<long long>(geometry.m_NR) * nphi * nz);
    m_Grid.m_TotalWeight = geometry.m_TotalWeight;
    m_Grid.m_GenParticle = geometry.m_GenParticle;
    m_Grid.m_NrOfParticles = geometry.m_NrOfParticles;
    return true;
}

bool CVolumeLoader::MapCylinder(const CCylinderMesh& mesh, const std::vector<double>& values,
                                long long count, double radialWidth, bool logMemory)
{
    if (m_pChoices && m_pChoices->m_KeepCylinder)
    {
        KeepCylinder(mesh, values, count);
        return true;
    }
    const double resolution = CylinderResolution() > 0 ? CylinderResolution() : radialWidth;
    CCylinderGridPlan plan;
    std::string error;
    if (!PlanCylinderGrid(mesh, resolution, MaxHalfBins, plan, error))
    {
        ReportProblem(error, MB_ICONERROR);
        return false;
    }
    m_Grid.ClearDataSet();
    m_Grid.ResetStatistics();
    m_Log.AddLine("Preparing voxel structure...");
    const std::int64_t* n = plan.m_Count;
    if (logMemory)
        m_Log.AddLine(
            Format("Requesting %.2lf MB of memory...", 8.0 * double(n[0]) * n[1] * n[2] / 1e6));
    if (!PrepareGrid(n[0], n[1], n[2], 0, EVoxelStart::Unset)) return false;
    if (logMemory) m_Log.AddLine("...successful");
    for (int a = 0; a < 3; ++a)
    {
        m_Grid.m_GridMin[a] = plan.m_Min[a];
        m_Grid.m_BinWidth[a] = plan.m_Width[a];
        if (!plan.m_Edges[a].empty()) SetGridEdges(a, plan.m_Edges[a]);
    }
    const long voxels = long(m_Grid.VoxelCount());
    CProgressLine progress(m_Log, Format("Mapping %ld bins to XYZ...", voxels));
    m_Log.AddLine(Format("Using %d cores", omp_get_num_procs()));
    const DWORD start = GetTickCount();
    ResampleCylinder(mesh, values, count, m_Grid,
                     [&](int percent) { progress.Update(voxels, percent); });
    LogElapsed(start);
    return true;
}

// The mesh as far as values reach it (a short file ends inside a plane: its remaining bins are 0).
void CVolumeLoader::KeepCylinder(const CCylinderMesh& mesh, const std::vector<double>& values,
                                 long long count)
{
    m_Grid.ClearDataSet();
    m_Cylinder.m_Mesh = mesh;
    const auto bins = [](const std::vector<double>& edges)
    { return std::max<long long>(0, static_cast<long long>(edges.size()) - 1); };
    const long long perPlane = std::max<long long>(1, bins(mesh.m_R) * bins(mesh.m_Phi));
    const long long planes =
        std::min<long long>(bins(mesh.m_T), (std::max(count, 1LL) + perPlane - 1) / perPlane);
    m_Cylinder.m_Mesh.m_T.resize(static_cast<size_t>(planes + 1));
    m_Cylinder.m_Values.assign(values.begin(),
                               values.begin() + std::min<long long>(count, planes * perPlane));
    m_Cylinder.m_Values.resize(static_cast<size_t>(planes * perPlane), 0.0);
}

bool LoadFlukaRPhiZ(CVolumeLoader& loader, const std::string& path)
{
    CFlukaRPhiZAsciiReader reader(path);
    if (!OpenCylinderFile(loader, reader, EFlukaBinning::RPhiZ)) return false;
    CTextCylinderSource source(reader);
    CCylinderGeometry geometry = GeometryOf(reader);
    geometry.m_NPhi = reader.GetNPhi();
    return loader.MapCylinderFile(source, geometry);
}
} // namespace volumira3d
