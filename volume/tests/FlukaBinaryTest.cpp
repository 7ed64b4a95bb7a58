// FLUKA binary USRBIN files: the real ones, Fortran-written fixtures of the binnings the real ones
// lack, and broken copies of both.
#include "LoaderTest.h"
#include "volume/formats/FortranRecords.h"

#include <cstring>

namespace volumira3d
{
using namespace test;

namespace
{
// An independent reading of a FLUKA binary header by fixed offsets: a 128-byte run record, then
// an 86-byte binning record, each framed by 4-byte markers.
struct CRawHeader
{
    float m_Weight;
    std::int32_t m_Primaries, m_Type, m_Particle, m_Bins[3];
    float m_Min[3], m_Width[3], m_First, m_Last;
};

CRawHeader RawHeader(const std::string& b)
{
    auto i32 = [&](size_t at)
    {
        std::int32_t v;
        std::memcpy(&v, b.data() + at, 4);
        return v;
    };
    auto f32 = [&](size_t at)
    {
        float v;
        std::memcpy(&v, b.data() + at, 4);
        return v;
    };
    CRawHeader h{};
    h.m_Weight = f32(4 + 112);
    h.m_Primaries = i32(4 + 116);
    const size_t bin = 4 + 128 + 4 + 4;
    h.m_Type = i32(bin + 14);
    h.m_Particle = i32(bin + 18);
    for (int a = 0; a < 3; ++a)
    {
        h.m_Min[a] = f32(bin + 22 + 16 * a);
        h.m_Bins[a] = i32(bin + 30 + 16 * a);
        h.m_Width[a] = f32(bin + 34 + 16 * a);
    }
    const size_t values = bin + 86 + 4 + 4;
    const size_t count = size_t(h.m_Bins[0]) * h.m_Bins[1] * h.m_Bins[2];
    h.m_First = f32(values);
    h.m_Last = f32(values + 4 * (count - 1));
    return h;
}
} // namespace

class FlukaBinaryTest : public CFormatTest
{
protected:
    bool Load(const std::string& path) { return Loader().Load("FLUKA binary USRBIN", path); }
};

TEST_F(FlukaBinaryTest, RealFilesLoadAsTheirHeadersSay)
{
    SKIP_WITHOUT_REAL_DATA();
    for (const char* name : {"pymchelper_dimensions001_fort.21", "pymchelper_dimensions001_fort.24",
                             "pymchelper_dimensions001_fort.27"})
    {
        SCOPED_TRACE(name);
        const std::string path = RealData(std::string("fluka_usrbin_binary/") + name);
        const CRawHeader raw = RawHeader(Bytes(path));
        m_Grid.m_Normalization = 1;
        ASSERT_TRUE(Load(path)) << LogText();
        EXPECT_EQ(m_Grid.m_NrXBins, raw.m_Bins[0]);
        EXPECT_EQ(m_Grid.m_NrYBins, raw.m_Bins[1]);
        EXPECT_EQ(m_Grid.m_NrZBins, raw.m_Bins[2]);
        for (int a = 0; a < 3; ++a)
        {
            EXPECT_EQ(float(m_Grid.m_GridMin[a]), raw.m_Min[a]);
            EXPECT_EQ(float(m_Grid.m_BinWidth[a]), raw.m_Width[a]);
        }
        EXPECT_EQ(m_Grid.m_TotalWeight, raw.m_Weight);
        EXPECT_EQ(m_Grid.m_NrOfParticles, raw.m_Primaries);
        EXPECT_EQ(m_Grid.m_GenParticle, raw.m_Particle);
        EXPECT_EQ(V(0, 0, 0), raw.m_First);
        EXPECT_EQ(V(raw.m_Bins[0] - 1, raw.m_Bins[1] - 1, raw.m_Bins[2] - 1), raw.m_Last);
        EXPECT_FALSE(Logged("Only the first binning"));
    }
    // The three files are of one run: 1000 primaries, energy (208), x from -2 to 2 in 10 bins.
    EXPECT_EQ(m_Grid.m_NrXBins * m_Grid.m_NrYBins * m_Grid.m_NrZBins, 1000);
    EXPECT_EQ(m_Grid.m_NrOfParticles, 1000);
    EXPECT_EQ(m_Grid.m_GenParticle, 208);
    EXPECT_EQ(m_Grid.m_BinWidth[0], 0.4); // the decimal FLUKA was given, not 0.4000000059604645
}

TEST_F(FlukaBinaryTest, SumFileValuesAndErrorsComeFromTheirOwnRecords)
{
    SKIP_WITHOUT_FORTRAN();
    size_t rows = 0;
    Ui().QueueModal("FLUKA binnings",
                    [&](CDialog& dlg) { rows = dlg.Item(IDC_FLUKA_BINNINGS_LIST).m_Items.size(); });
    Ui().QueueAnswer(IDNO);
    ASSERT_TRUE(Load(FortranFile("sum_stats.bin"))) << LogText();
    EXPECT_EQ(rows, 2u); // the first is chosen by default
    EXPECT_TRUE(Shown("Do you want to display the statistics information instead of the data?"));
    EXPECT_TRUE(Logged("Binning 1 of 2: 1 \"dose\" (cartesian (10), 3 x 2 x 2)"));
    EXPECT_EQ(m_Grid.m_NrXBins, 3);
    EXPECT_EQ(m_Grid.m_NrYBins, 2);
    EXPECT_EQ(m_Grid.m_NrZBins, 2);
    EXPECT_EQ(V(0, 0, 0), 1);
    EXPECT_EQ(V(1, 0, 0), 2);
    EXPECT_EQ(V(0, 1, 0), 4);
    EXPECT_EQ(V(0, 0, 1), 7);
    EXPECT_EQ(V(2, 1, 1), 12);
    EXPECT_EQ(m_Grid.m_GridMin[0], -3);
    EXPECT_EQ(m_Grid.m_BinWidth[2], 5);
    EXPECT_EQ(m_Grid.m_TotalWeight, 2500);

    // The errors: the first is 0.01, not a record marker read as a number.
    Ui().Reset();
    Ui().QueueAnswer(IDYES);
    m_Log.m_Lines.clear();
    ASSERT_TRUE(Load(FortranFile("sum_stats.bin"))) << LogText();
    EXPECT_FLOAT_EQ(V(0, 0, 0), 0.01f);
    EXPECT_FLOAT_EQ(V(1, 0, 0), 0.02f);
    EXPECT_FLOAT_EQ(V(2, 1, 1), 0.12f);
    EXPECT_FLOAT_EQ(m_Grid.m_RangeMin, 0.01f);
    EXPECT_FLOAT_EQ(m_Grid.m_RangeMax, 0.12f);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[0], 2);
}

