// The bar chart: layout arithmetic, labels, tooltips, the picture and its bitmap file.
#include "isotopes/BarChartDlg.h"
#include "isotopes/ChartGCalc.h"
#include "isotopes/ChartTip.h"
#include "testkit/Scratch.h"
#include "testkit/UiCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

using namespace nuclira3d;
using testkit::MessageTexts;

namespace
{
using Calc = CChartGCalc;

// A 24-bit bottom-up BMP read back: the pixel at (x, y), y from the top, as 0xRRGGBB.
struct CBmp
{
    int m_Width = 0, m_Height = 0;
    std::string m_Bytes;
    bool Read(const std::string& path)
    {
        m_Bytes = testkit::ReadText(path);
        if (m_Bytes.size() < 54 || m_Bytes.compare(0, 2, "BM") != 0) return false;
        m_Width = Int(18);
        m_Height = Int(22);
        return Int(2) == static_cast<int>(m_Bytes.size()) && Int(10) == 54 && Short(28) == 24;
    }
    unsigned At(int x, int y) const
    {
        const size_t row = (static_cast<size_t>(m_Width) * 3 + 3) / 4 * 4;
        const size_t at = 54 + row * static_cast<size_t>(m_Height - 1 - y) + 3 * x;
        const auto b = [&](size_t i) { return static_cast<unsigned char>(m_Bytes[at + i]); };
        return b(2) << 16 | b(1) << 8 | b(0);
    }
    int Int(size_t at) const
    {
        std::int32_t v;
        std::memcpy(&v, m_Bytes.data() + at, 4);
        return v;
    }
    int Short(size_t at) const
    {
        std::int16_t v;
        std::memcpy(&v, m_Bytes.data() + at, 2);
        return v;
    }
};

// Runs the chart dialog with the given bars; inside, act sees the dialog and its chart.
void RunChart(
    std::vector<CBarObject> bars,
    const std::function<void(CBarChartDlg&)>& act = [](CBarChartDlg&) {})
{
    testkit::Ui().QueueModal("Chart...",
                             [&](CDialog& dlg) { act(static_cast<CBarChartDlg&>(dlg)); });
    CBarChartDlg dlg("Relative abundance of isotopes", std::move(bars));
    dlg.DoModal();
}

class ChartTest : public testkit::CUiTest
{
};
} // namespace

TEST(ChartLayout, UsableHeightAndBaseLine)
{
    EXPECT_EQ(Calc::UsableHeight(200, true, true), 160);
    EXPECT_EQ(Calc::UsableHeight(200, false, true), 170);
    EXPECT_EQ(Calc::UsableHeight(200, false, false), 180);
    EXPECT_EQ(Calc::BaseLine(200, true), 170);
    EXPECT_EQ(Calc::BaseLine(200, false), 180);
}

TEST(ChartLayout, RowIsCentred)
{
    EXPECT_EQ(Calc::RowStart(100, 2), (100 - 56) / 2);
    EXPECT_EQ(Calc::RowStart(960, 3), (960 - 84) / 2);
    EXPECT_EQ(Calc::BarLeft(22, 1), 50);
}

TEST(ChartLayout, BarHeightsScaleByTheMaximum)
{
    EXPECT_EQ(Calc::BarHeight(160, 10, 10), 160);
    EXPECT_EQ(Calc::BarHeight(160, 5, 10), 80);
    EXPECT_EQ(Calc::BarHeight(161, 1, 3), 53) << "truncated";
    EXPECT_EQ(Calc::BarHeight(160, 0, 0), 0) << "a maximum of 0 scales with 1";
    EXPECT_EQ(Calc::BarHeight(160, 0.5, 0), 80);
    EXPECT_EQ(Calc::BarHeight(160, std::nan(""), 10), 0);
    EXPECT_EQ(Calc::ScaleMaximum(std::nan("")), 1.0);
}

TEST(ChartLayout, HitTestFloorsSoTheLeftMarginHitsNothing)
{
    EXPECT_EQ(Calc::HitIndex(21, 22, 1, 2), -1) << "one pixel left of the row";
    EXPECT_EQ(Calc::HitIndex(8, 22, 1, 2), -1);
    EXPECT_EQ(Calc::HitIndex(22, 22, 1, 2), 0);
    EXPECT_EQ(Calc::HitIndex(49, 22, 1, 2), 0);
    EXPECT_EQ(Calc::HitIndex(50, 22, 1, 2), 1);
    EXPECT_EQ(Calc::HitIndex(78, 22, 1, 2), -1);
    EXPECT_EQ(Calc::HitIndex(100, 22, 2, 2), 1) << "the picture shown twice as large";
}

TEST(ChartTip, Texts)
{
    EXPECT_EQ(ChartTipText("b", 3, 3, true), "b\n3.0000\n100.00%\n");
    EXPECT_EQ(ChartTipText("a", 1, 3, true), "a\n1.0000\n33.33%\n");
    EXPECT_EQ(ChartTipText("a", 1, 3, false), "a\n1.0000\n\n");
    EXPECT_EQ(ChartTipText("z", 0, 0, true), "z\n0.0000\n0.00%\n") << "no division by zero";
}

