// The terminal dialogue: prompts, answer reading, defaults and the ways it ends.
#include "Dialogue.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace trakor;

namespace
{

struct DialogueRun
{
    explicit DialogueRun(const std::string& answers) : in(answers), dialogue(in, out) {}
    std::istringstream in;
    std::ostringstream out;
    CDialogue dialogue;
};

} // namespace

TEST(Dialogue, FileNamePromptAndNames)
{
    DialogueRun run("\n");
    EXPECT_EQ(run.dialogue.askFileName(), std::string(80, ' '));
    EXPECT_EQ(run.out.str(), " NAME OF FLUKA-COLLISIONFILE [collfile]???? \n\n");

    EXPECT_EQ(collisionFileName(std::string(80, ' ')), "collfile");
    EXPECT_EQ(trackFileName(std::string(80, ' ')), "collfile.tracks");
    EXPECT_EQ(collisionFileName("  run/a b   c   "), "run/a b   c");
    EXPECT_EQ(trackFileName("  run/a b   c   "), "run/a b.tracks");
    // A name of 80 columns has no room for three blanks and is kept whole.
    const std::string longName(80, 'n');
    EXPECT_EQ(trackFileName(longName), longName + ".tracks");
}

TEST(Dialogue, BinCountIsAskedAgainUntilInRange)
{
    DialogueRun run("0\n1000\n999\n");
    EXPECT_EQ(run.dialogue.askBinCount(), 999);
    EXPECT_EQ(run.out.str(), " ENTER THE NUMBER OF ENERGY BINS\n"
                             " BINNUMBER SHOULD BE BELOW 1000 AND ABOVE 0\n"
                             " ENTER THE NUMBER OF ENERGY BINS\n"
                             " BINNUMBER SHOULD BE BELOW 1000 AND ABOVE 0\n"
                             " ENTER THE NUMBER OF ENERGY BINS\n");
}

TEST(Dialogue, TotalBoundsWithDefaultUpperBound)
{
    DialogueRun run("\n1.0D-3\n\n");
    EXPECT_FALSE(run.dialogue.askKinetic());
    EXPECT_EQ(run.dialogue.askBounds(false), std::make_pair(1.0e-3, 100000.0));
    EXPECT_EQ(run.out.str(), " Total energy or kinetic energy\n"
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
    EXPECT_TRUE(run.dialogue.askKinetic());
    run.out.str("");
    EXPECT_EQ(run.dialogue.askBounds(true), std::make_pair(1.0, 1.1));
    EXPECT_EQ(run.out.str(), " ENTER THE WISHED MINIMUM KIN. ENERGY OF THE PARTICLES\n"
                             " IN GEV\n"
                             " ENTER THE WISHED MAXIMUM KIN. ENERGY OF THE PARTICLES\n"
                             " IN GEV\n");
}

TEST(Dialogue, LogarithmicBinningReplacesAMinimumOfZero)
{
    DialogueRun run("1\n");
    EXPECT_TRUE(run.dialogue.askLogarithmic());
    run.out.str("");
    EXPECT_EQ(run.dialogue.logarithmicLowerBound(0.0), static_cast<double>(1.0e-14f));
    EXPECT_DOUBLE_EQ(static_cast<double>(1.0e-14f), 9.9999998245167e-15);
    EXPECT_EQ(run.out.str(), " *** WARNING: Emin = 0.0 not allowed for logarithmic binning\n"
                             " ***          default Emin = 1.0E-14 used\n");
    run.out.str("");
    EXPECT_EQ(run.dialogue.logarithmicLowerBound(2.0), 2.0);
    EXPECT_EQ(run.dialogue.logarithmicLowerBound(-1.0), static_cast<double>(1.0e-14f));
    EXPECT_NE(run.out.str().find("Emin < 0.0 not allowed"), std::string::npos);
}

TEST(Dialogue, ParticleTypeReadsTheFirstColumnOnly)
{
    for (const auto& [answer, type] : {std::pair{"13\n", 1}, {"\n", 0}, {"7\n", 7}, {" 7\n", 0}})
    {
        DialogueRun run(answer);
        EXPECT_EQ(run.dialogue.askParticleType(), type) << answer;
    }
}

TEST(Dialogue, EndsOnUnreadableAnswerOrEndOfInput)
{
    DialogueRun letters("abc\n");
    EXPECT_THROW(letters.dialogue.askBounds(false), CDialogueEnd);
    DialogueRun ended("");
    EXPECT_THROW(ended.dialogue.askFileName(), CDialogueEnd);
    DialogueRun longName(std::string(81, 'n') + "\n");
    EXPECT_THROW(longName.dialogue.askFileName(), CDialogueEnd);
    // The bin question must not loop for ever when the answers run out.
    DialogueRun outOfRange("0\n");
    EXPECT_THROW(outOfRange.dialogue.askBinCount(), CDialogueEnd);
    DialogueRun windows("1\r\n");
    EXPECT_TRUE(windows.dialogue.askKinetic());
}
