#include "common/TextCase.h"
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
class CMeshtalLoad : public CFormatLoad
{
public:
    using CFormatLoad::CFormatLoad;
    bool Load(const std::string& path);

private:
    // False when the user cancels the choice of tally and bin.
    bool ChooseMeshtalBin(const std::vector<CMeshtalTally>& tallies, CMeshtalChoice& choice);
    // The chooser's answer from a load's choices; false (logged) for a tally or bin the file
    // does not have.
    bool TakeChoice(const std::vector<CMeshtalTally>& tallies, const CLoadChoices& wanted,
                    CMeshtalChoice& choice);
    bool TakeBin(const char* what, int wanted, int choices, int& bin);
    void AddFacts(const CMeshtalReader& reader, const CMeshtalChoice& choice);
    // Reads the chosen bin, each value normalised, into put; false (with its message) on a broken
    // row or a value that the normalization takes beyond the range of numbers.
    bool ReadNormalisedBin(CMeshtalReader& reader, const CMeshtalChoice& choice,
                           const CMeshtalReader::StoreFn& put,
                           const CMeshtalReader::ProgressFn& progress);
    bool MapMeshtalCartesian(CMeshtalReader& reader, const CMeshtalChoice& choice);
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
    choice.m_Errors = m_Loader.AskStatistics();
    AddFacts(reader, choice);
    const CMeshtalTally& tally = tallies[choice.m_Tally];
    m_Log.AddLine(Format(
        "Mesh tally %d (%s, %s, %s), energy %s, time %s%s%s", tally.m_Number,
        tally.m_Particle.c_str(), tally.KindName().c_str(), tally.Sizes().c_str(),
        tally.EnergyLabel(choice.m_Energy).c_str(), tally.TimeLabel(choice.m_Time).c_str(),
        tally.m_Nuclides.empty() ? ""
                                 : (", nuclide " + tally.NuclideLabel(choice.m_Nuclide)).c_str(),
        choice.m_Errors ? ", relative errors" : ""));
    if (choice.m_Errors) m_Loader.ReadRelativeErrors();
    return tally.m_Kind == EMeshKind::Cartesian ? MapMeshtalCartesian(reader, choice)
                                                : MapMeshtalCylinder(reader, choice);
}

