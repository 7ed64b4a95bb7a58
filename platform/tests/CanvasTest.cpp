#include "platform/Canvas.h"
#include "platform/HeadlessBackend.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{
constexpr int IDC_CANVAS = 10, ID_ITEM = 300;

// 100 x 50 dialog units give a 150 x 81 pixel canvas headless; the world is 0..10 x 0..5.
class CCanvasDlg : public CDialog
{
public:
    CCanvasDlg() : CDialog(Template())
    {
        Create();
        m_Canvas.Attach(this, IDC_CANVAS);
        m_Canvas.SetDeviceSize(100, 50);
        m_Canvas.SetWorldWindow(0, 0, 10, 5);
    }
    static CDlgTemplate Template()
    {
        CDlgTemplate t;
        t.m_Caption = "Canvas";
        t.Custom(CCanvasState::KindName, IDC_CANVAS, 0, 0, 100, 50);
        return t;
    }
    std::array<int, 3> Pixel(int x, int y) const
    {
        const auto rgb = FindItem(IDC_CANVAS)->KindState<CCanvasState>()->RenderRgb();
        const size_t i = (static_cast<size_t>(y) * 100 + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
    CCanvas m_Canvas;
};

using RGBv = std::array<int, 3>;

std::string TempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("canvas_test_" + name)).string();
}

std::vector<unsigned char> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

unsigned Le32(const std::vector<unsigned char>& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<unsigned>(b[at + 3]) << 24;
}
} // namespace

TEST(Canvas, WorldWindowMapsWithYUpAndBack)
{
    CCanvasDlg dlg;
    const CCanvasPoint d = dlg.m_Canvas.ToDevice({2.5, 1});
    EXPECT_DOUBLE_EQ(d.x, 25);
    EXPECT_DOUBLE_EQ(d.y, 40) << "world y 1 of 0..5 lies near the bottom";
    const CCanvasPoint w = dlg.m_Canvas.ToWorld({25, 40});
    EXPECT_DOUBLE_EQ(w.x, 2.5);
    EXPECT_DOUBLE_EQ(w.y, 1);
    EXPECT_FALSE(dlg.m_Canvas.SetWorldWindow(0, 0, 0, 5)) << "an empty window cannot map";
    EXPECT_DOUBLE_EQ(dlg.m_Canvas.ToDevice({10, 5}).x, 100) << "the window is unchanged";
}

TEST(Canvas, PrimitivesAppearWhereTheWorldSays)
{
    CCanvasDlg dlg;
    dlg.m_Canvas.AddFilledRect({0, 0}, {5, 2.5}, RGB(255, 0, 0)); // lower left quarter
    dlg.m_Canvas.AddLine({0, 4}, {10, 4}, RGB(0, 0, 255), 3);
    dlg.m_Canvas.AddPolygon({{6, 0.5}, {9, 0.5}, {9, 2}, {6, 2}}, RGB(0, 128, 0), true);
    EXPECT_EQ(dlg.Pixel(10, 45), (RGBv{255, 0, 0}));
    EXPECT_EQ(dlg.Pixel(10, 5), (RGBv{255, 255, 255})) << "upper left stays background";
    EXPECT_EQ(dlg.Pixel(50, 10), (RGBv{0, 0, 255})) << "world y 4 is device y 10";
    EXPECT_EQ(dlg.Pixel(75, 40), (RGBv{0, 128, 0}));
}

TEST(Canvas, LowerLayersAreDrawnFirstWhateverTheOrderAdded)
{
    CCanvasDlg dlg;
    dlg.m_Canvas.AddFilledRect({0, 0}, {10, 5}, RGB(0, 255, 0), 7);
    dlg.m_Canvas.AddFilledRect({0, 0}, {10, 5}, RGB(255, 0, 0), 2);
    dlg.m_Canvas.AddFilledRect({4, 0}, {6, 5}, RGB(0, 0, 255), 15);
    EXPECT_EQ(dlg.Pixel(10, 25), (RGBv{0, 255, 0}));
    EXPECT_EQ(dlg.Pixel(50, 25), (RGBv{0, 0, 255}));
    EXPECT_FALSE(dlg.m_Canvas.AddFilledRect({0, 0}, {1, 1}, 0, 16)) << "only layers 0..15";
    EXPECT_FALSE(dlg.m_Canvas.AddPolygon({{0, 0}, {1, 1}}, 0, true)) << "two points are no polygon";
    EXPECT_EQ(dlg.m_Canvas.GetPrimitiveCount(), 3);
}

