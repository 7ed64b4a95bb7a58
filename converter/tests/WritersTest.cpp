// Energy groups, particle blocks and the CAD script, as text.
#include "EnergyGroups.h"
#include "NumberFormat.h"
#include "ScriptWriter.h"
#include "TextOutput.h"
#include "TrackWriter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

using namespace trakor;

namespace
{

constexpr double LightStep = 29.9792458; // cm a photon covers in 1 ns

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

std::string TrackNumber(double value)
{
    std::string text(ExponentWidth(TrackDecimals), ' ');
    FormatExponent(text.data(), value, TrackDecimals, 'D');
    return text;
}

// The time field of every point line.
std::vector<std::string> Times(const std::string& text)
{
    std::vector<std::string> result;
    for (const std::string& line : Lines(text))
        if (line.rfind("s ", 0) == 0) result.push_back(line.substr(71, 22));
    return result;
}

// A D-exponent field as a number.
double TimeValue(std::string field)
{
    field[field.find('D')] = 'E';
    return std::stod(field);
}

CTrajectory Photon(int ncase, std::vector<CPoint> points, double age)
{
    CTrajectory t;
    t.m_Ntrack = static_cast<int>(points.size()) - 1;
    t.m_Jtrack = 7;
    t.m_Etrack = 1.0;
    t.m_Ncase = ncase;
    t.m_Points = std::move(points);
    t.m_Atrack = age;
    return t;
}

struct TrackRun
{
    explicit TrackRun(bool kinetic = false) : m_Writer(m_Out, kinetic, m_Warnings) {}
    CStringOutput m_Out;
    std::ostringstream m_Warnings;
    CTrackWriter m_Writer;
};

} // namespace

TEST(EnergyGroups, LinearBinsAndLineLayout)
{
    CStringOutput out;
    WriteEnergyGroups(out, groupcalc(0.0, 1.0, 4, false), false);
    EXPECT_EQ(out.Text(), "ENERGYGROUP_TOT +0.000000000E+00,+2.500000000E-01 \n"
                          "ENERGYGROUP_TOT +2.500000000E-01,+5.000000000E-01 \n"
                          "ENERGYGROUP_TOT +5.000000000E-01,+7.500000000E-01 \n"
                          "ENERGYGROUP_TOT +7.500000000E-01,+1.000000000E+00 \n");
}

TEST(EnergyGroups, LogarithmicBinsAndKineticKeyword)
{
    CStringOutput out;
    WriteEnergyGroups(out, groupcalc(1.0e-3, 1.0e-1, 2, true), true);
    EXPECT_EQ(out.Text(), "ENERGYGROUP_KIN +1.000000000E-03,+1.000000000E-02 \n"
                          "ENERGYGROUP_KIN +1.000000000E-02,+1.000000000E-01 \n");
}

TEST(TrackWriter, PhotonBlockWithTimesAtTheSpeedOfLight)
{
    TrackRun run;
    ASSERT_TRUE(run.m_Writer.collcad_orlin(
        Photon(1, {{0, 0, 0}, {LightStep, 0, 0}, {2 * LightStep, 0, 0}}, 3.0e-9)));
    const std::vector<std::string> text = Lines(run.m_Out.Text());
    ASSERT_EQ(text.size(), 8u);
    EXPECT_EQ(text[0], "");
    EXPECT_EQ(text[1], "PARTICLE");
    const std::string rest = ",+0.000000000000000D+00,+0.000000000000000D+00 ";
    EXPECT_EQ(text[2].substr(0, 71), "s +0.000000000000000D+00" + rest);
    EXPECT_EQ(text[3].substr(0, 71), "s +2.997924580000000D+01" + rest);
    EXPECT_EQ(text[4].substr(0, 71), "s +5.995849160000000D+01" + rest);
    EXPECT_EQ(text[5], "Energy +1.000000000000000D+00");
    EXPECT_EQ(text[6], "Type    +7");
    EXPECT_EQ(text[7], "END PARTICLE");
    const std::vector<std::string> t = Times(run.m_Out.Text());
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(TimeValue(t[i]), 1.0e-9 * static_cast<double>(i + 1), 1e-23) << t[i];
}

