// MCNP and PHITS inputs: the card rules, cells and their names, transformations in both angle
// conventions, TRCL, complements, LIKE BUT, filled universes, the PHITS sections, constants and
// expressions, the real inputs, and every refusal with its line.
#include "geometry/GeometryFormats.h"
#include "geometry/McnpCards.h"
#include "geometry/McnpGeometryReader.h"
#include "geometry/PhitsInput.h"
#include "geometry/RegionVolume.h"

#include "testkit/Scratch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>

using testkit::WriteScratch;

namespace
{
// The region at p by name, "-" for none.
std::string At(const CGeometry& g, const CVector& p)
{
    const int r = g.RegionAt(p);
    return r < 0 ? "-" : g.m_Regions[static_cast<size_t>(r)].m_Name;
}

struct CLoaded
{
    CGeometry m_Geometry;
    std::vector<std::string> m_Errors, m_Notes;
    bool m_Ok = false;
};

CLoaded Load(const std::string& text, const std::string& name = "test.i")
{
    CLoaded l;
    l.m_Ok = ReadGeometry(WriteScratch(name, text), l.m_Geometry, l.m_Errors, l.m_Notes);
    return l;
}

CGeometry Good(const std::string& text, const std::string& name = "test.i")
{
    CLoaded l = Load(text, name);
    EXPECT_TRUE(l.m_Ok) << (l.m_Errors.empty() ? "" : l.m_Errors.front());
    return std::move(l.m_Geometry);
}

std::vector<std::string> Refusal(const std::string& text, const std::string& name = "bad.i")
{
    CLoaded l = Load(text, name);
    EXPECT_FALSE(l.m_Ok);
    EXPECT_TRUE(l.m_Geometry.m_Regions.empty());
    return l.m_Errors;
}

double Volume(const CGeometry& g, const std::string& region)
{
    CVolumeEstimate e;
    EXPECT_TRUE(EstimateRegionVolume(g, g.RegionIndex(region), 400000, 1, e)) << region;
    return e.m_Volume;
}

// A deck: title, cells, surfaces, data.
std::string Deck(const std::string& cells, const std::string& surfaces,
                 const std::string& data = "")
{
    return "title line\n" + cells + "\n" + surfaces + "\n" + data;
}
} // namespace

TEST(McnpGeometry, CardRulesCommentsContinuationsTabsCaseAndShorthand)
{
    const CGeometry g = Good(Deck("C the cells\n"
                                  "10 5 -1.0 -1 $ a sphere\n"
                                  "   c an indented comment\n"
                                  "20 0 1 &\n"
                                  "   -2 IMP:N=1\n"
                                  "30\t0 2\n"
                                  "      imp:n=0\n",
                                  "1 S 0 2R 5\n"
                                  "c\n"
                                  "2 rpp -10 10 -10 10 -10 10\n"
                                  "3 px 1 $ not used\n",
                                  "m5 1001.70c 2 8016.70c 1\nmode n\n"));
    ASSERT_EQ(g.m_Regions.size(), 2u); // cell 30 is the outside world
    EXPECT_EQ(At(g, {0, 0, 0}), "10");
    EXPECT_EQ(At(g, {7, 0, 0}), "20");
    EXPECT_EQ(At(g, {0, 0, 4.9}), "10"); // "0 2R" is the centre
    EXPECT_EQ(At(g, {0, 0, 11}), "-");
    EXPECT_EQ(g.MaterialName(0), "m5");
    EXPECT_EQ(g.MaterialName(1), "void");
    EXPECT_EQ(g.DisplayName(0), "cell 10");

    std::vector<std::string> fields = {"1", "3i", "5", "2r", "0.5m", "2j", "1", "1ilog", "100"};
    std::string error;
    ASSERT_TRUE(ExpandShorthand(fields, error));
    ASSERT_EQ(fields.size(), 13u);
    EXPECT_NEAR(std::stod(fields[11]), 10, 1e-12);
    fields.erase(fields.begin() + 11);
    EXPECT_EQ(fields, (std::vector<std::string>{"1", "2", "3", "4", "5", "5", "5", "2.5", "j", "j",
                                                "1", "100"}));
    fields = {"2r"};
    EXPECT_FALSE(ExpandShorthand(fields, error));
    EXPECT_EQ(error, "\"2r\" has no number before it");
}

