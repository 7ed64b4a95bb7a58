// "MCNPX data sets": lists the data sets of an MCNPX file and returns the chosen one (1-based);
// the first when none is selected. Column widths live in the profile section "MCNPX".
#pragma once
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "volume/formats/MCNPXHeader.h"

#include <vector>

namespace volumira3d
{
class CVolumeSettings;

enum : int
{
    IDD_MCNPX_IMPORT = 1300,
    IDC_MCNPX_DATA_SETS = 1301,
};

const CDlgTemplate& MCNPXImportOptionsTemplate();

class CMCNPXImportOptionsDlg : public CDialog
{
public:
    CMCNPXImportOptionsDlg(const std::vector<CMCNPXDescriptor>& descriptors,
                           CVolumeSettings* pSettings, CDialog* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    int m_DataSet = 1;

private:
    const std::vector<CMCNPXDescriptor>& m_Descriptors;
    CVolumeSettings* m_pSettings;
    CListCtrl m_List;
};
} // namespace volumira3d
