#include "cloud/IsodumpReader.h"
#include "cloud/MCNPXReader.h"
#include "cloud/ParticleDataReader.h"
#include "cloud/ParticleTypes.h"
#include "testkit/Scratch.h"
#include "testkit/UiCapture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace nebulo3d;

namespace
{
class ReaderTest : public testkit::CUiTest
{
protected:
    static std::string Data(const char* name)
    {
        return testkit::SourcePath(std::string("cloud/tests/data/") + name);
    }
    const CParticle& Only(const CParticleDataReader& r, int type)
    {
        EXPECT_EQ(r.CountOfType(type), 1u) << "type " << type;
        return *r.AllParticles().find(type)->second;
    }
};

bool ReadOwn(CParticleDataReader& r, const std::string& text)
{
    std::istringstream in(text);
    return r.ReadOwnFormat(in, text.size(), nullptr);
}
} // namespace

TEST_F(ReaderTest, OwnLineTakesEveryDelimiter)
{
    for (const char* line :
         {"8 1.0 0 0 0 0 0 1 2.5", "8\t1.0\t0\t0\t0\t0\t0\t1\t2.5", "8;1.0;0;0;0;0;0;1;2.5",
          "8,1.0,0,0,0,0,0,1,2.5", "8:1.0:0:0:0:0:0:1:2.5", "  8 ,; 1.0 : 0 0 0 0 0 1 2.5  "})
    {
        CParticleDataReader r;
        ASSERT_TRUE(ReadOwn(r, line));
        const CParticle& p = Only(r, 8);
        EXPECT_EQ(p.m_Position, CVector(0, 0, 0));
        EXPECT_EQ(p.m_Direction, CVector(0, 0, 1));
        EXPECT_EQ(p.m_Energy, 2.5);
        EXPECT_EQ(p.m_Weight, 1.0);
        EXPECT_EQ(r.m_ExtentMax, CVector(0, 0, 1));
    }
}

TEST_F(ReaderTest, OwnCountLineAndCommentsAreSkipped)
{
    CParticleDataReader r;
    ASSERT_TRUE(ReadOwn(r, "2\n#x 1 2 3 4 5 6 7 8\nab#c 1 2 3 4 5 6 7 8\n$ hello\n"
                           "1 1 0 0 0 0 0 1 1\n"));
    EXPECT_EQ(r.Count(), 1u);
    EXPECT_TRUE(testkit::MessageTexts(true).empty());
}

TEST_F(ReaderTest, OwnNegativeTypesAreStoredAbove64)
{
    CParticleDataReader r;
    ASSERT_TRUE(ReadOwn(r, "-6 1 0 0 0 0 0 1 1\n-2 1 0 0 0 0 0 1 1\n"));
    EXPECT_EQ(r.Types(), (std::vector<int>{66, 70}));
}

TEST_F(ReaderTest, OwnCorruptLineStopsButKeepsEarlierParticles)
{
    CParticleDataReader r;
    ASSERT_TRUE(r.Read(Data("corrupt.dat"), nullptr));
    EXPECT_EQ(r.Count(), 4u) << "the CR before each LF must not matter";
    EXPECT_EQ(
        testkit::MessageTexts(true),
        (std::vector<std::string>{"error: ERROR: File type not recognized or the information was "
                                  "corrupted!"}));
    EXPECT_EQ(Only(r, 7).m_Energy, 1.0);
}

TEST_F(ReaderTest, OwnUnreadableFieldIsNamedNotReadAsZero)
{
    CParticleDataReader r;
    ASSERT_TRUE(ReadOwn(r, "8 1 nan 0 0 0 0 1 1\n8 1 0 0 0 0 0 1 1e400\n8 1 0x10 0 0 0 0 1 1\n"
                           "8.5 1 0 0 0 0 0 1 1\n8 1 0 0 0 0 0 1 1.5.3\n7 1 5 0 0 0 0 1 1\n"));
    EXPECT_EQ(r.Count(), 1u);
    EXPECT_EQ(Only(r, 7).m_Position, CVector(5, 0, 0));
    EXPECT_EQ(r.Warnings(), (std::vector<std::string>{
                                "line 1: particle not stored: \"nan\" is not a number",
                                "line 2: particle not stored: \"1e400\" is out of range",
                                "line 3: particle not stored: \"0x10\" is not a number",
                                "line 4: particle not stored: the type 8.5 is no whole number",
                                "line 5: particle not stored: \"1.5.3\" is not a number"}));
}

TEST_F(ReaderTest, OwnTypeMinus1000IsNotStored)
{
    CParticleDataReader r;
    ASSERT_TRUE(ReadOwn(r, "-1000 1 0 0 0 0 0 1 1\n"));
    EXPECT_EQ(r.Count(), 0u);
}

