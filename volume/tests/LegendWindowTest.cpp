#include "TestHelpers.h"
#include "platform/Clipboard.h"
#include "volume/display/DIB.h"
#include "volume/display/DisplayCtrl.h"

namespace volumira3d
{
using namespace test;

namespace
{
// A dialog holding one canvas, as the legend area does.
class CCanvasDlg : public CDialog
{
public:
    CCanvasDlg() : CDialog(Template()) { Create(); }
    static CDlgTemplate Template()
    {
        CDlgTemplate t;
        t.m_Caption = "Canvas";
        t.Custom(CCanvasState::KindName, 100, 0, 0, 200, 40);
        return t;
    }
};

class DisplayWndTest : public CUiTest
{
protected:
    void SetUp() override
    {
        CUiTest::SetUp();
        m_Ctrl.Attach(&m_Dlg, 100, nullptr);
        Wnd().SetTotalExtent({0, 0, 200, 20});
        Wnd().SetWindow({0, 0, 200, 20});
        Wnd().OpenSegment(1, 0);
        Wnd().FilledRect({0, 0}, {100, 20}, RGB(255, 0, 0));
        Wnd().FilledRect({100, 0}, {200, 20}, RGB(0, 0, 255));
        Wnd().CloseSegment();
        Wnd().Redraw();
    }
    CDisplayWnd& Wnd() { return m_Ctrl.Wnd(); }
    void Mouse(ECanvasMouse type, double x, double y)
    {
        ASSERT_TRUE(CCanvas(&m_Dlg, 100).UserMouse(type, {x, y}));
    }