TEST_F(FlukaBinaryTest, TheSecondBinningLoadsWithItsOwnHeaderValuesAndErrors)
{
    SKIP_WITHOUT_FORTRAN();
    for (const bool errors : {false, true})
    {
        Ui().Reset();
        Ui().QueueModal("FLUKA binnings",
                        [](CDialog& dlg) { dlg.UserSelect(IDC_FLUKA_BINNINGS_LIST, 1); });
        Ui().QueueAnswer(errors ? IDYES : IDNO);
        ASSERT_TRUE(Load(FortranFile("sum_stats.bin"))) << LogText();
        EXPECT_EQ(m_Grid.m_NrXBins, 2);
        EXPECT_EQ(m_Grid.m_NrYBins, 1);
        EXPECT_EQ(m_Grid.m_GridMin[0], 0);
        EXPECT_EQ(m_Grid.m_BinWidth[0], 1);
        EXPECT_EQ(m_Grid.m_GenParticle, 201);
        EXPECT_FLOAT_EQ(V(0, 0, 0), errors ? 0.5f : 7);
        EXPECT_FLOAT_EQ(V(1, 0, 0), errors ? 0.25f : 8);
        EXPECT_TRUE(Logged("Binning 2 of 2: 2 \"second\" (cartesian (0), 2 x 1 x 1)"));
    }
}

// Bytes taken in place from the mapped file and bytes read through the stream follow each other
// in any order, within a record and into the next; neither reads past its record.
TEST(FortranRecordFile, InPlaceAndCopiedReadsShareOnePosition)
{
    auto record = [](std::vector<std::int32_t> words)
    {
        const std::int32_t length = std::int32_t(4 * words.size());
        std::string bytes(reinterpret_cast<const char*>(&length), 4);
        bytes.append(reinterpret_cast<const char*>(words.data()), 4 * words.size());
        return bytes + std::string(reinterpret_cast<const char*>(&length), 4);
    };
    CFortranRecordFile file;
    ASSERT_TRUE(file.Open(WriteScratch("records.bin", record({1, 2, 3}) + record({4, 5}))));
    auto word = [](const void* p)
    {
        std::int32_t v = 0;
        std::memcpy(&v, p, 4);
        return v;
    };
    std::uint32_t length = 0;
    ASSERT_TRUE(file.BeginRecord(length));
    EXPECT_EQ(length, 12u);
    const unsigned char* first = file.View(4);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(word(first), 1);
    std::int32_t copied = 0;
    ASSERT_TRUE(file.Read(&copied, 4));
    EXPECT_EQ(copied, 2);
    const unsigned char* third = file.View(4);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(word(third), 3);
    EXPECT_EQ(file.View(1), nullptr);
    EXPECT_NE(file.Error().find("holds fewer bytes than it must"), std::string::npos);
    ASSERT_TRUE(file.BeginRecord(length));
    const unsigned char* fourth = file.View(4);
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(word(fourth), 4);
    ASSERT_TRUE(file.Read(&copied, 4));
    EXPECT_EQ(copied, 5);
    EXPECT_FALSE(file.Read(&copied, 1));
    EXPECT_TRUE(file.AtEnd());
}