TEST(McnpGeometry, ComplementsUnionsAndParenthesesCombineCells)
{
    const CGeometry g = Good(Deck("1 1 -1 -1 : -2\n"
                                  "2 0 -3 #1 (4:-5)\n"
                                  "3 0 -3 #(4:-5)  #1\n"
                                  "4 0 3 imp:n=0\n",
                                  "1 s -5 0 0 1\n2 s 5 0 0 1\n3 so 20\n4 pz 0\n5 px 0\n"));
    EXPECT_EQ(At(g, {-5, 0, 0}), "1");
    EXPECT_EQ(At(g, {5, 0, 0}), "1");
    EXPECT_EQ(At(g, {-3, 0, 0}), "2"); // x < 0
    EXPECT_EQ(At(g, {3, 0, 1}), "2");  // z > 0
    EXPECT_EQ(At(g, {3, 0, -1}), "3"); // z < 0 and x > 0
    EXPECT_EQ(At(g, {0, 0, 30}), "-");
}

TEST(McnpGeometry, TransformationsInBothAngleConventionsAndOnCells)
{
    // TR1 turns x' onto y (by cosines), *TR2 the same by angles, TR3 with m = -1: the main
    // origin lies at (-10, 0, 0) in the auxiliary frame, so the auxiliary origin is at x = 10.
    const CGeometry g = Good(Deck("1 0 -1 imp:n=1\n"
                                  "2 0 -2 imp:n=1\n"
                                  "3 0 -3 imp:n=1\n"
                                  "4 0 -4 trcl=(0 0 30) imp:n=1\n"
                                  "5 0 -4 *trcl=(0 0 -30 90 0 90 180 90 90 90 90 0) imp:n=1\n"
                                  "6 0 -4 trcl=5 imp:n=1\n"
                                  "7 0 1 2 3 #4 #5 #6 -9 imp:n=1\n"
                                  "8 0 9 imp:n=0\n",
                                  "1 1 box 0 0 0 4 0 0 0 1 0 0 0 1\n"
                                  "2 2 box 0 0 -10 4 0 0 0 1 0 0 0 1\n"
                                  "3 3 so 1\n"
                                  "4 rcc 0 0 0 4 0 0 1\n"
                                  "9 so 100\n",
                                  "tr1 0 0 0 0 1 0 -1 0 0 0 0 1\n"
                                  "*tr2 0 0 0 90 0 90 180 90 90 90 90 0\n"
                                  "tr3 -10 0 0 1 0 0 0 1 0 0 0 1 -1\n"
                                  "tr5 20 0 0\n"));
    // The box's 4 cm edge lies along y after the turn.
    EXPECT_EQ(At(g, {-0.5, 3.5, 0.5}), "1");
    EXPECT_EQ(At(g, {3.5, 0.5, 0.5}), "7");
    EXPECT_EQ(At(g, {-0.5, 3.5, -9.5}), "2");
    EXPECT_EQ(At(g, {10, 0, 0.9}), "3");
    // The cylinder along x, moved up, turned onto y and moved down, moved along x.
    EXPECT_EQ(At(g, {3, 0, 30}), "4");
    EXPECT_EQ(At(g, {0, 3, -30}), "5");
    EXPECT_EQ(At(g, {0, -3, -30}), "7");
    EXPECT_EQ(At(g, {23, 0, 0}), "6");
}

TEST(McnpGeometry, LikeButCopiesACellWithItsChanges)
{
    const CGeometry g = Good(Deck("1 2 -1.0 -1 imp:n=1\n"
                                  "2 like 1 but trcl=(10 0 0) mat=3 rho=-2\n"
                                  "3 like 2 but trcl=(-10 0 0)\n"
                                  "4 0 #1 #2 #3 -9 imp:n=1\n"
                                  "5 0 9 imp:n=0\n",
                                  "1 so 1\n9 so 50\n", "m2 1001 1\nm3 1001 1\n"));
    EXPECT_EQ(At(g, {10, 0, 0}), "2");
    EXPECT_EQ(At(g, {-10, 0, 0}), "3");
    EXPECT_EQ(At(g, {5, 0, 0}), "4");
    EXPECT_EQ(g.MaterialName(g.RegionIndex("2")), "m3");
    EXPECT_EQ(g.MaterialName(g.RegionIndex("3")), "m3");
}

