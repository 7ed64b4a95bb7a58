#include "common/ConfigDlg.h"
#include "testkit/FakeHost.h"
#include "testkit/Pixels.h"
#include "testkit/UiCapture.h"
#include "tracks/ParticleDataReader.h"
#include "tracks/TrackRenderer.h"
#include "tracks/Trakor3DDlg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using namespace trakor3d;
using namespace testkit;

namespace
{
CParticle Photon(std::initializer_list<CSegment> points)
{
    CParticle p;
    p.m_Type = 7;
    for (const auto& s : points)
        p.AddPoint(s);
    return p;
}

class EvolutionDrawTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_View.Create()) << m_View.Error(); }

    void Draw(const CParticle& p, double t, double window, bool fade)
    {
        m_View.Draw(
            [&]
            {
                glEnable(GL_BLEND);
                glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
                DrawParticleAtTime(p, t, window, fade);
                glDisable(GL_BLEND);
            });
    }

    CTopView m_View;
};
} // namespace

TEST_F(EvolutionDrawTest, PieceInProgressEndsAtTheInterpolatedPoint)
{
    const CParticle p = Photon({{1, 5.05, 0, 1}, {9.05, 5.05, 0, 9}, {9.05, 9.05, 0, 10}});
    Draw(p, 5, 0, false);
    EXPECT_EQ(m_View.At(1.5, 5.05), 0xffff00u);
    EXPECT_EQ(m_View.At(4.8, 5.05), 0xffff00u);
    EXPECT_EQ(m_View.At(5.3, 5.05), 0u) << "the particle has only reached x = 5";
    EXPECT_EQ(m_View.At(9.05, 7), 0u) << "the next piece is not reached yet";
    Draw(p, 9.5, 0, false);
    EXPECT_EQ(m_View.At(8.5, 5.05), 0xffff00u);
    EXPECT_EQ(m_View.At(9.05, 6.5), 0xffff00u) << "half way up, to y = 7.05";
    EXPECT_EQ(m_View.At(9.05, 7.5), 0u);
}

TEST_F(EvolutionDrawTest, NothingBeforeTheFirstPoint)
{
    Draw(Photon({{1, 5.05, 0, 1}, {9, 5.05, 0, 9}}), 0.5, 0, false);
    EXPECT_EQ(m_View.Count(0xffff00), 0);
}

TEST_F(EvolutionDrawTest, FinishedTracksFadeOverTheWindowThenVanish)
{
    const CParticle p = Photon({{1, 5.05, 0, 1}, {9, 5.05, 0, 9}});
    Draw(p, 9, 2, true);
    EXPECT_EQ(m_View.At(5, 5.05), 0xffff00u) << "not faded at its last point";
    // A single piece is faded out by the time half the window has passed.
    Draw(p, 9.5, 2, true);
    EXPECT_NEAR(double(m_View.At(5, 5.05) >> 16), 128, 2);
    Draw(p, 10.5, 2, true);
    EXPECT_EQ(m_View.At(5, 5.05), 0u);
    Draw(p, 11.1, 2, true);
    EXPECT_EQ(m_View.Count(0xffff00), 0);
    EXPECT_EQ(m_View.At(5, 5.05), 0u) << "gone after t_last + W";
}

TEST_F(EvolutionDrawTest, OlderPiecesFadeFirst)
{
    const CParticle p = Photon({{1, 5.05, 0, 1}, {5, 5.05, 0, 2}, {9, 5.05, 0, 3}});
    Draw(p, 3.5, 2, true); // f = 0.25 * (n - i) / (n - 1): 0.375 for the first piece, 0.25 after
    EXPECT_NEAR(double(m_View.At(3, 5.05) >> 16), 255 * 0.625, 2);
    EXPECT_NEAR(double(m_View.At(7, 5.05) >> 16), 255 * 0.75, 2);
}

TEST_F(EvolutionDrawTest, PieceWithoutDurationAppearsWholeOnceReached)
{
    const CParticle p = Photon({{1, 5.05, 0, 2}, {9, 5.05, 0, 2}});
    Draw(p, 1.9, 0, false);
    EXPECT_EQ(m_View.Count(0xffff00), 0);
    Draw(p, 2, 0, false);
    EXPECT_EQ(m_View.At(8.5, 5.05), 0xffff00u);
}

