// What the view shows besides the data, seen through the host's batch render: the axis triad in
// its corner, the bounding box where the data's box projects, and tracks of the darkest and
// brightest table colours standing out from the background behind them.
#include "host/ViewOverlay.h"
#include "host/ViewSettings.h"
#include "testkit/BatchRun.h"
#include "testkit/Pixels.h"
#include "testkit/Scratch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace
{
using testkit::CPixelImage;

constexpr int W = 400, H = 300;

CVector Rgb(unsigned c)
{
    return {(c >> 16 & 255) / 255.0, (c >> 8 & 255) / 255.0, (c & 255) / 255.0};
}

bool Near(unsigned c, const unsigned char* rgb, int tol)
{
    return std::abs(int(c >> 16 & 255) - rgb[0]) <= tol &&
           std::abs(int(c >> 8 & 255) - rgb[1]) <= tol && std::abs(int(c & 255) - rgb[2]) <= tol;
}

// Pixels near this colour inside the rectangle [x0, x1) x [y0, y1) (rows from the top).
int CountIn(const CPixelImage& img, const unsigned char* rgb, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += Near(img.At(x, y), rgb, 10);
    return n;
}

// Runs the script, which renders $WORK/view.png, and reads the picture back.
CPixelImage Render(const std::string& script)
{
    const testkit::CBatchResult r = testkit::RunBatch(script);
    EXPECT_EQ(r.m_ExitCode, 0) << r.m_Out << r.m_Err;
    CPixelImage img;
    EXPECT_TRUE(img.ReadPng((testkit::TestDir() / "view.png").string())) << r.m_Err;
    return img;
}

const std::string TwoGroups = "plugin libTrakor3D.so\n"
                              "toolbar Trakor3D\n"
                              "set 1001 $SOURCE/tracks/tests/e2e/two_groups.tracks\n"
                              "click 1005\n"
                              "click 1014\n";
} // namespace

TEST(ViewAids, TheTriadsThreeColoursAppearInTheLowerLeftCornerOnly)
{
    const CPixelImage img = Render(TwoGroups + "render $WORK/view.png 400 300\n");
    const int side = CViewOverlay::TriadSide(W, H) + 16;
    for (const auto* color : CViewOverlay::AxisColors)
    {
        EXPECT_GT(CountIn(img, color, 0, H - side, side, H), 10);
        EXPECT_EQ(CountIn(img, color, side, 0, W, H) + CountIn(img, color, 0, 0, side, H - side),
                  0);
    }
    const CPixelImage off = Render(TwoGroups + "axes off\nrender $WORK/view.png 400 300\n");
    for (const auto* color : CViewOverlay::AxisColors)
        EXPECT_EQ(CountIn(off, color, 0, 0, W, H), 0);
}

TEST(ViewAids, ThumbnailsCarryNoAids)
{
    const CPixelImage img = Render(TwoGroups + "render $WORK/view.png 100 100\n");
    for (const auto* color : CViewOverlay::AxisColors)
        EXPECT_EQ(CountIn(img, color, 0, 0, 100, 100), 0);
}

// A front view in parallel projection: the box's x and y edges land where the fit puts them,
// computed here from the box alone (centred, the larger half extent filling 1/1.15 of the view).
TEST(ViewAids, TheBoundingBoxEdgesAreWhereTheDataBoxProjects)
{
    const std::string script = TwoGroups + "projection ortho\ncamera 0 0\naxes off\nbox\n";
    const testkit::CBatchResult boxRun = testkit::RunBatch(script);
    double x0, y0, z0, x1, y1, z1;
    std::string word;
    std::istringstream box(boxRun.m_Out.substr(boxRun.m_Out.find("box min")));
    box >> word >> word >> x0 >> y0 >> z0 >> word >> x1 >> y1 >> z1;
    ASSERT_TRUE(box) << boxRun.m_Out;
    const double aspect = double(W) / H;
    const double half = 1.15 * std::max((y1 - y0) / 2, (x1 - x0) / 2 / aspect);
    auto column = [&](double x) { return W / 2.0 + (x - (x0 + x1) / 2) / (half * aspect) * W / 2; };
    auto row = [&](double y) { return H / 2.0 - (y - (y0 + y1) / 2) / half * H / 2; };
    const unsigned white = 0xffffff;
    auto edgeAt = [&](const CPixelImage& img, double x, double y)
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (img.At(int(std::floor(x)) + dx, int(std::floor(y)) + dy) == white) return true;
        return false;
    };
    const CPixelImage on = Render(script + "boundingbox on\nrender $WORK/view.png 400 300\n");
    const CPixelImage off = Render(script + "render $WORK/view.png 400 300\n");
    // Points along the four edges, away from the corners.
    for (double t : {0.3, 0.5, 0.7})
    {
        const double x = column(x0 + t * (x1 - x0)), y = row(y0 + t * (y1 - y0));
        for (auto [px, py] :
             {std::pair{column(x0), y}, {column(x1), y}, {x, row(y0)}, {x, row(y1)}})
        {
            EXPECT_TRUE(edgeAt(on, px, py)) << "no box edge at " << px << ", " << py;
            EXPECT_FALSE(edgeAt(off, px, py)) << "a box edge with the box off at " << px;
        }
    }
    EXPECT_EQ(on.At(W / 2, H / 2 + 1), off.At(W / 2, H / 2 + 1)) << "inside the box, no change";
}

// The deuteron is black, the neutron dark blue and the photon yellow in the standard table;
// each track is compared with the background a few pixels beside it.
TEST(ViewAids, DarkAndBrightTracksStandOutFromTheBackgroundBehindThem)
{
    const std::string tracks =
        "EnergyGroup_Tot 1.0E-03 1.0E+01\n"
        "PARTICLE\nType 67\nEnergy 1\ns -10 10 0\ns 10 10 0\nEND PARTICLE\n"
        "PARTICLE\nType 8\nEnergy 1\ns -10 0 0\ns 10 0 0\nEND PARTICLE\n"
        "PARTICLE\nType 7\nEnergy 1\ns -10 -10 0\ns 10 -10 0\nEND PARTICLE\n";
    const std::string path = testkit::WriteScratch("three.tracks", tracks);
    const CPixelImage img = Render("plugin libTrakor3D.so\ntoolbar Trakor3D\nset 1001 " + path +
                                   "\nclick 1005\nclick 1014\nprojection ortho\ncamera 0 0\n"
                                   "render $WORK/view.png 400 300\n");
    for (unsigned track : {0x000000u, 0x0000ffu, 0xffff00u})
    {
        int seen = 0;
        double worst = 21;
        for (int y = 0; y + 6 < H; ++y)
            for (int x = 0; x < W; ++x)
                if (img.At(x, y) == track)
                {
                    ++seen;
                    worst = std::min(worst, ContrastRatio(Rgb(track), Rgb(img.At(x, y + 6))));
                }
        EXPECT_GT(seen, 50) << std::hex << track;
        EXPECT_GE(worst, 2.0) << std::hex << track;
    }
}