bool CMeshtalLoad::ChooseMeshtalBin(const std::vector<CMeshtalTally>& tallies,
                                    CMeshtalChoice& choice)
{
    if (m_Loader.Choices()) return TakeChoice(tallies, *m_Loader.Choices(), choice);
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

bool CMeshtalLoad::TakeChoice(const std::vector<CMeshtalTally>& tallies, const CLoadChoices& wanted,
                              CMeshtalChoice& choice)
{
    const auto fits = [&](const CMeshtalTally& t)
    {
        return (wanted.m_Tally < 0 || t.m_Number == wanted.m_Tally) &&
               (wanted.m_Particle.empty() ||
                LowerCase(t.m_Particle) == LowerCase(wanted.m_Particle));
    };
    const auto found = std::find_if(tallies.begin(), tallies.end(), fits);
    if (found == tallies.end())
    {
        m_Loader.LogError(Format("The file has no mesh tally %s%s%s.",
                                 wanted.m_Tally < 0 ? "" : std::to_string(wanted.m_Tally).c_str(),
                                 wanted.m_Particle.empty() ? "" : " of ",
                                 wanted.m_Particle.c_str()));
        return false;
    }
    choice = CMeshtalReader::DefaultChoice(*found);
    choice.m_Tally = static_cast<int>(found - tallies.begin());
    return TakeBin("energy", wanted.m_Energy, found->EnergyChoices(), choice.m_Energy) &&
           TakeBin("time", wanted.m_Time, found->TimeChoices(), choice.m_Time) &&
           TakeBin("nuclide", wanted.m_Nuclide, found->NuclideChoices(), choice.m_Nuclide);
}

bool CMeshtalLoad::TakeBin(const char* what, int wanted, int choices, int& bin)
{
    if (wanted < 0) return true;
    if (wanted >= choices)
    {
        m_Loader.LogError(
            Format("The tally has %d %s bins; bin %d was asked for.", choices, what, wanted));
        return false;
    }
    bin = wanted;
    return true;
}

void CMeshtalLoad::AddFacts(const CMeshtalReader& reader, const CMeshtalChoice& choice)
{
    const CMeshtalTally& tally = reader.Tallies()[choice.m_Tally];
    m_Loader.AddFact("tally", std::to_string(tally.m_Number));
    m_Loader.AddFact("particle", tally.m_Particle);
    m_Loader.AddFact("energy", tally.EnergyLabel(choice.m_Energy));
    m_Loader.AddFact("time", tally.TimeLabel(choice.m_Time));
    if (!tally.m_Nuclides.empty())
        m_Loader.AddFact("nuclide", tally.NuclideLabel(choice.m_Nuclide));
    if (reader.Histories() > 0) m_Loader.AddFact("histories", Format("%.0f", reader.Histories()));
}

bool CMeshtalLoad::ReadNormalisedBin(CMeshtalReader& reader, const CMeshtalChoice& choice,
                                     const CMeshtalReader::StoreFn& put,
                                     const CMeshtalReader::ProgressFn& progress)
{
    bool overflow = false;
    const auto store = [&](int i, int j, int k, double raw)
    {
        double value = 0;
        overflow |= !m_Loader.Normalised(raw, value);
        put(i, j, k, overflow ? 0 : value);
    };
    if (reader.ReadBin(choice, store, progress) && !overflow) return true;
    m_Loader.ReportProblem(overflow ? "A value times the normalization factor exceeds the range of "
                                      "numbers."
                                    : reader.Error(),
                           MB_ICONERROR);
    return false;
}

// One voxel per cell: bins of unequal width keep their own edges.
bool CMeshtalLoad::MapMeshtalCartesian(CMeshtalReader& reader, const CMeshtalChoice& choice)
{
    const CMeshtalTally& tally = reader.Tallies()[choice.m_Tally];
    m_Grid.ClearDataSet();
    m_Grid.ResetStatistics();
    m_Log.AddLine("Preparing voxel structure...");
    if (!m_Loader.PrepareGrid(tally.Bins(0), tally.Bins(1), tally.Bins(2))) return false;
    const long bins = static_cast<long>(m_Grid.VoxelCount());
    CProgressLine progress(m_Log, Format("Mapping %ld bins to XYZ... %d%%", bins, 0));
    const DWORD start = GetTickCount();
    if (!ReadNormalisedBin(
            reader, choice,
            [&](int i, int j, int k, double value) { m_Grid.StoreValue(i, j, k, value); },
            [&](int percent) { progress.Update(bins, percent); }))
        return false;
    m_Loader.LogElapsed(start);
    for (int a = 0; a < 3; ++a)
        m_Loader.SetGridEdges(a, tally.m_Bounds[a]);
    // A mesh tally is normalised per history already: neutral run values.
    m_Grid.m_TotalWeight = 1.0;
    m_Grid.m_GenParticle = 1;
    m_Grid.m_NrOfParticles = 1;
    return true;
}

// The tally's cylinder in the world: its axis and VEC (made perpendicular to the axis) as unit
// vectors, theta's revolutions as radians.
CCylinderMesh MeshOf(const CMeshtalTally& tally)
{
    const auto unit = [](const CVector& v) { return v / v.Length(); };
    CCylinderMesh mesh;
    mesh.m_Origin = {tally.m_Origin[0], tally.m_Origin[1], tally.m_Origin[2]};
    mesh.m_Axis = unit({tally.m_Axis[0], tally.m_Axis[1], tally.m_Axis[2]});
    const CVector vec{tally.m_Vec[0], tally.m_Vec[1], tally.m_Vec[2]};
    const CVector& a = mesh.m_Axis;
    mesh.m_Reference = unit(vec - a * (vec.x * a.x + vec.y * a.y + vec.z * a.z));
    mesh.m_R = tally.m_Bounds[0];
    mesh.m_T = tally.m_Bounds[1];
    for (const double revolutions : tally.m_Bounds[2])
        mesh.m_Phi.push_back(revolutions * 2 * std::numbers::pi);
    return mesh;
}

bool CMeshtalLoad::MapMeshtalCylinder(CMeshtalReader& reader, const CMeshtalChoice& choice)
{
    const CMeshtalTally& tally = reader.Tallies()[choice.m_Tally];
    const int nr = tally.Bins(0), nth = tally.Bins(2);
    // The file's rows bound the cells (checked when it was opened), so this fits the file's size.
    std::vector<double> values(static_cast<size_t>(tally.Cells()));
    const auto store = [&](int ir, int iz, int ith, double value)
    { values[(size_t(iz) * nth + size_t(ith)) * nr + ir] = value; };
    if (!ReadNormalisedBin(reader, choice, store, [](int) {})) return false;
    const CCylinderMesh mesh = MeshOf(tally);
    if (!m_Loader.MapCylinder(mesh, values, static_cast<long long>(values.size()),
                              NarrowestBin(mesh.m_R)))
        return false;
    m_Grid.m_TotalWeight = 1.0;
    m_Grid.m_GenParticle = 1;
    m_Grid.m_NrOfParticles = 1;
    return true;
}

bool LoadMeshtal(CVolumeLoader& loader, const std::string& path)
{
    return CMeshtalLoad(loader).Load(path);
}
} // namespace volumira3d
