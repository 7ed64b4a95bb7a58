// The program as a user runs it: answers in, files and messages out.
#include "CollisionFileBuilder.h"
#include "TestFiles.h"
#include "Trakor.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace trakor;
using namespace trakor::testing;
namespace fs = std::filesystem;

namespace
{

class ConversionTest : public ::testing::Test
{
protected:
    // The script is written to the current folder: each test runs in its own.
    void SetUp() override
    {
        m_Previous = fs::current_path();
        fs::current_path(currentTestFolder());
    }
    void TearDown() override { fs::current_path(m_Previous); }

    static fs::path collisionFile() { return "run1"; }
    static fs::path trackFile() { return "run1.tracks"; }
    static fs::path scriptFile() { return "collfile.scr"; }

    // Runs the program with the file name and then the other answers.
    int convert(const std::string& answers, const std::string& name = "run1")
    {
        std::istringstream in(name + "\n" + answers);
        m_Out.str("");
        m_Err.str("");
        return runTrakor(in, m_Out, m_Err);
    }

    // Particle types in file order.
    std::string writtenTypes() const
    {
        std::istringstream text(readFile(trackFile()));
        std::string types;
        for (std::string line; std::getline(text, line);)
            if (line.rfind("Type", 0) == 0) types += line.substr(7) + ";";
        return types;
    }

    fs::path m_Previous;
    std::ostringstream m_Out;
    std::ostringstream m_Err;
};

// Answers: total energy, 0 to 100000 GeV, one linear bin, all particles.
const std::string kAllTotal = "\n\n\n1\n\n\n";
const std::string kOneGroup = "ENERGYGROUP_TOT +0.000000000E+00,+1.000000000E+05 \n";

} // namespace

TEST_F(ConversionTest, DialogueInOrderThenSummary)
{
    CCollisionFileBuilder()
        .trajectory(7, 1.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9)
        .save(collisionFile());
    ASSERT_EQ(convert(kAllTotal), kExitDone) << m_Err.str();
    const std::string out = m_Out.str();
    std::size_t at = 0;
    for (const char* text :
         {"TRAKOR", "2.1.3", " NAME OF FLUKA-COLLISIONFILE [collfile]???? \n\n",
          " Total energy or kinetic energy\n", " ENTER THE WISHED MINIMUM TOTAL ENERGY OF THE \n",
          " ENTER THE WISHED MAXIMUM TOTAL ENERGY OF THE \n", " ENTER THE NUMBER OF ENERGY BINS\n",
          " Lin. or log. BINNING? \n", " Enter particle type number (ALL = RETURN ONLY):\n",
          " 1 particles written to ", " 0 spheres written to "})
    {
        const std::size_t found = out.find(text, at);
        ASSERT_NE(found, std::string::npos) << text << "\n" << out;
        at = found;
    }
    EXPECT_EQ(m_Err.str(), "");
}

TEST_F(ConversionTest, KineticBoundsAreShiftedByTheParticleMass)
{
    CCollisionFileBuilder()
        .trajectory(1, 2.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9)
        .trajectory(7, 2.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9)
        .save(collisionFile());
    ASSERT_EQ(convert("1\n1.0\n1.1\n1\n\n\n"), kExitDone);
    EXPECT_EQ(writtenTypes(), " +1;");
    EXPECT_EQ(readFile(trackFile()).substr(0, 51),
              "ENERGYGROUP_KIN +1.000000000E+00,+1.100000000E+00 \n");
}

TEST_F(ConversionTest, ParticleTypeAnswer13SelectsProtons)
{
    CCollisionFileBuilder()
        .trajectory(13, 2.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9)
        .trajectory(1, 2.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9)
        .save(collisionFile());
    ASSERT_EQ(convert("\n\n\n1\n\n13\n"), kExitDone);
    EXPECT_EQ(writtenTypes(), " +1;");
}

TEST_F(ConversionTest, SourceOnlyFileGivesGroupsAndAnEmptyScriptLine)
{
    CCollisionFileBuilder().source(1, 3).source(2, 0).save(collisionFile());
    ASSERT_EQ(convert(kAllTotal), kExitDone);
    EXPECT_EQ(readFile(trackFile()), kOneGroup);
    EXPECT_EQ(readFile(scriptFile()), "\n");
}

TEST_F(ConversionTest, DepositionsBecomeSpheresAfterAllLines)
{
    CCollisionFileBuilder()
        .deposition(11, 8, 5.0, {1, 2, 3})
        .trajectory(8, 5.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9)
        .deposition(11, 8, 1.0e6, {1, 2, 3}) // outside the energy range
        .save(collisionFile());
    ASSERT_EQ(convert(kAllTotal), kExitDone);
    const std::string script = readFile(scriptFile());
    EXPECT_LT(script.find("_LINE"), script.find("_SPHERE"));
    EXPECT_EQ(script.find("_SPHERE"), script.rfind("_SPHERE"));
    EXPECT_NE(script.find("+1.000000000E+00,+1.385000037E-20,+1.385000037E-20\n\n_LAYER\n"
                          "_NEW\nCOLL08_11\n"),
              std::string::npos);
}

