#include "volume/analysis/NewChartDlg.h"

#include "platform/Bmp.h"
#include "platform/Clipboard.h"
#include "platform/UiServices.h"
#include "volume/model/Matrix.h"

#include <algorithm>
#include <cmath>

namespace volumira3d
{
namespace
{
constexpr const char* ImageFilter = "Windows bitmap (*.bmp)|*.bmp|All Files (*.*)|*.*|";
} // namespace

const CDlgTemplate& NewChartTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t =
        CDlgTemplate::Dialog(IDD_NEW_CHART, "Chart", 420, 300)
            .Custom(CCanvasState::KindName, IDC_CHART_AREA, 7, 7, 406, 240)
            .Add(K::CheckBox, IDC_CHART_LOG_Y, "Y axis logarithmic", 7, 253, 90, 10)
            .Add(K::CheckBox, IDC_CHART_LOG_X, "X axis logarithmic", 102, 253, 90, 10)
            .Add(K::CheckBox, IDC_CHART_LABELS, "Show labels", 197, 253, 70, 10)
            .Add(K::Static, IDC_CHART_HINT,
                 "Scrolling &&& panning available with the mouse wheel after clicking on the chart",
                 7, 267, 406, 8)
            .Add(K::Button, IDC_CHART_SAVE, "Save image", 7, 279, 60, 14)
            .Add(K::Button, IDC_CHART_CLIPBOARD, "Clipboard", 71, 279, 60, 14)
            .Add(K::Button, IDOK, "OK", 363, 279, 50, 14, BS_DEFPUSHBUTTON);
    return t;
}

CNewChartDlg::CNewChartDlg(std::string xTitle, std::string yTitle, CDialog* pParent)
    : CDialog(NewChartTemplate(), pParent)
{
    m_Content.m_XTitle = std::move(xTitle);
    m_Content.m_YTitle = std::move(yTitle);
    m_Content.m_SubTitle = Format("Tessaron %s", "4, 4, 7, 1");
    OnClicked(IDC_CHART_LOG_Y, &CNewChartDlg::OnAxisScale);
    OnClicked(IDC_CHART_LOG_X, &CNewChartDlg::OnAxisScale);
    OnClicked(IDC_CHART_LABELS, &CNewChartDlg::OnShowLabels);
    OnClicked(IDC_CHART_SAVE, &CNewChartDlg::OnSaveImage);
    OnClicked(IDC_CHART_CLIPBOARD, &CNewChartDlg::OnClipboard);
}

BOOL CNewChartDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_Canvas.Attach(this, IDC_CHART_AREA);
    m_Canvas.SetMouseHandler([this](const CCanvasMouseEvent& e) { OnMouse(e); });
    CheckDlgButton(IDC_CHART_LOG_Y, m_Content.m_LogY);
    CheckDlgButton(IDC_CHART_LOG_X, m_Content.m_LogX);
    CheckDlgButton(IDC_CHART_LABELS, m_Content.m_ShowLabels);
    ResetView();
    return TRUE;
}

void CNewChartDlg::SetAxisTitles(const std::string& xTitle, const std::string& yTitle)
{
    m_Content.m_XTitle = xTitle;
    m_Content.m_YTitle = yTitle;
}

int CNewChartDlg::AddSeries(const std::string& name)
{
    m_Content.m_Series.push_back({name, {}, {}});
    return static_cast<int>(m_Content.m_Series.size()) - 1;
}

int CNewChartDlg::FindSeries(const std::string& name) const
{
    for (size_t i = 0; i < m_Content.m_Series.size(); ++i)
        if (m_Content.m_Series[i].m_Name == name) return static_cast<int>(i);
    return -1;
}

bool CNewChartDlg::SetSeriesPoints(const std::string& name, std::vector<double> x,
                                   std::vector<double> y)
{
    const int SeriesIndex = FindSeries(name);
    if (SeriesIndex == -1)
    {
        ReportAssertion("SeriesIndex != -1");
        return false;
    }
    m_Content.m_Series[SeriesIndex].m_X = std::move(x);
    m_Content.m_Series[SeriesIndex].m_Y = std::move(y);
    if (IsCreated()) ResetView();
    return true;
}

void CNewChartDlg::ResetView()
{
    m_View = ChartRangeOf(m_Content);
    Repaint();
}

void CNewChartDlg::Repaint()
{
    m_Canvas.DeleteAll();
    m_Canvas.AddPainter([this](cairo_t* cr, int width, int height)
                        { PaintChart(cr, width, height, m_Content, m_View); });
}