TEST(TrackWriter, NumbersStartAtColumns3_26_49_72)
{
    TrackRun run;
    run.m_Writer.collcad_orlin(Photon(1, {{-1.5, 2e-300, 3e100}, {4, 5, 6}}, 1.0));
    const std::string line = Lines(run.m_Out.Text())[2];
    ASSERT_EQ(line.size(), 94u);
    EXPECT_EQ(line.substr(0, 2), "s ");
    EXPECT_EQ(line[24], ',');
    EXPECT_EQ(line[47], ',');
    EXPECT_EQ(line[70], ' ');
    EXPECT_EQ(line[93], ' ');
    EXPECT_EQ(line.substr(2, 22), TrackNumber(-1.5));
    EXPECT_EQ(line.substr(25, 22), "+2.000000000000000-300");
    EXPECT_EQ(line.substr(48, 22), "+3.000000000000000+100");
}

TEST(TrackWriter, LaterEventsStartAfterTheLatestAgeOfEarlierOnes)
{
    TrackRun run;
    run.m_Writer.collcad_orlin(Photon(1, {{0, 0, 0}, {1, 0, 0}}, 5.0e-9));
    run.m_Writer.collcad_orlin(Photon(1, {{0, 0, 0}, {1, 0, 0}}, 2.0e-9));
    run.m_Writer.collcad_orlin(Photon(2, {{0, 0, 0}, {LightStep, 0, 0}}, 1.0e-9));
    run.m_Writer.collcad_orlin(Photon(2, {{0, 0, 0}, {1, 0, 0}}, 4.0e-9));
    run.m_Writer.collcad_orlin(Photon(3, {{0, 0, 0}, {1, 0, 0}}, 1.0e-9));
    const std::vector<std::string> t = Times(run.m_Out.Text());
    ASSERT_EQ(t.size(), 10u);
    // The offset is accumulated in single precision.
    const double shift2 = static_cast<float>(5.0e-9);
    EXPECT_EQ(t[4], TrackNumber(shift2 + 1.0e-9 - 1.0e-9));
    EXPECT_EQ(t[5], TrackNumber(1.0e-9 + shift2));
    EXPECT_NE(t[5], TrackNumber(1.0e-9 + 5.0e-9));
    EXPECT_EQ(t[7], TrackNumber(4.0e-9 + shift2));
    const double shift3 = static_cast<float>(shift2 + 4.0e-9);
    EXPECT_EQ(t[9], TrackNumber(1.0e-9 + shift3));
}

TEST(TrackWriter, NegativeTimesAreWrittenAsZero)
{
    TrackRun run;
    run.m_Writer.collcad_orlin(Photon(1, {{0, 0, 0}, {LightStep, 0, 0}}, 0.5e-9));
    // A particle whose energy equals its mass has no speed.
    CTrajectory resting = Photon(1, {{0, 0, 0}, {1, 0, 0}}, 1.0e-9);
    resting.m_Etrack = 0.0;
    run.m_Writer.collcad_orlin(resting);
    const std::vector<std::string> t = Times(run.m_Out.Text());
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0], "+0.000000000000000D+00");
    EXPECT_EQ(t[2], "+0.000000000000000D+00");
    EXPECT_EQ(t[3], TrackNumber(1.0e-9));
}

TEST(TrackWriter, KineticModeWritesKineticEnergy)
{
    TrackRun run(true);
    CTrajectory proton = Photon(1, {{0, 0, 0}, {1, 0, 0}}, 1.0e-9);
    proton.m_Jtrack = 1;
    proton.m_Etrack = 2.0;
    run.m_Writer.collcad_orlin(proton);
    const std::vector<std::string> text = Lines(run.m_Out.Text());
    EXPECT_EQ(text[4], "Energy " + TrackNumber(2.0 - static_cast<double>(0.938272f)));
    EXPECT_EQ(text[5], "Type    +1");
}

