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
    CCollisionFile& open(const std::string& bytes)
    {
        const auto path = currentTestFolder() / "collfile";
        std::ofstream(path, std::ios::binary) << bytes;
        m_File = std::make_unique<CCollisionFile>();
        EXPECT_TRUE(m_File->open(path.string()));
        return *m_File;
    }
    std::unique_ptr<CCollisionFile> m_File;
};

// A trajectory pair of 2 points: 32 + 8 header bytes, 64 + 8 data bytes.
constexpr std::size_t kTrajectoryPairSize = 112;

CCollisionFileBuilder onePhoton()
{
    CCollisionFileBuilder file;
    file.trajectory(7, 1.5, 3, {{1, 2, 3}, {4, 5, 6}}, 2.0e-9);
    return file;
}

} // namespace

TEST_F(CollisionFileTest, ReadsTheThreeKindsOfRecordPairsTwice)
{
    CCollisionFileBuilder builder = onePhoton();
    builder.source(3, 2).deposition(12, 8, 0.25, {7, 8, 9});
    CCollisionFile& file = open(builder.bytes());
    for (int pass = 0; pass < 2; ++pass)
    {
        ASSERT_TRUE(file.rewind());
        ASSERT_EQ(file.next(), ERecord::Trajectory);
        const CTrajectory& t = file.trajectory();
        EXPECT_EQ(t.ntrack, 1);
        EXPECT_EQ(t.jtrack, 7);
        EXPECT_EQ(t.etrack, 1.5);
        EXPECT_EQ(t.ncase, 3);
        EXPECT_EQ(t.points, (std::vector<CPoint>{{1, 2, 3}, {4, 5, 6}}));
        EXPECT_EQ(t.atrack, 2.0e-9);
        EXPECT_EQ(file.next(), ERecord::Source);
        ASSERT_EQ(file.next(), ERecord::Deposition);
        const CDeposition& d = file.deposition();
        EXPECT_EQ(d.icode, 12);
        EXPECT_EQ(d.jtrack, 8);
        EXPECT_EQ(d.etrack, 0.25);
        EXPECT_EQ(d.position, (CPoint{7, 8, 9}));
        EXPECT_EQ(file.next(), ERecord::End);
        EXPECT_EQ(file.next(), ERecord::End);
    }
}

TEST_F(CollisionFileTest, LongerRecordsThanNeededAreAccepted)
{
    CCollisionFileBuilder builder;
    builder.record(CRecordBytes().i(1).i(0).i(8).r(1.0).r(1.0).i(1).i(99));
    builder.record(CRecordBytes().r(1).r(2).r(3).r(4).r(5).r(6).r(7).r(8).r(9));
    CCollisionFile& file = open(builder.bytes());
    ASSERT_EQ(file.next(), ERecord::Trajectory);
    EXPECT_EQ(file.trajectory().points.size(), 2u);
    EXPECT_EQ(file.trajectory().atrack, 8.0);
}

struct Damage
{
    const char* name;
    std::string bytes;
    std::string message;
};

void PrintTo(const Damage& damage, std::ostream* out)
{
    *out << damage.name;
}

class DamagedFileTest : public CollisionFileTest, public ::testing::WithParamInterface<Damage>
{
};

TEST_P(DamagedFileTest, EndsReadingWithWhatAndWhere)
{
    CCollisionFile& file = open(onePhoton().bytes() + GetParam().bytes);
    ASSERT_EQ(file.next(), ERecord::Trajectory);
    EXPECT_EQ(file.next(), ERecord::Corrupt);
    EXPECT_EQ(file.error(), GetParam().message);
    EXPECT_EQ(file.next(), ERecord::Corrupt);
}

namespace
{

std::string bytesOf(const CCollisionFileBuilder& builder)
{
    return builder.bytes();
}

std::string truncatedPhoton()
{
    const std::string whole = onePhoton().bytes();
    return whole.substr(0, whole.size() - 10);
}

std::string header(int ntrack)
{
    return bytesOf(
        CCollisionFileBuilder().record(CRecordBytes().i(ntrack).i(0).i(7).r(1.0).r(1.0).i(1)));
}

const std::string kAt = " at byte offset " + std::to_string(kTrajectoryPairSize);
const std::string kDataAt = " at byte offset " + std::to_string(kTrajectoryPairSize + 40);

} // namespace