TEST_F(ReaderTest, EmptyNameAndMissingFile)
{
    CParticleDataReader r;
    EXPECT_FALSE(r.Read("", nullptr));
    EXPECT_EQ(testkit::MessageTexts(true),
              (std::vector<std::string>{"error: ERROR: No filename specified!"}));
    EXPECT_FALSE(r.Read(Data("no-such-file.dat"), nullptr));
    EXPECT_FALSE(r.Read(Data(""), nullptr)) << "a folder is not a particle file";
}

TEST_F(ReaderTest, ClearResetsLoadedAndEveryTotal)
{
    CParticleDataReader r;
    ASSERT_TRUE(ReadOwn(r, "8 2 1 1 1 0 0 1 5\n"));
    r.Clear();
    EXPECT_FALSE(r.m_Loaded);
    EXPECT_EQ(r.Count(), 0u);
    EXPECT_TRUE(r.Types().empty());
    EXPECT_EQ(r.m_MaxEnergy, 1e-12);
    EXPECT_EQ(r.m_MinWeight, 1e12);
    EXPECT_EQ(r.m_ExtentMin, CVector(1e15, 1e15, 1e15));
}

TEST_F(ReaderTest, TypesSharingANameToggleSeparately)
{
    CParticleDataReader r;
    ASSERT_TRUE(ReadOwn(r, "52 1 0 0 0 0 0 1 1\n54 1 0 0 0 0 0 1 1\n"));
    EXPECT_EQ(PaddedTypeName(52), PaddedTypeName(54));
    r.SetTypeVisible(54, false);
    EXPECT_TRUE(r.TypeVisible(52));
    EXPECT_FALSE(r.TypeVisible(54));
}

TEST_F(ReaderTest, DirectionScalingByEnergyOrWeight)
{
    CParticleDataReader r;
    ASSERT_TRUE(ReadOwn(r, "8 2 0 0 0 0 0 1 5\n7 4 0 0 0 0 0 1 10\n"));
    r.ScaleDirections(CParticleDataReader::EDirectionScale::Energy);
    EXPECT_EQ(Only(r, 8).m_DirectionLength, 0.5);
    r.ScaleDirections(CParticleDataReader::EDirectionScale::Weight);
    EXPECT_EQ(Only(r, 8).m_DirectionLength, 0.5);
    EXPECT_EQ(Only(r, 7).m_DirectionLength, 1.0);
    r.ScaleDirections(CParticleDataReader::EDirectionScale::None);
    EXPECT_EQ(Only(r, 8).m_DirectionLength, 1.0);
}

TEST_F(ReaderTest, TableWithQuirksFollowsItsGrammar)
{
    CMCNPXReader r;
    ASSERT_TRUE(r.Read(Data("table110.mout"), nullptr));
    // The MPI line before the header and the trailing blanks change nothing; "q" is now the
    // antineutron; the 12-field row after 13-field rows keeps its own columns.
    EXPECT_EQ(r.Types(), (std::vector<int>{1, 7, 8, 9}));
    EXPECT_EQ(r.CountOfType(8), 3u);
    const CParticle& h = Only(r, 1);
    EXPECT_EQ(h.m_Position, CVector(10, 0, 0));
    EXPECT_EQ(h.m_Direction, CVector(1, 0, 0));
    EXPECT_EQ(h.m_Energy, 50.0);
    EXPECT_EQ(h.m_Weight, 0.5);
    auto [first, last] = r.AllParticles().equal_range(8);
    bool sawPlain = false;
    for (auto it = first; it != last; ++it)
        if (it->second->m_Position == CVector(10, 10, 0))
        {
            sawPlain = true;
            EXPECT_EQ(it->second->m_Direction, CVector(-1, 0, 0));
            EXPECT_EQ(it->second->m_Energy, 3.0);
        }
    EXPECT_TRUE(sawPlain);
    ASSERT_EQ(r.Warnings().size(), 1u) << "the run-together row is skipped with a warning";
    EXPECT_EQ(r.Warnings()[0], "line 12: the row was skipped: 11 fields, not 12 or 13");
}

// An MPI run: no column header, "master" lines between the rows (12 fields each, once read as
// neutrons), lines padded to 136 columns, the page header repeated in the middle of the table.
std::string MpiTable(int rows)
{
    auto padded = [](std::string line)
    {
        line.resize(std::max<size_t>(line.size(), 136), ' ');
        return line + "\n";
    };
    std::string text = padded("1mcnp     version 6.mpi  ld=05/08/13   09/01/20 10:00:00") +
                       padded("1starting mcrun.  cp0 =  0.01          print table 110");
    for (int nps = 1; nps <= rows; ++nps)
    {
        if (nps % 2 == 0)
            text += padded(" master set rendezvous nps =        " + std::to_string(nps) +
                           ",  work chunks =     4    09/01/20 10:00:01");
        if (nps == 14)
            text += padded("\f1mcnp     version 6.mpi  ld=05/08/13  09/01/20 page 2") +
                    padded("1starting mcrun.  cp0 =  0.01          print table 110");
        text += padded("   " + std::to_string(nps) + " " + std::to_string(nps) +
                       ".0 0.0 0.0 1 0 0.0 0.0 1.0 2.0 1.0 0.0");
    }
    return text + padded("1problem summary") + padded("  51 1.0 0 0 1 0 0 0 1 2 1 0");
}

