#include "volume/loading/RowChooserDlg.h"

#include "platform/DataExchange.h"

#include <map>
#include <utility>

namespace volumira3d
{
const CDlgTemplate& RowChooserTemplate(const CRowChooserKind& kind)
{
    static std::map<int, CDlgTemplate> templates;
    auto [at, added] = templates.try_emplace(kind.m_DialogId);
    if (added)
    {
        CDlgTemplate& d = at->second;
        d.m_Id = kind.m_DialogId;
        d.m_Caption = kind.m_Caption;
        d.m_Width = 300;
        d.m_Height = 170;
        using K = ECtrlKind;
        d.Label(kind.m_Prompt, 7, 7, 286, 8)
            .Add(K::ListView, kind.m_ListId, "", 7, 19, 286, 124)
            .Add(K::Button, IDOK, "OK", 189, 149, 50, 14, BS_DEFPUSHBUTTON)
            .Add(K::Button, IDCANCEL, "Cancel", 243, 149, 50, 14);
    }
    return at->second;
}

CRowChooserDlg::CRowChooserDlg(const CRowChooserKind& kind,
                               std::vector<std::vector<std::string>> rows, int selected,
                               CDialog* pParent)
    : CDialog(RowChooserTemplate(kind), pParent), m_Selected(selected), m_Kind(kind),
      m_Rows(std::move(rows))
{
}

void CRowChooserDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, m_Kind.m_ListId, m_List);
}

BOOL CRowChooserDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (size_t c = 0; c < m_Kind.m_Columns.size(); ++c)
        m_List.InsertColumn(static_cast<int>(c), m_Kind.m_Columns[c], LVCFMT_LEFT,
                            m_Kind.m_Widths[c]);
    for (size_t i = 0; i < m_Rows.size(); ++i)
    {
        const auto& cells = m_Rows[i];
        const int row = m_List.InsertItem(static_cast<int>(i), cells.empty() ? "" : cells[0]);
        for (size_t c = 1; c < cells.size(); ++c)
            m_List.SetItemText(row, static_cast<int>(c), cells[c]);
        m_List.SetItemData(row, i);
        if (static_cast<int>(i) == m_Selected) m_List.SetSelectionMark(row);
    }
    return TRUE;
}

void CRowChooserDlg::OnOK()
{
    const int row = m_List.GetSelectionMark();
    if (row >= 0 && static_cast<size_t>(m_List.GetItemData(row)) < m_Rows.size())
        m_Selected = static_cast<int>(m_List.GetItemData(row));
    EndDialog(IDOK);
}
} // namespace volumira3d
