// The terminal dialogue: prompts, answer reading, defaults and the ways it ends.
#include "Dialogue.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace trakor;

namespace
{

struct DialogueRun
{
    explicit DialogueRun(const std::string& answers) : m_In(answers), m_Dialogue(m_In, m_Out) {}
    std::istringstream m_In;
    std::ostringstream m_Out;
    CDialogue m_Dialogue;
};

} // namespace

TEST(Dialogue, FileNamePromptAndNames)
{
    DialogueRun run("\n");
    EXPECT_EQ(run.m_Dialogue.AskFileName(), std::string(80, ' '));
    EXPECT_EQ(run.m_Out.str(), " NAME OF FLUKA-COLLISIONFILE [collfile]???? \n\n");

    EXPECT_EQ(CollisionFileName(std::string(80, ' ')), "collfile");
    EXPECT_EQ(TrackFileName(std::string(80, ' ')), "collfile.tracks");
    EXPECT_EQ(CollisionFileName("  run/a b   c   "), "run/a b   c");
    EXPECT_EQ(TrackFileName("  run/a b   c   "), "run/a b.tracks");
    // A name of 80 columns has no room for three blanks and is kept whole.
    const std::string longName(80, 'n');
    EXPECT_EQ(TrackFileName(longName), longName + ".tracks");
}

TEST(Dialogue, BinCountIsAskedAgainUntilInRange)
{
    DialogueRun run("0\n1000\n999\n");
    EXPECT_EQ(run.m_Dialogue.AskBinCount(), 999);
    EXPECT_EQ(run.m_Out.str(), " ENTER THE NUMBER OF ENERGY BINS\n"
                               " BINNUMBER SHOULD BE BELOW 1000 AND ABOVE 0\n"
                               " ENTER THE NUMBER OF ENERGY BINS\n"
                               " BINNUMBER SHOULD BE BELOW 1000 AND ABOVE 0\n"
                               " ENTER THE NUMBER OF ENERGY BINS\n");
}

TEST(Dialogue, TotalBoundsWithDefaultUpperBound)
{
    DialogueRun run("\n1.0D-3\n\n");
    EXPECT_FALSE(run.m_Dialogue.AskKinetic());
    EXPECT_EQ(run.m_Dialogue.AskBounds(false), std::make_pair(1.0e-3, 100000.0));
    EXPECT_EQ(run.m_Out.str(), " Total energy or kinetic energy\n"
                               "             *******           \n"
                               " For total energy:   press return only\n"
                               " For kinetic energy: press 1 followed by return \n"
                               " ENTER THE WISHED MINIMUM TOTAL ENERGY OF THE \n"
                               " PARTICLES IN GEV\n"
                               " ENTER THE WISHED MAXIMUM TOTAL ENERGY OF THE \n"
                               " PARTICLES IN GEV\n");
}

TEST(Dialogue, KineticBoundsPrompts)
{
    DialogueRun run("1\n1.0\n1.1\n");
    EXPECT_TRUE(run.m_Dialogue.AskKinetic());
    run.m_Out.str("");
    EXPECT_EQ(run.m_Dialogue.AskBounds(true), std::make_pair(1.0, 1.1));
    EXPECT_EQ(run.m_Out.str(), " ENTER THE WISHED MINIMUM KIN. ENERGY OF THE PARTICLES\n"
                               " IN GEV\n"
                               " ENTER THE WISHED MAXIMUM KIN. ENERGY OF THE PARTICLES\n"
                               " IN GEV\n");
}

TEST(Dialogue, LogarithmicBinningReplacesAMinimumOfZero)
{
    DialogueRun run("1\n");
    EXPECT_TRUE(run.m_Dialogue.AskLogarithmic());
    run.m_Out.str("");
    EXPECT_EQ(run.m_Dialogue.LogarithmicLowerBound(0.0), static_cast<double>(1.0e-14f));
    EXPECT_DOUBLE_EQ(static_cast<double>(1.0e-14f), 9.9999998245167e-15);
    EXPECT_EQ(run.m_Out.str(), " *** WARNING: Emin = 0.0 not allowed for logarithmic binning\n"
                               " ***          default Emin = 1.0E-14 used\n");
    run.m_Out.str("");
    EXPECT_EQ(run.m_Dialogue.LogarithmicLowerBound(2.0), 2.0);
    EXPECT_EQ(run.m_Dialogue.LogarithmicLowerBound(-1.0), static_cast<double>(1.0e-14f));
    EXPECT_NE(run.m_Out.str().find("Emin < 0.0 not allowed"), std::string::npos);
}

TEST(Dialogue, ParticleTypeReadsTheFirstColumnOnly)
{
    for (const auto& [answer, type] : {std::pair{"13\n", 1}, {"\n", 0}, {"7\n", 7}, {" 7\n", 0}})
    {
        DialogueRun run(answer);
        EXPECT_EQ(run.m_Dialogue.AskParticleType(), type) << answer;
    }
}

TEST(Dialogue, EndsOnUnreadableAnswerOrEndOfInput)
{
    DialogueRun letters("abc\n");
    EXPECT_THROW(letters.m_Dialogue.AskBounds(false), CDialogueEnd);
    DialogueRun ended("");
    EXPECT_THROW(ended.m_Dialogue.AskFileName(), CDialogueEnd);
    DialogueRun longName(std::string(81, 'n') + "\n");
    EXPECT_THROW(longName.m_Dialogue.AskFileName(), CDialogueEnd);
    // The bin question must not loop for ever when the answers run out.
    DialogueRun outOfRange("0\n");
    EXPECT_THROW(outOfRange.m_Dialogue.AskBinCount(), CDialogueEnd);
    DialogueRun windows("1\r\n");
    EXPECT_TRUE(windows.m_Dialogue.AskKinetic());
}
