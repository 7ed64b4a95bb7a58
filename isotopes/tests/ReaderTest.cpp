// The emitter container, the collector grammar and the isodump conversion with factor lines and
// decay blocks.
#include "common/ColorTable.h"
#include "isodump/IsodumpReaderDlg.h"
#include "isotopes/Elements.h"
#include "isotopes/IsodumpReader.h"
#include "isotopes/NucVecCollectorReader.h"
#include "isotopes/Nuclira3DDlg.h"
#include "platform/Controls.h"
#include "testkit/Scratch.h"
#include "testkit/UiCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

using namespace nuclira3d;
using testkit::MessageTexts;

namespace
{
struct CEmitterView
{
    std::string m_Name;
    CVector m_Position;
    double m_Weight;
};

// Emitters sorted by name, position and weight, for comparisons that ignore hash order.
std::vector<CEmitterView> Emitters(const CIsotopeDataReader& reader)
{
    std::vector<CEmitterView> out;
    for (const auto& [z, e] : reader.AllEmitters())
        out.push_back({NuclideName(e->m_Z, e->m_A), e->m_Position, e->m_Weight});
    std::sort(out.begin(), out.end(),
              [](const CEmitterView& a, const CEmitterView& b)
              {
                  return std::tie(a.m_Name, a.m_Position.x, a.m_Weight) <
                         std::tie(b.m_Name, b.m_Position.x, b.m_Weight);
              });
    return out;
}

std::vector<std::string> Names(const CIsotopeDataReader& reader)
{
    std::vector<std::string> names;
    for (const auto& e : Emitters(reader))
        names.push_back(e.m_Name + "@" + std::to_string(e.m_Weight).substr(0, 4));
    return names;
}

bool ReadCollector(CNucVecCollectorReader& reader, const std::string& text)
{
    std::istringstream in(text);
    return reader.ReadStream(in, text.size(), nullptr);
}

class CollectorTest : public testkit::CUiTest
{
protected:
    CNucVecCollectorReader m_Reader;
};

class IsodumpTest : public testkit::CUiTest
{
protected:
    bool Read(const std::string& text, int choice)
    {
        testkit::Ui().QueueModal("Isodump reader", [choice](CDialog& dlg)
                                 { dlg.UserSelect(isodump::IDC_ISO_TIMES, choice); });
        std::istringstream in(text);
        return m_Reader.ReadStream(in, text.size(), nullptr);
    }
    CIsodumpReader m_Reader;
};
} // namespace

TEST(Elements, SymbolsUpTo118)
{
    EXPECT_EQ(ElementSymbol(0), "blank");
    EXPECT_EQ(ElementSymbol(1), "H");
    EXPECT_EQ(ElementSymbol(26), "Fe");
    EXPECT_EQ(ElementSymbol(82), "Pb");
    EXPECT_EQ(ElementSymbol(92), "U");
    EXPECT_EQ(ElementSymbol(106), "Sg");
    EXPECT_EQ(ElementSymbol(107), "Ns");
    EXPECT_EQ(ElementSymbol(111), "Rg");
    EXPECT_EQ(ElementSymbol(112), "Uub");
    EXPECT_EQ(ElementSymbol(117), "Uus");
    EXPECT_EQ(ElementSymbol(118), "Uuo");
    EXPECT_EQ(ElementSymbol(119), "");
    EXPECT_EQ(ElementSymbol(-1000), "");
}

TEST(Elements, NuclideNames)
{
    EXPECT_EQ(NuclideName(27, 60), "Co-60");
    EXPECT_EQ(NuclideName(55, 137), "Cs-137");
    EXPECT_EQ(NuclideName(200, 3), "Z200-3") << "an unknown element still has a name";
}