TEST(FadeWindow, LinearLogarithmicAndOff)
{
    CParticleDataReader store;
    store.m_FadeSteps = 25;
    store.m_TimeStep = 0.04;
    EXPECT_EQ(FadeWindow(store, false), 0) << "fading off";
    store.m_FadeTracks = true;
    EXPECT_DOUBLE_EQ(FadeWindow(store, false), 1.0);
    EXPECT_DOUBLE_EQ(FadeWindow(store, true), 10.0);
    store.m_TimeStep = -0.04;
    EXPECT_EQ(FadeWindow(store, false), 0) << "never negative";
}

namespace
{
class EvolutionDialogTest : public CUiTest
{
protected:
    void SetUp() override
    {
        CUiTest::SetUp();
        std::istringstream in("EnergyGroup_Tot 0 1\nPARTICLE\nEnergy 0.5\nType 7\n"
                              "s 0 0 0 1e-12\ns 1 0 0 1e-8\nEND PARTICLE\n");
        ASSERT_TRUE(m_Store.ReadStream(in, nullptr));
        m_Dlg.Create();
        m_Dlg.ShowWindow(SW_SHOW);
        m_Dlg.m_Loaded = true;
        ASSERT_TRUE(m_Dlg.UserClick(IDC_VISUALIZE));
        ASSERT_TRUE(m_Dlg.UserSetCheck(IDC_SHOWEVOLUTION, 1));
    }

    CParticleDataReader m_Store;
    CFakeHost m_Host;
    CTrakor3DDlg m_Dlg{&m_Store, &m_Host};
};
} // namespace

TEST_F(EvolutionDialogTest, ShowEvolutionEnablesTheTimeControls)
{
    EXPECT_TRUE(m_Store.m_ShowEvolution);
    EXPECT_TRUE(m_Dlg.Item(IDC_TIMESLIDER).m_Enabled);
    EXPECT_TRUE(m_Dlg.Item(IDC_PLAY).m_Enabled);
    ASSERT_TRUE(m_Dlg.UserSetCheck(IDC_FADETRACKS, 1));
    EXPECT_TRUE(m_Store.m_FadeTracks);
}

TEST_F(EvolutionDialogTest, LinearSliderMapsToTime)
{
    ASSERT_TRUE(m_Dlg.UserSlider(IDC_TIMESLIDER, 50));
    EXPECT_DOUBLE_EQ(m_Store.m_CurrentTime, 50 * 1e-8 / 100) << "t0 is 0 after loading";
    EXPECT_EQ(m_Dlg.GetDlgItemText(IDC_CURRENTTIME), "5e-09");
}

TEST_F(EvolutionDialogTest, LogarithmicScaleResetsZeroStartAndMapsDecades)
{
    ASSERT_TRUE(m_Dlg.UserSetCheck(IDC_LOGSCALE, 1));
    EXPECT_EQ(MessageTexts(),
              std::vector<std::string>{"The start time t0 for logarithmic scaling cannot be "
                                       "0! Thus, it was reset to 3E-12 ~ 1 mm of "
                                       "movement."});
    EXPECT_DOUBLE_EQ(m_Store.m_T0, 3e-12);
    m_Store.m_T0 = 1e-12;
    ASSERT_TRUE(m_Dlg.UserSetCheck(IDC_LOGSCALE, 0));
    ASSERT_TRUE(m_Dlg.UserSetCheck(IDC_LOGSCALE, 1));
    EXPECT_NEAR(m_Store.m_TimeStep, 0.04, 1e-12);
    ASSERT_TRUE(m_Dlg.UserSlider(IDC_TIMESLIDER, 50));
    EXPECT_NEAR(m_Store.m_CurrentTime, 1e-10, 1e-22);
    ASSERT_TRUE(m_Dlg.UserSlider(IDC_TIMESLIDER, 100));
    EXPECT_NEAR(m_Store.m_CurrentTime, 1e-8, 1e-20);
}

TEST_F(EvolutionDialogTest, LogarithmicScaleNeedsTMaxAboveT0)
{
    m_Store.m_T0 = 1e-6;
    m_Store.m_TMax = 1e-7;
    ASSERT_TRUE(m_Dlg.UserSetCheck(IDC_LOGSCALE, 1));
    EXPECT_EQ(m_Dlg.m_LogScale, 0) << "falls back to linear";
    EXPECT_EQ(m_Dlg.IsDlgButtonChecked(IDC_LOGSCALE), 0);
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_NE(MessageTexts()[0].find("linear time scale is used"), std::string::npos);
    EXPECT_TRUE(std::isfinite(m_Store.m_TimeStep));
    ASSERT_TRUE(m_Dlg.UserSlider(IDC_TIMESLIDER, 30));
    EXPECT_TRUE(std::isfinite(m_Store.m_CurrentTime));
}

