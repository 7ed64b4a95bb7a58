#include "volume/formats/XYZRecordSource.h"
#include "TestHelpers.h"
#include "testkit/ThreadCount.h"
#include "volume/formats/XYZAsciiIO.h"

#include <omp.h>

#include <cstring>

namespace volumira3d
{
using namespace test;
using testkit::CThreadCount;

namespace
{
const std::string Header = "VOXEL-DATA\nX-start: 0 X-end: 2 X-steps: 2\n"
                           "Y-start: 0 Y-end: 2 Y-steps: 2\n"
                           "Z-start: 0 Z-end: 2 Z-steps: 2\n===\nX Y Z Data\n";

// What reading the records gave: the records in file order and the lines skipped.
struct CReading
{
    std::vector<CXYZRecord> m_Records;
    std::int64_t m_BadRecords = 0;
    std::uint64_t m_FirstBadLine = 0;
};

CReading ReadRecordByRecord(const std::string& path)
{
    CDataStorage<CXYZAsciiIO<>> storage(path);
    EXPECT_TRUE(storage.Read());
    CReading reading;
    for (const CVoxelData& record : storage.m_Data)
        reading.m_Records.push_back(
            {record.m_Value, record.m_IndexX, record.m_IndexY, record.m_IndexZ});
    reading.m_BadRecords = storage.m_BadRecords;
    reading.m_FirstBadLine = storage.m_FirstBadLine;
    return reading;
}

CReading ReadInParallel(const std::string& path, size_t pieceBytes)
{
    CDataStorage<CXYZAsciiIO<>> header(path);
    EXPECT_TRUE(header.BeginRead());
    CXYZRecordSource source(path, header.m_In.Position(), pieceBytes);
    EXPECT_TRUE(source.Opened());
    CReading reading;
    for (const std::vector<CXYZRecord>* records = nullptr; source.Next(records);)
        reading.m_Records.insert(reading.m_Records.end(), records->begin(), records->end());
    EXPECT_EQ(source.Percent(), 100);
    reading.m_BadRecords = source.BadRecords();
    reading.m_FirstBadLine = source.FirstBadLine();
    return reading;
}

bool Same(const std::vector<CXYZRecord>& a, const std::vector<CXYZRecord>& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::memcmp(&a[i].m_Value, &b[i].m_Value, sizeof(double)) != 0 ||
            a[i].m_IndexX != b[i].m_IndexX || a[i].m_IndexY != b[i].m_IndexY ||
            a[i].m_IndexZ != b[i].m_IndexZ)
            return false;
    return true;
}
} // namespace

class XYZRecordSourceTest : public CLoaderTest
{
protected:
    // Every piece size from one byte to past the body, with 1, 2 and 3 threads, reads what
    // reading record by record reads: the same records bit for bit, the same lines skipped.
    void ExpectSameAtEveryBoundary(const std::string& body)
    {
        const std::string path = WriteScratch("body.xyz", Header + body);
        const CReading expected = ReadRecordByRecord(path);
        for (int threads : {1, 2, 3})
        {
            CThreadCount count(threads);
            for (size_t piece = 1; piece <= body.size() + 1; ++piece)
            {
                const CReading got = ReadInParallel(path, piece);
                ASSERT_TRUE(Same(got.m_Records, expected.m_Records))
                    << "piece " << piece << ", " << threads << " threads: " << got.m_Records.size()
                    << " records against " << expected.m_Records.size();
                ASSERT_EQ(got.m_BadRecords, expected.m_BadRecords) << "piece " << piece;
                ASSERT_EQ(got.m_FirstBadLine, expected.m_FirstBadLine) << "piece " << piece;
            }
        }
    }
};

TEST_F(XYZRecordSourceTest, BoundariesInsideNumbersAndLineEnds)
{
    ExpectSameAtEveryBoundary("0 0 0 1.2345E-03\r\n1 1 1 2.5\n 1 0 1 -7.5E+11\n\n0 1 0 "
                              "0.30000000000000004\n1 1 0 123456789012345678901\n");
}

