#include "volume/loading/MeshtalBinDlg.h"

#include "platform/DataExchange.h"

#include <string>

namespace volumira3d
{
namespace
{
constexpr const char* Columns[] = {"Tally", "Particle", "Mesh", "Sizes", "Energy", "Time"};
constexpr int Widths[] = {40, 60, 50, 70, 120, 100};
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

const CDlgTemplate& MeshtalBinTemplate()
{
    static const CDlgTemplate t = []
    {
        CDlgTemplate d;
        d.m_Id = IDD_MESHTAL_BINS;
        d.m_Caption = "MCNP mesh tallies";
        d.m_Width = 300;
        d.m_Height = 170;
        using K = ECtrlKind;
        d.Label("Please select the mesh tally and the energy and time bin to show", 7, 7, 286, 8)
            .Add(K::ListView, IDC_MESHTAL_BINS, "", 7, 19, 286, 124)
            .Add(K::Button, IDOK, "OK", 189, 149, 50, 14, BS_DEFPUSHBUTTON)
            .Add(K::Button, IDCANCEL, "Cancel", 243, 149, 50, 14);
        return d;
    }();
    return t;
}

CMeshtalBinDlg::CMeshtalBinDlg(const std::vector<CMeshtalTally>& tallies,
                               const std::vector<CMeshtalChoice>& entries,
                               const CMeshtalChoice& choice, CDialog* pParent)
    : CDialog(MeshtalBinTemplate(), pParent), m_Choice(choice), m_Tallies(tallies),
      m_Entries(entries)
{
}

void CMeshtalBinDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MESHTAL_BINS, m_List);
}

BOOL CMeshtalBinDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int c = 0; c < 6; ++c)
        m_List.InsertColumn(c, Columns[c], LVCFMT_LEFT, Widths[c]);
    for (size_t i = 0; i < m_Entries.size(); ++i)
    {
        const CMeshtalChoice& e = m_Entries[i];
        const CMeshtalTally& tally = m_Tallies[e.m_Tally];
        const int row = m_List.InsertItem(static_cast<int>(i), std::to_string(tally.m_Number));
        const std::string cells[] = {tally.m_Particle, tally.KindName(), tally.Sizes(),
                                     tally.EnergyLabel(e.m_Energy), tally.TimeLabel(e.m_Time)};
        for (int c = 0; c < 5; ++c)
            m_List.SetItemText(row, c + 1, cells[c]);
        m_List.SetItemData(row, i);
        if (e.m_Tally == m_Choice.m_Tally && e.m_Energy == m_Choice.m_Energy &&
            e.m_Time == m_Choice.m_Time)
            m_List.SetSelectionMark(row);
    }
    return TRUE;
}

void CMeshtalBinDlg::OnOK()
{
    const int row = m_List.GetSelectionMark();
    if (row >= 0 && static_cast<size_t>(m_List.GetItemData(row)) < m_Entries.size())
        m_Choice = m_Entries[m_List.GetItemData(row)];
    EndDialog(IDOK);
}
} // namespace volumira3d
