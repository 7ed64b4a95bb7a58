#include "volume/loading/MCNPXImportOptionsDlg.h"

#include "platform/DataExchange.h"
#include "volume/model/VolumeSettings.h"

#include <string>

namespace volumira3d
{
namespace
{
constexpr const char* Columns[] = {"ID", "Particle", "Reaction", "X Bins", "Y Bins", "Z Bins"};
constexpr int ColumnCount = 6;
constexpr int DefaultWidth = 50;
constexpr const char* WidthSection = "MCNPX";
} // namespace

const CDlgTemplate& MCNPXImportOptionsTemplate()
{
    static const CDlgTemplate t = []
    {
        CDlgTemplate d;
        d.m_Id = IDD_MCNPX_IMPORT;
        d.m_Caption = "MCNPX data sets";
        d.m_Width = 260;
        d.m_Height = 150;
        using K = ECtrlKind;
        d.Label("Multiple data sets have been found in the MCNPX data file. Please select the one",
                7, 7, 246, 8)
            .Label("which should be used", 7, 16, 246, 8)
            .Add(K::ListView, IDC_MCNPX_DATA_SETS, "", 7, 28, 246, 96)
            .Add(K::Button, IDOK, "OK", 203, 129, 50, 14, BS_DEFPUSHBUTTON);
        return d;
    }();
    return t;
}

CMCNPXImportOptionsDlg::CMCNPXImportOptionsDlg(const std::vector<CMCNPXDescriptor>& descriptors,
                                               CVolumeSettings* pSettings, CDialog* pParent)
    : CDialog(MCNPXImportOptionsTemplate(), pParent), m_Descriptors(descriptors),
      m_pSettings(pSettings)
{
}

void CMCNPXImportOptionsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MCNPX_DATA_SETS, m_List);
}

BOOL CMCNPXImportOptionsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int c = 0; c < ColumnCount; ++c)
    {
        const int width =
            m_pSettings ? m_pSettings->GetColumnWidth(WidthSection, c, DefaultWidth) : DefaultWidth;
        m_List.InsertColumn(c, Columns[c], LVCFMT_LEFT, width);
    }
    for (size_t i = 0; i < m_Descriptors.size(); ++i)
    {
        const CMCNPXDescriptor& d = m_Descriptors[i];
        const int row = m_List.InsertItem(static_cast<int>(i), std::to_string(i + 1));
        const std::int32_t cells[] = {d.m_Particle, d.m_Reaction, d.m_XBins, d.m_YBins, d.m_ZBins};
        for (int c = 0; c < 5; ++c)
            m_List.SetItemText(row, c + 1, std::to_string(cells[c]));
        m_List.SetItemData(row, i + 1);
    }
    return TRUE;
}

void CMCNPXImportOptionsDlg::OnOK()
{
    const int row = m_List.GetSelectionMark();
    m_DataSet = row >= 0 ? static_cast<int>(m_List.GetItemData(row)) : 1;
    if (m_pSettings)
        for (int c = 0; c < ColumnCount; ++c)
            m_pSettings->SetColumnWidth(WidthSection, c, m_List.GetColumnWidth(c));
    EndDialog(IDOK);
}
} // namespace volumira3d
