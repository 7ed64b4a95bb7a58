#include "common/ColorTable.h"
#include "tracks/ParticleDataReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using namespace trakor3d;

namespace
{
std::string Block(const std::string& p, const std::string& q, const std::string& color)
{
    return "DEF _00 Transform {\n"
           "  children [\n"
           "    Shape {\n"
           "      geometry IndexedLineSet {\n"
           "        coord Coordinate {\n"
           "          point [\n"
           "          " +
           p +
           "\n"
           "          " +
           q +
           "\n"
           "          ]\n"
           "        }\n"
           "        coordIndex [\n"
           "           0, 1, -1\n"
           "        ]\n"
           "        colorPerVertex FALSE\n"
           "        color DEF particlecolors Color { color [" +
           color +
           " ] }\n"
           "        colorIndex [ 0 ]\n"
           "      }\n"
           "    }\n"
           "  ] }\n";
}
} // namespace

TEST(Vrml, PhotonWritesOneBlockPerPiece)
{
    CParticle photon;
    photon.m_Type = 7;
    for (const CSegment& s : {CSegment(0, 0, 0, 1), CSegment(1, 2, 3, 2), CSegment(1, 2, 4, 3)})
        photon.AddPoint(s);
    std::ostringstream os;
    photon.WriteVRML(os);
    EXPECT_EQ(os.str(), Block("0 0 0", "1 2 3", "1 1 0") + Block("1 2 3", "1 2 4", "1 1 0"));
}

TEST(Vrml, NumbersInDefaultStreamFormatAndColourAtExportTime)
{
    CParticle p;
    p.m_Type = 1;
    p.AddPoint({0.25, 1e6, -2.5e-5, 0});
    p.AddPoint({1.0 / 3, 0, 0, 1});
    CColorTable::Instance().Set(1, {0.5, 0.25, 1});
    std::ostringstream os;
    p.WriteVRML(os);
    CColorTable::Instance().ResetToDefaults();
    EXPECT_EQ(os.str(), Block("0.25 1e+06 -2.5e-05", "0.333333 0 0", "0.5 0.25 1"));
}

// VRML fields are floats: a reader refuses 1e+308 and nan, so neither is ever written.
TEST(Vrml, EveryNumberWrittenIsAFiniteFloat)
{
    CParticle p;
    p.m_Type = 1;
    p.AddPoint({1e308, -1e300, std::nan(""), 0});
    p.AddPoint({1e-320, 3e38, -3.5e38, 1});
    std::ostringstream os;
    p.WriteVRML(os);
    EXPECT_EQ(os.str(), Block("3.40282e+38 -3.40282e+38 0", "0 3e+38 -3.40282e+38", "1 0 0"));
}

TEST(Vrml, StoreWritesEveryParticleWhateverItsFlags)
{
    std::istringstream in("EnergyGroup_Tot 0 1\nEnergyGroup_Tot 1 2\n"
                          "PARTICLE\nEnergy 0.5\nType 7\ns 0 0 0\ns 1 0 0\nEND PARTICLE\n"
                          "PARTICLE\nEnergy 1.5\nType 8\ns 0 0 0\ns 0 1 0\nEND PARTICLE\n"
                          "PARTICLE\nEnergy 0.7\nType 3\ns 0 0 0\nEND PARTICLE\n");
    CParticleDataReader store;
    ASSERT_TRUE(store.ReadStream(in, nullptr));
    store.m_EnergyGroups[1].m_Enabled = false;
    store.m_Particles[0].begin()->second.m_Visible = false;
    store.m_ShowEvolution = true;
    std::ostringstream os;
    store.ExportVRML(os);
    size_t blocks = 0;
    for (size_t at = os.str().find("DEF _00"); at != std::string::npos;
         at = os.str().find("DEF _00", at + 1))
        ++blocks;
    EXPECT_EQ(blocks, 2u) << "a single point writes nothing";
}