TEST(McnpGeometry, AFilledUniverseShowsItsCellsClippedByTheFillingCell)
{
    // Universe 1: a rod and what is around it, moved by the fill's transformation 7; cell 11
    // reaches beyond the filling box and is cut by it.
    const CLoaded l = Load(Deck("1 0 -1 fill=1 (7) imp:n=1\n"
                                "2 0 1 -9 imp:n=1\n"
                                "3 0 9 imp:n=0\n"
                                "10 4 -1 -2 u=1 imp:n=1\n"
                                "11 0 2 u=1 imp:n=1\n"
                                "20 0 -1 lat=1 u=2 fill=0:0 0:0 0:0 1 imp:n=1\n",
                                "1 rpp -5 5 -5 5 -5 5\n2 cz 1\n9 so 50\n", "tr7 2 0 0\nm4 1 1\n"));
    ASSERT_TRUE(l.m_Ok) << l.m_Errors.front();
    const CGeometry& g = l.m_Geometry;
    EXPECT_EQ(At(g, {2.5, 0, 4}), "10<1");
    EXPECT_EQ(At(g, {0, 0, 4}), "11<1");
    EXPECT_EQ(At(g, {2, 0, 6}), "2");
    EXPECT_EQ(g.RegionIndex("1"), -1);
    // The rod: pi r^2 times the box's 10 cm.
    EXPECT_NEAR(Volume(g, "10<1"), std::numbers::pi * 10, 0.3);
}

TEST(McnpGeometry, ALatticeIsShownAsItsContainerWithANote)
{
    // Two cells filled with the lattice's universe: one note all the same.
    const CLoaded l = Load(Deck("1 0 -1 fill=2 imp:n=1\n"
                                "2 0 1 -4 fill=2 imp:n=1\n4 0 4 imp:n=0\n"
                                "20 0 -2 lat=1 u=2 fill=0:1 0:0 0:0 3 3 imp:n=1\n"
                                "30 0 -3 u=3 imp:n=1\n",
                                "1 rpp -5 5 -5 5 -5 5\n2 rpp -1 1 -1 1 -1 1\n3 so 0.5\n"
                                "4 so 50\n"));
    ASSERT_TRUE(l.m_Ok) << l.m_Errors.front();
    ASSERT_EQ(l.m_Notes.size(), 1u);
    EXPECT_EQ(l.m_Notes[0], "line 5: cell 20 is a lattice (LAT=1): its elements are not read, it "
                            "is shown as its container");
    EXPECT_EQ(At(l.m_Geometry, {0, 0, 0}), "20<1");
    EXPECT_TRUE(l.m_Geometry.m_Regions[0].m_Lattice);
    EXPECT_GE(l.m_Geometry.RegionIndex("20<2"), 0);
}

