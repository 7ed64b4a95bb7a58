#include "platform/Clipboard.h"
#include "testkit/Pixels.h"
#include "testkit/Scratch.h"
#include "testkit/UiCapture.h"
#include "volume/analysis/ChartPlot.h"
#include "volume/analysis/NewChartDlg.h"
#include "volume/analysis/NewPlotProfileDlg.h"
#include "volume/model/DisplayState.h"
#include "volume/model/VoxelGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace volumira3d
{
namespace
{
constexpr unsigned SeriesRgb = 0x4f81bd;

// y = 1e-3 .. 10^1.5 over x = 0 .. 9: half a decade per step.
std::vector<double> Decades()
{
    std::vector<double> y;
    for (int i = 0; i < 10; ++i)
        y.push_back(1e-3 * std::pow(10.0, i / 2.0));
    return y;
}

std::vector<double> Steps()
{
    return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
}

testkit::CPixelImage ChartImage(const CNewChartDlg& dlg)
{
    const auto* canvas = dlg.FindItem(IDC_CHART_AREA)->KindState<CCanvasState>();
    const std::vector<std::uint8_t> rgb = canvas->RenderRgb();
    std::vector<std::uint8_t> rgba;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
        rgba.insert(rgba.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
    return {canvas->m_Width, canvas->m_Height, std::move(rgba)};
}

bool Dark(unsigned rgb)
{
    return ((rgb >> 16) & 0xff) < 100 && ((rgb >> 8) & 0xff) < 100 && (rgb & 0xff) < 100;
}

// A series-coloured pixel within r pixels of (x, y).
bool SeriesNear(const testkit::CPixelImage& image, double x, double y, int r)
{
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            if (image.At(int(std::lround(x)) + dx, int(std::lround(y)) + dy) == SeriesRgb)
                return true;
    return false;
}

struct CLogChart : testkit::CUiTest
{
    void SetUp() override
    {
        testkit::CUiTest::SetUp();
        ASSERT_TRUE(m_Dlg.Create());
        m_Dlg.SetTitle("Dose along Y");
        m_Dlg.AddSeries("Series1");
        ASSERT_TRUE(m_Dlg.SetSeriesPoints("Series1", Steps(), Decades()));
        ASSERT_TRUE(m_Dlg.UserSetCheck(IDC_CHART_LOG_Y, 1));
    }
    CNewChartDlg m_Dlg{"Y - direction / cm", "Gy"};
};
} // namespace

TEST(ChartRange, LogarithmicAxesSpanWholeDecadesOfThePositivePointsOnly)
{
    CChartContent c;
    c.m_Series.push_back({"s", {1, 2, 3}, {0, 2e-3, 40}});
    c.m_LogY = true;
    const CChartRange r = ChartRangeOf(c);
    EXPECT_DOUBLE_EQ(r.m_YMin, -3) << "0 cannot be shown on a log axis and is left out";
    EXPECT_DOUBLE_EQ(r.m_YMax, 2);
    EXPECT_NEAR(r.m_XMin, 2 - 0.05, 1e-12) << "linear x keeps a 5 % margin around 2 .. 3";
    EXPECT_NEAR(r.m_XMax, 3 + 0.05, 1e-12);
}

TEST(ChartRange, DegenerateAndEmptyDataStillGiveADrawableWindow)
{
    CChartContent c;
    c.m_Series.push_back({"s", {4}, {0}});
    CChartRange r = ChartRangeOf(c);
    EXPECT_LT(r.m_XMin, r.m_XMax);
    EXPECT_LT(r.m_YMin, r.m_YMax) << "a single value 0 gets a window around it";
    c.m_Series[0] = {"s", {1, 2}, {NAN, INFINITY}};
    r = ChartRangeOf(c);
    EXPECT_DOUBLE_EQ(r.m_XMin, 0);
    EXPECT_DOUBLE_EQ(r.m_XMax, 1) << "no finite point: the default window";
}

TEST_F(CLogChart, LogAxisIsDrawnAndTheSeriesLiesInThePlotAreaAtItsDecades)
{
    const testkit::CPixelImage image = ChartImage(m_Dlg);
    const CChartArea a = ChartPlotArea(image.Width(), image.Height());
    EXPECT_DOUBLE_EQ(m_Dlg.View().m_YMin, -3);
    EXPECT_DOUBLE_EQ(m_Dlg.View().m_YMax, 2);

    // The frame: the left axis line is dark along the whole plot height.
    int dark = 0, rows = 0;
    for (int y = int(a.m_Top) + 2; y < int(a.m_Bottom) - 2; ++y, ++rows)
        for (int dx = -1; dx <= 1; ++dx)
            if (Dark(image.At(int(std::lround(a.m_Left)) + dx, y)))
            {
                ++dark;
                break;
            }
    EXPECT_GT(dark, rows * 9 / 10) << "left axis at x " << a.m_Left;

    // Every series pixel inside the area (markers may overhang the frame by a few pixels).
    int inside = 0, outside = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (image.At(x, y) == SeriesRgb)
                (x >= a.m_Left - 4 && x <= a.m_Right + 4 && y >= a.m_Top - 4 && y <= a.m_Bottom + 4
                     ? inside
                     : outside)++;
    EXPECT_GT(inside, 100);
    EXPECT_EQ(outside, 0);

    // Logarithmic: y = 1 (x = 6) lies three of five decades up, y = 1e-3 (x = 0) at the bottom.
    const auto px = [&](double x)
    {
        const CChartRange& v = m_Dlg.View();
        return a.m_Left + (x - v.m_XMin) / (v.m_XMax - v.m_XMin) * (a.m_Right - a.m_Left);
    };
    EXPECT_TRUE(SeriesNear(image, px(6), a.m_Bottom - 0.6 * (a.m_Bottom - a.m_Top), 3));
    EXPECT_TRUE(SeriesNear(image, px(0), a.m_Bottom, 3));
    EXPECT_FALSE(SeriesNear(image, px(6), a.m_Bottom - 0.03 * (a.m_Bottom - a.m_Top), 3))
        << "where a linear axis would put y = 1";
}

TEST_F(CLogChart, BackToLinearMovesThePointsAndLabelsAddText)
{
    const int before = ChartImage(m_Dlg).Count(SeriesRgb);
    ASSERT_TRUE(m_Dlg.UserSetCheck(IDC_CHART_LOG_Y, 0));
    EXPECT_LT(m_Dlg.View().m_YMin, 0);
    EXPECT_NEAR(m_Dlg.View().m_YMax, std::pow(10, 1.5) * 1.05, 0.1) << "linear margin again";
    const testkit::CPixelImage plain = ChartImage(m_Dlg);
    ASSERT_TRUE(m_Dlg.UserSetCheck(IDC_CHART_LABELS, 1));
    const testkit::CPixelImage labelled = ChartImage(m_Dlg);
    int changed = 0;
    for (int y = 0; y < plain.Height(); ++y)
        for (int x = 0; x < plain.Width(); ++x)
            changed += plain.At(x, y) != labelled.At(x, y);
    EXPECT_GT(changed, 200) << "ten value labels";
    EXPECT_GT(before, 0);
}

TEST_F(CLogChart, SavedBitmapReadsBackWithTheChartsPixels)
{
    const std::string path = (testkit::TestDir() / "chart.bmp").string();
    std::string error;
    ASSERT_TRUE(m_Dlg.SaveImage(path, error)) << error;
    testkit::CPixelImage bmp;
    ASSERT_TRUE(bmp.ReadBmp(path));
    const testkit::CPixelImage shown = ChartImage(m_Dlg);
    ASSERT_EQ(bmp.Width(), shown.Width());
    ASSERT_EQ(bmp.Height(), shown.Height());
    EXPECT_EQ(bmp.Rgba(), shown.Rgba());
    EXPECT_GT(bmp.Count(SeriesRgb), 100);
    EXPECT_FALSE(
        m_Dlg.SaveImage((testkit::TestDir() / "no" / "such" / "chart.bmp").string(), error));
    EXPECT_NE(error.find("chart.bmp"), std::string::npos) << error;
}

TEST_F(CLogChart, SaveImageAsksForABitmapAndClipboardConfirms)
{
    const std::string path = (testkit::TestDir() / "saved.bmp").string();
    testkit::Ui().QueueFile(path);
    ASSERT_TRUE(m_Dlg.UserClick(IDC_CHART_SAVE));
    ASSERT_EQ(testkit::Ui().FileDialogs().size(), 1u);
    EXPECT_EQ(testkit::Ui().FileDialogs()[0].m_Filter,
              "Windows bitmap (*.bmp)|*.bmp|All Files (*.*)|*.*|");
    EXPECT_EQ(testkit::Ui().FileDialogs()[0].m_DefExt, "bmp");
    testkit::CPixelImage bmp;
    EXPECT_TRUE(bmp.ReadBmp(path));

    ClipboardClear();
    ASSERT_TRUE(m_Dlg.UserClick(IDC_CHART_CLIPBOARD));
    EXPECT_EQ(ClipboardData().m_Width, bmp.Width());
    EXPECT_EQ(ClipboardData().m_Rgb.size(), size_t(bmp.Width()) * bmp.Height() * 3);
    EXPECT_EQ(testkit::MessageTexts(true),
              (std::vector<std::string>{"information: Chart copied to clipboard"}));
}

TEST_F(CLogChart, DraggingPansTheAxisWindow)
{
    CCanvas canvas(&m_Dlg, IDC_CHART_AREA);
    const CChartRange before = m_Dlg.View();
    ASSERT_TRUE(canvas.UserMouse(ECanvasMouse::Down, {300, 200}));
    ASSERT_TRUE(canvas.UserMouse(ECanvasMouse::Move, {250, 200}));
    ASSERT_TRUE(canvas.UserMouse(ECanvasMouse::Up, {200, 200}));
    EXPECT_GT(m_Dlg.View().m_XMin, before.m_XMin) << "dragging left shows what lies right";
    EXPECT_NEAR(m_Dlg.View().m_XMax - m_Dlg.View().m_XMin, before.m_XMax - before.m_XMin, 1e-9);
    EXPECT_DOUBLE_EQ(m_Dlg.View().m_YMin, before.m_YMin);
    ASSERT_TRUE(canvas.UserMouse(ECanvasMouse::Move, {0, 0}));
    EXPECT_GT(m_Dlg.View().m_XMin, before.m_XMin) << "no drag after the button is up";
}

TEST_F(CLogChart, WheelZoomsAroundThePointerAndBack)
{
    CCanvas canvas(&m_Dlg, IDC_CHART_AREA);
    const auto* state = m_Dlg.FindItem(IDC_CHART_AREA)->KindState<CCanvasState>();
    const CChartArea a = ChartPlotArea(state->m_Width, state->m_Height);
    const CChartRange before = m_Dlg.View();
    // The pointer at the lower left corner of the plot area keeps that corner in place.
    ASSERT_TRUE(canvas.UserWheel({a.m_Left, a.m_Bottom}, 1));
    EXPECT_NEAR(m_Dlg.View().m_XMin, before.m_XMin, 1e-9);
    EXPECT_NEAR(m_Dlg.View().m_YMin, before.m_YMin, 1e-9);
    EXPECT_NEAR(m_Dlg.View().m_XMax - m_Dlg.View().m_XMin, 0.8 * (before.m_XMax - before.m_XMin),
                1e-9);
    ASSERT_TRUE(canvas.UserWheel({a.m_Left, a.m_Bottom}, -1));
    EXPECT_NEAR(m_Dlg.View().m_XMax, before.m_XMax, 1e-9) << "a notch back undoes it";
    EXPECT_NEAR(m_Dlg.View().m_YMax, before.m_YMax, 1e-9);
    for (int i = 0; i < 400; ++i)
        canvas.UserWheel({300, 200}, 10);
    EXPECT_GT(m_Dlg.View().m_XMax, m_Dlg.View().m_XMin) << "zooming in stops before nothing";
    EXPECT_GT(ChartImage(m_Dlg).Count(0x000000), 0) << "and the chart still draws its frame";
}

TEST(ChartDlg, UnknownSeriesIsRefused)
{
    CNewChartDlg dlg("X-axis", "Y-axis");
    dlg.AddSeries("Series1");
    EXPECT_FALSE(dlg.SetSeriesPoints("Series2", {1}, {1}));
    EXPECT_EQ(dlg.Content().m_SubTitle, "Tessaron 4, 4, 7, 1");
}

TEST(ProfileChart, TitlesFollowThePlanesAndTinyValuesAreScaled)
{
    CVoxelGrid grid;
    std::string error;
    ASSERT_TRUE(grid.AllocateGrid(2, 3, 2, error)) << error;
    const double min[3] = {0, -3, 0}, width[3] = {1, 2, 1};
    for (int a = 0; a < 3; ++a)
    {
        grid.m_GridMin[a] = min[a];
        grid.m_BinWidth[a] = width[a];
    }
    for (int iy = 0; iy < 3; ++iy)
        grid.StoreValue(1, iy, 1, iy == 1 ? 0.0 : 2e-3);
    CDisplayState state;
    state.m_PlaneLayer[PlaneYZ] = 1;
    state.m_PlaneLayer[PlaneXY] = 1;
    state.m_PlaneEnabled[0] = state.m_PlaneEnabled[1] = true;
    const CChartContent chart =
        CNewPlotProfileDlg(nullptr, PlaneXY, PlaneYZ, "Line").Chart(grid, state, "Gy");
    EXPECT_EQ(chart.m_Title, "Line");
    EXPECT_EQ(chart.m_XTitle, "Y - direction / cm");
    EXPECT_EQ(chart.m_YTitle, "Gy x 1E-15") << "a value of 0 scales the profile";
    ASSERT_EQ(chart.m_Series.size(), 1u);
    EXPECT_EQ(chart.m_Series[0].m_Name, "Series1");
    EXPECT_EQ(chart.m_Series[0].m_X, (std::vector<double>{-3, -1, 1}));
    EXPECT_EQ(chart.m_Series[0].m_Y, (std::vector<double>{2e12, 0, 2e12}));
}
} // namespace volumira3d