TEST_F(FlukaBinaryTest, ValuesAreNormalisedInSinglePrecision)
{
    SKIP_WITHOUT_FORTRAN();
    m_Grid.m_Normalization = 0.1;
    Ui().QueueAnswer(IDNO);
    ASSERT_TRUE(Load(FortranFile("sum_stats.bin")));
    EXPECT_EQ(V(2, 1, 1), double(float(12 * 0.1)));
}

TEST_F(FlukaBinaryTest, ABrokenTailLeavesTheFirstBinningWithAWarning)
{
    SKIP_WITHOUT_FORTRAN();
    const std::string bytes = Bytes(FortranFile("sum_stats.bin"));
    ASSERT_TRUE(Load(WriteScratch("cut.bin", bytes.substr(0, 300)))) << LogText();
    EXPECT_TRUE(Logged("What follows binning 1 cannot be read and was ignored: The "
                       "record length 86 at byte 286",
                       ILoadLog::IconWarning));
    EXPECT_EQ(V(2, 1, 1), 12);
}

TEST_F(FlukaBinaryTest, RZBinningsKeepEveryRing)
{
    SKIP_WITHOUT_FORTRAN();
    // 10 cm in rings of 0.1 cm (0.1 as float32): 100 rings a side, none lost to truncation.
    ASSERT_TRUE(Load(FortranFile("rz.bin"))) << LogText();
    EXPECT_EQ(m_Grid.m_NrXBins, 200);
    EXPECT_EQ(m_Grid.m_NrYBins, 200);
    EXPECT_EQ(m_Grid.m_NrZBins, 2);
    EXPECT_EQ(m_Grid.m_GridMin[0], -10);
    EXPECT_EQ(V(100, 100, 0), 1);    // ring 0 at the axis
    EXPECT_EQ(V(199, 100, 0), 100);  // the last ring along the x axis
    EXPECT_EQ(V(100, 100, 1), 1001); // second plane
    EXPECT_EQ(m_Grid.m_RangeMax, 1100);
    EXPECT_FALSE(Shown("More than 100 radial bins have been detected.")); // 100 is not more
}

TEST_F(FlukaBinaryTest, RPhiZBinningsFillSectors)
{
    SKIP_WITHOUT_FORTRAN();
    ASSERT_TRUE(Load(FortranFile("rphiz.bin"))) << LogText();
    EXPECT_EQ(m_Grid.m_NrXBins, 6);
    EXPECT_EQ(m_Grid.m_NrZBins, 1);
    EXPECT_EQ(m_Grid.m_RangeMin, 1);
    EXPECT_EQ(m_Grid.m_RangeMax, 12);
    EXPECT_TRUE(Logged("Mapping 36 bins to XYZ..."));
}

TEST_F(FlukaBinaryTest, RegionBinningsAreRefusedWithTheTypeMessage)
{
    SKIP_WITHOUT_FORTRAN();
    EXPECT_FALSE(Load(FortranFile("region.bin")));
    EXPECT_TRUE(Shown("Sorry, but the binning type could not be determined", "error"));
}

TEST_F(FlukaBinaryTest, OlderShortHeadersAreSkippedByTheirLength)
{
    SKIP_WITHOUT_FORTRAN();
    ASSERT_TRUE(Load(FortranFile("old116.bin"))) << LogText();
    EXPECT_EQ(m_Grid.m_TotalWeight, 4);
    EXPECT_EQ(m_Grid.m_NrOfParticles, 1); // not in a 116-byte header
    EXPECT_EQ(V(0, 0, 0), 1.5);
    EXPECT_EQ(V(1, 1, 0), 4.5);
}

TEST_F(FlukaBinaryTest, LoadsResetTheIndexTriples)
{
    SKIP_WITHOUT_FORTRAN();
    m_Grid.m_MinDataValIndices[0] = 9;
    m_Grid.m_MaxDataValIndices[2] = 9;
    ASSERT_TRUE(Load(FortranFile("old116.bin")));
    EXPECT_EQ(m_Grid.m_MinDataValIndices[0], 0);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[2], 0);
}