TEST(Elements, ColoursBeyondTheTableAreDefined)
{
    EXPECT_EQ(ElementColor(1), CColorTable::Instance().Get(1));
    EXPECT_EQ(ElementColor(70), CColorTable::Instance().Get(70));
    for (int z : {71, 82, 83, 92, 118, 1000, -1000})
        EXPECT_EQ(ElementColor(z), CVector(0.75, 0.75, 0.75)) << z;
}

TEST(Container, TotalsLeaveOutWeightsThatAreNoNumbers)
{
    CIsotopeDataReader reader;
    for (double w : {2.0, std::nan(""), 5.0, double(INFINITY)})
    {
        auto e = std::make_unique<CIsotope>();
        e->m_Z = 27;
        e->m_A = 60;
        e->m_Weight = w;
        ASSERT_TRUE(reader.Add(std::move(e)));
    }
    EXPECT_EQ(reader.Count(), 4u);
    EXPECT_EQ(reader.m_TotalWeight, 7);
    EXPECT_EQ(reader.m_MinWeight, 2);
    EXPECT_EQ(reader.m_MaxWeight, 5);
    EXPECT_EQ(reader.NuclideWeight(27, 60), 7);
    reader.Clear();
    EXPECT_EQ(reader.Count(), 0u);
    EXPECT_EQ(reader.m_TotalWeight, 0);
    EXPECT_TRUE(reader.Masses().empty());
}

TEST(Container, AnEmitterWithoutAWeightHasZero)
{
    EXPECT_EQ(CIsotope().m_Weight, 0);
}

TEST(Container, FactorTableKeepsTheFirstAndDoesNotEnterLookups)
{
    CIsotopeDataReader reader;
    EXPECT_EQ(reader.Factor(27, 60), 0);
    reader.InsertFactor(27, 60, 0.5);
    EXPECT_EQ(reader.Factor(27, 60), 0.5) << "a lookup before must not have entered a 0";
    reader.InsertFactor(27, 60, 0.7);
    EXPECT_EQ(reader.Factor(27, 60), 0.5);
}

TEST(Container, VisibilityByElementAndMass)
{
    CIsotopeDataReader reader;
    for (int a : {60, 58, 60})
    {
        auto e = std::make_unique<CIsotope>();
        e->m_Z = 27;
        e->m_A = a;
        reader.Add(std::move(e));
    }
    reader.SetMassVisible(27, 60, false);
    int shown = 0;
    for (const auto& [z, e] : reader.AllEmitters())
        shown += e->m_Visible;
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(reader.Masses().at(27).at(60));
    EXPECT_TRUE(reader.Masses().at(27).at(58));
    reader.SetElementVisible(27, false);
    for (const auto& [z, e] : reader.AllEmitters())
        EXPECT_FALSE(e->m_Visible);
}

TEST_F(CollectorTest, HeaderNamesTheNuclideOfTheLinesAfterIt)
{
    ASSERT_TRUE(ReadCollector(m_Reader, "# 27 60 0\n1 2 3 1\n4,5;6\t3\n# 55 137 0\n7 8 9 4\n"));
    const auto e = Emitters(m_Reader);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].m_Name, "Co-60");
    EXPECT_EQ(e[0].m_Position, CVector(1, 2, 3));
    EXPECT_EQ(e[1].m_Name, "Co-60");
    EXPECT_EQ(e[1].m_Position, CVector(4, 5, 6));
    EXPECT_EQ(e[2].m_Name, "Cs-137");
    EXPECT_EQ(m_Reader.m_TotalWeight, 8);
    EXPECT_EQ(m_Reader.m_MinWeight, 1);
    EXPECT_EQ(m_Reader.m_MaxWeight, 4);
    EXPECT_EQ(m_Reader.m_ExtentMin, CVector(1, 2, 3));
    EXPECT_EQ(m_Reader.m_ExtentMax, CVector(7, 8, 9));
    for (const auto& [z, p] : m_Reader.AllEmitters())
        EXPECT_EQ(p->m_Direction, CVector(0, 0, 1));
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(CollectorTest, MissingOrQuestionedWeightIsNaNOutsideTheTotals)
{
    ASSERT_TRUE(ReadCollector(m_Reader, "# 27 60 0\n1 2 3\n1 2 3 ?\n1 2 3 2\n"));
    ASSERT_EQ(m_Reader.Count(), 3u);
    int nan = 0;
    for (const auto& [z, p] : m_Reader.AllEmitters())
        nan += std::isnan(p->m_Weight);
    EXPECT_EQ(nan, 2);
    EXPECT_EQ(m_Reader.m_TotalWeight, 2);
    EXPECT_EQ(m_Reader.m_MinWeight, 2);
    EXPECT_EQ(m_Reader.WarningCount(), 2u);
}