TEST_F(ReaderTest, TableOfAnMpiRunReadsEveryRowAndNothingElse)
{
    CMCNPXReader r;
    const std::string text = MpiTable(50);
    std::istringstream in(text);
    ASSERT_TRUE(r.ReadTable(in, text.size(), nullptr));
    EXPECT_EQ(r.Count(), 50u);
    EXPECT_TRUE(r.Warnings().empty());
    double sum = 0;
    for (const auto& [type, p] : r.AllParticles())
        sum += p->m_Position.x;
    EXPECT_EQ(sum, 50 * 51 / 2) << "every row once, none from the summary after the table";
    ASSERT_EQ(r.Notes().size(), 1u);
    EXPECT_EQ(r.Notes()[0].substr(0, 3), "26 ") << r.Notes()[0]; // 25 MPI lines, a page line
}

TEST_F(ReaderTest, TableRowWithAnUnreadableNumberIsSkippedByName)
{
    CMCNPXReader r;
    std::istringstream in("print table 110\n nps    x\n\n"
                          "1 1 2 3 4 5 0 0 1 2 3 4\n"
                          "2 1 nan 3 4 5 0 0 1 2 3 4\n"
                          "3 1 2 3 4 5 0 0 1 1e400 3 4\n"
                          "4 1 2 3 4 5 0 0 1 *********** 3 4\n"
                          "5 1 2 3 4 5 0 0 1 2 3 4\n");
    ASSERT_TRUE(r.ReadTable(in, 100, nullptr));
    EXPECT_EQ(r.Count(), 2u);
    EXPECT_EQ(r.Warnings(),
              (std::vector<std::string>{"line 5: the row was skipped: \"nan\" is not a number",
                                        "line 6: the row was skipped: \"1e400\" is out of range",
                                        "line 7: the row was skipped: \"***********\" is not a "
                                        "number"}));
}

TEST_F(ReaderTest, TableHeaderNpsPar)
{
    CMCNPXReader r;
    std::istringstream in("print table 110\n nps par x\nskip\n"
                          "1 n 1 2 3 4 5 0 0 1 2 3 4\n2 h 1 2 3 4 5 0 0 1 2 3 4\n"
                          "3 q 1 2 3 4 5 0 0 1 2 3 4\nend\n");
    ASSERT_TRUE(r.ReadTable(in, 100, nullptr));
    EXPECT_EQ(r.Types(), (std::vector<int>{1, 8, 9}));
}

TEST_F(ReaderTest, TableMissingIsRejected)
{
    CMCNPXReader r;
    std::istringstream in("nps    x\n1 1 2 3 4 5 0 0 1 2 3 4\n");
    EXPECT_FALSE(r.ReadTable(in, 10, nullptr));
    EXPECT_EQ(testkit::MessageTexts(true),
              (std::vector<std::string>{"error: ERROR: Table 110 was not found in the file!"}));
}

TEST(Symbols, DesignatorsGiveTheirFlukaTypes)
{
    const std::pair<const char*, int> expected[] = {
        {"h", 1},  {"g", 2},  {"e", 3},  {"f", 4},  {"u", 5},  {"p", 7},  {"n", 8},
        {"q", 9},  {"|", 11}, {"^", 12}, {"/", 13}, {"*", 14}, {"k", 15}, {"l", 17},
        {"%", 19}, {"-", 20}, {"+", 21}, {"v", 27}, {"c", 35}, {"w", 37}, {"o", 38},
        {"@", 39}, {"d", 67}, {"t", 68}, {"s", 69}, {"a", 70}};
    for (const auto& [symbol, type] : expected)
        EXPECT_EQ(McnpxSymbolType(symbol), type) << symbol;
    for (const char* unknown : {"N", "nn", "", "x", "#"})
        EXPECT_EQ(McnpxSymbolType(unknown), NoType) << unknown;
}

TEST(Names, PaddedAsTheTypeListShowsThem)
{
    EXPECT_EQ(PaddedTypeName(1), "Proton               ");
    EXPECT_EQ(PaddedTypeName(11), "Negative_Muon      ");
    EXPECT_EQ(PaddedTypeName(72).substr(0, 7), "Type_72");
}
