#include "volume/loading/MeshtalBinDlg.h"

#include <algorithm>
#include <string>

namespace volumira3d
{
namespace
{
const CRowChooserKind MeshtalBins{
    IDD_MESHTAL_BINS,
    IDC_MESHTAL_BINS,
    "MCNP mesh tallies",
    "Please select the mesh tally and the energy and time bin to show",
    {"Tally", "Particle", "Mesh", "Sizes", "Energy", "Time"},
    {40, 60, 50, 70, 120, 100}};

// The same list with the nuclide of each row, for files whose tallies are resolved by nuclide.
const CRowChooserKind MeshtalNuclideBins{
    IDD_MESHTAL_NUCLIDE_BINS,
    IDC_MESHTAL_BINS,
    "MCNP mesh tallies",
    "Please select the mesh tally, the energy and time bin and the nuclide to show",
    {"Tally", "Particle", "Mesh", "Sizes", "Energy", "Time", "Nuclide"},
    {40, 60, 50, 70, 120, 100, 70}};

bool ByNuclide(const std::vector<CMeshtalTally>& tallies)
{
    for (const CMeshtalTally& tally : tallies)
        if (!tally.m_Nuclides.empty()) return true;
    return false;
}

std::vector<std::vector<std::string>> Rows(const std::vector<CMeshtalTally>& tallies,
                                           const std::vector<CMeshtalChoice>& entries)
{
    std::vector<std::vector<std::string>> rows;
    for (const CMeshtalChoice& e : entries)
    {
        const CMeshtalTally& tally = tallies[e.m_Tally];
        rows.push_back({std::to_string(tally.m_Number), tally.m_Particle, tally.KindName(),
                        tally.Sizes(), tally.EnergyLabel(e.m_Energy), tally.TimeLabel(e.m_Time)});
        if (ByNuclide(tallies)) rows.back().push_back(tally.NuclideLabel(e.m_Nuclide));
    }
    return rows;
}

int IndexOf(const std::vector<CMeshtalChoice>& entries, CMeshtalChoice choice)
{
    choice.m_Errors = false;
    const auto at = std::find(entries.begin(), entries.end(), choice);
    return at == entries.end() ? -1 : static_cast<int>(at - entries.begin());
}
} // namespace

std::vector<CMeshtalChoice> MeshtalBinEntries(const std::vector<CMeshtalTally>& tallies)
{
    std::vector<CMeshtalChoice> entries;
    for (size_t i = 0; i < tallies.size(); ++i)
        for (int e = 0; e < tallies[i].EnergyChoices(); ++e)
            for (int t = 0; t < tallies[i].TimeChoices(); ++t)
                for (int n = 0; n < tallies[i].NuclideChoices(); ++n)
                    entries.push_back({static_cast<int>(i), e, t, false, n});
    return entries;
}

CMeshtalBinDlg::CMeshtalBinDlg(const std::vector<CMeshtalTally>& tallies,
                               const std::vector<CMeshtalChoice>& entries,
                               const CMeshtalChoice& choice, CDialog* pParent)
    : CRowChooserDlg(ByNuclide(tallies) ? MeshtalNuclideBins : MeshtalBins, Rows(tallies, entries),
                     IndexOf(entries, choice), pParent),
      m_Choice(choice), m_Entries(entries)
{
}

void CMeshtalBinDlg::OnOK()
{
    CRowChooserDlg::OnOK();
    if (m_Selected >= 0 && static_cast<size_t>(m_Selected) < m_Entries.size())
        m_Choice = m_Entries[static_cast<size_t>(m_Selected)];
}
} // namespace volumira3d
