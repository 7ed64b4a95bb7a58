// Standard FLUKA mgdraw dumps: recognition, reading value by value, damaged files, conversion.
#include "MgdrawDump.h"
#include "CollisionFile.h"
#include "CollisionFileBuilder.h"
#include "RecordFormats.h"
#include "TestFiles.h"
#include "Trakor.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

using namespace trakor;
using namespace trakor::testing;
namespace fs = std::filesystem;
using ERecord = CRecordReader::ERecord;

namespace
{

// The records the Fortran fixture writes, in its order: tracks of one and three steps, a point
// deposition, a source of two primaries. Pairs start at bytes 0, 64, 160 and 212; 320 in all.
CMgdrawDumpBuilder FixtureRecords()
{
    CMgdrawDumpBuilder dump;
    dump.Track(7, 1.5f, {{0, 0, 0}, {10, -2.5, 3.25}}, {}, 0.125f)
        .Track(1, 2.0f, {{1, -1, 0.5}, {2, -2, 1.5}, {3, -3, 2.5}, {4, -4, 3.5}}, {0.01f, 0.02f},
               0.25f)
        .Deposition(10, 8, 0.75f, {5, 6, 7})
        .Source(4, 2);
    return dump;
}

fs::path Saved(const std::string& bytes, const std::string& name = "dump")
{
    const fs::path path = CurrentTestFolder() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::unique_ptr<CRecordReader> Recognised(const std::string& bytes)
{
    CRecognition recognition = RecogniseRecordFile(Saved(bytes).string());
    EXPECT_TRUE(recognition.m_Opened);
    EXPECT_EQ(recognition.m_Error, "");
    return std::move(recognition.m_Reader);
}

std::string RefusalOf(const std::string& bytes)
{
    CRecognition recognition = RecogniseRecordFile(Saved(bytes).string());
    EXPECT_FALSE(recognition.m_Reader);
    return recognition.m_Error;
}

// Runs trakor on a file named "run1" in the test's folder, with total energy, all particles.
struct CDumpRun
{
    explicit CDumpRun(const std::string& bytes, const std::string& answers = "\n\n\n1\n\n\n")
    {
        m_Previous = fs::current_path();
        fs::current_path(CurrentTestFolder());
        std::ofstream("run1", std::ios::binary) << bytes;
        std::istringstream in("run1\n" + answers);
        m_Status = RunTrakor(in, m_Out, m_Err);
        m_Tracks = fs::exists("run1.tracks") ? ReadFile("run1.tracks") : "";
        m_Script = fs::exists("collfile.scr") ? ReadFile("collfile.scr") : "";
        fs::current_path(m_Previous);
    }
    fs::path m_Previous;
    std::ostringstream m_Out, m_Err;
    int m_Status = -1;
    std::string m_Tracks, m_Script;
};

const std::string PhotonBlock = "\nPARTICLE\n"
                                "s +0.000000000000000D+00,+0.000000000000000D+00,"
                                "+0.000000000000000D+00 +0.000000000000000D+00 \n"
                                "s +1.000000000000000D+01,-2.500000000000000D+00,"
                                "+3.250000000000000D+00 +0.000000000000000D+00 \n"
                                "Energy +1.500000000000000D+00\n"
                                "Type    +7\n"
                                "END PARTICLE\n";

} // namespace

TEST(MgdrawDumpRecognition, EachFormatIsToldFromItsFirstRecordPair)
{
    CCollisionFileBuilder own;
    own.Trajectory(7, 1.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9);
    EXPECT_TRUE(dynamic_cast<CCollisionFile*>(Recognised(own.Bytes()).get()));
    EXPECT_TRUE(dynamic_cast<CMgdrawDump*>(Recognised(FixtureRecords().Bytes()).get()));
    CMgdrawDumpBuilder sourceFirst;
    sourceFirst.Source(1, 1).Track(7, 1.0f, {{0, 0, 0}, {1, 0, 0}});
    EXPECT_TRUE(dynamic_cast<CMgdrawDump*>(Recognised(sourceFirst.Bytes()).get()));
}

TEST(MgdrawDumpRecognition, OtherFilesAreRefusedWithWhatWasFound)
{
    EXPECT_EQ(RefusalOf(""), "the file is empty");
    EXPECT_EQ(
        RefusalOf(CCollisionFileBuilder().Record(CRecordBytes().Int(1).Int(2).Int(3)).Bytes()),
        "neither a trakor collision file nor a standard FLUKA mgdraw dump: its first record "
        "holds 12 bytes (a collision file starts with a header of 28 or more, a standard "
        "dump with one of 20)");
    EXPECT_EQ(RefusalOf("ENERGYGROUP_TOT"),
              "no Fortran unformatted record at its start: record of 1380273733 bytes runs past "
              "the end of the file (11 bytes left) at byte offset 0");
    CMgdrawDumpBuilder damaged;
    damaged.Records().Record(CRecordBytes().Int(3).Int(0).Int(7).Float(1).Float(1));
    damaged.Records().Record(CRecordBytes().Float(0).Float(0).Float(0).Float(0));
    EXPECT_EQ(RefusalOf(damaged.Bytes()),
              "read as a standard FLUKA mgdraw dump (single precision, no times), its first record "
              "pair is damaged: track header announces NTRACK 3 and MTRACK 0 (52 bytes of data) "
              "but its data record holds 16 bytes at byte offset 28");
}

TEST(MgdrawDumpRecognition, RefusedFileEndsTheDialogueWithoutOutputs)
{
    CDumpRun run("");
    EXPECT_EQ(run.m_Status, ExitDialogueEnded);
    EXPECT_EQ(run.m_Err.str(), " *** OPEN ERROR: collision file run1: the file is empty\n");
    EXPECT_EQ(run.m_Out.str().find("Total energy"), std::string::npos);
    EXPECT_FALSE(fs::exists(CurrentTestFolder() / "run1.tracks"));
}

#ifdef TRAKOR_FORTRAN_DUMP
TEST(MgdrawDumpReading, FortranWrittenRecordsReadValueByValue)
{
    const std::string fortran = ReadFile(TRAKOR_FORTRAN_DUMP);
    ASSERT_EQ(fortran, FixtureRecords().Bytes()) << "our builder and gfortran disagree";
    std::unique_ptr<CRecordReader> file = Recognised(fortran);
    ASSERT_TRUE(dynamic_cast<CMgdrawDump*>(file.get()));
    EXPECT_FALSE(file->HasTimes());

    ASSERT_EQ(file->Next(), ERecord::Trajectory);
    const CTrajectory& t = file->Trajectory();
    EXPECT_EQ(t.m_Ntrack, 1);
    EXPECT_EQ(t.m_Mtrack, 0);
    EXPECT_EQ(t.m_Jtrack, 7);
    EXPECT_EQ(t.m_Etrack, 1.5);
    EXPECT_EQ(t.m_Wtrack, 1.0);
    EXPECT_EQ(t.m_Ncase, 0);
    EXPECT_EQ(t.m_Atrack, 0.0);
    EXPECT_EQ(t.m_Points, (std::vector<CPoint>{{0, 0, 0}, {10, -2.5, 3.25}}));

    ASSERT_EQ(file->Next(), ERecord::Trajectory);
    EXPECT_EQ(t.m_Ntrack, 3);
    EXPECT_EQ(t.m_Mtrack, 2);
    EXPECT_EQ(t.m_Jtrack, 1);
    EXPECT_EQ(t.m_Etrack, 2.0);
    EXPECT_EQ(t.m_Points,
              (std::vector<CPoint>{{1, -1, 0.5}, {2, -2, 1.5}, {3, -3, 2.5}, {4, -4, 3.5}}));

    ASSERT_EQ(file->Next(), ERecord::Deposition);
    const CDeposition& d = file->Deposition();
    EXPECT_EQ(d.m_Icode, 10);
    EXPECT_EQ(d.m_Jtrack, 8);
    EXPECT_EQ(d.m_Etrack, 0.75);
    EXPECT_EQ(d.m_Position, (CPoint{5, 6, 7}));
    EXPECT_EQ(d.m_Rull, static_cast<double>(0.003f));

    EXPECT_EQ(file->Next(), ERecord::Source);
    EXPECT_EQ(file->Next(), ERecord::End);
    EXPECT_EQ(file->Offset(), 320u);
}

TEST(MgdrawDumpConversion, FortranWrittenDumpConvertsToTracksWithoutTimes)
{
    CDumpRun run(ReadFile(TRAKOR_FORTRAN_DUMP));
    ASSERT_EQ(run.m_Status, ExitDone) << run.m_Err.str();
    EXPECT_EQ(run.m_Err.str(), "");
    const std::string proton =
        "\nPARTICLE\n"
        "s +1.000000000000000D+00,-1.000000000000000D+00,+5.000000000000000D-01 "
        "+0.000000000000000D+00 \n"
        "s +2.000000000000000D+00,-2.000000000000000D+00,+1.500000000000000D+00 "
        "+0.000000000000000D+00 \n"
        "s +3.000000000000000D+00,-3.000000000000000D+00,+2.500000000000000D+00 "
        "+0.000000000000000D+00 \n"
        "s +4.000000000000000D+00,-4.000000000000000D+00,+3.500000000000000D+00 "
        "+0.000000000000000D+00 \n"
        "Energy +2.000000000000000D+00\n"
        "Type    +1\n"
        "END PARTICLE\n";
    EXPECT_EQ(run.m_Tracks,
              "ENERGYGROUP_TOT +0.000000000E+00,+1.000000000E+05 \n" + PhotonBlock + proton);
    EXPECT_NE(run.m_Script.find("_SET\nALL07\n"), std::string::npos);
    EXPECT_NE(run.m_Script.find("_LINE\n+1.000000000E+00,-1.000000000E+00,+5.000000000E-01\n"),
              std::string::npos);
    EXPECT_NE(run.m_Script.find("_NEW\nCOLL08_10\n"), std::string::npos);
    EXPECT_NE(run.m_Script.find("_SPHERE\n+5.000000000E+00,+6.000000000E+00,+7.000000000E+00\n"),
              std::string::npos);
    const std::string out = run.m_Out.str();
    EXPECT_NE(out.find(" File type: standard FLUKA mgdraw dump (single precision, no times)\n"),
              std::string::npos);
    EXPECT_NE(out.find(" 2 particles written to run1.tracks\n 1 spheres written to collfile.scr\n"
                       " No times in a standard FLUKA mgdraw dump"),
              std::string::npos);
    EXPECT_NE(out.find("time evolution is not offered"), std::string::npos);
}
#else
TEST(MgdrawDumpReading, FortranWrittenRecordsReadValueByValue)
{
    GTEST_SKIP() << "gfortran not found: no dump written by Fortran";
}
#endif

TEST(MgdrawDumpConversion, SelectionAndEventsWorkAsForCollisionFiles)
{
    CMgdrawDumpBuilder dump;
    dump.Source(5, 1)
        .Track(1, 2.0f, {{0, 0, 0}, {1, 0, 0}})
        .Track(7, 2.0f, {{0, 0, 0}, {1, 0, 0}})
        .Track(50, 3.0f, {{0, 0, 0}, {1, 0, 0}});
    CDumpRun run(dump.Bytes(), "1\n1.0\n1.1\n1\n\n\n");
    ASSERT_EQ(run.m_Status, ExitDone);
    EXPECT_NE(run.m_Tracks.find("Type    +1\n"), std::string::npos);
    EXPECT_EQ(run.m_Tracks.find("Type    +7\n"), std::string::npos);
    EXPECT_NE(run.m_Tracks.find("Energy +1.061728000640869D+00\n"), std::string::npos)
        << run.m_Tracks;

    CDumpRun all(dump.Bytes());
    EXPECT_NE(all.m_Out.str().find(" ** WARNING: Unknown particle 50 encountered!\n"
                                   " **          Event: 5 tot. Energy: "),
              std::string::npos);
}

TEST(MgdrawDumpConversion, TruncatedLastRecordKeepsWhatWasConverted)
{
    CDumpRun run(FixtureRecords().Bytes().substr(0, 170));
    EXPECT_EQ(run.m_Status, ExitCorruptInput);
    EXPECT_EQ(run.m_Err.str(), " *** ERROR: collision file run1: record of 20 bytes runs past the "
                               "end of the file (6 bytes left) at byte offset 160; the rest of "
                               "the file is not converted\n");
    EXPECT_NE(run.m_Out.str().find(" 2 particles written to run1.tracks"), std::string::npos);
    EXPECT_EQ(run.m_Tracks.substr(run.m_Tracks.find('\n') + 1, PhotonBlock.size()), PhotonBlock);
}

namespace
{

struct CDamage
{
    const char* m_Name;
    std::string m_Bytes;
    int m_GoodRecords; // read before the damage
    std::string m_Message;
};

void PrintTo(const CDamage& damage, std::ostream* out)
{
    *out << damage.m_Name;
}

std::string Cut(std::size_t size)
{
    return FixtureRecords().Bytes().substr(0, size);
}

// One good photon track (64 bytes), then the damage.
std::string AfterPhoton(const std::function<void(CCollisionFileBuilder&)>& damage)
{
    CMgdrawDumpBuilder dump;
    dump.Track(7, 1.5f, {{0, 0, 0}, {10, -2.5, 3.25}});
    damage(dump.Records());
    return dump.Bytes();
}

CRecordBytes TrackHeader(int ntrack, int mtrack)
{
    return CRecordBytes().Int(ntrack).Int(mtrack).Int(7).Float(1).Float(1);
}

CRecordBytes Floats(int count)
{
    CRecordBytes bytes;
    for (int k = 0; k < count; ++k)
        bytes.Float(1);
    return bytes;
}

const std::string At64 = " at byte offset 64";
const std::string At92 = " at byte offset 92";

class DamagedDumpTest : public ::testing::TestWithParam<CDamage>
{
};

} // namespace

TEST_P(DamagedDumpTest, EndsReadingWithWhatAndWhere)
{
    CMgdrawDump file;
    ASSERT_TRUE(file.Open(Saved(GetParam().m_Bytes).string()));
    for (int k = 0; k < GetParam().m_GoodRecords; ++k)
        ASSERT_NE(file.Next(), ERecord::Corrupt) << file.Error();
    EXPECT_EQ(file.Next(), ERecord::Corrupt);
    EXPECT_EQ(file.Error(), GetParam().m_Message);
    EXPECT_EQ(file.Next(), ERecord::Corrupt);
}

INSTANTIATE_TEST_SUITE_P(
    MgdrawDump, DamagedDumpTest,
    ::testing::Values(
        CDamage{"CutInsideFirstMarker", Cut(2), 0,
                "file ends inside a record length marker at byte offset 0"},
        CDamage{"CutInsideTrackData", Cut(100), 1,
                "record of 60 bytes runs past the end of the file (4 bytes left)" + At92},
        CDamage{"CutInsideTrailingMarker", Cut(158), 1,
                "record of 60 bytes runs past the end of the file (62 bytes left)" + At92},
        CDamage{"CutInsideHeader", Cut(170), 2,
                "record of 20 bytes runs past the end of the file (6 bytes left) at byte offset "
                "160"},
        CDamage{"CutAfterHeader", Cut(188), 2,
                "file ends after the header of a energy-deposition record, without its data "
                "record at byte offset 160"},
        CDamage{"CutInsideLastRecord", Cut(318), 3,
                "record of 72 bytes runs past the end of the file (74 bytes left) at byte offset "
                "240"},
        CDamage{"AbsurdNtrack",
                AfterPhoton([](CCollisionFileBuilder& f) { f.Record(TrackHeader(2147483647, 0)); }),
                1,
                "track header announces NTRACK 2147483647 and MTRACK 0, outside 0..100000" + At64},
        CDamage{"NegativeMtrack",
                AfterPhoton([](CCollisionFileBuilder& f) { f.Record(TrackHeader(1, -1)); }), 1,
                "track header announces NTRACK 1 and MTRACK -1, outside 0..100000" + At64},
        CDamage{"TrackLengthDisagrees",
                AfterPhoton([](CCollisionFileBuilder& f)
                            { f.Record(TrackHeader(3, 0)).Record(Floats(7)); }),
                1,
                "track header announces NTRACK 3 and MTRACK 0 (52 bytes of data) but its data "
                "record holds 28 bytes" +
                    At92},
        CDamage{"LongerTrackThanAnnounced",
                AfterPhoton([](CCollisionFileBuilder& f)
                            { f.Record(TrackHeader(1, 0)).Record(Floats(8)); }),
                1,
                "track header announces NTRACK 1 and MTRACK 0 (28 bytes of data) but its data "
                "record holds 32 bytes" +
                    At92},
        CDamage{"DepositionLengthDisagrees",
                AfterPhoton(
                    [](CCollisionFileBuilder& f)
                    {
                        f.Record(CRecordBytes().Int(0).Int(10).Int(7).Float(1).Float(1));
                        f.Record(Floats(5));
                    }),
                1,
                "energy-deposition header (16 bytes of data) but its data record holds 20 bytes" +
                    At92},
        CDamage{"SourceLengthDisagrees",
                AfterPhoton(
                    [](CCollisionFileBuilder& f)
                    {
                        f.Record(CRecordBytes().Int(-1).Int(2).Int(2).Float(1).Float(1));
                        f.Record(Floats(9));
                    }),
                1,
                "source header announces NPFLKA 2 (72 bytes of data) but its data record holds 36 "
                "bytes" +
                    At92},
        CDamage{"AbsurdNpflka",
                AfterPhoton([](CCollisionFileBuilder& f)
                            { f.Record(CRecordBytes().Int(-1).Int(-3).Int(2).Float(1).Float(1)); }),
                1, "source header announces NPFLKA -3, outside 0..100000" + At64},
        CDamage{"HeaderOfAnotherFormat",
                AfterPhoton(
                    [](CCollisionFileBuilder& f) {
                        f.Trajectory(7, 1.0, 1, {{0, 0, 0}, {1, 0, 0}}, 1e-9);
                    }),
                1, "header record of 32 bytes where a standard dump has 20 bytes" + At64}),
    [](const ::testing::TestParamInfo<CDamage>& info) { return info.param.m_Name; });

// Damage anywhere must end reading with End or Corrupt, never with a crash or a loop.
TEST(MgdrawDumpReading, RandomDamageEndsReadingCleanly)
{
    const std::string whole = FixtureRecords().Bytes();
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round)
    {
        std::string bytes = whole;
        for (int k = 0; k < 3; ++k)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        bytes.resize(bytes.size() - random() % 8);
        CMgdrawDump file;
        ASSERT_TRUE(file.Open(Saved(bytes).string()));
        int records = 0;
        ERecord kind;
        while ((kind = file.Next()) != ERecord::End && kind != ERecord::Corrupt)
            ASSERT_LE(++records, 4);
        EXPECT_LE(file.Offset(), file.Size());
    }
}
