// A list to choose one row from (the mesh tallies of a meshtal file, the binnings of a FLUKA
// file): its caption, prompt, columns and control ids make a kind; the row given is selected at
// the start and kept when the user selects none.
#pragma once
#include "platform/Controls.h"
#include "platform/Dialog.h"

#include <string>
#include <vector>

namespace volumira3d
{
struct CRowChooserKind
{
    int m_DialogId;
    int m_ListId;
    const char* m_Caption;
    const char* m_Prompt;
    std::vector<const char*> m_Columns;
    std::vector<int> m_Widths; // one per column
};

// The template of a kind, made once per dialog id.
const CDlgTemplate& RowChooserTemplate(const CRowChooserKind& kind);

class CRowChooserDlg : public CDialog
{
public:
    CRowChooserDlg(const CRowChooserKind& kind, std::vector<std::vector<std::string>> rows,
                   int selected, CDialog* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    int m_Selected; // the chosen row

private:
    const CRowChooserKind& m_Kind;
    std::vector<std::vector<std::string>> m_Rows;
    CListCtrl m_List;
};
} // namespace volumira3d