TEST(TrackWriter, UnknownParticleIsReportedAndSkipped)
{
    TrackRun run;
    CTrajectory strange = Photon(12, {{0, 0, 0}, {1, 0, 0}}, 1.0e-9);
    strange.m_Jtrack = 43;
    strange.m_Etrack = 2.0;
    EXPECT_FALSE(run.m_Writer.collcad_orlin(strange));
    EXPECT_EQ(run.m_Out.Text(), "");
    EXPECT_EQ(run.m_Warnings.str(), " ** WARNING: Unknown particle 43 encountered!\n"
                                    " **          Event: 12 tot. Energy: 2.0000000000000000E+00\n"
                                    " **          Track skipped!\n");
}

namespace
{

CTrajectory Track(int code, std::vector<CPoint> points)
{
    CTrajectory t = Photon(1, std::move(points), 1.0);
    t.m_Jtrack = code;
    return t;
}

} // namespace

TEST(ScriptWriter, LinesOnParticleLayersContinueWhereTheyEnded)
{
    CStringOutput out;
    CScriptWriter script(out);
    script.collcad(Track(1, {{0, 1, 2}, {1, 2, 3}}));
    script.collcad(Track(1, {{1, 2, 3}, {4, 5, 6}}));  // continues
    script.collcad(Track(13, {{4, 5, 6}, {7, 8, 9}})); // another particle
    script.collcad(Track(1, {{7, 8, 9}, {1, 1, 1}}));  // layer exists already
    script.collcad(Track(0, {{1, 1, 1}, {2, 2, 2}}));  // no layer below code 1
    script.Finish();
    EXPECT_EQ(out.Text(), "_LAYER\n_NEW\nALL01\n_SET\nALL01\n_COLOR\n1\n\n\n_LINE\n"
                          "+1.385000037E-20,+1.000000000E+00,+2.000000000E+00\n"
                          "+1.000000000E+00,+2.000000000E+00,+3.000000000E+00\n"
                          "+4.000000000E+00,+5.000000000E+00,+6.000000000E+00\n"
                          "\n_LAYER\n_NEW\nALL013\n_SET\nALL013\n_COLOR\n13\n\n\n_LINE\n"
                          "+4.000000000E+00,+5.000000000E+00,+6.000000000E+00\n"
                          "+7.000000000E+00,+8.000000000E+00,+9.000000000E+00\n"
                          "\n_LAYER\n_SET\nALL01\n_COLOR\n1\n\n\n_LINE\n"
                          "+7.000000000E+00,+8.000000000E+00,+9.000000000E+00\n"
                          "+1.000000000E+00,+1.000000000E+00,+1.000000000E+00\n"
                          "\n");
    EXPECT_EQ(script.LineCommands(), 3);
}

TEST(ScriptWriter, SpheresOnLayersOfParticleAndInteraction)
{
    CStringOutput out;
    CScriptWriter script(out);
    script.collcad(Track(7, {{1, 1, 1}, {2, 2, 2}}));
    CDeposition deposition;
    deposition.m_Icode = 10;
    deposition.m_Jtrack = 7;
    deposition.m_Position = {0.0, -2.5, 3.0};
    script.collcad1(deposition);
    script.collcad1(deposition);
    deposition.m_Icode = 5;
    script.collcad1(deposition);
    deposition.m_Jtrack = 43;
    script.collcad1(deposition);
    script.Finish();
    const std::string sphere = "_SPHERE\n+1.385000037E-20,-2.500000000E+00,+3.000000000E+00\n"
                               "+1.000000000E-01\n";
    EXPECT_EQ(out.Text().substr(out.Text().find("+2.000000000E+00,+2")),
              "+2.000000000E+00,+2.000000000E+00,+2.000000000E+00\n\n"
              "_LAYER\n_NEW\nCOLL07_10\n_SET\nCOLL07_10\n_COLOR\n7\n\n\n" +
                  sphere + "_LAYER\n_SET\nCOLL07_10\n_COLOR\n7\n\n\n" + sphere +
                  "_LAYER\n_NEW\nCOLL07_05\n_SET\nCOLL07_05\n_COLOR\n7\n\n\n" + sphere);
    EXPECT_EQ(script.Spheres(), 3);
}