TEST(Canvas, PaintersDrawInDevicePixelsWithinTheirLayerAndLeaveNoStateBehind)
{
    CCanvasDlg dlg;
    int size[2] = {0, 0};
    dlg.m_Canvas.AddFilledRect({0, 0}, {10, 5}, RGB(255, 0, 0), 1);
    ASSERT_TRUE(dlg.m_Canvas.AddPainter(
        [&](cairo_t* cr, int width, int height)
        {
            size[0] = width;
            size[1] = height;
            cairo_set_source_rgb(cr, 0, 0, 1);
            cairo_rectangle(cr, 0, 0, 10, 10);
            cairo_fill(cr);
            cairo_set_line_width(cr, 40); // must not leak into the primitives that follow
            cairo_move_to(cr, 0, 0);
        },
        2));
    dlg.m_Canvas.AddLine({5, 0}, {5, 5}, RGB(0, 255, 0), 1, 3);
    EXPECT_EQ(dlg.Pixel(5, 5), (RGBv{0, 0, 255})) << "layer 2 over the red layer 1";
    EXPECT_EQ(dlg.Pixel(30, 30), (RGBv{255, 0, 0}));
    EXPECT_EQ(dlg.Pixel(40, 30), (RGBv{255, 0, 0})) << "the line keeps its own width";
    EXPECT_EQ(size[0], 100);
    EXPECT_EQ(size[1], 50);
    EXPECT_FALSE(dlg.m_Canvas.AddPainter({}, 0)) << "an empty function";
    EXPECT_FALSE(dlg.m_Canvas.AddPainter([](cairo_t*, int, int) {}, 16));
    dlg.m_Canvas.DeleteAll();
    EXPECT_EQ(dlg.Pixel(5, 5), (RGBv{255, 255, 255})) << "DeleteAll removes painters too";
}

TEST(Canvas, MouseEventsCarryDeviceAndWorldPositions)
{
    CCanvasDlg dlg;
    std::vector<CCanvasMouseEvent> events;
    dlg.m_Canvas.SetMouseHandler([&](const CCanvasMouseEvent& e) { events.push_back(e); });
    EXPECT_TRUE(dlg.m_Canvas.UserMouse(ECanvasMouse::Down, {20, 10}));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_DOUBLE_EQ(events[0].m_World.x, 2);
    EXPECT_DOUBLE_EQ(events[0].m_World.y, 4);
    EXPECT_TRUE(dlg.m_Canvas.UserWheel({50, 25}, -2));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].m_Type, ECanvasMouse::Wheel);
    EXPECT_EQ(events[1].m_WheelSteps, -2);
    EXPECT_DOUBLE_EQ(events[1].m_World.x, 5);
    dlg.m_Canvas.EnableWindow(FALSE);
    EXPECT_FALSE(dlg.m_Canvas.UserMouse(ECanvasMouse::Up, {20, 10})) << "a disabled canvas";
    EXPECT_FALSE(dlg.m_Canvas.UserWheel({20, 10}, 1));
    EXPECT_EQ(events.size(), 2u);
}

TEST(Canvas, ChoosingAMenuItemNotifiesTheDialogAsACommand)
{
    CCanvasDlg dlg;
    int commands = 0;
    dlg.MapCommand(ID_ITEM, BN_CLICKED, [&] { ++commands; });
    dlg.m_Canvas.AppendMenuItem(ID_ITEM, "Do it");
    EXPECT_TRUE(dlg.m_Canvas.UserChooseMenuItem(ID_ITEM));
    EXPECT_FALSE(dlg.m_Canvas.UserChooseMenuItem(ID_ITEM + 1)) << "not in the menu";
    EXPECT_EQ(commands, 1);
}