TEST(McnpGeometry, BadInputIsRefusedWithEveryErrorByLine)
{
    const std::vector<std::string> errors =
        Refusal(Deck("1 0 -1 -7 imp:n=1\n"
                     "2 like 99 but mat=1\n"
                     "3 0 -4 fill=5 imp:n=1\n"
                     "4 0 -1 trcl=8\n"
                     "5 0 -1 (2 imp:n=1\n"
                     "6 0 -4.7 imp:n=1\n"
                     "6 0 1\n",
                     "1 so 1\n2 3 px 0\n3 rpp 0 1 0 1 0\n4 rpp 0 1 0 1 0 1\n"));
    EXPECT_EQ(errors, (std::vector<std::string>{
                          "line 11: surface 2 uses transformation 3, which is not defined",
                          "line 12: surface 3 (RPP): RPP needs 6 parameters, not 5",
                          "line 8: cell 6 is defined twice",
                          "line 3: cell 2 is LIKE cell 99, which is not defined",
                          "line 2: cell 1 uses surface 7, which is not defined",
                          "line 5: cell 4: TRCL uses transformation 8, which is not defined",
                          "line 6: cell 5: a parenthesis is not closed",
                          "line 7: cell 6 uses facet 4.7, but RPP has 6 facets",
                      }));
    // A universe that no cell is in, and one that fills itself.
    EXPECT_EQ(
        Refusal(Deck("1 0 -1 fill=5 imp:n=1\n", "1 so 1\n")),
        (std::vector<std::string>{"line 2: cell 1: FILL=5 names universe 5, which no cell is in"}));
    EXPECT_EQ(Refusal(Deck("1 0 -1 fill=5 imp:n=1\n2 0 -1 u=5 fill=5\n", "1 so 1\n")),
              (std::vector<std::string>{"line 3: cell 2: universe 5 fills itself"}));
    EXPECT_EQ(Refusal(Deck("1 0 -1 #1 imp:n=1\n", "1 so 1\n")),
              (std::vector<std::string>{"line 2: cell 1 is inside its own complement"}));
    EXPECT_EQ(Refusal(Deck("1 0 -1 imp:n=1\n", "1 so 1\n", "tr1 0 0 0 1 0\n")),
              (std::vector<std::string>{
                  "line 6: transformation 1: give its rotation as whole rows (x', y', z')"}));
    EXPECT_EQ(Refusal(Deck("1 0 -1 ) imp:n=1\n", "1 so 1\n")),
              (std::vector<std::string>{"line 2: cell 1: \")\" has no opening parenthesis"}));
    EXPECT_EQ(Refusal(Deck("1 1 -1 imp:n=1\n", "1 so 1\n")),
              (std::vector<std::string>{"line 2: cell 1: it has no geometry"}));
    // A line longer than any input's (a binary file, a file without line ends).
    CGeometry cut;
    CMcnpGeometryReader reader;
    EXPECT_FALSE(reader.Read(
        WriteScratch("long.i",
                     Deck("1 0 -1 imp:n=1 $ " + std::string(2 << 20, 'x') + "\n", "1 so 1\n")),
        cut));
    ASSERT_EQ(reader.Errors().size(), 1u);
    EXPECT_NE(reader.Errors()[0].find("has a line longer than 1048576 bytes"), std::string::npos);
    EXPECT_TRUE(cut.m_Regions.empty());
}

TEST(McnpGeometry, WhatIsNotReadIsNamedAndTheRestLoads)
{
    const CLoaded l = Load(Deck("1 7 -1 -1 imp:n=1\n2 0 1 imp:n=0\n", "1 -3 so 1\n3 so 2\n",
                                "m1 1001 1\nembed1 meshgeo=abaqus\nfill 0 1\nread file=more.i\n"));
    ASSERT_TRUE(l.m_Ok) << l.m_Errors.front();
    EXPECT_EQ(l.m_Notes,
              (std::vector<std::string>{
                  "line 9: the EMBED1 card (an unstructured mesh) is not read: its "
                  "cells are not drawn",
                  "line 10: the FILL data card is not read: cells take it from their own "
                  "cards",
                  "line 11: the READ card is not followed: what its file holds is not read",
                  "line 5: surface 1 is periodic with surface 3: drawn as a plain "
                  "surface",
                  "line 2: cell 1: material 7 has no material card"}));
}

