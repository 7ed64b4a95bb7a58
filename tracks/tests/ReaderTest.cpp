#include "common/NumberScan.h"
#include "platform/Controls.h"
#include "testkit/UiCapture.h"
#include "tracks/ParticleDataReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

using namespace trakor3d;
using namespace testkit;

namespace
{
class ReaderTest : public CUiTest
{
protected:
    void SetUp() override
    {
        CUiTest::SetUp();
        m_Store.SetErrorStream(m_Err);
    }

    bool Read(const std::string& text)
    {
        std::istringstream in(text);
        return m_Store.ReadStream(in, nullptr);
    }

    const CParticle& Only(int group = 0)
    {
        EXPECT_EQ(m_Store.m_Particles.at(group).size(), 1u);
        return m_Store.m_Particles.at(group).begin()->second;
    }

    CParticleDataReader m_Store;
    std::ostringstream m_Err;
};

const char* PhotonBlock =
    "PARTICLE\nEnergy 5.0E-03\nType 7\ns 0 0 0\ns 1 0 0\ns 1 1 0\nEND PARTICLE\n";
} // namespace

TEST_F(ReaderTest, GroupHoldsPhotonWithGeneratedTimes)
{
    ASSERT_TRUE(Read(std::string("EnergyGroup_Tot 1.0E-03 1.0E-02\n") + PhotonBlock));
    ASSERT_EQ(m_Store.m_EnergyGroups.size(), 1u);
    EXPECT_EQ(m_Store.m_EnergyGroups[0].m_Label, "1.0E-03__1.0E-02");
    EXPECT_DOUBLE_EQ(m_Store.m_EnergyGroups[0].m_Lower, 1e-3);
    EXPECT_TRUE(m_Store.m_EnergyGroups[0].m_Enabled);
    const CParticle& p = Only();
    EXPECT_EQ(p.m_Type, 7);
    ASSERT_EQ(p.m_Points.size(), 3u);
    EXPECT_EQ(p.m_Points[0].t, 1);
    EXPECT_EQ(p.m_Points[2].t, 3);
    EXPECT_DOUBLE_EQ(m_Store.m_TMax, 3);
    EXPECT_DOUBLE_EQ(m_Store.m_TimeStep, 0.03);
    EXPECT_DOUBLE_EQ(m_Store.m_T0, 0) << "the earliest time starts at 0";
    EXPECT_EQ(m_Store.m_Upper, CVector(1, 1, 0));
    EXPECT_TRUE(MessageTexts(true).empty());
    EXPECT_EQ(m_Err.str(), "");
}

TEST_F(ReaderTest, TimesContinueFromThePreviousPoint)
{
    ASSERT_TRUE(Read("EnergyGroup_Kin 0 10\nparticle\nenergy 1\ntype 1\ns 0 0 0 5\ns 1 0 0\n"
                     "s 2 0 0 -1\nEndParticle\n"));
    const CParticle& p = Only();
    EXPECT_EQ(p.m_Points[1].t, 6);
    EXPECT_EQ(p.m_Points[2].t, -1);
    EXPECT_DOUBLE_EQ(m_Store.m_T0, 0) << "earliest = first-point times only";
}

TEST_F(ReaderTest, ParticleGoesToTheFirstGroupThatHoldsItsEnergy)
{
    ASSERT_TRUE(Read("ENERGYGROUP_TOT 0 1\nenergygroup_kin 0.5 2\n"
                     "PARTICLE\nEnergy 0.7\nType 8\ns 0 0 0\ns 0 0 1\nEND PARTICLE\n"
                     "PARTICLE\nEnergy 1.5\nType 8\ns 0 0 0\ns 0 0 1\nEND PARTICLE\n"
                     "PARTICLE\nEnergy 3\nType 8\ns 0 0 0\ns 0 0 1\nEND PARTICLE\n"));
    EXPECT_EQ(m_Store.m_Particles[0].size(), 1u);
    EXPECT_EQ(m_Store.m_Particles[1].size(), 1u);
    EXPECT_EQ(MessageTexts(true),
              std::vector<std::string>{"information: Warning (23): Particle not added "
                                       "because it does not match the supplied energy "
                                       "groups!"});
}