TEST(Playback, IntervalSpreadsTheAnimationOverTheSteps)
{
    EXPECT_EQ(CTrakor3DDlg::PlaybackInterval(15.f, 100), 150u);
    EXPECT_EQ(CTrakor3DDlg::PlaybackInterval(15.f, 100000), 1u);
    EXPECT_EQ(CTrakor3DDlg::PlaybackInterval(2.f, 3), 666u);
}

TEST_F(EvolutionDialogTest, PlaybackStepsToTheEndThenReleasesTheButton)
{
    auto& ui = Ui();
    ASSERT_TRUE(m_Dlg.UserSlider(IDC_TIMESLIDER, 97));
    ASSERT_TRUE(m_Dlg.UserSetCheck(IDC_PLAY, 1));
    ASSERT_EQ(ui.RunningTimers().size(), 1u);
    EXPECT_EQ(ui.RunningTimers()[0].second, CTrakor3DDlg::PlayTimerId);
    ui.DeliverTimerTicks(3);
    EXPECT_EQ(m_Dlg.Item(IDC_TIMESLIDER).m_Pos, 100);
    EXPECT_TRUE(m_Dlg.m_Playing);
    ui.DeliverTimerTicks(1);
    EXPECT_FALSE(m_Dlg.m_Playing) << "end reached";
    EXPECT_EQ(ui.RunningTimers().size(), 1u) << "the timer runs one tick more";
    ui.DeliverTimerTicks(1);
    EXPECT_TRUE(ui.RunningTimers().empty());
    EXPECT_EQ(m_Dlg.m_TimerId, 0u);
    EXPECT_EQ(m_Dlg.IsDlgButtonChecked(IDC_PLAY), 0);
}

TEST_F(EvolutionDialogTest, PressingPlayAgainStopsAtOnce)
{
    ASSERT_TRUE(m_Dlg.UserSetCheck(IDC_PLAY, 1));
    Ui().DeliverTimerTicks(2);
    EXPECT_EQ(m_Dlg.Item(IDC_TIMESLIDER).m_Pos, 2);
    ASSERT_TRUE(m_Dlg.UserSetCheck(IDC_PLAY, 0));
    EXPECT_TRUE(Ui().RunningTimers().empty());
    EXPECT_EQ(m_Dlg.m_TimerId, 0u);
}

TEST_F(EvolutionDialogTest, ConfigurationIsTakenOverAfterOkAndCancel)
{
    auto& ui = Ui();
    ui.QueueModal("Configuration",
                  [](CDialog& d)
                  {
                      d.UserSetText(IDC_CFG_TIMESTEPS, "50");
                      d.UserSetText(IDC_CFG_FADESTEPS, "0");
                      d.UserSelect(IDC_CFG_LINEWIDTH, 2);
                      d.UserSlider(IDC_CFG_TRANSPARENCY_SLIDER, 40);
                  });
    ASSERT_TRUE(m_Dlg.UserClick(IDC_CONFIGURE));
    EXPECT_EQ(m_Store.m_NrTimeSteps, 50);
    EXPECT_EQ(m_Store.m_FadeSteps, 1);
    EXPECT_EQ(m_Dlg.m_LineWidth, 3);
    EXPECT_DOUBLE_EQ(m_Dlg.m_Transparency, 0.4);
    EXPECT_DOUBLE_EQ(m_Store.m_Particles[0].begin()->second.m_Transparency, 0.4);
    EXPECT_EQ(m_Dlg.Item(IDC_TIMESLIDER).m_Max, 50);
    EXPECT_DOUBLE_EQ(m_Store.m_TimeStep, 1e-8 / 50);

    // A refused OK, then Cancel: the refused value is not taken; the slider's is.
    ui.QueueModal("Configuration",
                  [](CDialog& d)
                  {
                      d.UserSetText(IDC_CFG_TIMESTEPS, "5");
                      d.UserClick(IDOK);
                      d.UserSlider(IDC_CFG_TRANSPARENCY_SLIDER, 10);
                      d.UserClick(IDCANCEL);
                  });
    ASSERT_TRUE(m_Dlg.UserClick(IDC_CONFIGURE));
    EXPECT_EQ(m_Store.m_NrTimeSteps, 50);
    EXPECT_DOUBLE_EQ(m_Dlg.m_Transparency, 0.1);
    EXPECT_NE(std::find(MessageTexts().begin(), MessageTexts().end(),
                        "Please enter an integer between 10 and 1661992960."),
              MessageTexts().end());
}
