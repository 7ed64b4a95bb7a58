#include "volume/formats/FlukaValueSource.h"
#include "TestHelpers.h"
#include "testkit/ThreadCount.h"
#include "volume/formats/FlukaXYZAsciiIO.h"
#include "volume/formats/Records.h"

#include <omp.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace volumira3d
{
using namespace test;
using testkit::CThreadCount;

namespace
{
// What reading record by record gives: the values, and the warnings shown on the way.
struct CReading
{
    std::vector<double> m_Values;
    size_t m_Messages = 0;
    std::string m_StopLine; // the line from where reading stopped
};

CReading ReadRecordByRecord(const std::string& path, const CHeadlessBackend& ui)
{
    CReading reading;
    CTextScanner in;
    EXPECT_TRUE(in.Open(path));
    CFlukaData record;
    bool warned = false;
    while (ExtractRecord(in, record, warned))
        reading.m_Values.push_back(record.m_Value);
    reading.m_Messages = ui.Messages().size();
    in.ReadLine(reading.m_StopLine);
    return reading;
}

CReading ReadInParallel(const std::string& path, const CHeadlessBackend& ui, size_t pieceBytes)
{
    CReading reading;
    CFlukaValueSource source(path, 0, 1.0, 1 << 16, pieceBytes);
    EXPECT_TRUE(source.Opened());
    double value = 0;
    while (source.Next(value))
        reading.m_Values.push_back(value);
    reading.m_Messages = ui.Messages().size();
    return reading;
}

// Takes some values, then what is left behind them.
CRestOfBlock ReadRestInParallel(const std::string& path, size_t take, size_t pieceBytes)
{
    CFlukaValueSource source(path, 0, 1.0, 1 << 16, pieceBytes);
    double value = 0;
    for (size_t i = 0; i < take; ++i)
        EXPECT_TRUE(source.Next(value));
    return source.Rest();
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}
} // namespace

class FlukaValueSourceTest : public CLoaderTest
{
protected:
    // Behind every number of values taken, the rest counts the others, ends with the last one
    // and stops on the line where reading record by record stops; it warns about nothing.
    void ExpectSameRest(const std::string& path, const CReading& expected, size_t piece)
    {
        const size_t all = expected.m_Values.size();
        for (size_t take = 0; take <= all; take += std::max<size_t>(1, all / 3))
        {
            Ui().Reset();
            const CRestOfBlock rest = ReadRestInParallel(path, take, piece);
            ASSERT_EQ(rest.m_Values, static_cast<long long>(all - take))
                << "piece " << piece << ", " << take << " taken";
            if (all > 0)
            {
                ASSERT_EQ(rest.m_Last, expected.m_Values.back()) << "piece " << piece;
            }
            ASSERT_EQ(rest.m_StopLine, expected.m_StopLine) << "piece " << piece;
            if (take == 0)
            {
                ASSERT_TRUE(Ui().Messages().empty());
            }
        }
    }

    // Every piece size from one byte to past the text, with 1, 2 and 3 threads, reads what
    // reading record by record reads, bit for bit, with as many warnings.
    void ExpectSameAtEveryBoundary(const std::string& body)
    {
        const std::string path = WriteScratch("body.txt", body);
        Ui().Reset();
        const CReading expected = ReadRecordByRecord(path, Ui());
        for (int threads : {1, 2, 3})
        {
            CThreadCount count(threads);
            for (size_t piece = 1; piece <= body.size() + 1; ++piece)
            {
                Ui().Reset();
                const CReading got = ReadInParallel(path, Ui(), piece);
                ASSERT_TRUE(SameBits(got.m_Values, expected.m_Values))
                    << "piece " << piece << ", " << threads << " threads: " << got.m_Values.size()
                    << " values against " << expected.m_Values.size();
                ASSERT_EQ(got.m_Messages, expected.m_Messages) << "piece " << piece;
                ExpectSameRest(path, expected, piece);
            }
        }
    }
};

TEST_F(FlukaValueSourceTest, BoundariesInsideNumbersExponentsAndLineEnds)
{
    ExpectSameAtEveryBoundary("     1.2345E-03  2.0000E+00 -7.5000E-11\n     0.0000E+00 "
                              "1.7976931348623157E+308\r\n 4.9E-324 0.1 123456789012345678901\n");
}

TEST_F(FlukaValueSourceTest, BrokenExponentRepairAcrossEveryBoundary)
{
    ExpectSameAtEveryBoundary("  1.0-3  2.5000E+00  3.0+2 4.0000-102\n 5.5-1-1\n 7.0\n");
}

TEST_F(FlukaValueSourceTest, ReadingStopsWhereRecordByRecordStops)
{
    ExpectSameAtEveryBoundary(" 1.0 2.0\n 3.0E 4.0 5.0\n"); // an exponent without digits
    ExpectSameAtEveryBoundary(" 1.0 2.0-400 3.0\n");        // a repair beyond the range
    ExpectSameAtEveryBoundary(" 1.0 2.0- 3.0\n");           // a repair without an exponent
    ExpectSameAtEveryBoundary(" 1.0 1e999 3.0\n");          // overflow
    ExpectSameAtEveryBoundary(" 1.0 2.0abc 3.0\n");         // a value glued to text
    ExpectSameAtEveryBoundary(" 1.0 2.0\n 1\n   Cartesian binning n. 2\r\n 3.0\n");
}

TEST_F(FlukaValueSourceTest, OneValueAndEmptyFiles)
{
    ExpectSameAtEveryBoundary("4.2");
    ExpectSameAtEveryBoundary("  4.2E+01\n");
    ExpectSameAtEveryBoundary("");
    ExpectSameAtEveryBoundary(" \n\n  ");
}

TEST_F(FlukaValueSourceTest, ValuesAreThoseOfStrtod)
{
    const char* tokens[] = {"1.2345E-03",
                            "9.9999E+99",
                            "2.2250738585072011e-308",
                            "0.30000000000000004",
                            "1.00000000000000011102230246251565",
                            "-0.0",
                            "0.0E+400",
                            "000000000000000000001.5",
                            "123456789012345",
                            "1234567890123456",
                            "1E22",
                            "1E23",
                            "9.0071992547409935E+15",
                            "+4.0E-22",
                            "4.0E-23",
                            ".5",
                            "5."};
    std::string body;
    for (const char* token : tokens)
        body += std::string(" ") + token + "\n";
    CThreadCount count(2);
    const CReading got = ReadInParallel(WriteScratch("strtod.txt", body), Ui(), 8);
    ASSERT_EQ(got.m_Values.size(), std::size(tokens));
    for (size_t i = 0; i < std::size(tokens); ++i)
    {
        const double expected = StrtodC(tokens[i]);
        EXPECT_EQ(std::memcmp(&got.m_Values[i], &expected, sizeof expected), 0) << tokens[i];
    }
}

// Runs of values are what single values are: the same values, the same warning at the same
// step, the same stop after a value that overflows.
TEST_F(FlukaValueSourceTest, RunsOfValuesAreSingleValues)
{
    const std::string path =
        WriteScratch("runs.txt", " 1.0 2.0 3.0 4.0 5.0 6.0 7.0 1e300 9 10 11.0-1 12\n");
    CThreadCount count(2);
    for (size_t warning = 1; warning <= 9; ++warning)
        for (size_t run = 1; run <= 13; ++run)
        {
            Ui().Reset();
            std::vector<double> single;
            CFlukaValueSource one(path, 0, 1e10, warning, 7);
            for (double value = 0; one.Next(value) && std::isfinite(value);)
                single.push_back(value);
            const size_t singleWarnings = Ui().Messages().size();
            Ui().Reset();
            std::vector<double> runs, out(run);
            CFlukaValueSource many(path, 0, 1e10, warning, 7);
            for (size_t got = run; got == run;)
            {
                got = many.Take(out.data(), run);
                for (size_t i = 0; i < got && std::isfinite(out[i]); ++i)
                    runs.push_back(out[i]);
                if (got > 0 && !std::isfinite(out[got - 1])) break;
            }
            ASSERT_EQ(runs, single) << warning << " " << run;
            ASSERT_EQ(Ui().Messages().size(), singleWarnings) << warning << " " << run;
        }
}

// The loader's messages and values do not depend on the thread count.
class FlukaThreadCountTest : public CLoaderTest, public ::testing::WithParamInterface<int>
{
protected:
    bool Load(const std::string& path)
    {
        CThreadCount count(GetParam());
        return Loader().Load("FLUKA cartesian USRBIN", path);
    }
};

TEST_P(FlukaThreadCountTest, ShortDataNamesTheValuesRead)
{
    ASSERT_FALSE(
        Load(WriteScratch("short.usrbin", FlukaCartesian(3, 2, 2, FlukaValues(Sequence(11))))));
    ASSERT_EQ(Ui().Messages().size(), 1u);
    EXPECT_EQ(Ui().Messages()[0].m_Text.rfind("Sorry but only 11 values were read for 12 bins.", 0),
              0u);
}

TEST_P(FlukaThreadCountTest, RepairWarnsOnceBeforeTheShortDataMessage)
{
    ASSERT_FALSE(Load(WriteScratch("both.usrbin", FlukaCartesian(2, 2, 1, " 1.0 2.0-1 3.0\n"))));
    ASSERT_EQ(Ui().Messages().size(), 2u);
    EXPECT_EQ(Ui().Messages()[0].m_Text.rfind("WARNING: We have encountered a value in the format "
                                              "2.000000-1.000000",
                                              0),
              0u);
    EXPECT_EQ(Ui().Messages()[1].m_Text.rfind("Sorry but only 3 values", 0), 0u);
}

TEST_P(FlukaThreadCountTest, SurplusValuesAfterTheLastPieceFailTheLoadOnce)
{
    ASSERT_FALSE(Load(WriteScratch("surplus.usrbin", FlukaCartesian(2, 1, 1, " 1.0 2.0 3.0-1\n"))));
    ASSERT_FALSE(Ui().Messages().empty());
    EXPECT_NE(Ui().Messages().back().m_Text.find("1 values more than the 2 bins"),
              std::string::npos)
        << Ui().Messages().back().m_Text;
}

// The "1" in front of a further binning ends the block; a value more is surplus.
TEST_P(FlukaThreadCountTest, TheOneBeforeAFurtherBinningIsNoValue)
{
    const std::string next = " 1\n   Cartesian binning n.   2  \"next      \"\n 9.0\n";
    EXPECT_TRUE(Load(WriteScratch("two.usrbin", FlukaCartesian(2, 1, 1, " 4.0 5.0\n" + next))));
    EXPECT_TRUE(Ui().Messages().empty());
    EXPECT_FALSE(Load(WriteScratch("three.usrbin", FlukaCartesian(2, 1, 1, " 4 5 6\n" + next))));
    ASSERT_EQ(Ui().Messages().size(), 1u);
    EXPECT_NE(Ui().Messages()[0].m_Text.find("1 values more than the 2 bins"), std::string::npos);
    Ui().Reset();
    EXPECT_FALSE(Load(WriteScratch("word.usrbin", FlukaCartesian(2, 1, 1, " 4 5 1\n error\n"))));
    EXPECT_NE(Ui().Messages().back().m_Text.find("1 values more than the 2 bins"),
              std::string::npos);
}

// The extremes keep their first place in file order, whichever thread stored it.
TEST_P(FlukaThreadCountTest, ExtremesKeepTheirFirstPlaceInFileOrder)
{
    ASSERT_TRUE(Load(WriteScratch("ties.usrbin", FlukaCartesian(4, 2, 2,
                                                                FlukaValues({
                                                                    5, 5, 5, 9, //
                                                                    9, 5, 5, 5, //
                                                                    5, 5, 5, 5, //
                                                                    5, 2, 0, 2, //
                                                                })))));
    EXPECT_EQ(m_Grid.m_RangeMax, 9);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[0], 3);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[1], 0);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[2], 0);
    EXPECT_EQ(m_Grid.m_RangeMin, 2);
    EXPECT_EQ(m_Grid.m_MinDataValIndices[0], 1);
    EXPECT_EQ(m_Grid.m_MinDataValIndices[1], 1);
    EXPECT_EQ(m_Grid.m_MinDataValIndices[2], 1);
}