TEST(Canvas, DescribesSizeWorldAndPrimitiveCount)
{
    CCanvasDlg dlg;
    dlg.m_Canvas.AddLine({0, 0}, {1, 1}, 0);
    EXPECT_EQ(dlg.FindItem(IDC_CANVAS)->Describe(), "100x50 world 0 0 10 5, 1 primitives");
}

TEST(CanvasExport, BmpRoundTripsHeaderAndPixels)
{
    CCanvasDlg dlg;
    dlg.m_Canvas.AddFilledRect({0, 0}, {5, 5}, RGB(10, 20, 30)); // left half
    const std::string path = TempPath("a.bmp");
    std::string error;
    ASSERT_TRUE(dlg.m_Canvas.Save(path, error)) << error;
    const auto b = ReadAll(path);
    ASSERT_EQ(b.size(), 54u + 300u * 50u) << "rows of 100 pixels are 300 bytes, no padding";
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Le32(b, 2), b.size());
    EXPECT_EQ(Le32(b, 10), 54u);
    EXPECT_EQ(Le32(b, 18), 100u);
    EXPECT_EQ(Le32(b, 22), 50u);
    EXPECT_EQ(b[28], 24);
    // The bottom row comes first, blue green red.
    EXPECT_EQ((RGBv{b[54], b[55], b[56]}), (RGBv{30, 20, 10}));
    EXPECT_EQ((RGBv{b[54 + 99 * 3], b[55 + 99 * 3], b[56 + 99 * 3]}), (RGBv{255, 255, 255}));
    std::remove(path.c_str());
}

TEST(CanvasExport, BmpRowsArePaddedToFourBytes)
{
    CCanvasDlg dlg;
    dlg.m_Canvas.SetDeviceSize(3, 2);
    const std::string path = TempPath("b.bmp");
    std::string error;
    ASSERT_TRUE(dlg.m_Canvas.Save(path, error)) << error;
    EXPECT_EQ(ReadAll(path).size(), 54u + 12u * 2u);
    std::remove(path.c_str());
}