TEST(McnpGeometry, PhitsSectionsConstantsExpressionsAndIncludes)
{
    WriteScratch("phits_cells.inc", "   2  1 -1.0  -2 #1\n");
    const std::string input = "[ Title ]\nA PHITS geometry\n"
                              "[Parameters]\n icntl = 0 # a comment\n"
                              "set: c1[2.0] c2[c1*3]\n"
                              "[ S u r f a c e ]\n"
                              "  1 so c1 $ radius 2\n"
                              "  2 rpp -c2 c2 -c2 c2 -sqrt(36.0) 2*pi-0.28318530718 ! comment\n"
                              "  3 1 so 1\n"
                              "  9 so 100\n"
                              "[Surface] off\n  1 so 99\n"
                              "[ Transform ]\n  tr1 50 0 0\n"
                              "[ Cell ]\n"
                              "   1  0  -1\n"
                              "infl:{phits_cells.inc}\n"
                              "   3  1 -1.0  -3\n"
                              "   4  0  2 3 -9\n"
                              "   99 -1  9\n"
                              "[Material]\n MAT[1] H 2 O 1\n"
                              "[End]\n[Cell]\n 7 0 -1\n";
    const CLoaded l = Load(input, "phits.inp");
    ASSERT_TRUE(l.m_Ok) << l.m_Errors.front();
    const CGeometry& g = l.m_Geometry;
    EXPECT_EQ(At(g, {0, 0, 1.9}), "1");
    EXPECT_EQ(At(g, {0, 0, 2.1}), "2");
    EXPECT_EQ(At(g, {5.9, 0, 0}), "2");
    EXPECT_EQ(At(g, {0, 0, -5.9}), "2");
    EXPECT_EQ(At(g, {50, 0, 0}), "3");
    EXPECT_EQ(At(g, {0, 0, 7}), "4");
    EXPECT_EQ(At(g, {0, 0, 200}), "-"); // the outer region, material -1
    EXPECT_EQ(g.RegionIndex("7"), -1);  // after [End]
    EXPECT_EQ(g.MaterialName(g.RegionIndex("2")), "m1");

    std::map<int, double> constants = {{1, 2}};
    double v = 0;
    std::string error;
    ASSERT_TRUE(EvaluateExpression("-2**2+c1*(3-1)/4+max(1,atan2(0,-1))", constants, v, error));
    EXPECT_NEAR(v, -4 + 1 + std::numbers::pi, 1e-12);
    ASSERT_TRUE(EvaluateExpression("1.5d1 + 1e-1", constants, v, error));
    EXPECT_NEAR(v, 15.1, 1e-12);
    EXPECT_FALSE(EvaluateExpression("c5*2", constants, v, error));
    EXPECT_EQ(error, "\"c5*2\": the constant c5 is not set");
    EXPECT_FALSE(EvaluateExpression("(1+2", constants, v, error));
    EXPECT_EQ(error, "\"(1+2\": a parenthesis is not closed");

    const std::vector<std::string> bad =
        Refusal("[Cell]\n 1 0 -1\n[Surface]\nset: c3[c4]\n 1 so 1\n", "badphits.inp");
    EXPECT_EQ(bad, (std::vector<std::string>{"line 4: c3: \"c4\": the constant c4 is not set"}));
}

TEST(McnpGeometry, TheFormatIsChosenByContent)
{
    EXPECT_TRUE(LooksLikeMcnpInput("title\n1 0 -1 imp:n=1\n\n1 so 1\n"));
    EXPECT_TRUE(LooksLikeMcnpInput("title\n1 like 2 but u=1\n\n*1 px 1\n"));
    EXPECT_FALSE(LooksLikeMcnpInput("mcnp version 6\ntitle\n Number of histories = 5\n"));
    EXPECT_TRUE(LooksLikePhitsInput("[ Title ]\nx\n  [ C e l l ]\n"));
    EXPECT_FALSE(LooksLikePhitsInput("title\n1 0 -1\n\n1 so 1\n"));
    CGeometry g;
    std::vector<std::string> errors, notes;
    EXPECT_FALSE(ReadGeometry(WriteScratch("nothing.txt", "hello\nworld\n"), g, errors, notes));
    EXPECT_NE(errors.front().find("tried: FLUKA input, PHITS input, MCNP input"),
              std::string::npos);
}

