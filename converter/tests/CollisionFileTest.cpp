// Record framing of collision files, and what a damaged file does to reading.
#include "CollisionFile.h"
#include "CollisionFileBuilder.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace trakor;
using namespace trakor::testing;
using ERecord = CCollisionFile::ERecord;

namespace
{

class CollisionFileTest : public ::testing::Test
{
protected:
    // Opens bytes written to a file of the test's own.
    CCollisionFile& Open(const std::string& bytes)
    {
        const auto path = CurrentTestFolder() / "collfile";
        std::ofstream(path, std::ios::binary) << bytes;
        m_File = std::make_unique<CCollisionFile>();
        EXPECT_TRUE(m_File->Open(path.string()));
        return *m_File;
    }
    std::unique_ptr<CCollisionFile> m_File;
};

// A trajectory pair of 2 points: 32 + 8 header bytes, 64 + 8 data bytes.
constexpr std::size_t TrajectoryPairSize = 112;

CCollisionFileBuilder OnePhoton()
{
    CCollisionFileBuilder file;
    file.Trajectory(7, 1.5, 3, {{1, 2, 3}, {4, 5, 6}}, 2.0e-9);
    return file;
}

} // namespace

TEST_F(CollisionFileTest, ReadsTheThreeKindsOfRecordPairsTwice)
{
    CCollisionFileBuilder builder = OnePhoton();
    builder.Source(3, 2).Deposition(12, 8, 0.25, {7, 8, 9});
    CCollisionFile& file = Open(builder.Bytes());
    for (int pass = 0; pass < 2; ++pass)
    {
        ASSERT_TRUE(file.Rewind());
        ASSERT_EQ(file.Next(), ERecord::Trajectory);
        const CTrajectory& t = file.Trajectory();
        EXPECT_EQ(t.m_Ntrack, 1);
        EXPECT_EQ(t.m_Jtrack, 7);
        EXPECT_EQ(t.m_Etrack, 1.5);
        EXPECT_EQ(t.m_Ncase, 3);
        EXPECT_EQ(t.m_Points, (std::vector<CPoint>{{1, 2, 3}, {4, 5, 6}}));
        EXPECT_EQ(t.m_Atrack, 2.0e-9);
        EXPECT_EQ(file.Next(), ERecord::Source);
        ASSERT_EQ(file.Next(), ERecord::Deposition);
        const CDeposition& d = file.Deposition();
        EXPECT_EQ(d.m_Icode, 12);
        EXPECT_EQ(d.m_Jtrack, 8);
        EXPECT_EQ(d.m_Etrack, 0.25);
        EXPECT_EQ(d.m_Position, (CPoint{7, 8, 9}));
        EXPECT_EQ(file.Next(), ERecord::End);
        EXPECT_EQ(file.Next(), ERecord::End);
    }
}

TEST_F(CollisionFileTest, LongerRecordsThanNeededAreAccepted)
{
    CCollisionFileBuilder builder;
    builder.Record(CRecordBytes().Int(1).Int(0).Int(8).Double(1.0).Double(1.0).Int(1).Int(99));
    builder.Record(CRecordBytes()
                       .Double(1)
                       .Double(2)
                       .Double(3)
                       .Double(4)
                       .Double(5)
                       .Double(6)
                       .Double(7)
                       .Double(8)
                       .Double(9));
    CCollisionFile& file = Open(builder.Bytes());
    ASSERT_EQ(file.Next(), ERecord::Trajectory);
    EXPECT_EQ(file.Trajectory().m_Points.size(), 2u);
    EXPECT_EQ(file.Trajectory().m_Atrack, 8.0);
}

struct Damage
{
    const char* m_Name;
    std::string m_Bytes;
    std::string m_Message;
};

void PrintTo(const Damage& damage, std::ostream* out)
{
    *out << damage.m_Name;
}

class DamagedFileTest : public CollisionFileTest, public ::testing::WithParamInterface<Damage>
{
};

TEST_P(DamagedFileTest, EndsReadingWithWhatAndWhere)
{
    CCollisionFile& file = Open(OnePhoton().Bytes() + GetParam().m_Bytes);
    ASSERT_EQ(file.Next(), ERecord::Trajectory);
    EXPECT_EQ(file.Next(), ERecord::Corrupt);
    EXPECT_EQ(file.Error(), GetParam().m_Message);
    EXPECT_EQ(file.Next(), ERecord::Corrupt);
}

