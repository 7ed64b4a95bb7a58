// The program as a user runs it: answers in, files and messages out.
#include "CollisionFileBuilder.h"
#include "TestFiles.h"
#include "Trakor.h"

#include <gtest/gtest.h>

#include <limits>
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
        fs::current_path(CurrentTestFolder());
    }
    void TearDown() override { fs::current_path(m_Previous); }

    static fs::path CollisionFile() { return "run1"; }
    static fs::path TrackFile() { return "run1.tracks"; }
    static fs::path ScriptFile() { return "collfile.scr"; }

    // Runs the program with the file name and then the other answers.
    int Convert(const std::string& answers, const std::string& name = "run1")
    {
        std::istringstream in(name + "\n" + answers);
        m_Out.str("");
        m_Err.str("");
        return RunTrakor(in, m_Out, m_Err);
    }

    // Particle types in file order.
    std::string WrittenTypes() const
    {
        std::istringstream text(ReadFile(TrackFile()));
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
const std::string AllTotal = "\n\n\n1\n\n\n";
const std::string OneGroup = "ENERGYGROUP_TOT +0.000000000E+00,+1.000000000E+05 \n";

} // namespace

TEST_F(ConversionTest, DialogueInOrderThenSummary)
{
    CCollisionFileBuilder()
        .Trajectory(7, 1.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9)
        .Save(CollisionFile());
    ASSERT_EQ(Convert(AllTotal), ExitDone) << m_Err.str();
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
        .Trajectory(1, 2.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9)
        .Trajectory(7, 2.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9)
        .Save(CollisionFile());
    ASSERT_EQ(Convert("1\n1.0\n1.1\n1\n\n\n"), ExitDone);
    EXPECT_EQ(WrittenTypes(), " +1;");
    EXPECT_EQ(ReadFile(TrackFile()).substr(0, 51),
              "ENERGYGROUP_KIN +1.000000000E+00,+1.100000000E+00 \n");
}

TEST_F(ConversionTest, ParticleTypeAnswer13SelectsProtons)
{
    CCollisionFileBuilder()
        .Trajectory(13, 2.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9)
        .Trajectory(1, 2.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9)
        .Save(CollisionFile());
    ASSERT_EQ(Convert("\n\n\n1\n\n13\n"), ExitDone);
    EXPECT_EQ(WrittenTypes(), " +1;");
}

TEST_F(ConversionTest, SourceOnlyFileGivesGroupsAndAnEmptyScriptLine)
{
    CCollisionFileBuilder().Source(1, 3).Source(2, 0).Save(CollisionFile());
    ASSERT_EQ(Convert(AllTotal), ExitDone);
    EXPECT_EQ(ReadFile(TrackFile()), OneGroup);
    EXPECT_EQ(ReadFile(ScriptFile()), "\n");
}

TEST_F(ConversionTest, DepositionsBecomeSpheresAfterAllLines)
{
    CCollisionFileBuilder()
        .Deposition(11, 8, 5.0, {1, 2, 3})
        .Trajectory(8, 5.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9)
        .Deposition(11, 8, 1.0e6, {1, 2, 3}) // outside the energy range
        .Save(CollisionFile());
    ASSERT_EQ(Convert(AllTotal), ExitDone);
    const std::string script = ReadFile(ScriptFile());
    EXPECT_LT(script.find("_LINE"), script.find("_SPHERE"));
    EXPECT_EQ(script.find("_SPHERE"), script.rfind("_SPHERE"));
    EXPECT_NE(script.find("+1.000000000E+00,+1.385000037E-20,+1.385000037E-20\n\n_LAYER\n"
                          "_NEW\nCOLL08_11\n"),
              std::string::npos);
}

TEST_F(ConversionTest, UnknownParticleIsReportedAndLeftOutOfBothFiles)
{
    CCollisionFileBuilder()
        .Trajectory(50, 3.0, 4, {{0, 0, 0}, {1, 0, 0}}, 1e-9)
        .Save(CollisionFile());
    ASSERT_EQ(Convert(AllTotal), ExitDone);
    EXPECT_NE(m_Out.str().find(" ** WARNING: Unknown particle 50 encountered!\n"),
              std::string::npos);
    EXPECT_EQ(ReadFile(TrackFile()), OneGroup);
    EXPECT_EQ(ReadFile(ScriptFile()), "\n");
}

TEST_F(ConversionTest, RecordsWithNumbersThatAreNotFiniteAreCountedAndLeftOut)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    CCollisionFileBuilder()
        .Trajectory(8, 5.0, 1, {{0, 0, 0}, {nan, 0, 0}}, 1e-9)
        .Trajectory(8, 5.0, 1, {{0, 0, 0}, {1, inf, 0}}, 1e-9)
        .Trajectory(1, 5.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9)
        .Deposition(11, 8, 5.0, {1, -inf, 3})
        .Save(CollisionFile());
    ASSERT_EQ(Convert(AllTotal), ExitDone);
    EXPECT_EQ(WrittenTypes(), " +1;");
    const std::string tracks = ReadFile(TrackFile());
    EXPECT_EQ(tracks.find("NaN"), std::string::npos) << tracks;
    EXPECT_EQ(tracks.find("Inf"), std::string::npos) << tracks;
    EXPECT_EQ(ReadFile(ScriptFile()).find("_SPHERE"), std::string::npos);
    EXPECT_NE(m_Out.str().find(" 3 records with a coordinate, energy or time that is not a finite "
                               "number were left out\n"),
              std::string::npos)
        << m_Out.str();
}