TEST(McnpGeometry, TheRealInputsLoad)
{
    const std::string realdata = std::string(TESSARON_SOURCE_DIR) + "/../shared/realdata/";
    if (!std::filesystem::exists(realdata)) GTEST_SKIP() << "no realdata";
    {
        CGeometry g;
        std::vector<std::string> errors, notes;
        ASSERT_TRUE(ReadGeometry(realdata + "mcnp_meshtal/mcnptools_inpgen", g, errors, notes))
            << errors.front();
        EXPECT_EQ(g.m_Regions.size(), 2u);
        EXPECT_EQ(At(g, {0, 0, 4.9}), "1001");
        EXPECT_EQ(g.MaterialName(g.RegionIndex("1002")), "m2");
        EXPECT_EQ(At(g, {0, 0, 10.1}), "-");
    }
    for (const char* name : {"mcnp_meshtal/pyne_mcnp_meshtal_single_inp.txt",
                             "mcnp_meshtal/pyne_mcnp_meshtal_multiple_inp.txt"})
    {
        SCOPED_TRACE(name);
        CGeometry g;
        std::vector<std::string> errors, notes;
        ASSERT_TRUE(ReadGeometry(realdata + name, g, errors, notes)) << errors.front();
        EXPECT_EQ(g.m_Regions.size(), 1u);
        EXPECT_EQ(At(g, {399, 0, 0}), "1");
        EXPECT_NEAR(Volume(g, "1"), 4.0 / 3 * std::numbers::pi * 400 * 400 * 400, 4e6);
    }
    {
        CGeometry g;
        std::vector<std::string> errors, notes;
        ASSERT_TRUE(ReadGeometry(realdata + "phits/linac_I150_water.inp", g, errors, notes))
            << errors.front();
        EXPECT_EQ(g.m_Regions.size(), 2u);
        EXPECT_EQ(At(g, {0, 15, 0}), "97");
        EXPECT_EQ(g.MaterialName(g.RegionIndex("97")), "m10");
        EXPECT_EQ(At(g, {0, -50, 0}), "98");
        // Its include of a Windows path is not at hand.
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_NE(notes[0].find("cannot be read: skipped"), std::string::npos);
    }
}

TEST(McnpGeometry, CellVolumesAgreeWithTheirFormulas)
{
    const CGeometry g = Good(Deck("1 0 -1 imp:n=1\n"
                                  "2 0 -2 imp:n=1\n"
                                  "3 0 -3 imp:n=1\n"
                                  "4 0 -4 imp:n=1\n"
                                  "5 0 -5 imp:n=1\n"
                                  "6 0 -6 imp:n=1\n"
                                  "7 0 -7 imp:n=1\n"
                                  "8 0 -8 imp:n=1\n"
                                  "9 0 -9 11 imp:n=1\n"
                                  "10 0 -12 imp:n=1\n"
                                  "11 0 -13 imp:n=1\n"
                                  "12 0 -99 #1 #2 #3 #4 #5 #6 #7 #8 #9 #10 #11 imp:n=1\n"
                                  "13 0 99 imp:n=0\n",
                                  "1 s -20 0 0 3\n"
                                  "2 rcc 0 -20 0 0 0 5 2\n"
                                  "3 trc 20 0 0 0 0 6 3 1\n"
                                  "4 tz 0 20 0 4 1 1\n"
                                  "5 rhp 0 0 20 0 0 4 2 0 0\n"
                                  "6 wed -20 -20 0 4 0 0 0 3 0 0 0 2\n"
                                  "7 ell 20 20 -1 20 20 1 2\n"
                                  "8 rec -20 20 0 0 0 3 2 0 0 1\n"
                                  "9 k/z 20 -20 4 1 -1\n"
                                  "11 pz 0\n"
                                  "12 x -32 0 -30 2 -28 0\n"
                                  "13 1 box -1 -1 -1 2 0 0 0 2 0 0 0 2\n"
                                  "99 so 60\n",
                                  "*tr1 0 -40 0 45 45 90 135 45 90 90 90 0\n"));
    const double pi = std::numbers::pi;
    const std::vector<std::pair<const char*, double>> expected = {
        {"1", 4.0 / 3 * pi * 27},
        {"2", pi * 4 * 5},
        {"3", pi * 6 / 3 * (9 + 3 + 1)},
        {"4", 2 * pi * pi * 4},            // 2 pi A, times the tube's pi B C
        {"5", 2 * std::sqrt(3.0) * 4 * 4}, // a hexagon of apothem 2, 4 high
        {"6", 12},
        {"7", 4.0 / 3 * pi * 2 * 3}, // semi-axes 2, sqrt 3, sqrt 3
        {"8", pi * 2 * 1 * 3},
        {"9", pi * 16 * 4 / 3},
        {"10", 4.0 / 3 * pi * 8},
        {"11", 8},
    };
    for (const auto& [name, volume] : expected)
    {
        SCOPED_TRACE(name);
        CVolumeEstimate e;
        ASSERT_TRUE(EstimateRegionVolume(g, g.RegionIndex(name), 400000, 7, e));
        EXPECT_LT(std::abs(e.m_Volume - volume), 3 * e.m_Error + 1e-9)
            << e.m_Volume << " " << volume;
    }
    // The outside world is no region and not undefined: the check finds nothing amiss.
    EXPECT_TRUE(g.IsOutside({0, 0, 61}));
    EXPECT_EQ(At(g, {0, 0, 61}), "-");
    EXPECT_TRUE(CheckGeometry(g, g.InnerBounds(), 20).empty());
}