namespace
{

std::string BytesOf(const CCollisionFileBuilder& builder)
{
    return builder.Bytes();
}

std::string TruncatedPhoton()
{
    const std::string whole = OnePhoton().Bytes();
    return whole.substr(0, whole.size() - 10);
}

std::string Header(int ntrack)
{
    return BytesOf(CCollisionFileBuilder().Record(
        CRecordBytes().Int(ntrack).Int(0).Int(7).Double(1.0).Double(1.0).Int(1)));
}

const std::string At = " at byte offset " + std::to_string(TrajectoryPairSize);
const std::string DataAt = " at byte offset " + std::to_string(TrajectoryPairSize + 40);

} // namespace

INSTANTIATE_TEST_SUITE_P(
    CollisionFile, DamagedFileTest,
    ::testing::Values(
        Damage{"Truncated", TruncatedPhoton(),
               "record of 64 bytes runs past the end of the file (58 bytes left)" + DataAt},
        Damage{"MarkersDisagree",
               BytesOf(CCollisionFileBuilder().Marker(8).Raw(std::string(8, 'x')).Marker(9)),
               "record length markers disagree (8 before, 9 after)" + At},
        Damage{"NegativeLength", BytesOf(CCollisionFileBuilder().Marker(-5)),
               "negative record length -5" + At},
        Damage{"LengthBeyondFile", BytesOf(CCollisionFileBuilder().Marker(1000).Raw("abcd")),
               "record of 1000 bytes runs past the end of the file (4 bytes left)" + At},
        Damage{"MorePointsThanHeld",
               Header(5) + BytesOf(CCollisionFileBuilder().Record(CRecordBytes()
                                                                      .Double(1)
                                                                      .Double(2)
                                                                      .Double(3)
                                                                      .Double(4)
                                                                      .Double(5)
                                                                      .Double(6)
                                                                      .Double(7)
                                                                      .Double(8))),
               "trajectory header announces 6 points but its data record holds 2" + DataAt},
        Damage{"HugePointCount", Header(2147483647) + BytesOf(CCollisionFileBuilder().Record({})),
               "trajectory header announces 2147483648 points but its data record holds 0" +
                   DataAt},
        Damage{"MissingDataRecord", Header(1),
               "file ends after the header of a trajectory record, without its data record" + At},
        Damage{"PartialMarker", "ab", "file ends inside a record length marker" + At},
        Damage{"ShortHeader", BytesOf(CCollisionFileBuilder().Record(CRecordBytes().Int(1).Int(2))),
               "trajectory header of 8 bytes is shorter than 32 bytes" + At},
        Damage{"EmptyHeader", BytesOf(CCollisionFileBuilder().Record({})),
               "header record of 0 bytes is too short" + At},
        Damage{"NegativeSourceCount",
               BytesOf(CCollisionFileBuilder().Record(
                   CRecordBytes().Int(-1).Int(-3).Int(0).Double(0).Double(0))),
               "source header announces -3 particles" + At},
        Damage{"MoreSourceParticlesThanHeld",
               BytesOf(CCollisionFileBuilder()
                           .Record(CRecordBytes().Int(-1).Int(2).Int(0).Double(0).Double(0))
                           .Record(CRecordBytes()
                                       .Int(1)
                                       .Double(1)
                                       .Double(1)
                                       .Double(1)
                                       .Double(1)
                                       .Double(1)
                                       .Double(1)
                                       .Double(1)
                                       .Double(1)
                                       .Double(1))),
               "source header announces 2 particles but its data record holds 1" +
                   std::string(" at byte offset ") + std::to_string(TrajectoryPairSize + 36)}),
    [](const ::testing::TestParamInfo<Damage>& info) { return info.param.m_Name; });

TEST(CollisionFileOpen, MissingFileOrFolderIsNotOpened)
{
    CCollisionFile missing;
    EXPECT_FALSE(missing.Open((CurrentTestFolder() / "none").string()));
    EXPECT_EQ(missing.Error(), "No such file or directory");
    CCollisionFile folder;
    EXPECT_FALSE(folder.Open(CurrentTestFolder().string()));
    EXPECT_EQ(folder.Error(), "not a regular file");
}

// Damage anywhere must end reading with End or Corrupt, never with a crash or a loop.
TEST_F(CollisionFileTest, RandomDamageEndsReadingCleanly)
{
    CCollisionFileBuilder builder = OnePhoton();
    builder.Deposition(10, 7, 1.0, {1, 2, 3}).Source(1, 2).Trajectory(8, 2.0, 2, {{0, 0, 0}}, 1.0);
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round)
    {
        std::string bytes = builder.Bytes();
        for (int k = 0; k < 3; ++k)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        bytes.resize(bytes.size() - random() % 8);
        CCollisionFile& file = Open(bytes);
        int records = 0;
        ERecord kind;
        while ((kind = file.Next()) != ERecord::End && kind != ERecord::Corrupt)
            ASSERT_LE(++records, 4);
        EXPECT_LE(file.Offset(), file.Size());
    }
}