TEST_F(ReaderTest, LineCountGrowsByPointsPlusFourPerBlock)
{
    // Lines: group (1), "bogus" (2) -> count-1 = 1; block line 3 -> 3 + 2 + 4 = 9; "zzz" -> 10.
    ASSERT_TRUE(Read("EnergyGroup_Tot 0 1\nbogus\nPARTICLE\nEnergy 0.5\nType 1\ns 0 0 0\n"
                     "s 1 1 1\nEND PARTICLE\nzzz\n"));
    EXPECT_EQ(MessageTexts(true),
              (std::vector<std::string>{"information: Warning ( 1): Unknown identifier!",
                                        "information: Warning ( 9): Unknown identifier!"}));
}

TEST_F(ReaderTest, ShortGroupLineStopsReadingAndKeepsWhatWasRead)
{
    EXPECT_FALSE(Read(std::string("EnergyGroup_Tot 0 1\n") +
                      "PARTICLE\nEnergy 0.5\nType 1\ns 0 0 0\n"
                      "END PARTICLE\nEnergyGroup_Tot 5\n" +
                      PhotonBlock));
    EXPECT_EQ(m_Store.m_EnergyGroups.size(), 1u);
    EXPECT_EQ(m_Store.m_Particles[0].size(), 1u);
    EXPECT_EQ(MessageTexts(true),
              std::vector<std::string>{
                  "information: ERROR(8): Not enough arguments given for EnergyGroup!"});
}

TEST_F(ReaderTest, BlockMessagesGoToTheErrorStream)
{
    ASSERT_TRUE(Read("EnergyGroup_Tot -2000 1\nPARTICLE\ns 1 2\nEnergy\nRadius\nType\nEnergyX 5\n"
                     "radius 2.5\n# s 9 9 9\n*comment\n\nEND PARTICLE\n"));
    EXPECT_EQ(m_Err.str(), "ERROR: Missing segment coordinate! -> Segment ignored!\n"
                           "ERROR: Missing energy value after specifier!\n"
                           "ERROR: Missing radius value after specifier!\n"
                           "ERROR: Missing type value after specifier!\n"
                           "Warning: Unidentified keyword ignored!\n"
                           "ERROR: Missing energy specifier. Value set to -1 so that particle is "
                           "ignored!\n"
                           "ERROR: Missing type specifier. Value set to -1!\n"
                           "ERROR: Particle type -1000 has no entry in the particle table. "
                           "Particle ignored!\n");
    EXPECT_TRUE(m_Store.m_Particles[0].empty()) << "a particle without a table entry is dropped";
}

// A point that cannot be drawn in single precision would make the view box and the VRML export
// useless: it is refused like a short point line.
TEST_F(ReaderTest, PointsBeyondTheDrawableRangeAreIgnoredWithAMessage)
{
    ASSERT_TRUE(Read("EnergyGroup_Tot 0 1\nPARTICLE\nEnergy 0.5\nType 7\ns 0 0 0\n"
                     "s 1e308 0 0\ns 0 nan 0\ns 0 0 -inf\ns 0 0 1e400\ns 1 1 1 1e999\n"
                     "s 1 2 3 nan\ns 1 1 1\nEND PARTICLE\n"));
    const std::string refused = "ERROR: Segment coordinate or time out of range! -> Segment "
                                "ignored!\n";
    size_t count = 0;
    for (size_t at = m_Err.str().find(refused); at != std::string::npos;
         at = m_Err.str().find(refused, at + 1))
        ++count;
    // "nan" and "inf" are no numbers: once read as 0, they are left out now, and counted.
    EXPECT_EQ(count, 6u) << m_Err.str();
    const CParticle& p = Only();
    ASSERT_EQ(p.m_Points.size(), 2u);
    EXPECT_TRUE(testkit::Shown("6 track points were left out: a coordinate or time is not a "
                               "finite number.",
                               "warning"));
    EXPECT_EQ(m_Store.m_Upper.x, 1);
    EXPECT_EQ(m_Store.m_Lower.z, 0);
}

TEST_F(ReaderTest, NegativeTypesMapBehindTheTableAndUnknownTypesAreDropped)
{
    ASSERT_TRUE(Read("EnergyGroup_Tot 0 10\n"
                     "PARTICLE\nEnergy 1\nType -2\ns 0 0 0\ns 1 0 0\nEND PARTICLE\n"
                     "PARTICLE\nEnergy 1\nType -7\ns 0 0 0\ns 1 0 0\nEND PARTICLE\n"
                     "PARTICLE\nEnergy 1\nType 71\ns 0 0 0\ns 1 0 0\nEND PARTICLE\n"));
    ASSERT_EQ(m_Store.m_Particles[0].size(), 1u);
    EXPECT_EQ(m_Store.m_Particles[0].begin()->first, 66);
    // -7 maps to 71, behind the table, as does 71 itself.
    const std::string err = m_Err.str();
    const auto first = err.find("Particle type 71 has no entry");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(err.find("Particle type 71 has no entry", first + 1), std::string::npos);
}