TEST_F(ConversionTest, UnknownParticleIsReportedAndLeftOutOfBothFiles)
{
    CCollisionFileBuilder()
        .trajectory(50, 3.0, 4, {{0, 0, 0}, {1, 0, 0}}, 1e-9)
        .save(collisionFile());
    ASSERT_EQ(convert(kAllTotal), kExitDone);
    EXPECT_NE(m_Out.str().find(" ** WARNING: Unknown particle 50 encountered!\n"),
              std::string::npos);
    EXPECT_EQ(readFile(trackFile()), kOneGroup);
    EXPECT_EQ(readFile(scriptFile()), "\n");
}

TEST_F(ConversionTest, DamagedFileKeepsWhatCameBeforeAndFails)
{
    CCollisionFileBuilder builder;
    builder.trajectory(8, 5.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9).deposition(11, 8, 5.0, {1, 2, 3});
    builder.marker(1000);
    builder.save(collisionFile());
    EXPECT_EQ(convert(kAllTotal), kExitCorruptInput);
    EXPECT_EQ(m_Err.str(), " *** ERROR: collision file " + collisionFile().string() +
                               ": record of 1000 bytes runs past the end of the file (0 bytes left)"
                               " at byte offset 188;"
                               " the rest of the file is not converted\n");
    EXPECT_EQ(writtenTypes(), " +8;");
    EXPECT_NE(readFile(scriptFile()).find("_SPHERE"), std::string::npos);
}

TEST_F(ConversionTest, MissingFileEndsBeforeAnyOtherQuestion)
{
    EXPECT_EQ(convert(kAllTotal), kExitDialogueEnded);
    EXPECT_EQ(m_Err.str(), " *** OPEN ERROR: cannot open collision file " +
                               collisionFile().string() + ": No such file or directory\n");
    EXPECT_EQ(m_Out.str().find("Total energy"), std::string::npos);
    EXPECT_FALSE(fs::exists(scriptFile()));
}

TEST_F(ConversionTest, OutputNeverOverwritesTheCollisionFile)
{
    CCollisionFileBuilder().source(1, 1).save(scriptFile());
    const std::string before = readFile(scriptFile());
    EXPECT_EQ(convert(kAllTotal, scriptFile().string()), kExitDialogueEnded);
    EXPECT_NE(m_Err.str().find("would overwrite the collision file"), std::string::npos);
    EXPECT_EQ(readFile(scriptFile()), before);
}

TEST_F(ConversionTest, NonNumericAnswerEndsWithoutWritingFiles)
{
    CCollisionFileBuilder().source(1, 1).save(collisionFile());
    EXPECT_EQ(convert("\nlots\n"), kExitDialogueEnded);
    EXPECT_EQ(m_Err.str(), " *** INPUT ERROR: \"lots\" is not a number\n");
    EXPECT_FALSE(fs::exists(trackFile()));
}

TEST_F(ConversionTest, UnwritableOutputIsReported)
{
    CCollisionFileBuilder().source(1, 1).save(collisionFile());
    fs::create_directory(trackFile());
    EXPECT_EQ(convert(kAllTotal), kExitFailed);
    EXPECT_NE(m_Err.str().find("cannot create " + trackFile().string()), std::string::npos);
}

#ifdef TRAKOR_FORTRAN_COLLFILE
// The same records as the Fortran fixture writes with unformatted sequential WRITEs.
TEST_F(ConversionTest, FileWrittenByFortranReadsLikeOurOwn)
{
    CCollisionFileBuilder ours;
    ours.trajectory(7, 1.0, 1, {{0, 0, 0}, {29.9792458, 0, 0}, {59.9584916, 0, 0}}, 3.0e-9)
        .deposition(10, 7, 0.5, {1.5, 0, -2})
        .source(2, 2)
        .trajectory(1, 2.0, 2, {{0, 1, 0}, {1, 2, 2.5}}, 4.0e-9);
    const std::string fortran = readFile(TRAKOR_FORTRAN_COLLFILE);
    EXPECT_EQ(fortran, ours.bytes());

    fs::copy_file(TRAKOR_FORTRAN_COLLFILE, collisionFile());
    ASSERT_EQ(convert(kAllTotal), kExitDone) << m_Err.str();
    const std::string fromFortran = readFile(trackFile()) + readFile(scriptFile());
    ours.save(collisionFile());
    ASSERT_EQ(convert(kAllTotal), kExitDone);
    EXPECT_EQ(fromFortran, readFile(trackFile()) + readFile(scriptFile()));
    EXPECT_EQ(writtenTypes(), " +7; +1;");
    EXPECT_NE(fromFortran.find("+2.000000000000000D-09 \n"), std::string::npos);
}
#else
TEST_F(ConversionTest, FileWrittenByFortranReadsLikeOurOwn)
{
    GTEST_SKIP() << "gfortran not found: no collision file written by Fortran";
}
#endif