TEST_F(CollectorTest, BlankLinesSkippedShortLinesRefusedAndCounted)
{
    ASSERT_TRUE(ReadCollector(m_Reader, "# 27 60 0\r\n\r\n   \n1 2\n1 2 3 4\r\n"));
    EXPECT_EQ(m_Reader.Count(), 1u);
    ASSERT_EQ(m_Reader.WarningCount(), 1u);
    EXPECT_EQ(m_Reader.Warnings()[0], "line 4: \"1 2\" has fewer than 3 fields; skipped");
}

TEST_F(CollectorTest, TrailingTextStopsTheReadKeepingWhatCameBefore)
{
    ASSERT_TRUE(ReadCollector(m_Reader, "# 27 60 0\n1 2 3 4\n1 2 3 4abc\n5 6 7 8\n"));
    EXPECT_EQ(m_Reader.Count(), 1u);
    EXPECT_EQ(MessageTexts(true), (std::vector<std::string>{"error: unrecognized numeric data"}));
    EXPECT_EQ(m_Reader.Warnings().back(),
              "line 3: \"4abc\" is no number; the rest of the file was not read");
}

TEST_F(CollectorTest, FirstLineMustBeAHeader)
{
    for (const char* text : {"", "1 2 3 4\n", "#\n1 2 3 4\n", "# 27 x 0\n"})
    {
        testkit::Ui().Reset();
        CNucVecCollectorReader reader;
        EXPECT_FALSE(ReadCollector(reader, text)) << text;
        EXPECT_EQ(MessageTexts(true),
                  (std::vector<std::string>{"error: ERROR: invalid file format!"}))
            << text;
    }
}