TEST_F(ConversionTest, DamagedFileKeepsWhatCameBeforeAndFails)
{
    CCollisionFileBuilder builder;
    builder.Trajectory(8, 5.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9).Deposition(11, 8, 5.0, {1, 2, 3});
    builder.Marker(1000);
    builder.Save(CollisionFile());
    EXPECT_EQ(Convert(AllTotal), ExitCorruptInput);
    EXPECT_EQ(m_Err.str(), " *** ERROR: collision file " + CollisionFile().string() +
                               ": record of 1000 bytes runs past the end of the file (0 bytes left)"
                               " at byte offset 188;"
                               " the rest of the file is not converted\n");
    EXPECT_EQ(WrittenTypes(), " +8;");
    EXPECT_NE(ReadFile(ScriptFile()).find("_SPHERE"), std::string::npos);
}

TEST_F(ConversionTest, MissingFileEndsBeforeAnyOtherQuestion)
{
    EXPECT_EQ(Convert(AllTotal), ExitDialogueEnded);
    EXPECT_EQ(m_Err.str(), " *** OPEN ERROR: cannot open collision file " +
                               CollisionFile().string() + ": No such file or directory\n");
    EXPECT_EQ(m_Out.str().find("Total energy"), std::string::npos);
    EXPECT_FALSE(fs::exists(ScriptFile()));
}

TEST_F(ConversionTest, OutputNeverOverwritesTheCollisionFile)
{
    CCollisionFileBuilder().Source(1, 1).Save(ScriptFile());
    const std::string before = ReadFile(ScriptFile());
    EXPECT_EQ(Convert(AllTotal, ScriptFile().string()), ExitDialogueEnded);
    EXPECT_NE(m_Err.str().find("would overwrite the collision file"), std::string::npos);
    EXPECT_EQ(ReadFile(ScriptFile()), before);
}

TEST_F(ConversionTest, NonNumericAnswerEndsWithoutWritingFiles)
{
    CCollisionFileBuilder().Source(1, 1).Save(CollisionFile());
    EXPECT_EQ(Convert("\nlots\n"), ExitDialogueEnded);
    EXPECT_EQ(m_Err.str(), " *** INPUT ERROR: \"lots\" is not a number\n");
    EXPECT_FALSE(fs::exists(TrackFile()));
}

TEST_F(ConversionTest, UnwritableOutputIsReported)
{
    CCollisionFileBuilder().Source(1, 1).Save(CollisionFile());
    fs::create_directory(TrackFile());
    EXPECT_EQ(Convert(AllTotal), ExitFailed);
    // The conversion runs into a temporary file, which cannot take the folder's name.
    EXPECT_NE(m_Err.str().find("cannot write " + TrackFile().string() + ": Is a directory"),
              std::string::npos)
        << m_Err.str();
    EXPECT_TRUE(fs::is_directory(TrackFile()));
    EXPECT_FALSE(fs::exists(TrackFile().string() + ".part"));
}

#ifdef TRAKOR_FORTRAN_COLLFILE
// The same records as the Fortran fixture writes with unformatted sequential WRITEs.
TEST_F(ConversionTest, FileWrittenByFortranReadsLikeOurOwn)
{
    CCollisionFileBuilder ours;
    ours.Trajectory(7, 1.0, 1, {{0, 0, 0}, {29.9792458, 0, 0}, {59.9584916, 0, 0}}, 3.0e-9)
        .Deposition(10, 7, 0.5, {1.5, 0, -2})
        .Source(2, 2)
        .Trajectory(1, 2.0, 2, {{0, 1, 0}, {1, 2, 2.5}}, 4.0e-9);
    const std::string fortran = ReadFile(TRAKOR_FORTRAN_COLLFILE);
    EXPECT_EQ(fortran, ours.Bytes());

    fs::copy_file(TRAKOR_FORTRAN_COLLFILE, CollisionFile());
    ASSERT_EQ(Convert(AllTotal), ExitDone) << m_Err.str();
    const std::string fromFortran = ReadFile(TrackFile()) + ReadFile(ScriptFile());
    ours.Save(CollisionFile());
    ASSERT_EQ(Convert(AllTotal), ExitDone);
    EXPECT_EQ(fromFortran, ReadFile(TrackFile()) + ReadFile(ScriptFile()));
    EXPECT_EQ(WrittenTypes(), " +7; +1;");
    EXPECT_NE(fromFortran.find("+2.000000000000000D-09 \n"), std::string::npos);
}
#else
TEST_F(ConversionTest, FileWrittenByFortranReadsLikeOurOwn)
{
    GTEST_SKIP() << "gfortran not found: no collision file written by Fortran";
}
#endif