TEST(McnpGeometry, ALikeCellsTrclInDegreesReplacesItsTemplatesTrcl)
{
    const CGeometry g = Good(Deck("1 0 -10 imp:n=1 trcl=1\n"
                                  "4 like 1 but *trcl=(-4 -4 0  0 90 90  90 0 90  90 90 0)\n"
                                  "9 0 -30 #1 #4 imp:n=1\n"
                                  "99 0 30 imp:n=0\n",
                                  "10 rcc 0 0 -40 0 0 80 1.2\n30 so 100\n", "tr1 4 4 0\n"));
    EXPECT_EQ(At(g, {4, 4, 0}), "1");
    EXPECT_EQ(At(g, {-4, -4, 30}), "4");
    EXPECT_EQ(At(g, {18, 18, -22}), "9");
}

TEST(McnpGeometry, InputsThatWouldExhaustTheMachineAreRefusedOrShared)
{
    // Each cell the complement of the two before it: shared nodes, not 2^40 copies.
    std::string cells = "1 0 -1 imp:n=1\n2 0 -2 #1 imp:n=1\n";
    for (int i = 3; i <= 40; ++i)
        cells += std::to_string(i) + " 0 -3 #" + std::to_string(i - 1) + " #" +
                 std::to_string(i - 2) + " imp:n=1\n";
    const CGeometry g = Good(Deck(cells, "1 so 1\n2 so 2\n3 so 3\n"));
    EXPECT_EQ(g.m_Regions.size(), 40u);
    EXPECT_LT(g.m_Nodes.size(), 1000u);
    EXPECT_EQ(At(g, {0, 0, 0}), "1");

    EXPECT_EQ(Refusal(Deck("1 0 " + std::string(100, '(') + "-1" + std::string(100, ')') + "\n",
                           "1 so 1\n")),
              (std::vector<std::string>{"line 2: cell 1: the parentheses nest deeper than 64"}));
    EXPECT_EQ(Refusal(Deck("1 0 -1\n", "1 s 0 1000000r 1\n")).front(),
              "line 4: surface 1: \"1000000r\" makes too many entries");
    // Ten universes of ten cells, each filling the next: refused, not unfolded.
    std::string nested = "1 0 -1 fill=1 imp:n=1\n";
    for (int u = 1; u <= 10; ++u)
        for (int c = 0; c < 10; ++c)
            nested += std::to_string(100 * u + c) + " 0 -1 u=" + std::to_string(u) +
                      (u < 10 ? " fill=" + std::to_string(u + 1) : std::string()) + "\n";
    const std::vector<std::string> errors = Refusal(Deck(nested, "1 so 1\n"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("the universes unfold into more than 100000 cells"),
              std::string::npos);
    // A chain of 300 complements, each cell the complement of the next.
    std::string chain;
    for (int i = 1; i <= 300; ++i)
        chain += std::to_string(i) + " 0 -1 #" + std::to_string(i + 1) + "\n";
    chain += "301 0 -1\n";
    EXPECT_NE(Refusal(Deck(chain, "1 so 1\n")).front().find("complements nest deeper than 256"),
              std::string::npos);
    std::map<int, double> none;
    double v = 0;
    std::string error;
    EXPECT_FALSE(EvaluateExpression(std::string(100000, '-') + "1", none, v, error));
    EXPECT_FALSE(EvaluateExpression(std::string(100000, '(') + "1", none, v, error));
}
