// The colour legend: the colour table as a bar with 22 labelled boundary values of the display
// range and optional threshold markers. Laid out in world units as a list of primitives (the
// picture), which the legend window draws, saves and copies.
#pragma once
#include "common/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

namespace volumira3d
{
class CColorLUT;
class CDisplayWnd;
struct CThreshold;

class CColorLegendEntry
{
public:
    CColorLegendEntry(std::int32_t position, double value) : m_Position(position), m_Value(value) {}
    virtual ~CColorLegendEntry() = default;
    std::int32_t m_Position;
    double m_Value;
};

// "%.1e", lower case, exponent of at least two digits (1.5e+03); empty for a value that is not
// a number.
std::string LegendLabel(double value);
// The label split for a raised exponent: "1.5x10" and "+03".
void SplitRaisedLabel(const std::string& label, std::string& base, std::string& exponent);

// What the legend draws, in world units (y grows upwards).
struct CLegendPicture
{
    struct CRect
    {
        double x0, y0, x1, y1;
        std::uint32_t m_Rgb; // 0xRRGGBB
    };
    struct CLine
    {
        double x0, y0, x1, y1;
        std::uint32_t m_Rgb;
        double m_Width;
    };
    struct CText
    {
        double x, y; // left end of the base line
        double m_Height;
        std::string m_Text;
        std::uint32_t m_Rgb;
        bool m_Centred; // x is the centre of the text
    };
    std::vector<CRect> m_Rects;
    std::vector<CLine> m_Lines;
    std::vector<CText> m_Texts;
};

class CPlotLegend
{
public:
    // World layout: the bar spans x 0 .. BarLength, y BarBottom .. BarTop; labels in two rows
    // below it, threshold markers above it, the title at the bottom.
    static constexpr double BarLength = 200, BarBottom = 12, BarTop = 20;
    static constexpr double LabelHeight = 3.7, ExponentHeight = 2.96;
    static constexpr double EvenBaseline = 7, OddBaseline = 2, TitleBaseline = -4;
    // The world extent the legend needs (labels overhang the bar's ends).
    static constexpr double ExtentX0 = -12, ExtentY0 = -6, ExtentX1 = 212, ExtentY1 = 26;
    // Width of a text in world units (an estimate for centring: 0.55 of the height per letter).
    static double TextWidth(const std::string& text, double height)
    {
        return 0.55 * height * double(text.size());
    }

    virtual ~CPlotLegend() = default;

    // The window drawn into (not owned); without one the legend is only laid out.
    CDisplayWnd* m_pWnd = nullptr;

    // n + 1 entries evenly spaced in the scale (logarithmic: a bound of 0 or below gives no
    // labels); keeps the palette for drawing.
    void SetRange(double min, double max, int n, const CColorLUT* palette);
    // Lays out the legend (interpolated: one block per table entry; non-interpolated: one block
    // per interval) into m_Picture. Without a palette nothing is drawn.
    void DrawLegend(bool nonInterpolated);
    void SetThresholds(int count, const CThreshold* thresholds, const CVector* colours);

    const CColorLUT* m_pPalette = nullptr;
    std::vector<CColorLegendEntry> m_LegendEntries;
    std::string m_Title;
    std::int32_t m_Linear = 0; // nonzero: linear scale
    int m_ThresholdCount = 0;
    const CThreshold* m_pThresholds = nullptr;
    const CVector* m_pThresholdColors = nullptr;
    bool m_ShowThresholds = false;
    bool m_ExpNotation = true;
    CLegendPicture m_Picture;

private:
    double EntryX(size_t i) const;
    void DrawBlocks(bool nonInterpolated);
    void DrawLabel(double x, double baseline, double value, std::uint32_t rgb);
    void DrawLabels();
    void DrawThresholdMarkers();
    void PrepareWindow();
    void Publish();
};

std::uint32_t RgbOf(const CVector& colour);
} // namespace volumira3d