// Broken copies of a good file: each fails with a line that says why; none succeeds.
struct CBrokenBinary
{
    const char* m_Name;
    std::function<void(std::string&)> m_Break;
    const char* m_Reason;
};

class BrokenBinary : public FlukaBinaryTest, public ::testing::WithParamInterface<CBrokenBinary>
{
};

TEST_P(BrokenBinary, FailsWithItsReason)
{
    SKIP_WITHOUT_FORTRAN();
    std::string bytes = Bytes(FortranFile("old116.bin"));
    ASSERT_EQ(bytes.size(), 242u);
    GetParam().m_Break(bytes);
    EXPECT_FALSE(Load(WriteScratch("broken.bin", bytes)));
    EXPECT_TRUE(Logged(GetParam().m_Reason, ILoadLog::IconError)) << LogText();
    EXPECT_LE(m_Grid.VoxelCount(), 4);
}

// old116.bin: run record at 0 (116 bytes), binning record at 124 (86), values at 218 (16).
constexpr size_t Binning = 124 + 4, Values = 218;

INSTANTIATE_TEST_SUITE_P(
    Corpus, BrokenBinary,
    ::testing::Values(
        CBrokenBinary{"empty", [](std::string& b) { b.clear(); }, "The file ends before a record"},
        CBrokenBinary{"cut_in_run_record", [](std::string& b) { b.resize(60); },
                      "The record length 116 at byte 0"},
        CBrokenBinary{"cut_in_binning", [](std::string& b) { b.resize(150); },
                      "The record length 86 at byte 124"},
        CBrokenBinary{"cut_before_values", [](std::string& b) { b.resize(Values); },
                      "The file ends before a record at byte 218"},
        CBrokenBinary{"cut_in_values", [](std::string& b) { b.resize(Values + 10); },
                      "The record length 16 at byte 218"},
        CBrokenBinary{"cut_last_marker", [](std::string& b) { b.resize(b.size() - 1); },
                      "The record length 16 at byte 218"},
        CBrokenBinary{"markers_differ", [](std::string& b) { PutInt32(b, 120, 117); },
                      "The record at byte 0"},
        CBrokenBinary{"short_run_record",
                      [](std::string& b)
                      {
                          PutInt32(b, 0, 8);
                          PutInt32(b, 12, 8);
                      },
                      "The first record holds 8 bytes, too few for a FLUKA USRBIN header"},
        CBrokenBinary{"zero_bins", [](std::string& b) { PutInt32(b, Binning + 30, 0); },
                      "The first axis of the binning has 0 bins"},
        CBrokenBinary{"negative_bins", [](std::string& b) { PutInt32(b, Binning + 46, -1); },
                      "The second axis of the binning has -1 bins"},
        // Each of these once loaded as a success, on a grid the header does not describe.
        CBrokenBinary{"negative_width", [](std::string& b) { PutReal(b, Binning + 34, -1.0f); },
                      "The first axis of the binning runs from"},
        CBrokenBinary{"zero_width", [](std::string& b) { PutReal(b, Binning + 50, 0.0f); },
                      "The second axis of the binning runs from"},
        CBrokenBinary{"max_below_min", [](std::string& b) { PutReal(b, Binning + 58, -1e6f); },
                      "The third axis of the binning runs from"},
        CBrokenBinary{"width_against_range", [](std::string& b) { PutReal(b, Binning + 34, 7.0f); },
                      "The first axis of the binning runs from 0 to 2 in 2 bins of 7: the header "
                      "contradicts itself."},
        CBrokenBinary{"huge_bins", [](std::string& b) { PutInt32(b, Binning + 62, 2147483647); },
                      "The binning announces more values than a record can hold"},
        CBrokenBinary{"more_bins_than_values", [](std::string& b) { PutInt32(b, Binning + 62, 2); },
                      "The record of values at byte 218 holds 16 bytes, not the 32"},
        CBrokenBinary{"negative_length", [](std::string& b) { PutInt32(b, Values, -1); },
                      "The record length -1 at byte 218"},
        CBrokenBinary{"huge_length", [](std::string& b) { PutInt32(b, Values, 2147483647); },
                      "The record length 2147483647 at byte 218"},
        CBrokenBinary{"nan_weight", [](std::string& b) { PutInt32(b, 4 + 112, 0x7fc00000); },
                      "The total weight in the header is not a positive number"}),
    [](const auto& info) { return std::string(info.param.m_Name); });
} // namespace volumira3d
