#include "isotopes/BarChartDlg.h"

#include "platform/UiServices.h"

namespace nuclira3d
{
namespace
{
const CDlgTemplate& ChartTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t =
        CDlgTemplate::Dialog(IDD_BARCHART, "Chart...", 715, 354)
            .Custom(CCanvasState::KindName, IDC_CHART, 7, 7, 640, 340)
            .Add(K::Static, IDC_CHART_TITLE, "", 655, 7, 53, 60)
            .Add(K::Button, IDOK, "OK", 655, 313, 53, 14, BS_DEFPUSHBUTTON)
            .Add(K::Button, IDC_CHART_SAVE, "Save image", 655, 333, 53, 14);
    return t;
}
} // namespace

CBarChartDlg::CBarChartDlg(std::string title, std::vector<CBarObject> bars, CDialog* pParent)
    : CDialog(ChartTemplate(), pParent), m_Title(std::move(title)), m_Bars(std::move(bars))
{
    OnClicked(IDC_CHART_SAVE, &CBarChartDlg::OnSaveImage);
}

BOOL CBarChartDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_Chart.Create(this, IDC_CHART))
    {
        AfxMessageBox("Unable to create the chart control", MB_ICONERROR);
        EndDialog(IDCANCEL);
        return FALSE;
    }
    m_Chart.SetTitle(m_Title);
    m_Chart.SetBkColor(RGB(255, 255, 240));
    for (const CBarObject& bar : m_Bars)
        m_Chart.AddBar(bar.m_Label, bar.m_Color, bar.m_Value);
    SetDlgItemText(IDC_CHART_TITLE, m_Title);
    m_Chart.Paint();
    return TRUE;
}

void CBarChartDlg::OnSaveImage()
{
    if (m_Chart.SaveBitmap("")) return;
    if (m_Chart.LastError() != "Canceled by user") AfxMessageBox(m_Chart.LastError(), MB_ICONERROR);
}
} // namespace nuclira3d
