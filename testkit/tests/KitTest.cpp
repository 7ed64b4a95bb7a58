#include "testkit/BatchRun.h"
#include "testkit/FakeHost.h"
#include "testkit/Pixels.h"
#include "testkit/Scratch.h"
#include "testkit/UiCapture.h"

#include "platform/UiServices.h"

#include <gtest/gtest.h>

using namespace testkit;

TEST(Scratch, EachTestHasItsOwnEmptyFolderInTheBuildTree)
{
    const auto dir = TestDir();
    EXPECT_EQ(dir, std::filesystem::path(TESSARON_BINARY_DIR) / "test-scratch" /
                       "Scratch.EachTestHasItsOwnEmptyFolderInTheBuildTree");
    EXPECT_TRUE(std::filesystem::is_empty(dir)) << "left over from an earlier run";
    WriteScratch("a.txt", "x");
    EXPECT_EQ(TestDir(), dir) << "the same folder throughout one test";
    EXPECT_TRUE(std::filesystem::exists(dir / "a.txt"));
}

class ParameterisedScratch : public ::testing::TestWithParam<int>
{
};

TEST_P(ParameterisedScratch, NamesWithSlashesStayOneFolder)
{
    EXPECT_EQ(TestDir().parent_path().filename(), "test-scratch");
}
INSTANTIATE_TEST_SUITE_P(Each, ParameterisedScratch, ::testing::Values(1));

TEST(Scratch, FilesRoundTripByteForByte)
{
    const std::string bytes("line\r\n\0tail\xff", 12);
    EXPECT_EQ(ReadText(WriteScratch("bytes.bin", bytes)), bytes);
    EXPECT_EQ(ReadText((TestDir() / "missing").string()), "");
}

TEST(FakeHost, RecordsToolbarCallsVersionQueriesAndRedraws)
{
    CFakeHost host;
    host.SetInterfaceVersion(2.2);
    host.SetSnapPointSize(3);
    CToolbarButton button(101, -1, "Tool");
    EXPECT_EQ(host.AddToolbarButton(&button, -1), 4);
    host.RecalcToolbarLayout();
    host.ResizeToolbar(FALSE);
    EXPECT_EQ(host.GetInterfaceVersion(), 2.2);
    host.RemoveToolbarButton(4);
    host.RedrawView();
    host.RedrawView();
    EXPECT_EQ(host.Log(), "add Tool 101 -1 -1;recalc;resize 0;version;remove 4;");
    EXPECT_EQ(host.Redraws(), 2);
    EXPECT_EQ(host.m_SnapPointSize, 3.0f);
}

class UiCaptureTest : public CUiTest
{
};

TEST_F(UiCaptureTest, MessageBoxesAreCapturedAndMatchedByPrefix)
{
    EXPECT_TRUE(MessageTexts().empty()) << "every test starts without message boxes";
    AfxMessageBox("Something failed at line 3", MB_ICONERROR);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Something failed at line 3"});
    EXPECT_TRUE(Shown("Something failed", "error"));
    EXPECT_FALSE(Shown("Something failed", "warning"));
    EXPECT_FALSE(Shown("failed"));
}

TEST(Pixels, ColoursAtPointsAndCounts)
{
    CPixelImage image(2, 1, {255, 0, 0, 255, 0, 0, 255, 255});
    EXPECT_EQ(image.At(0, 0), 0xff0000u);
    EXPECT_EQ(image.At(1, 0), 0x0000ffu);
    EXPECT_EQ(image.At(2, 0), 0xff000000u) << "outside";
    EXPECT_EQ(image.At(-1, 0), 0xff000000u);
    EXPECT_EQ(image.Count(0x0000ff), 1);
    EXPECT_EQ(CPixelImage(3, 3, {1, 2, 3}).Width(), 0) << "a size that does not fit the bytes";
    EXPECT_FALSE(image.ReadPng(WriteScratch("not.png", "no picture")));
    EXPECT_EQ(image.Width(), 0);
}

TEST(Pixels, TopViewShowsWhatWasDrawnWhere)
{
    CTopView view;
    ASSERT_TRUE(view.Create()) << view.Error();
    view.Draw(
        []
        {
            glColor3f(0, 1, 0);
            glBegin(GL_QUADS);
            glVertex2f(0, 0);
            glVertex2f(5, 0);
            glVertex2f(5, 10);
            glVertex2f(0, 10);
            glEnd();
        });
    EXPECT_EQ(view.At(2, 8), 0x00ff00u);
    EXPECT_EQ(view.At(7, 8), 0u);
    EXPECT_EQ(view.Count(0x00ff00), CTopView::Size * CTopView::Size / 2);
}

TEST(BatchRun, ReturnsExitCodeAndBothOutputs)
{
    const CBatchResult ok = RunBatch("echo hello\necho $WORK\n");
    EXPECT_EQ(ok.m_ExitCode, 0) << ok.m_Err;
    EXPECT_EQ(ok.m_Out, "hello\n" + TestDir().string() + "\n");
    const CBatchResult bad = RunBatch("frobnicate\n");
    EXPECT_NE(bad.m_ExitCode, 0);
    EXPECT_NE(bad.m_Err.find("frobnicate: unknown command"), std::string::npos) << bad.m_Err;
}

TEST(BatchRun, ATrackSessionDrawsThroughTheBuiltPlugIn)
{
    const CBatchResult run = RunBatch("plugin libTrakor3D.so\n"
                                      "toolbar Trakor3D\n"
                                      "set 1001 $SOURCE/tracks/tests/e2e/two_groups.tracks\n"
                                      "click 1005\n"
                                      "click 1014\n"
                                      "render $WORK/tracks.png 64 64\n");
    ASSERT_EQ(run.m_ExitCode, 0) << run.m_Out << run.m_Err;
    CPixelImage image;
    ASSERT_TRUE(image.ReadPng((TestDir() / "tracks.png").string()));
    EXPECT_EQ(image.Width(), 64);
    EXPECT_GT(image.Count(0xffff00), 0) << "the photon's yellow";
    EXPECT_GT(image.Count(0x0000ff), 0) << "the neutron's blue";
}