TEST_F(CollectorTest, EmptyNameAndMissingFile)
{
    EXPECT_FALSE(m_Reader.Read("", nullptr));
    EXPECT_EQ(MessageTexts(true),
              (std::vector<std::string>{"error: ERROR: No filename specified!"}));
    testkit::Ui().Reset();
    EXPECT_FALSE(m_Reader.Read("/no/such/file.dat", nullptr));
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(CollectorTest, EmittersAfterABadHeaderAreSkippedNotMisnamed)
{
    ASSERT_TRUE(
        ReadCollector(m_Reader, "# 27 60 0\n1 2 3 4\n# 27\n5 6 7 8\n# 55 137 0\n1 1 1 1\n"));
    EXPECT_EQ(Names(m_Reader), (std::vector<std::string>{"Co-60@4.00", "Cs-137@1.00"}));
    EXPECT_EQ(m_Reader.WarningCount(), 2u);
}

TEST_F(CollectorTest, BadInputCorpusNeverCrashesAndAlwaysSaysSomething)
{
    for (const auto& entry :
         std::filesystem::directory_iterator(testkit::SourcePath("isotopes/tests/bad")))
    {
        if (entry.path().extension() != ".dat") continue;
        testkit::Ui().Reset();
        CNucVecCollectorReader reader;
        const bool ok = reader.Read(entry.path().string(), nullptr);
        EXPECT_TRUE(!ok || reader.WarningCount() > 0 || !MessageTexts().empty())
            << entry.path() << " loaded without a word";
        EXPECT_TRUE(std::isfinite(reader.m_TotalWeight)) << entry.path();
    }
}

TEST(DataKind, ByExtensionWithoutRegardToCase)
{
    EXPECT_EQ(KindFromPath("a/b.DAT"), EDataKind::Collector);
    EXPECT_EQ(KindFromPath("b.dat"), EDataKind::Collector);
    EXPECT_EQ(KindFromPath("b.out"), EDataKind::Isodump);
    EXPECT_EQ(KindFromPath("b.txt"), EDataKind::Isodump);
    EXPECT_EQ(KindFromPath("b"), EDataKind::Isodump);
}

TEST_F(IsodumpTest, FactorLinesAndDecayBlocksForTheSecondCoolingTime)
{
    ASSERT_TRUE(Read(testkit::ReadText(testkit::SourcePath("isotopes/tests/data/isodump.out")), 1));
    EXPECT_EQ(Names(m_Reader),
              (std::vector<std::string>{"Ba-134@1.00", "Ba-137@4.00", "Co-60@0.50", "Co-60@1.00",
                                        "Cs-134@4.00", "Fe-56@0.00", "Fe-56@15.0"}));
    EXPECT_EQ(m_Reader.m_TotalWeight, 25.5);
    EXPECT_EQ(m_Reader.Factor(26, 56), 3) << "the earlier lookup entered no 0";
    EXPECT_EQ(m_Reader.m_ExtentMin, CVector(-1, -2, -3));
    EXPECT_EQ(m_Reader.m_ExtentMax, CVector(8, 8, 9));
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(IsodumpTest, FirstCoolingTime)
{
    ASSERT_TRUE(Read(testkit::ReadText(testkit::SourcePath("isotopes/tests/data/isodump.out")), 0));
    EXPECT_EQ(Names(m_Reader),
              (std::vector<std::string>{"Co-60@1.00", "Co-60@2.00", "Cs-134@0.00", "Cs-137@7.20",
                                        "Fe-55@0.90", "Fe-56@0.00", "Fe-56@5.00"}));
}

TEST_F(IsodumpTest, RecordWithoutFactorGetsWeightZero)
{
    ASSERT_TRUE(Read("1 1\n  0s\n#1 -1 27 60 0 0 1 2 3 7\n", 0));
    EXPECT_EQ(Names(m_Reader), (std::vector<std::string>{"Co-60@0.00"}));
}

TEST_F(IsodumpTest, OtherRecordKindsKeepDefaults)
{
    ASSERT_TRUE(Read("1 1\n  0s\n#3 1 27 60 0 1 2 3 4 5\n", 0));
    ASSERT_EQ(m_Reader.Count(), 1u);
    const CIsotope& e = *m_Reader.AllEmitters().begin()->second;
    EXPECT_EQ(e.m_Position, CVector());
    EXPECT_EQ(e.m_Weight, 0);
    EXPECT_EQ(NuclideName(e.m_Z, e.m_A), "Co-60");
}

TEST_F(IsodumpTest, AMissingFactorLineDoesNotSwallowTheNextRecord)
{
    // The factor line of the first record is missing: the second record was once read as it.
    ASSERT_TRUE(Read("1 2\n  0s\n  1d\n#1 1 27 60 0 0 1 2 3 7\n#1 1 26 56 0 0 4 5 6 2\n"
                     "3.0 5.0\n",
                     0));
    EXPECT_EQ(Names(m_Reader), (std::vector<std::string>{"Fe-56@6.00"}));
    EXPECT_EQ(m_Reader.Warnings(),
              (std::vector<std::string>{"line 4: the factor line is missing; record skipped"}));
    // The same for a decay block whose count line is a record.
    CIsodumpReader decay;
    testkit::Ui().QueueModal("Isodump reader", [](CDialog&) {});
    const std::string text = "1 1\n  0s\n#2 1 27 60 0 0 1 2 3\n#2 -1 27 60 0 0 1 2 3\n";
    std::istringstream in(text);
    ASSERT_TRUE(decay.ReadStream(in, text.size(), nullptr));
    EXPECT_EQ(decay.Count(), 1u);
    EXPECT_EQ(decay.Warnings(),
              (std::vector<std::string>{"line 3: the decay block is missing; record skipped"}));
}

TEST_F(IsodumpTest, UnreadableFieldsSkipTheRecordByName)
{
    ASSERT_TRUE(Read("1 1\n  0s\n#1 -1 27 60 0 0 nan 2 3 7\n#1 -1 2x 60 0 0 1 2 3 7\n"
                     "#1 -1 27 60 0 0 1 2 3 1e400\n#1 1 27 60 0 0 1 2 3 7\n***\n"
                     "#1 -1 27 60 0 0 1 2 3 7\n",
                     0));
    EXPECT_EQ(m_Reader.Count(), 1u);
    EXPECT_EQ(m_Reader.Warnings(),
              (std::vector<std::string>{"line 3: record skipped: \"nan\" is not a number",
                                        "line 4: record skipped: \"2x\" is not a number",
                                        "line 5: record skipped: \"1e400\" is out of range",
                                        "line 7: record skipped: its factor \"***\" is not a "
                                        "number"}));
}

TEST_F(CollectorTest, NonFinitePositionsAndInfiniteWeightsAreNoEmitters)
{
    ASSERT_TRUE(ReadCollector(m_Reader, "# 27 60 0\n1 2 3 4\ninf 2 3 4\n1 ? 3 4\n1 2 1e999 4\n"
                                        "1 2 3 inf\n1 2 3 ?\n"));
    EXPECT_EQ(m_Reader.Count(), 2u);
    EXPECT_EQ(m_Reader.m_ExtentMax, CVector(1, 2, 3));
    EXPECT_EQ(m_Reader.Warnings(),
              (std::vector<std::string>{"line 3: the position is not finite; emitter skipped",
                                        "line 4: the position is not finite; emitter skipped",
                                        "line 5: the position is not finite; emitter skipped",
                                        "line 6: the weight is not finite; emitter skipped",
                                        "line 7: the weight is not a number; it is left out of "
                                        "every total"}));
}

TEST_F(IsodumpTest, BadInputCorpusNeverCrashes)
{
    for (const auto& entry :
         std::filesystem::directory_iterator(testkit::SourcePath("isotopes/tests/bad")))
    {
        if (entry.path().extension() != ".out") continue;
        testkit::Ui().Reset();
        CIsodumpReader reader;
        const std::string text = testkit::ReadText(entry.path().string());
        std::istringstream in(text);
        testkit::Ui().QueueModal("Isodump reader", [](CDialog&) {});
        const bool ok = reader.ReadStream(in, text.size(), nullptr);
        EXPECT_TRUE(!ok || reader.WarningCount() > 0 || reader.Count() > 0) << entry.path();
        EXPECT_LE(reader.Count(), 2u) << entry.path();
    }
}

TEST(CollectorNumbers, AsTheStandardConversionReadsThem)
{
    for (const char* text : {"1", "-2.5", "+3", "1e5", "1E-3", ".5", "5.", "0x1p3", "inf", "-nan",
                             "1e999", "1e-400", "00012", "-0"})
    {
        const auto v = CollectorNumber(text);
        ASSERT_TRUE(v) << text;
        const double expected = std::strtod(text, nullptr);
        if (std::isnan(expected))
            EXPECT_TRUE(std::isnan(*v)) << text;
        else
            EXPECT_EQ(*v, expected) << text;
    }
    EXPECT_TRUE(std::isnan(*CollectorNumber("")));
    EXPECT_TRUE(std::isnan(*CollectorNumber("?x")));
    for (const char* text : {"abc", "1x", "1.2.3", "e5", "--1", "1e"})
        EXPECT_FALSE(CollectorNumber(text)) << text;
}