TEST_F(ReaderTest, CommentsAndSkippedLines)
{
    // A path with a slash, any comment character anywhere, four tabs, blank lines.
    ASSERT_TRUE(Read("/home/user/run/EnergyGroup_Tot 0 1\n   # EnergyGroup_Tot 0 1\n\t\t\t\t\n\n"
                     "   EnergyGroup_Tot 0 1 & more\nEnergyGroup_Tot 0 1\n" +
                     std::string(PhotonBlock)));
    EXPECT_EQ(m_Store.m_EnergyGroups.size(), 1u) << "leading blanks are removed, comments skipped";
    EXPECT_TRUE(MessageTexts(true).empty());
}

TEST_F(ReaderTest, EndLineOutsideABlockOpensANewBlock)
{
    ASSERT_TRUE(Read("EnergyGroup_Tot 0 1\nEND PARTICLE\nEnergy 0.5\nType 3\ns 0 0 0\ns 0 1 0\n"
                     "end particle\n"));
    EXPECT_EQ(Only().m_Type, 3);
}

TEST_F(ReaderTest, ParticlesWithoutGroupsAreNotAdded)
{
    ASSERT_TRUE(Read(PhotonBlock));
    EXPECT_TRUE(m_Store.m_Particles.empty());
    EXPECT_EQ(MessageTexts(true).size(), 1u);
}

// Point lines are the bulk of a file and are read in one walk; every odd form reads as its
// tokens read, to the bit.
TEST_F(ReaderTest, PointLinesOfEveryFormReadAsTheirTokens)
{
    ASSERT_TRUE(Read("EnergyGroup_Tot 0 1\nPARTICLE\nEnergy 0.5\nType 7\n"
                     " \ts;1,2:3\t4\n"
                     "s 1.0abc 2x -3 5 junk 9\n"
                     "s 1E 2e+ 3D\n"
                     "s 1.5D-01 +2.5d1 .5\n"
                     "s 12345678901234567 0.1e-30 3 7.25E+\n"
                     "s abc 2 3 8\n"
                     "sx 1 2 3\n"
                     "s 1 2\n"
                     "END PARTICLE\n"));
    // "abc" is no number: the point is left out (it once read as 0).
    EXPECT_EQ(m_Err.str(), "ERROR: Segment coordinate or time out of range! -> Segment ignored!\n"
                           "Warning: Unidentified keyword ignored!\n"
                           "ERROR: Missing segment coordinate! -> Segment ignored!\n");
    const std::vector<CSegment> expected = {
        {1, 2, 3, 4},
        {1, 2, -3, 5},
        {1, 2, 3, 6},
        {0.15, 25, 0.5, 7},
        {StrtodC("12345678901234567"), StrtodC("0.1e-30"), 3, 7.25},
    };
    const CParticle& p = Only();
    ASSERT_EQ(p.m_Points.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(p.m_Points[i].x, expected[i].x) << i;
        EXPECT_EQ(p.m_Points[i].y, expected[i].y) << i;
        EXPECT_EQ(p.m_Points[i].z, expected[i].z) << i;
        EXPECT_EQ(p.m_Points[i].t, expected[i].t) << i;
    }
}

TEST_F(ReaderTest, ConverterOutputIsReadWithItsExponents)
{
    ASSERT_TRUE(Read("ENERGYGROUP_TOT +1.000000000E-03,+1.000000000E-01 \n\nPARTICLE\n"
                     "s +1.250000000000000D+01,-2.000000000000000D+00,+0.000000000000000D+00 "
                     "+1.000000000000000D-09 \n"
                     "s +1.350000000000000D+01,-2.000000000000000D+00,+1.000000000000000D-01 "
                     "+2.000000000000000D-09 \n"
                     "Energy +5.000000000000000D-02\nType    +7\nEND PARTICLE\n"));
    const CParticle& p = Only();
    EXPECT_DOUBLE_EQ(p.m_Points[0].x, 12.5);
    EXPECT_DOUBLE_EQ(p.m_Points[1].z, 0.1);
    EXPECT_DOUBLE_EQ(p.m_Points[1].t, 2e-9);
    EXPECT_DOUBLE_EQ(p.m_Energy, 0.05);
}

