#include "testkit/ThreadCount.h"
#include "testkit/UiCapture.h"
#include "tracks/ParticleDataReader.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <cstring>
#include <fstream>
#include <sstream>

using namespace trakor3d;
using namespace testkit;
using namespace std::string_literals;

namespace
{
// Everything a reading leaves: the store, the error lines and the message boxes.
std::string Describe(const CParticleDataReader& store, bool ok, const std::string& errors,
                     const std::vector<std::string>& boxes)
{
    std::ostringstream out;
    out.precision(17);
    out << "ok " << ok << "\n";
    for (const CEnergyGroup& group : store.m_EnergyGroups)
        out << "group " << group.m_Label << " " << group.m_Lower << " " << group.m_Upper << "\n";
    for (size_t g = 0; g < store.m_Particles.size(); ++g)
        for (const auto& [type, particle] : store.m_Particles[g])
        {
            out << "particle " << g << " " << type << " " << particle.m_Energy << " "
                << particle.m_Radius << " " << particle.m_Lower.x << " " << particle.m_Lower.y
                << " " << particle.m_Lower.z << " " << particle.m_Upper.x << " "
                << particle.m_Upper.y << " " << particle.m_Upper.z << ":";
            for (const CSegment& point : particle.m_Points)
                out << " " << point.x << " " << point.y << " " << point.z << " " << point.t;
            out << "\n";
        }
    out << "bounds " << store.m_Lower.x << " " << store.m_Upper.z << " times " << store.m_T0 << " "
        << store.m_TMax << "\n"
        << errors;
    for (const std::string& box : boxes)
        out << "box " << box << "\n";
    return out.str();
}

class ChunkedReadTest : public CUiTest
{
protected:
    std::string ReadInPieces(const std::string& text, size_t pieceBytes)
    {
        Ui().Reset();
        CParticleDataReader store;
        std::ostringstream errors;
        store.SetErrorStream(errors);
        const bool ok = store.ReadText(text, nullptr, pieceBytes);
        return Describe(store, ok, errors.str(), MessageTexts());
    }
    // Every piece size from one byte to past the text, with 1, 2 and 3 threads, reads what one
    // piece reads: groups, particles, corners, line numbers, error lines and boxes.
    void ExpectSameAtEveryBoundary(const std::string& text)
    {
        std::string expected;
        {
            CThreadCount count(1);
            expected = ReadInPieces(text, text.size() + 1);
        }
        for (int threads : {1, 2, 3})
        {
            CThreadCount count(threads);
            for (size_t piece = 1; piece <= text.size() + 1; ++piece)
                ASSERT_EQ(ReadInPieces(text, piece), expected)
                    << "piece " << piece << ", " << threads << " threads";
        }
    }
};

const std::string Groups = "EnergyGroup_Tot 1.0E-03 1.0E-01\nEnergyGroup_Tot 1.0E-01 10\n";
} // namespace

TEST_F(ChunkedReadTest, BlocksGroupsAndCornersAsReadFromTheStart)
{
    ExpectSameAtEveryBoundary(Groups +
                              "PARTICLE\nType 7\nEnergy 5.0E-03\ns 0 0 0\ns 1 -2 3 0.5\nEND "
                              "PARTICLE\n# comment PARTICLE\nPARTICLE\r\nType 1\nEnergy 2.5\ns "
                              "-4 5 6D-1\ns 7 8 9 1.25E+00\nEND PARTICLE\nParticle\nType 3\nEnergy "
                              "0.05\nRadius 2\ns 1e3 0 0\nEndParticle\n");
}

TEST_F(ChunkedReadTest, MessagesCarryTheLineNumbersOfReadingFromTheStart)
{
    ExpectSameAtEveryBoundary("EnergyGroup_Tot 1 2\nbogus\nPARTICLE\nType 7\nEnergy 50\ns 0 0 "
                              "0\nEND PARTICLE\nPARTICLE\nType 999\nEnergy 1.5\ns 1 2\ns 1 1 1 "
                              "1e999\nwhat\nEND PARTICLE\nunknown again\nPARTICLE\ns 1 1 1\nEND "
                              "PARTICLE\n");
}