TEST_F(ChartTest, TooltipFollowsTheMouseOverTheSecondBar)
{
    RunChart({{"a", 1, IsotopeBarColor}, {"b", 3, IsotopeBarColor}},
             [](CBarChartDlg& dlg)
             {
                 CCanvas canvas(&dlg, IDC_CHART);
                 const int start = Calc::RowStart(dlg.Chart().ChartWidth() * 0 + 960, 2);
                 ASSERT_TRUE(canvas.UserMouse(ECanvasMouse::Move, {start + 28 + 5.0, 100}));
                 EXPECT_EQ(canvas.GetTooltip(), "b\n3.0000\n100.00%\n");
                 canvas.UserMouse(ECanvasMouse::Move, {start - 1.0, 100});
                 EXPECT_EQ(canvas.GetTooltip(), "");
             });
}

TEST_F(ChartTest, PictureAndBitmapRoundTrip)
{
    const std::string path = (testkit::TestDir() / "chart.bmp").string();
    testkit::Ui().QueueFile(path);
    RunChart({{"Co-60", 10, IsotopeBarColor}, {"Cs-137", 5, IsotopeBarColor}},
             [](CBarChartDlg& dlg) { dlg.UserClick(IDC_CHART_SAVE); });
    EXPECT_TRUE(MessageTexts().empty());
    ASSERT_EQ(testkit::Ui().FileDialogs().size(), 1u);
    EXPECT_EQ(testkit::Ui().FileDialogs()[0].m_Filter, "Bitmap file|*.Bmp||");
    CBmp bmp;
    ASSERT_TRUE(bmp.Read(path));
    ASSERT_EQ(bmp.m_Width, 960);
    const int h = bmp.m_Height, start = Calc::RowStart(960, 2);
    const int base = Calc::BaseLine(h, true), usable = Calc::UsableHeight(h, true, true);
    // The right half of each bar is its plain colour, from the base to its height.
    EXPECT_EQ(bmp.At(start + 18, base - 2), 0xff0000u);
    EXPECT_EQ(bmp.At(start + 18, base - usable + 2), 0xff0000u) << "the first bar is full height";
    EXPECT_EQ(bmp.At(start + 28 + 18, base - usable / 2 + 2), 0xff0000u);
    EXPECT_EQ(bmp.At(start + 28 + 18, base - usable / 2 - 14), 0xfffff0u) << "the second is half";
    EXPECT_EQ(bmp.At(start - 3, base - 2), 0xfffff0u) << "background beside the row";
    EXPECT_EQ(bmp.At(start - 3, base + 15), 0xffffffu) << "the label band";
}

TEST_F(ChartTest, ValueLabels)
{
    RunChart({{"a", 10, IsotopeBarColor}, {"b", 5, IsotopeBarColor}},
             [](CBarChartDlg& dlg)
             {
                 const CControlState* s = dlg.FindItem(IDC_CHART);
                 std::vector<std::string> texts;
                 for (const auto& p : s->KindState<CCanvasState>()->m_Primitives)
                     if (p.m_Shape == ECanvasShape::Text) texts.push_back(p.m_Text);
                 EXPECT_EQ(texts, (std::vector<std::string>{"10.00", "a", "5.00", "b"}));
             });
}

TEST_F(ChartTest, CancelledSaveWritesNothingAndSaysNothing)
{
    testkit::Ui().QueueFile("");
    RunChart({{"a", 1, IsotopeBarColor}},
             [](CBarChartDlg& dlg)
             {
                 dlg.UserClick(IDC_CHART_SAVE);
                 EXPECT_EQ(dlg.Chart().LastError(), "Canceled by user");
             });
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(ChartTest, FailedSaveShowsItsError)
{
    testkit::Ui().QueueFile((testkit::TestDir() / "no/such/folder/x.bmp").string());
    RunChart({{"a", 1, IsotopeBarColor}}, [](CBarChartDlg& dlg) { dlg.UserClick(IDC_CHART_SAVE); });
    EXPECT_EQ(MessageTexts(true), (std::vector<std::string>{"error: Cannot create file"}));
}

TEST_F(ChartTest, AllZeroAndEmptyChartsDrawWithoutBars)
{
    RunChart({{"a", 0, IsotopeBarColor}, {"b", 0, IsotopeBarColor}},
             [](CBarChartDlg& dlg)
             {
                 EXPECT_EQ(dlg.Chart().MaximumValue(), 0);
                 CCanvas canvas(&dlg, IDC_CHART);
                 canvas.UserMouse(ECanvasMouse::Move, {Calc::RowStart(960, 2) + 1.0, 10});
                 EXPECT_EQ(canvas.GetTooltip(), "a\n0.0000\n0.00%\n");
             });
    RunChart({}, [](CBarChartDlg& dlg)
             { EXPECT_EQ(dlg.GetDlgItemText(IDC_CHART_TITLE), "Relative abundance of isotopes"); });
    EXPECT_TRUE(MessageTexts().empty());
}
