#include "volume/loading/MeshtalBinDlg.h"

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

std::vector<std::vector<std::string>> Rows(const std::vector<CMeshtalTally>& tallies,
                                           const std::vector<CMeshtalChoice>& entries)
{
    std::vector<std::vector<std::string>> rows;
    for (const CMeshtalChoice& e : entries)
    {
        const CMeshtalTally& tally = tallies[e.m_Tally];
        rows.push_back({std::to_string(tally.m_Number), tally.m_Particle, tally.KindName(),
                        tally.Sizes(), tally.EnergyLabel(e.m_Energy), tally.TimeLabel(e.m_Time)});
    }
    return rows;
}

int IndexOf(const std::vector<CMeshtalChoice>& entries, const CMeshtalChoice& choice)
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].m_Tally == choice.m_Tally && entries[i].m_Energy == choice.m_Energy &&
            entries[i].m_Time == choice.m_Time)
            return static_cast<int>(i);
    return -1;
}
} // namespace

std::vector<CMeshtalChoice> MeshtalBinEntries(const std::vector<CMeshtalTally>& tallies)
{
    std::vector<CMeshtalChoice> entries;
    for (size_t i = 0; i < tallies.size(); ++i)
        for (int e = 0; e < tallies[i].EnergyChoices(); ++e)
            for (int t = 0; t < tallies[i].TimeChoices(); ++t)
                entries.push_back({static_cast<int>(i), e, t, false});
    return entries;
}

CMeshtalBinDlg::CMeshtalBinDlg(const std::vector<CMeshtalTally>& tallies,
                               const std::vector<CMeshtalChoice>& entries,
                               const CMeshtalChoice& choice, CDialog* pParent)
    : CRowChooserDlg(MeshtalBins, Rows(tallies, entries), IndexOf(entries, choice), pParent),
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
