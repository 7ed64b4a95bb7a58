#include "volume/display/PlotLegend.h"
#include "volume/display/ViewLegend.h"
#include "volume/model/DisplayState.h"
#include "volume/model/Palettes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace volumira3d
{
namespace
{
std::vector<std::string> Texts(const CLegendPicture& picture)
{
    std::vector<std::string> texts;
    for (const auto& t : picture.m_Texts)
        texts.push_back(t.m_Text);
    return texts;
}
} // namespace

TEST(LegendLabelTest, ShortensToTwoExponentDigitsWithTheExponentsOwnSign)
{
    EXPECT_EQ(LegendLabel(1500), "1.5e+03");
    EXPECT_EQ(LegendLabel(1.5e-3), "1.5e-03");
    EXPECT_EQ(LegendLabel(-1.5e-3), "-1.5e-03");
    EXPECT_EQ(LegendLabel(-2e4), "-2.0e+04");
    EXPECT_EQ(LegendLabel(1e-300), "1.0e-300");
    EXPECT_EQ(LegendLabel(0), "0.0e+00");
    EXPECT_EQ(LegendLabel(std::nan("")), "");
}

TEST(LegendLabelTest, RaisedExponentTakesTheSignAfterTheE)
{
    std::string base, exponent;
    SplitRaisedLabel(LegendLabel(-1.5e-3), base, exponent);
    EXPECT_EQ(base, "-1.5x10");
    EXPECT_EQ(exponent, "-03");
    SplitRaisedLabel(LegendLabel(-2e4), base, exponent);
    EXPECT_EQ(base, "-2.0x10");
    EXPECT_EQ(exponent, "+04");
}

class PlotLegendTest : public ::testing::Test
{
protected:
    void SetUp() override { InstallPalette(m_LUT, Palette21); }
    CColorLUT m_LUT;
    CPlotLegend m_Legend;
};

TEST_F(PlotLegendTest, LogarithmicRangeGivesTwentyTwoLabelsAFactorApart)
{
    m_Legend.SetRange(1e-3, 1e3, 21, &m_LUT);
    ASSERT_EQ(m_Legend.m_LegendEntries.size(), 22u);
    const double factor = std::pow(10.0, 6.0 / 21);
    for (size_t i = 1; i < 22; ++i)
        EXPECT_NEAR(m_Legend.m_LegendEntries[i].m_Value / m_Legend.m_LegendEntries[i - 1].m_Value,
                    factor, 1e-9);
    m_Legend.DrawLegend(false);
    const auto texts = Texts(m_Legend.m_Picture);
    ASSERT_EQ(texts.size(), 22u);
    EXPECT_EQ(texts.front(), "1.0e-03");
    EXPECT_EQ(texts[1], "1.9e-03");
    EXPECT_EQ(texts.back(), "1.0e+03");
}

TEST_F(PlotLegendTest, RaisedExponentsDrawBaseAndSmallerRaisedExponent)
{
    m_Legend.m_ExpNotation = false;
    m_Legend.SetRange(1e-3, 1e3, 21, &m_LUT);
    m_Legend.DrawLegend(false);
    const auto& texts = m_Legend.m_Picture.m_Texts;
    ASSERT_EQ(texts.size(), 44u);
    EXPECT_EQ(texts[0].m_Text, "1.0x10");
    EXPECT_EQ(texts[1].m_Text, "-03");
    EXPECT_DOUBLE_EQ(texts[0].m_Height, 3.7);
    EXPECT_DOUBLE_EQ(texts[1].m_Height, 2.96);
    EXPECT_GT(texts[1].y, texts[0].y) << "raised above the base line";
    EXPECT_GT(texts[1].x, texts[0].x) << "directly behind the base";
    EXPECT_EQ(texts[43].m_Text, "+03");
}

TEST_F(PlotLegendTest, LinearRangeAndNoNaNForBoundsALogarithmCannotTake)
{
    m_Legend.m_Linear = 1;
    m_Legend.SetRange(0, 21, 21, &m_LUT);
    EXPECT_DOUBLE_EQ(m_Legend.m_LegendEntries[7].m_Value, 7);
    m_Legend.m_Linear = 0;
    m_Legend.SetRange(-1, 10, 21, &m_LUT);
    m_Legend.DrawLegend(false);
    for (const auto& t : m_Legend.m_Picture.m_Texts)
        EXPECT_EQ(t.m_Text.find("nan"), std::string::npos) << t.m_Text;
}

TEST_F(PlotLegendTest, InterpolatedLegendDrawsOneBlockPerEntry)
{
    InstallPalette(m_LUT, Palette1024);
    m_Legend.SetRange(1, 100, 21, &m_LUT);
    m_Legend.DrawLegend(false);
    EXPECT_EQ(m_Legend.m_Picture.m_Rects.size(), 1008u);
}

TEST_F(PlotLegendTest, NonInterpolatedLegendTakesEveryFortyEighthEntryOfPalette1024)
{
    InstallPalette(m_LUT, Palette1024);
    m_Legend.SetRange(1, 100, 21, &m_LUT);
    m_Legend.DrawLegend(true);
    const auto& rects = m_Legend.m_Picture.m_Rects;
    ASSERT_EQ(rects.size(), 21u);
    for (size_t i = 0; i < 21; ++i)
        EXPECT_EQ(rects[i].m_Rgb, RgbOf(m_LUT.GetColor(int(i) * 48))) << i;
    EXPECT_DOUBLE_EQ(rects[0].x0, 0);
    EXPECT_DOUBLE_EQ(rects[20].x1, CPlotLegend::BarLength);
}

TEST_F(PlotLegendTest, ThresholdMarkersOnlyInsideTheRange)
{
    CThreshold thresholds[3];
    const CVector colours[3] = {CVector(1, 0, 0), CVector(0, 1, 0), CVector(0, 0, 1)};
    thresholds[0] = {true, 15};
    thresholds[1] = {true, 21}; // exactly the upper bound: in no interval
    thresholds[2] = {false, 5};
    m_Legend.m_Linear = 1;
    m_Legend.SetThresholds(3, thresholds, colours);
    m_Legend.SetRange(0, 21, 21, &m_LUT);
    m_Legend.DrawLegend(false);
    auto markers = [&]
    {
        std::vector<CLegendPicture::CLine> lines;
        for (const auto& l : m_Legend.m_Picture.m_Lines)
            if (l.m_Rgb != 0) lines.push_back(l);
        return lines;
    };
    EXPECT_TRUE(markers().empty()) << "not shown until the legend is told to";
    m_Legend.m_ShowThresholds = true;
    m_Legend.DrawLegend(false);
    const auto lines = markers();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].m_Rgb, 0xff0000u);
    EXPECT_NEAR(lines[0].x0, 15.0 / 21 * CPlotLegend::BarLength, 1e-9);
    const auto texts = Texts(m_Legend.m_Picture);
    EXPECT_EQ(texts.back(), "1.5e+01");
}
// The legend in the 3D view shows the window legend's own label texts, in its notation; where
// the bar is short, every second one and always the top one.
TEST_F(PlotLegendTest, TheViewLegendShowsTheWindowLegendsLabels)
{
    m_Legend.SetRange(1e-3, 1e3, 21, &m_LUT);
    m_Legend.DrawLegend(false);
    const auto window = Texts(m_Legend.m_Picture);
    const int tall = ViewLegendBarPixels(1200);
    EXPECT_EQ(ViewLegendLabels(m_Legend, tall), window);
    const int small = ViewLegendBarPixels(600);
    const auto shortBar = ViewLegendLabels(m_Legend, small);
    ASSERT_EQ(shortBar.size(), 22u);
    for (size_t i = 0; i < 20; ++i)
        EXPECT_EQ(shortBar[i], i % 2 == 0 ? window[i] : "") << i;
    EXPECT_EQ(shortBar[20], "");
    EXPECT_EQ(shortBar[21], window[21]);
    m_Legend.m_ExpNotation = false;
    EXPECT_EQ(ViewLegendLabels(m_Legend, tall).front(), "1.0x10^-03");
}
} // namespace volumira3d