TEST_F(ReaderTest, CornersAccumulateOverTheParticlesOfAFile)
{
    ASSERT_TRUE(Read("EnergyGroup_Tot 0 10\n"
                     "PARTICLE\nEnergy 1\nType 1\ns -5 0 0\ns 0 0 0\nEND PARTICLE\n"
                     "PARTICLE\nEnergy 1\nType 3\ns 1 1 1\ns 2 2 2\nEND PARTICLE\n"));
    const auto& electron = m_Store.m_Particles[0].find(3)->second;
    EXPECT_EQ(electron.m_Lower, CVector(-5, 0, 0)) << "the reader reuses one particle object";
    EXPECT_EQ(m_Store.m_Lower, CVector(-5, 0, 0));
    EXPECT_EQ(m_Store.m_Upper, CVector(2, 2, 2));
}

TEST_F(ReaderTest, ProgressStepsPerGroupAndParticleThenResets)
{
    CDlgTemplate t;
    t.Add(ECtrlKind::Progress, 1, "", 0, 0, 10, 10);
    CDialog dlg(t);
    dlg.Create();
    CProgressCtrl progress(&dlg, 1);
    std::istringstream in(std::string("EnergyGroup_Tot 0 1\n") + PhotonBlock);
    ASSERT_TRUE(m_Store.ReadStream(in, &progress));
    int lo, hi;
    progress.GetRange(lo, hi);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 5000);
    EXPECT_EQ(progress.GetPos(), 0);
}

TEST_F(ReaderTest, ClearAndTransparency)
{
    ASSERT_TRUE(Read(std::string("EnergyGroup_Tot 1.0E-03 1.0E-02\n") + PhotonBlock));
    m_Store.SetTransparency(0.25);
    EXPECT_EQ(Only().m_Transparency, 0.25);
    m_Store.m_FadeSteps = 7;
    m_Store.Clear();
    EXPECT_TRUE(m_Store.m_EnergyGroups.empty());
    EXPECT_EQ(m_Store.m_Lower, CVector(1e15, 1e15, 1e15));
    EXPECT_EQ(m_Store.m_NrTimeSteps, 100);
    EXPECT_EQ(m_Store.m_FadeSteps, 7) << "not touched by Clear";
}

TEST_F(ReaderTest, FileErrors)
{
    EXPECT_FALSE(m_Store.ReadFile("", nullptr));
    EXPECT_FALSE(m_Store.ReadFile("/nonexistent/x.tracks", nullptr));
    EXPECT_EQ(MessageTexts(true), std::vector<std::string>{"error: ERROR: No filename specified!"});
}

TEST_F(ReaderTest, BinaryGarbageIsRefusedWithoutABoxPerLine)
{
    std::string garbage("EnergyGroup_Tot 0 1\n");
    for (int i = 0; i < 5000; ++i)
        garbage += static_cast<char>((i * 7919) % 256);
    EXPECT_FALSE(Read(garbage));
    const auto boxes = MessageTexts(true);
    EXPECT_LE(boxes.size(), 22u);
    EXPECT_EQ(std::count_if(boxes.begin(), boxes.end(),
                            [](const std::string& b) { return b.find("binary data") != b.npos; }),
              1);
}

TEST_F(ReaderTest, ManyUnknownLinesAreSummarised)
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "nonsense\n";
    EXPECT_TRUE(Read(text));
    const auto boxes = MessageTexts(true);
    ASSERT_EQ(boxes.size(), 21u);
    EXPECT_EQ(boxes.back(), "information: 80 further warnings of the same kinds were not shown.");
}

TEST_F(ReaderTest, LongLinesAndTruncatedFilesEndCleanly)
{
    std::string text = "EnergyGroup_Tot 0 1\n" + std::string(3 << 20, 'x') +
                       "\nPARTICLE\nEnergy 0.5\n"
                       "Type 1\ns 0 0 0\ns 1 1";
    EXPECT_TRUE(Read(text));
    EXPECT_NE(m_Err.str().find("cut off"), std::string::npos);
    EXPECT_EQ(Only().m_Points.size(), 1u) << "the truncated point line lacks a coordinate";
}
