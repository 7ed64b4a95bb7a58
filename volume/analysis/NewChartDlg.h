// "Chart": the profile chart window. Series are added by name and given their points; the window
// shows them with the titles, switches either axis between linear and logarithmic, shows point
// labels, pans (drag) and zooms (wheel) with the mouse, saves the image as a bitmap and copies it
// to the clipboard.
#pragma once
#include "platform/Canvas.h"
#include "platform/Dialog.h"
#include "volume/analysis/ChartPlot.h"

#include <string>
#include <vector>

namespace volumira3d
{
enum : int
{
    IDD_NEW_CHART = 1680,
    IDC_CHART_AREA = 1681,
    IDC_CHART_LOG_Y = 1682,
    IDC_CHART_LOG_X = 1683,
    IDC_CHART_LABELS = 1684,
    IDC_CHART_HINT = 1685,
    IDC_CHART_SAVE = 1686,
    IDC_CHART_CLIPBOARD = 1687,
};

const CDlgTemplate& NewChartTemplate();

class CNewChartDlg : public CDialog
{
public:
    CNewChartDlg(std::string xTitle, std::string yTitle, CDialog* pParent = nullptr);
    BOOL OnInitDialog() override;

    void SetTitle(const std::string& title) { m_Content.m_Title = title; }
    void SetAxisTitles(const std::string& xTitle, const std::string& yTitle);
    // The index of the new series.
    int AddSeries(const std::string& name);
    // False (a programming error, reported) for a name that was not added.
    bool SetSeriesPoints(const std::string& name, std::vector<double> x, std::vector<double> y);
    const CChartContent& Content() const { return m_Content; }
    const CChartRange& View() const { return m_View; }

    // The chart image as a Windows bitmap; false with the reason in error.
    bool SaveImage(const std::string& path, std::string& error) const;

private:
    void OnAxisScale();
    void OnShowLabels();
    void OnSaveImage();
    void OnClipboard();
    void OnMouse(const CCanvasMouseEvent& event);
    void Zoom(const CChartArea& area, CCanvasPoint at, int steps);
    int FindSeries(const std::string& name) const;
    void ResetView();
    void Repaint();

    CChartContent m_Content;
    CChartRange m_View;
    CCanvas m_Canvas;
    bool m_Dragging = false;
    CCanvasPoint m_DragFrom;
    CChartRange m_DragView;
};
} // namespace volumira3d