INSTANTIATE_TEST_SUITE_P(
    CollisionFile, DamagedFileTest,
    ::testing::Values(
        Damage{"Truncated", truncatedPhoton(),
               "record of 64 bytes runs past the end of the file (58 bytes left)" + kDataAt},
        Damage{"MarkersDisagree",
               bytesOf(CCollisionFileBuilder().marker(8).raw(std::string(8, 'x')).marker(9)),
               "record length markers disagree (8 before, 9 after)" + kAt},
        Damage{"NegativeLength", bytesOf(CCollisionFileBuilder().marker(-5)),
               "negative record length -5" + kAt},
        Damage{"LengthBeyondFile", bytesOf(CCollisionFileBuilder().marker(1000).raw("abcd")),
               "record of 1000 bytes runs past the end of the file (4 bytes left)" + kAt},
        Damage{"MorePointsThanHeld",
               header(5) + bytesOf(CCollisionFileBuilder().record(
                               CRecordBytes().r(1).r(2).r(3).r(4).r(5).r(6).r(7).r(8))),
               "trajectory header announces 6 points but its data record holds 2" + kDataAt},
        Damage{"HugePointCount", header(2147483647) + bytesOf(CCollisionFileBuilder().record({})),
               "trajectory header announces 2147483648 points but its data record holds 0" +
                   kDataAt},
        Damage{"MissingDataRecord", header(1),
               "file ends after the header of a trajectory record, without its data record" + kAt},
        Damage{"PartialMarker", "ab", "file ends inside a record length marker" + kAt},
        Damage{"ShortHeader", bytesOf(CCollisionFileBuilder().record(CRecordBytes().i(1).i(2))),
               "trajectory header of 8 bytes is shorter than 32 bytes" + kAt},
        Damage{"EmptyHeader", bytesOf(CCollisionFileBuilder().record({})),
               "header record of 0 bytes is too short" + kAt},
        Damage{"NegativeSourceCount",
               bytesOf(CCollisionFileBuilder().record(CRecordBytes().i(-1).i(-3).i(0).r(0).r(0))),
               "source header announces -3 particles" + kAt},
        Damage{
            "MoreSourceParticlesThanHeld",
            bytesOf(CCollisionFileBuilder()
                        .record(CRecordBytes().i(-1).i(2).i(0).r(0).r(0))
                        .record(CRecordBytes().i(1).r(1).r(1).r(1).r(1).r(1).r(1).r(1).r(1).r(1))),
            "source header announces 2 particles but its data record holds 1" +
                std::string(" at byte offset ") + std::to_string(kTrajectoryPairSize + 36)}),
    [](const ::testing::TestParamInfo<Damage>& info) { return info.param.name; });

TEST(CollisionFileOpen, MissingFileOrFolderIsNotOpened)
{
    CCollisionFile missing;
    EXPECT_FALSE(missing.open((currentTestFolder() / "none").string()));
    EXPECT_EQ(missing.error(), "No such file or directory");
    CCollisionFile folder;
    EXPECT_FALSE(folder.open(currentTestFolder().string()));
    EXPECT_EQ(folder.error(), "not a regular file");
}

// Damage anywhere must end reading with End or Corrupt, never with a crash or a loop.
TEST_F(CollisionFileTest, RandomDamageEndsReadingCleanly)
{
    CCollisionFileBuilder builder = onePhoton();
    builder.deposition(10, 7, 1.0, {1, 2, 3}).source(1, 2).trajectory(8, 2.0, 2, {{0, 0, 0}}, 1.0);
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round)
    {
        std::string bytes = builder.bytes();
        for (int k = 0; k < 3; ++k)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        bytes.resize(bytes.size() - random() % 8);
        CCollisionFile& file = open(bytes);
        int records = 0;
        ERecord kind;
        while ((kind = file.next()) != ERecord::End && kind != ERecord::Corrupt)
            ASSERT_LE(++records, 4);
        EXPECT_LE(file.offset(), file.size());
    }
}
