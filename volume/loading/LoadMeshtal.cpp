#include "platform/Clock.h"
#include "platform/UiServices.h"
#include "volume/formats/MeshtalReader.h"
#include "volume/loading/MeshtalBinDlg.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace volumira3d
{
namespace
{
// Beyond this many voxels per axis no grid fits into any memory.
constexpr double MaxAxisVoxels = 1e7;
// Resampled voxels per cell of a mesh of unequal bins, at most.
constexpr double MaxResampling = 64;

// The bin width when all bins are equal (to the digits the file prints them with), else 0.
double EvenWidth(const std::vector<double>& bounds)
{
    const double width = (bounds.back() - bounds.front()) / double(bounds.size() - 1);
    for (size_t i = 1; i < bounds.size(); ++i)
        if (std::abs(bounds[i] - bounds[i - 1] - width) > 1e-3 * width) return 0;
    return width;
}

// A grid axis over a mesh axis of any bins: voxels as wide as the narrowest bin, each taking the
// value of the bin that holds its centre; m_First[i] is the first voxel of bin i.
struct CGridAxis
{
    double m_Min = 0, m_Width = 0;
    int m_Voxels = 0;
    std::vector<int> m_First;
};

bool PlanAxis(const std::vector<double>& bounds, CGridAxis& axis)
{
    const size_t bins = bounds.size() - 1;
    double width = EvenWidth(bounds);
    double voxels = double(bins);
    if (width == 0)
    {
        width = bounds[1] - bounds[0];
        for (size_t i = 1; i < bins; ++i)
            width = std::min(width, bounds[i + 1] - bounds[i]);
        voxels = std::ceil((bounds.back() - bounds.front()) / width - 1e-3);
    }
    if (!(voxels <= MaxAxisVoxels)) return false;
    axis.m_Min = bounds.front();
    axis.m_Width = width;
    axis.m_Voxels = static_cast<int>(voxels);
    axis.m_First.resize(bins + 1);
    for (size_t i = 0; i <= bins; ++i)
    {
        const double at = i == bins ? voxels : std::ceil((bounds[i] - bounds[0]) / width - 0.5);
        axis.m_First[i] = static_cast<int>(std::clamp(at, 0.0, voxels));
    }
    return true;
}

bool NearlyEqual(double a, double b)
{
    return std::abs(a - b) <= 1e-3;
}

class CMeshtalLoad : public CFormatLoad
{
public:
    using CFormatLoad::CFormatLoad;
    bool Load(const std::string& path);

private:
    // False when the user cancels the choice of tally and bin.
    bool ChooseMeshtalBin(const std::vector<CMeshtalTally>& tallies, CMeshtalChoice& choice);
    bool MapMeshtalCartesian(CMeshtalReader& reader, const CMeshtalChoice& choice);
    static int FirstMeshtalSector(const CMeshtalTally& tally);
    bool MapMeshtalCylinder(CMeshtalReader& reader, const CMeshtalChoice& choice);
};
} // namespace

bool CMeshtalLoad::Load(const std::string& path)
{
    m_Log.AddLine("Scanning the mesh tallies...");
    CMeshtalReader reader;
    if (!reader.Open(path))
    {
        m_Loader.ReportProblem(reader.Error(), MB_ICONERROR);
        return false;
    }
    const auto& tallies = reader.Tallies();
    m_Log.AddLine(Format("%d mesh tallies, %.0f histories", static_cast<int>(tallies.size()),
                         reader.Histories()));
    CMeshtalChoice choice = CMeshtalReader::DefaultChoice(tallies.front());
    if (!ChooseMeshtalBin(tallies, choice)) return false;
    choice.m_Errors =
        AfxMessageBox("Do you want to display the statistics information instead of the data?",
                      MB_YESNO | MB_ICONQUESTION) == IDYES;
    const CMeshtalTally& tally = tallies[choice.m_Tally];
    m_Log.AddLine(Format("Mesh tally %d (%s, %s, %s), energy %s, time %s%s", tally.m_Number,
                         tally.m_Particle.c_str(), tally.KindName().c_str(), tally.Sizes().c_str(),
                         tally.EnergyLabel(choice.m_Energy).c_str(),
                         tally.TimeLabel(choice.m_Time).c_str(),
                         choice.m_Errors ? ", relative errors" : ""));
    return tally.m_Kind == EMeshKind::Cartesian ? MapMeshtalCartesian(reader, choice)
                                                : MapMeshtalCylinder(reader, choice);
}

bool CMeshtalLoad::ChooseMeshtalBin(const std::vector<CMeshtalTally>& tallies,
                                    CMeshtalChoice& choice)
{
    const auto entries = MeshtalBinEntries(tallies);
    if (entries.size() < 2) return true;
    CMeshtalBinDlg dlg(tallies, entries, choice);
    if (dlg.DoModal() != IDOK)
    {
        m_Log.AddLine("No mesh tally was chosen", ILoadLog::IconWarning);
        return false;
    }
    choice = dlg.m_Choice;
    return true;
}

bool CMeshtalLoad::MapMeshtalCartesian(CMeshtalReader& reader, const CMeshtalChoice& choice)
{
    const CMeshtalTally& tally = reader.Tallies()[choice.m_Tally];
    CGridAxis axes[3];
    bool planned = true;
    for (int a = 0; a < 3; ++a)
        planned = planned && PlanAxis(tally.m_Bounds[a], axes[a]);
    // A few cells of very unequal bins must not ask for a grid of all the memory there is.
    if (!planned || double(axes[0].m_Voxels) * axes[1].m_Voxels * axes[2].m_Voxels >
                        MaxResampling * double(tally.Cells()))
    {
        m_Loader.ReportProblem(
            Format("The bins of mesh tally %d are too unequal to be mapped onto a "
                   "grid.",
                   tally.m_Number),
            MB_ICONERROR);
        return false;
    }
    if (axes[0].m_Voxels != tally.Bins(0) || axes[1].m_Voxels != tally.Bins(1) ||
        axes[2].m_Voxels != tally.Bins(2))
        m_Log.AddLine(Format("Bins of unequal width: resampled onto %d x %d x %d voxels",
                             axes[0].m_Voxels, axes[1].m_Voxels, axes[2].m_Voxels),
                      ILoadLog::IconWarning);
    m_Grid.ClearDataSet();
    m_Grid.ResetStatistics();
    m_Log.AddLine("Preparing voxel structure...");
    if (!m_Loader.PrepareGrid(axes[0].m_Voxels, axes[1].m_Voxels, axes[2].m_Voxels)) return false;
    const long bins = static_cast<long>(m_Grid.VoxelCount());
    CProgressLine progress(m_Log, Format("Mapping %ld bins to XYZ... %d%%", bins, 0));
    const DWORD start = GetTickCount();
    bool overflow = false;
    const auto store = [&](int i, int j, int k, double raw)
    {
        double value = 0;
        overflow |= !m_Loader.Normalised(raw, value);
        for (int x = axes[0].m_First[i]; x < axes[0].m_First[i + 1]; ++x)
            for (int y = axes[1].m_First[j]; y < axes[1].m_First[j + 1]; ++y)
                for (int z = axes[2].m_First[k]; z < axes[2].m_First[k + 1]; ++z)
                    m_Grid.StoreValue(x, y, z, overflow ? 0 : value);
    };
    if (!reader.ReadBin(choice, store, [&](int percent) { progress.Update(bins, percent); }) ||
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
        m_Grid.m_GridMin[a] = axes[a].m_Min;
        m_Grid.m_BinWidth[a] = axes[a].m_Width;
    }
    // A mesh tally is normalised per history already: neutral run values.
    m_Grid.m_TotalWeight = 1.0;
    m_Grid.m_GenParticle = 1;
    m_Grid.m_NrOfParticles = 1;
    return true;
}

// The sector of the R-Phi-Z mapping (sectors start at -pi) where the first theta bin lies, from
// the VEC direction that theta counts from; -1 when the bins do not line up with sectors.
int CMeshtalLoad::FirstMeshtalSector(const CMeshtalTally& tally)
{
    const auto& theta = tally.m_Bounds[2];
    const int n = tally.Bins(2);
    if (!NearlyEqual(theta.front(), 0) || !NearlyEqual(theta.back(), 1) || EvenWidth(theta) == 0)
        return -1;
    const double phi0 = std::atan2(tally.m_Vec[1], tally.m_Vec[0]);
    const double at = (phi0 + std::numbers::pi) / (2 * std::numbers::pi / n);
    if (std::abs(at - std::round(at)) > 1e-3) return -1;
    return static_cast<int>(std::llround(at)) % n;
}

bool CMeshtalLoad::MapMeshtalCylinder(CMeshtalReader& reader, const CMeshtalChoice& choice)
{
    const CMeshtalTally& tally = reader.Tallies()[choice.m_Tally];
    const double* a = tally.m_Axis;
    const double length = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
    if (!(length > 0) || !NearlyEqual(a[2] / length, 1))
    {
        m_Loader.ReportProblem(
            Format("Mesh tally %d has its axis along (%g, %g, %g); only cylinders along "
                   "the z direction are mapped onto the grid.",
                   tally.m_Number, a[0], a[1], a[2]),
            MB_ICONERROR);
        return false;
    }
    const double dr = EvenWidth(tally.m_Bounds[0]), dz = EvenWidth(tally.m_Bounds[1]);
    const int sector = FirstMeshtalSector(tally);
    if (dr == 0 || dz == 0 || sector < 0)
    {
        m_Loader.ReportProblem(
            Format("The R, Z or Theta bins of mesh tally %d are not even, or its theta "
                   "bins do not line up with sectors from its VEC direction: it cannot "
                   "be mapped onto the grid.",
                   tally.m_Number),
            MB_ICONERROR);
        return false;
    }
    const int nr = tally.Bins(0), nz = tally.Bins(1), nth = tally.Bins(2);
    // The file's rows bound the cells (checked when it was opened), so this fits the file's size.
    std::vector<double> values(static_cast<size_t>(tally.Cells()));
    const auto store = [&](int ir, int iz, int ith, double value)
    { values[(size_t(iz) * nth + size_t((ith + sector) % nth)) * nr + ir] = value; };
    if (!reader.ReadBin(choice, store, [](int) {}))
    {
        m_Loader.ReportProblem(reader.Error(), MB_ICONERROR);
        return false;
    }
    CCylinderGeometry g;
    g.m_RMin = tally.m_Bounds[0].front(), g.m_RMax = tally.m_Bounds[0].back();
    g.m_DR = dr, g.m_NR = nr;
    g.m_ZMin = tally.m_Origin[2] + tally.m_Bounds[1].front();
    g.m_ZMax = tally.m_Origin[2] + tally.m_Bounds[1].back();
    g.m_DZ = dz, g.m_NZ = nz;
    g.m_NPhi = nth;
    g.m_AxisX = tally.m_Origin[0], g.m_AxisY = tally.m_Origin[1];
    CVectorCylinderSource source(std::move(values));
    return nth < 2 ? m_Loader.MapRZ(source, g) : m_Loader.MapRPhiZ(source, g);
}

bool LoadMeshtal(CVolumeLoader& loader, const std::string& path)
{
    return CMeshtalLoad(loader).Load(path);
}
} // namespace volumira3d