TEST_F(ChunkedReadTest, ABlockWithoutItsEndRunsOnAsFromTheStart)
{
    // The second block has no end: its successors are read as its lines.
    ExpectSameAtEveryBoundary(Groups + "PARTICLE\nType 7\nEnergy 5.0E-03\ns 0 0 0\nEND "
                                       "PARTICLE\nPARTICLE\nType 1\nEnergy 2.5\ns 1 1 1\nPARTICLE\n"
                                       "Type 7\nEnergy 0.01\ns 2 2 2\nEND PARTICLE\nPARTICLE\nType "
                                       "1\nEnergy 3\ns 3 3 3\n");
}

TEST_F(ChunkedReadTest, BinaryDataAndBadGroupsStopWhereTheyStopFromTheStart)
{
    ExpectSameAtEveryBoundary(Groups + "PARTICLE\nType 7\nEnergy 5.0E-03\ns 0 0 0\nEND "
                                       "PARTICLE\nPARTICLE\nType 1\ns 1 \0 1\nEND PARTICLE\n"s
                                       "PARTICLE\nType 7\nEnergy 0.01\ns 2 2 2\nEND PARTICLE\n");
    ExpectSameAtEveryBoundary(Groups + "PARTICLE\nType 7\nEnergy 5.0E-03\ns 0 0 0\nEND "
                                       "PARTICLE\nEnergyGroup_Tot 5\nPARTICLE\nType 7\nEnergy "
                                       "0.01\ns 2 2 2\nEND PARTICLE\n");
}

TEST_F(ChunkedReadTest, EmptyAndOneLineFiles)
{
    ExpectSameAtEveryBoundary("");
    ExpectSameAtEveryBoundary("PARTICLE");
    ExpectSameAtEveryBoundary("\n\n\n");
}

// The real file and a copy of many blocks read the same in pieces of a few blocks.
TEST_F(ChunkedReadTest, ManyBlocksInSmallPieces)
{
    std::string text = Groups;
    for (int p = 0; p < 200; ++p)
        text += "PARTICLE\nType " + std::to_string(1 + p % 9) + "\nEnergy " +
                std::to_string(0.01 * (p % 300)) + "\ns " + std::to_string(p) + " 0 " +
                std::to_string(-p) + "\ns 1 2 3\nEND PARTICLE\n";
    std::string expected;
    {
        CThreadCount count(1);
        expected = ReadInPieces(text, text.size());
    }
    CThreadCount count(3);
    for (size_t piece : {1, 7, 64, 100, 333, 1000, 4096})
        ASSERT_EQ(ReadInPieces(text, piece), expected) << "piece " << piece;
}

// One particle object read block after block: each particle carries the corners of all blocks
// read before it, whether they were added or not.
TEST_F(ChunkedReadTest, CornersAccumulateOverTheFile)
{
    const std::string text = Groups + "PARTICLE\nType 999\nEnergy 0.005\ns -9 9 0\nEND PARTICLE\n"
                                      "PARTICLE\nType 7\nEnergy 0.005\ns 1 2 3\nEND PARTICLE\n";
    CThreadCount count(2);
    for (size_t piece : {1, 20, 1000})
    {
        CParticleDataReader store;
        std::ostringstream errors;
        store.SetErrorStream(errors);
        ASSERT_TRUE(store.ReadText(text, nullptr, piece));
        ASSERT_EQ(store.m_Particles[0].size(), 1u);
        const CParticle& particle = store.m_Particles[0].begin()->second;
        EXPECT_EQ(particle.m_Lower, CVector(-9, 2, 0)) << piece;
        EXPECT_EQ(particle.m_Upper, CVector(1, 9, 3)) << piece;
    }
}

// A cut-off first line of a block that the next piece completes is reported once.
TEST_F(ChunkedReadTest, ACutOffLineOfAnOpenBlockIsReportedOnce)
{
    const std::string text = Groups + "PARTICLE" + std::string(1 << 20, 'x') +
                             "\nType 7\nEnergy 0.005\ns 0 0 0\nPARTICLE\nType 7\nEnergy 0.005\n"
                             "s 1 1 1\nEND PARTICLE\n";
    std::string expected;
    {
        CThreadCount count(1);
        expected = ReadInPieces(text, text.size());
    }
    EXPECT_NE(expected.find("Warning (3): Line longer than"), std::string::npos) << expected;
    CThreadCount count(3);
    EXPECT_EQ(ReadInPieces(text, 16), expected);
}
