#include "cloud/Statistics.h"
#include "cloud/ParticleDataReader.h"
#include "common/ColorTable.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace nebulo3d;

namespace
{
void Load(CParticleDataReader& r, const std::string& text)
{
    std::istringstream in(text);
    ASSERT_TRUE(r.ReadOwnFormat(in, text.size(), nullptr));
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}
} // namespace

TEST(TypeReport, PercentRoundedAndCounts)
{
    CParticleDataReader r;
    Load(r, "8 1 0 0 0 0 0 1 1\n8 1 0 0 0 0 0 1 1\n7 1 0 0 0 0 0 1 1\n");
    const std::string text = TypeReport(r);
    EXPECT_EQ(text.rfind("Particle statistics\r\n=====", 0), 0u);
    EXPECT_TRUE(Contains(text, "Total number of particles: 3\r\n\r\n"));
    EXPECT_TRUE(
        Contains(text, "Particle - Neutron              \t - occurence:\t\t66.67% \t (2 / 3) \r\n"))
        << text;
    EXPECT_TRUE(Contains(text, "Photon               \t - occurence:\t\t33.33% \t (1 / 3)"));
}

TEST(TypeReport, EmptyCloudDividesByNothing)
{
    CParticleDataReader r;
    EXPECT_EQ(TypeReport(r), "Particle statistics\r\n==========================================\r\n"
                             "Total number of particles: 0\r\n\r\n");
}

TEST(Histogram, LinearEdgesAndTheUpperEdgeCountsAbove)
{
    const CHistogramSettings s{0, 10, false, 10};
    ASSERT_EQ(CheckHistogram(s), EHistogramCheck::Ok);
    const std::vector<double> edges = HistogramEdges(s);
    ASSERT_EQ(edges.size(), 11u);
    for (int i = 0; i <= 10; ++i)
        EXPECT_EQ(edges[i], i);
    CParticleDataReader r;
    Load(r, "8 1 0 0 0 0 0 1 10\n8 1 0 0 0 0 0 1 0\n8 1 0 0 0 0 0 1 0.5\n");
    const std::string text = HistogramReport(r, s);
    EXPECT_TRUE(Contains(text, "0.000000E+00 --> 1.000000E+00: 2 entries (66.67)% --> "
                               "percentage of the total nr. of particles (66.67)%\r\n"))
        << text;
    EXPECT_TRUE(Contains(text, "\r\n0 entries (0.00)% below the lower bin threshold"));
    EXPECT_TRUE(Contains(text, "1 entries (33.33)% above the upper bin threshold"));
    EXPECT_TRUE(Contains(text, "TOTAL number of particles: 3 \r\n"));
}

TEST(Histogram, LogarithmicEdgesByDecades)
{
    const std::vector<double> edges = HistogramEdges({0.001, 10, true, 4});
    const double expected[] = {0.001, 0.01, 0.1, 1, 10};
    ASSERT_EQ(edges.size(), 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(edges[i], expected[i], expected[i] * 1e-12);
}

TEST(Histogram, NoOutOfRangeLinesWhenAllInside)
{
    CParticleDataReader r;
    Load(r, "8 1 0 0 0 0 0 1 5\n");
    EXPECT_FALSE(Contains(HistogramReport(r, {0, 10, false, 2}), "threshold"));
}

TEST(Histogram, RefusedSettings)
{
    EXPECT_EQ(CheckHistogram({5, 5, false, 10}), EHistogramCheck::InvalidRange);
    EXPECT_EQ(CheckHistogram({-1, 5, false, 10}), EHistogramCheck::InvalidRange);
    EXPECT_EQ(CheckHistogram({0, 5, true, 10}), EHistogramCheck::LogMinimum);
    EXPECT_EQ(CheckHistogram({0, 5, false, 0}), EHistogramCheck::BinCount);
    EXPECT_EQ(CheckHistogram({0, 5, false, MaxHistogramBins + 1}), EHistogramCheck::BinCount);
    EXPECT_EQ(CheckHistogram({0, 5, false, MaxHistogramBins}), EHistogramCheck::Ok);
    EXPECT_STREQ(HistogramMessage(EHistogramCheck::InvalidRange),
                 "Invalid energy values. Please check your input");
}

TEST(Histogram, TypeWithoutParticlesInAnEmptyCloud)
{
    CParticleDataReader r;
    EXPECT_EQ(HistogramReport(r, {0, 1, false, 1}),
              "----------------------------------------------\r\nTOTAL number of particles: 0 "
              "\r\n----------------------------------------------\r\n\r\n");
}

TEST(Vrml, OneZeroLengthLinePerParticleInItsTypeColour)
{
    CParticleDataReader r;
    Load(r, "7 1 0.25 1e6 -2.5e-5 0 0 1 1\n");
    std::ostringstream os;
    r.ExportVRML(os);
    const CVector c = CColorTable::Instance().Get(7);
    std::ostringstream color;
    color << c.x << ' ' << c.y << ' ' << c.z;
    EXPECT_EQ(os.str(), "DEF _00 Transform {\n"
                        "  children [\n"
                        "    Shape {\n"
                        "      geometry IndexedLineSet {\n"
                        "        coord Coordinate {\n"
                        "          point [\n"
                        "          0.25 1e+06 -2.5e-05\n"
                        "          0.25 1e+06 -2.5e-05\n"
                        "          ]\n"
                        "        }\n"
                        "        coordIndex [\n"
                        "         0, 1, -1\n"
                        "      ]\n"
                        "      colorPerVertex FALSE\n"
                        "      color DEF particlecolors Color { color [ " +
                            color.str() +
                            " ] }\n"
                            "      colorIndex [ 0 ]\n"
                            "    }\n"
                            "  }\n"
                            "] }\n");
}