    CCanvasDlg m_Dlg;
    CTexDisplayCtrl m_Ctrl;
};

void ExpectWindow(const CWorldRect& w, double x0, double y0, double x1, double y1)
{
    EXPECT_DOUBLE_EQ(w.x0, x0);
    EXPECT_DOUBLE_EQ(w.y0, y0);
    EXPECT_DOUBLE_EQ(w.x1, x1);
    EXPECT_DOUBLE_EQ(w.y1, y1);
}

} // namespace

TEST_F(DisplayWndTest, NarrowWindowsMoveBackInsideWideOnesAreCentred)
{
    Wnd().SetWindow({190, -5, 230, 5});
    ExpectWindow(Wnd().Window(), 160, 0, 200, 10);
    Wnd().SetWindow({-50, 2, 250, 8});
    ExpectWindow(Wnd().Window(), -50, 2, 250, 8);
    Wnd().SetWindow({0, 0, 300, 40});
    ExpectWindow(Wnd().Window(), -50, -10, 250, 30);
}

TEST_F(DisplayWndTest, OpeningASegmentIdReplacesItOnAnyLevel)
{
    EXPECT_EQ(Wnd().PrimitiveCount(), 2);
    Wnd().OpenSegment(1, 5);
    Wnd().Line({0, 0}, {1, 1}, RGB(0, 0, 0));
    EXPECT_EQ(Wnd().PrimitiveCount(), 1);
    Wnd().DeleteSegment(1);
    EXPECT_EQ(Wnd().PrimitiveCount(), 0);
    Wnd().Line({0, 0}, {1, 1}, RGB(0, 0, 0));
    EXPECT_EQ(Wnd().PrimitiveCount(), 0) << "no open segment after its deletion";
}

TEST_F(DisplayWndTest, RubberBandZoomAndAClickThatChangesNothing)
{
    int w = 0, h = 0;
    Wnd().CaptureRgb(w, h);
    Mouse(ECanvasMouse::Down, 0.25 * w, 0.75 * h);
    Mouse(ECanvasMouse::Up, 0.25 * w, 0.75 * h);
    ExpectWindow(Wnd().Window(), 0, 0, 200, 20);
    Mouse(ECanvasMouse::Down, 0.75 * w, 0.25 * h);
    Mouse(ECanvasMouse::Move, 0.5 * w, 0.5 * h);
    Mouse(ECanvasMouse::Up, 0.25 * w, 0.75 * h);
    ExpectWindow(Wnd().Window(), 50, 5, 150, 15);
    ASSERT_TRUE(CCanvas(&m_Dlg, 100).UserChooseMenuItem(ID_DISPLAY_SHOW_ALL));
    ExpectWindow(Wnd().Window(), 0, 0, 200, 20);
}

TEST_F(DisplayWndTest, CrosshairFollowsThePointerButStaysOutOfCaptures)
{
    int w = 0, h = 0;
    const auto before = Wnd().CaptureRgb(w, h);
    Mouse(ECanvasMouse::Move, w / 2.0, h / 2.0);
    const CCanvasState* state = m_Dlg.Item(100).KindState<CCanvasState>();
    ASSERT_NE(state, nullptr);
    int cyan = 0;
    for (const auto& p : state->m_Primitives)
        cyan += p.m_Color == RGB(0, 255, 255);
    EXPECT_EQ(cyan, 2);
    EXPECT_EQ(Wnd().CaptureRgb(w, h), before);
}

TEST_F(DisplayWndTest, MenuOffersTheThreeOutputsAndShowAll)
{
    const CCanvasState* state = m_Dlg.Item(100).KindState<CCanvasState>();
    ASSERT_EQ(state->m_Menu.size(), 4u);
    EXPECT_EQ(state->m_Menu[0].m_Text, "Save");
    EXPECT_EQ(state->m_Menu[1].m_Text, "Copy bitmap to clipboard");
    EXPECT_EQ(state->m_Menu[2].m_Text, "Copy windows metafile to clipboard");
}

TEST_F(DisplayWndTest, BitmapFileRoundTrip)
{
    const std::string path = (TestDir() / "legend.bmp").string();
    std::string error;
    ASSERT_TRUE(m_Ctrl.SaveBitmap(path, error)) << error;
    CDIB dib;
    ASSERT_TRUE(dib.Read(path, error)) << error;
    EXPECT_EQ(dib.Header().m_BitCount, 24);
    int w = 0, h = 0;
    const auto rgb = Wnd().CaptureRgb(w, h);
    EXPECT_EQ(dib.Header().m_Width, w);
    EXPECT_EQ(dib.ToRgb(), rgb);
    EXPECT_EQ(rgb[0], 255) << "red on the left";
    EXPECT_EQ(rgb[rgb.size() - 1], 255) << "blue on the right";
}

TEST_F(DisplayWndTest, CopiesPutABitmapAndAnSvgOnTheClipboard)
{
    ClipboardClear();
    ASSERT_TRUE(CCanvas(&m_Dlg, 100).UserChooseMenuItem(ID_DISPLAY_COPY_BITMAP));
    int w = 0, h = 0;
    EXPECT_EQ(ClipboardData().m_Rgb, Wnd().CaptureRgb(w, h));
    EXPECT_EQ(ClipboardData().m_Width, w);
    ASSERT_TRUE(CCanvas(&m_Dlg, 100).UserChooseMenuItem(ID_DISPLAY_COPY_METAFILE));
    EXPECT_EQ(ClipboardData().m_Svg.rfind("<?xml", 0), 0u);
    EXPECT_TRUE(ClipboardData().m_Rgb.empty()) << "a copy replaces the clipboard's content";
}

class DIBFileTest : public CUiTest
{
};

TEST(DIBTest, AcceptedDepthsAndRefusals)
{
    for (std::uint16_t bits : {1, 4, 8, 24})
        EXPECT_TRUE(CDIB::Accepts({4, 4, bits, 0})) << bits;
    for (std::uint16_t bits : {15, 16, 32})
        EXPECT_FALSE(CDIB::Accepts({4, 4, bits, 0})) << bits;
    EXPECT_FALSE(CDIB::Accepts({4, 4, 8, 1})) << "compressed";
    EXPECT_FALSE(CDIB::Accepts({0, 4, 24, 0}));
    EXPECT_FALSE(CDIB::Accepts({4, 1 << 20, 24, 0}));
    CDIB dib;
    EXPECT_FALSE(dib.Create({4, 4, 32, 0}, {}, std::vector<std::uint8_t>(64)));
    EXPECT_FALSE(dib.Create({4, 4, 8, 0}, {}, std::vector<std::uint8_t>(16))) << "no colour table";
}

TEST(DIBTest, PaletteBitmapsAndPaddedRows)
{
    // 3 x 2 at 4 bits: rows of 2 bytes padded to 4; colours 1 (red) and 2 (green).
    std::vector<std::uint32_t> colors(16, 0);
    colors[1] = 0xff0000;
    colors[2] = 0x00ff00;
    const std::vector<std::uint8_t> bits = {0x12, 0x10, 0, 0, 0x21, 0x20, 0, 0};
    CDIB dib;
    ASSERT_TRUE(dib.Create({3, 2, 4, 0}, colors, bits));
    const auto rgb = dib.ToRgb();
    // Top row first: the second stored row (green, red, green).
    EXPECT_EQ(rgb[1], 255);
    EXPECT_EQ(rgb[3], 255);
    EXPECT_EQ(rgb[7], 255);
    EXPECT_EQ(dib.RowBytes(), 4);
}

TEST_F(DIBFileTest, RefusedAndTruncatedFiles)
{
    CDIB dib;
    std::vector<std::uint8_t> rgb(5 * 3 * 3, 200);
    ASSERT_TRUE(dib.FromRgb(5, 3, rgb));
    const std::string path = (TestDir() / "dib.bmp").string();
    std::string error;
    ASSERT_TRUE(dib.Write(path, error)) << error;
    std::string bytes = ReadText(path);
    EXPECT_EQ(bytes.size(), 54u + 16 * 3);
    EXPECT_FALSE(dib.Read(WriteScratch("short.bmp", bytes.substr(0, bytes.size() - 5)), error));
    EXPECT_NE(error.find("shorter"), std::string::npos) << error;
    bytes[28] = 32; // bits per pixel
    EXPECT_FALSE(dib.Read(WriteScratch("deep.bmp", bytes), error));
    EXPECT_NE(error.find("only uncompressed"), std::string::npos) << error;
}
} // namespace volumira3d