TEST_F(XYZRecordSourceTest, RecordsSpanningLinesAreJoinedAsRecordByRecordJoinsThem)
{
    ExpectSameAtEveryBoundary("0 0\n0 1\n1\n1\n1\n2\n\n\n  1 0 1 3\n");
    ExpectSameAtEveryBoundary("0\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n0 0 1\n");
}

TEST_F(XYZRecordSourceTest, BadLinesAreSkippedCountedAndTheFirstNamed)
{
    ExpectSameAtEveryBoundary("0 0 0 1\n1 1 x 7\n1 1 0 4\n0h0 0 1.5\n0 1 1 5\n");
    ExpectSameAtEveryBoundary("1 1 1.5 2\n- 1 1 1\n1 1 1 1e999\n1 1 1 2.0E\n0 0 0 9\n");
    ExpectSameAtEveryBoundary("99999999999 0 0 1\n0 0 0 1 extra\n0 0\n");
}

TEST_F(XYZRecordSourceTest, OneRecordAndEmptyBodies)
{
    ExpectSameAtEveryBoundary("1 1 1 4.2");
    ExpectSameAtEveryBoundary("1 1 1 4.2\n");
    ExpectSameAtEveryBoundary("");
    ExpectSameAtEveryBoundary(" \n\t\n  ");
    ExpectSameAtEveryBoundary("0 0");
}

TEST_F(XYZRecordSourceTest, ValuesAreThoseOfStrtod)
{
    const char* tokens[] = {"1.2345E-03",
                            "2.2250738585072011e-308",
                            "0.30000000000000004",
                            "-0.0",
                            "1E23",
                            "9.0071992547409935E+15",
                            ".5",
                            "5."};
    std::string body;
    for (const char* token : tokens)
        body += std::string("0 0 0 ") + token + "\n";
    CThreadCount count(2);
    const CReading got = ReadInParallel(WriteScratch("strtod.xyz", Header + body), 8);
    ASSERT_EQ(got.m_Records.size(), std::size(tokens));
    for (size_t i = 0; i < std::size(tokens); ++i)
    {
        const double expected = StrtodC(tokens[i]);
        EXPECT_EQ(std::memcmp(&got.m_Records[i].m_Value, &expected, sizeof expected), 0)
            << tokens[i];
    }
}

// The loader's values, statistics and messages do not depend on the thread count.
class XYZThreadCountTest : public CLoaderTest, public ::testing::WithParamInterface<int>
{
protected:
    bool Load(const std::string& path)
    {
        CThreadCount count(GetParam());
        return Loader().Load("XYZ voxel", path);
    }
};

TEST_P(XYZThreadCountTest, LaterRecordsOfAVoxelWinAndExtremesKeepTheirFirstPlace)
{
    ASSERT_TRUE(Load(WriteScratch("order.xyz", Header + "0 1 0 9\n1 0 1 9\n0 1 0 3\n0 0 0 2\n"
                                                        "1 1 1 2\n5 5 5 1\n0 1 1 -1e308\n")));
    EXPECT_EQ(m_Grid.m_Voxels[0][1][0], 3);
    EXPECT_EQ(m_Grid.m_RangeMax, 9);
    // The first 9 in the file, stored by the thread of y = 1 after the other 9 of y = 0.
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[0], 0);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[1], 1);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[2], 0);
    EXPECT_EQ(m_Grid.m_RangeMin, -1e308);
    EXPECT_TRUE(Shown("1 of 7 records were skipped", "warning"));
    EXPECT_EQ(m_Log.m_Lines.at(1).first, "Mapping 7 bins to XYZ...");
}

INSTANTIATE_TEST_SUITE_P(Threads, XYZThreadCountTest, ::testing::Values(1, 2, 4));
} // namespace volumira3d