TEST_P(FlukaThreadCountTest, OverflowAfterNormalizationNamesTheValue)
{
    m_Grid.m_Normalization = 1e300;
    ASSERT_FALSE(Load(WriteScratch("over.usrbin", FlukaCartesian(3, 1, 1, " 1.0 1e10 2.0\n"))));
    ASSERT_EQ(Ui().Messages().size(), 1u);
    EXPECT_EQ(Ui().Messages()[0].m_Text.rfind("Value 2 times the normalization factor", 0), 0u);
}

TEST_P(FlukaThreadCountTest, RealFilesHoldWhatRecordByRecordReads)
{
    for (const char* name :
         {"mphys_100MeV1cmHydrogen_51.txt", "mphys_100MeVlargePhantom.3_51.bnn-1.lis",
          "pyfluka_UsrbinInputTest.ascii", "pyne_fluka_usrbin_single.lis",
          "pyne_fluka_usrbin_multiple.lis", "pyne_fluka_usrbin_degenerate.lis"})
    {
        const std::string path = "/work/shared/realdata/fluka_usrbin_ascii/" + std::string(name);
        const std::string file = std::filesystem::exists(path) ? path : DataPath(name);
        CDataStorage<CFlukaXYZAsciiIO<>> storage(file);
        ASSERT_TRUE(storage.Read()) << name;
        CVoxelGrid grid;
        CStringLog log;
        {
            CThreadCount count(GetParam());
            ASSERT_TRUE(CVolumeLoader(grid, log).Load("FLUKA cartesian USRBIN", file)) << name;
        }
        const int nx = grid.m_NrXBins, ny = grid.m_NrYBins;
        for (size_t i = 0; i < size_t(grid.VoxelCount()); ++i)
        {
            const double v = grid.m_Voxels[i % nx][i / nx % ny][i / nx / ny];
            ASSERT_EQ(std::memcmp(&v, &storage.m_Data[i].m_Value, sizeof v), 0) << name << " " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Threads, FlukaThreadCountTest, ::testing::Values(1, 2, 4));
} // namespace volumira3d