void CNewChartDlg::OnAxisScale()
{
    m_Content.m_LogY = IsDlgButtonChecked(IDC_CHART_LOG_Y) != 0;
    m_Content.m_LogX = IsDlgButtonChecked(IDC_CHART_LOG_X) != 0;
    ResetView();
}

void CNewChartDlg::OnShowLabels()
{
    m_Content.m_ShowLabels = IsDlgButtonChecked(IDC_CHART_LABELS) != 0;
    Repaint();
}

// Dragging moves the axis window with the pointer; the wheel zooms around it.
void CNewChartDlg::OnMouse(const CCanvasMouseEvent& event)
{
    const CCanvasState* canvas = m_Canvas.CanvasState();
    if (!canvas) return;
    if (event.m_Type == ECanvasMouse::Wheel)
    {
        Zoom(ChartPlotArea(canvas->m_Width, canvas->m_Height), event.m_Device, event.m_WheelSteps);
        return;
    }
    if (event.m_Type == ECanvasMouse::Down)
    {
        m_Dragging = true;
        m_DragFrom = event.m_Device;
        m_DragView = m_View;
        return;
    }
    if (!m_Dragging) return;
    const CChartArea area = ChartPlotArea(canvas->m_Width, canvas->m_Height);
    const double dx = (event.m_Device.x - m_DragFrom.x) / (area.m_Right - area.m_Left) *
                      (m_DragView.m_XMax - m_DragView.m_XMin);
    const double dy = (event.m_Device.y - m_DragFrom.y) / (area.m_Bottom - area.m_Top) *
                      (m_DragView.m_YMax - m_DragView.m_YMin);
    m_View = {m_DragView.m_XMin - dx, m_DragView.m_XMax - dx, m_DragView.m_YMin + dy,
              m_DragView.m_YMax + dy};
    if (event.m_Type == ECanvasMouse::Up) m_Dragging = false;
    Repaint();
}

void CNewChartDlg::Zoom(const CChartArea& area, CCanvasPoint at, int steps)
{
    // A notch away from the user shows 80 % of the window, the point under the pointer kept.
    const double factor = std::pow(0.8, std::clamp(steps, -10, 10));
    const double fx = std::clamp((at.x - area.m_Left) / (area.m_Right - area.m_Left), 0.0, 1.0);
    const double fy = std::clamp((area.m_Bottom - at.y) / (area.m_Bottom - area.m_Top), 0.0, 1.0);
    const double x = m_View.m_XMin + fx * (m_View.m_XMax - m_View.m_XMin);
    const double y = m_View.m_YMin + fy * (m_View.m_YMax - m_View.m_YMin);
    const CChartRange zoomed{x + (m_View.m_XMin - x) * factor, x + (m_View.m_XMax - x) * factor,
                             y + (m_View.m_YMin - y) * factor, y + (m_View.m_YMax - y) * factor};
    // Beyond what a double can tell apart the window stays as it is.
    if (!(zoomed.m_XMax - zoomed.m_XMin > 1e-12 * std::max(1.0, std::abs(x))) ||
        !(zoomed.m_YMax - zoomed.m_YMin > 1e-12 * std::max(1.0, std::abs(y))) ||
        !std::isfinite(zoomed.m_XMax - zoomed.m_XMin) ||
        !std::isfinite(zoomed.m_YMax - zoomed.m_YMin))
        return;
    m_View = zoomed;
    Repaint();
}

bool CNewChartDlg::SaveImage(const std::string& path, std::string& error) const
{
    const CCanvasState* canvas = m_Canvas.CanvasState();
    std::string why = "there is no chart";
    if (canvas && WriteBmp(path, canvas->m_Width, canvas->m_Height, canvas->RenderRgb(), &why))
        return true;
    error = Format("Cannot write the image to %s: %s", path.c_str(), why.c_str());
    return false;
}

void CNewChartDlg::OnSaveImage()
{
    CFileDialog dlg(FALSE, "bmp", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, ImageFilter,
                    this);
    if (dlg.DoModal() != IDOK || dlg.GetPathName().empty()) return;
    std::string error;
    if (!SaveImage(dlg.GetPathName(), error)) AfxMessageBox(error, MB_ICONERROR);
}

void CNewChartDlg::OnClipboard()
{
    const CCanvasState* canvas = m_Canvas.CanvasState();
    if (!canvas) return;
    ClipboardSetBitmap(canvas->m_Width, canvas->m_Height, canvas->RenderRgb());
    AfxMessageBox("Chart copied to clipboard", MB_ICONINFORMATION);
}
} // namespace volumira3d