TEST(CanvasExport, SvgIsWellFormedWithOneElementPerPrimitiveKind)
{
    CCanvasDlg dlg;
    dlg.m_Canvas.AddLine({0, 0}, {10, 5}, RGB(0, 0, 0), 2);
    dlg.m_Canvas.AddPolygon({{1, 1}, {3, 1}, {2, 3}}, RGB(0, 128, 0), false);
    dlg.m_Canvas.AddFilledRect({6, 1}, {8, 2}, RGB(255, 0, 0));
    const std::string path = TempPath("c.svg");
    std::string error;
    ASSERT_TRUE(dlg.m_Canvas.Save(path, error)) << error;
    const std::string cmd =
        "python3 -c \"import sys, xml.dom.minidom as m; d = m.parse(sys.argv[1]); "
        "print(d.documentElement.tagName, len(d.getElementsByTagName('path')))\" " +
        path;
    FILE* pipe = popen(cmd.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buf[256] = {};
    const size_t n = std::fread(buf, 1, sizeof buf - 1, pipe);
    const int rc = pclose(pipe);
    ASSERT_EQ(rc, 0) << "not well-formed XML";
    const std::string out(buf, n);
    EXPECT_EQ(out.substr(0, 4), "svg ");
    // Cairo writes the background, the line, the polygon and the rectangle as paths or rects.
    EXPECT_GE(std::stoi(out.substr(4)), 3) << out;
    std::remove(path.c_str());
}

TEST(CanvasExport, PngIsWrittenAndUnknownExtensionsAreRefused)
{
    CCanvasDlg dlg;
    std::string error;
    const std::string png = TempPath("d.png");
    ASSERT_TRUE(dlg.m_Canvas.Save(png, error)) << error;
    const auto b = ReadAll(png);
    ASSERT_GE(b.size(), 8u);
    EXPECT_EQ(b[1], 'P');
    EXPECT_FALSE(dlg.m_Canvas.Save(TempPath("e.gif"), error));
    EXPECT_NE(error.find("cannot tell the format"), std::string::npos);
    EXPECT_FALSE(dlg.m_Canvas.Save("/nonexistent-dir/x.bmp", error));
    EXPECT_EQ(error, "Cannot write /nonexistent-dir/x.bmp: No such file or directory");
    std::remove(png.c_str());
}

TEST(Canvas, AHiddenCanvasTakesNoMouseAndNoMenuChoice)
{
    CCanvasDlg dlg;
    int events = 0, commands = 0;
    dlg.m_Canvas.SetMouseHandler([&](const CCanvasMouseEvent&) { ++events; });
    dlg.MapCommand(ID_ITEM, BN_CLICKED, [&] { ++commands; });
    dlg.m_Canvas.AppendMenuItem(ID_ITEM, "Do it");
    dlg.m_Canvas.ShowWindow(SW_HIDE);
    EXPECT_FALSE(dlg.m_Canvas.UserMouse(ECanvasMouse::Down, {20, 10}));
    EXPECT_FALSE(dlg.m_Canvas.UserChooseMenuItem(ID_ITEM));
    dlg.m_Canvas.ShowWindow(SW_SHOW);
    EXPECT_TRUE(dlg.m_Canvas.UserMouse(ECanvasMouse::Down, {20, 10}));
    EXPECT_TRUE(dlg.m_Canvas.UserChooseMenuItem(ID_ITEM));
    EXPECT_EQ(events, 1);
    EXPECT_EQ(commands, 1);
}

TEST(Canvas, ABadLayerOrTooFewPointsDrawNothing)
{
    CCanvasDlg dlg;
    EXPECT_FALSE(dlg.m_Canvas.AddLine({0, 0}, {1, 1}, 0, 1, -1));
    EXPECT_FALSE(dlg.m_Canvas.AddLine({0, 0}, {1, 1}, 0, 1, CCanvasState::NrLayers));
    EXPECT_FALSE(dlg.m_Canvas.AddPolygon({{0, 0}}, 0, true));
    EXPECT_FALSE(dlg.m_Canvas.AddPainter([](cairo_t*, int, int) {}, CCanvasState::NrLayers));
    EXPECT_EQ(dlg.m_Canvas.GetPrimitiveCount(), 0);
    EXPECT_TRUE(dlg.m_Canvas.AddFilledRect({0, 0}, {1, 1}, 0, CCanvasState::NrLayers - 1));
    EXPECT_EQ(dlg.m_Canvas.GetPrimitiveCount(), 1);
}

TEST(CanvasExport, ACanvasNotYetAttachedWritesNothing)
{
    CCanvas canvas;
    std::string error;
    const std::string path = TempPath("unattached.png");
    std::remove(path.c_str());
    EXPECT_FALSE(canvas.Save(path, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(canvas.CanvasState(), nullptr);
    EXPECT_FALSE(canvas.UserMouse(ECanvasMouse::Down, {1, 1}));
}

TEST(CanvasExport, ThePaintersDrawingIsInTheSavedImage)
{
    CCanvasDlg dlg;
    dlg.m_Canvas.AddPainter(
        [](cairo_t* cr, int width, int height)
        {
            cairo_set_source_rgb(cr, 0, 0, 1);
            cairo_rectangle(cr, 0, 0, width / 2.0, height);
            cairo_fill(cr);
        });
    std::string error;
    const std::string bmp = TempPath("painted.bmp");
    ASSERT_TRUE(dlg.m_Canvas.Save(bmp, error)) << error;
    const auto b = ReadAll(bmp);
    ASSERT_GE(b.size(), 54u + 100 * 50 * 3);
    // Bottom-up rows of blue, green, red: the left half blue, the right half the background.
    const size_t offset = Le32(b, 10);
    EXPECT_EQ(b[offset], 255);
    EXPECT_EQ(b[offset + 2], 0);
    EXPECT_EQ(b[offset + 99 * 3 + 2], 255);
    std::remove(bmp.c_str());
}
