// The bar chart: bars with value labels and bar labels, drawn into a canvas control of its
// dialog, a tooltip per bar, and the picture saved as a Windows bitmap. The picture is drawn
// once for the canvas's size at that time; a window of another size shows it scaled.
#pragma once
#include "isotopes/ChartGCalc.h"
#include "isotopes/ChartTip.h"
#include "platform/Canvas.h"

#include <string>
#include <vector>

namespace nuclira3d
{
class CBarChart : private CChartGCalc
{
public:
    struct CBar
    {
        std::string m_Label;
        double m_Value;
        COLORREF m_Color;
    };

    // The canvas the chart draws into; false when there is no canvas of that id.
    bool Create(CDialog* pDlg, int canvasId);

    void AddBar(const std::string& label, COLORREF color, double value);
    void SetTitle(const std::string& title) { m_Title = title; }
    void SetCaption(const std::string& caption) { m_Caption = caption; }
    void SetBkColor(COLORREF color);
    // Draws the picture unless one is held.
    void Paint();
    // Drops the held picture: the next Paint draws anew.
    void Invalidate() { m_Painted = false; }

    // The tooltip for a mouse at window x.
    std::string TooltipAt(double x) const;
    // Asks for a name when fileName is empty. False with LastError() set: "Canceled by user",
    // "Cannot create file", "Cannot write to file".
    bool SaveBitmap(std::string fileName);

    const std::vector<CBar>& Bars() const { return m_Bars; }
    double MaximumValue() const { return m_MaxValue; }
    int ChartWidth() const { return BarPitch * static_cast<int>(m_Bars.size()); }
    const std::string& Title() const { return m_Title; }
    const std::string& LastError() const { return m_LastError; }
    const CChartTip& Tip() const { return m_Tip; }

    bool m_ShowValueLabels = true;
    int m_ValueLabelMode = 1; // 0: percent of the maximum, 1: the value
    bool m_ShowBarLabels = true;
    bool m_TipPercentages = true;
    bool m_Stretch = false;

private:
    void OnMouse(const CCanvasMouseEvent& e);
    void DrawBar(int index, int usable, int base);
    void DrawLabel(const std::string& text, int left, int boxTop);
    // The window's scale against the picture.
    double Scale() const;

    CCanvas m_Canvas;
    CChartTip m_Tip;
    std::vector<CBar> m_Bars;
    double m_MaxValue = 0;
    COLORREF m_Background = RGB(240, 240, 240);
    const COLORREF m_LabelBand = RGB(255, 255, 255);
    std::string m_Title, m_Caption, m_LastError;
    bool m_Painted = false;
    int m_PictureWidth = 1, m_PictureHeight = 1;
};
} // namespace nuclira3d
