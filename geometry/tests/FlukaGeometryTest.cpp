// FLUKA inputs: the name-based and the numbered format of one geometry classify alike, the
// transformation directives and ROT-DEFI cards, region expressions, materials, lattices, the
// preprocessor, and every refusal with its line.
#include "geometry/FlukaGeometryReader.h"

#include "platform/UiServices.h"
#include "testkit/Scratch.h"

#include <gtest/gtest.h>

using testkit::WriteScratch;

namespace
{
const std::string Head =
    "TITLE\ntest geometry\nGEOBEGIN                                                  "
    "            COMBNAME\n    0    0          test\n";

std::string Input(const std::string& geometry, const std::string& after = "")
{
    return Head + geometry + "GEOEND\n" + after + "STOP\n";
}

// The region at p by name, "-" for none, "A+B" for an overlap.
std::string At(const CGeometry& g, const CVector& p)
{
    int found[2];
    const int n = g.RegionsAt(p, found, 2);
    if (n == 0) return "-";
    std::string text = g.m_Regions[found[0]].m_Name;
    if (n == 2) text += "+" + g.m_Regions[found[1]].m_Name;
    return text;
}

CGeometry Load(const std::string& text, const std::string& name = "test.inp")
{
    CGeometry g;
    CFlukaGeometryReader reader;
    EXPECT_TRUE(reader.Read(WriteScratch(name, text), g))
        << (reader.Errors().empty() ? "" : reader.Errors().front());
    return g;
}

std::vector<std::string> Refusal(const std::string& text)
{
    CGeometry g;
    CFlukaGeometryReader reader;
    EXPECT_FALSE(reader.Read(WriteScratch("bad.inp", text), g));
    return reader.Errors();
}

// The fixed 10-column form of a card or body line, SDUM in columns 71-80.
std::string Fixed(const std::string& start, std::vector<std::string> fields,
                  const std::string& sdum = "")
{
    std::string line = start;
    line.resize(10, ' ');
    if (!sdum.empty()) fields.resize(6);
    for (const std::string& f : fields)
        line += std::string(10 - std::min<size_t>(10, f.size()), ' ') + f;
    return line + sdum + "\n";
}
} // namespace

TEST(FlukaGeometry, NamedAndNumberedFormatsOfOneGeometryClassifyAlike)
{
    const std::string named =
        Input("RPP box -10 10 -10 10 -10 10\n"
              "SPH ball 0.0, 0.0, 0.0, 5.0\n"
              "ZCC rod 7 0\n  1\n"
              "END\n"
              "BL1 5 +box -ball -(+rod -ball)\n"
              "TG1 5 +ball\n"
              "ROD 5 +rod +box\n"
              "OUT 5 -box\n"
              "END\n",
              Fixed("ASSIGNMA", {"LEAD", "BL1"}) + Fixed("ASSIGNMA", {"VACUUM", "TG1", "ROD"}) +
                  Fixed("ASSIGNMA", {"BLCKHOLE", "OUT"}));
    const std::string numberedHead = "TITLE\ntest geometry\nGEOBEGIN                             "
                                     "                                 COMBINAT\n"
                                     "    0    0          test\n";
    const std::string numbered =
        numberedHead + Fixed("  RPP    1", {"-10.0", "10.0", "-10.0", "10.0", "-10.0", "10.0"}) +
        Fixed("  SPH    2", {"0.0", "0.0", "0.0", "5.0"}) +
        Fixed("  ZCC    3", {"7.0", "", "1.0"}) + "  END\n" + "  BL1    5 +1   -2   -3\n" +
        "  TG1    5 +2\n" + "  ROD    5 +3   +1\n" + "  OUT    5 -1\n" + "  END\nGEOEND\n" +
        Fixed("ASSIGNMA", {"LEAD", "1"}) + Fixed("ASSIGNMA", {"VACUUM", "2", "3"}) +
        Fixed("ASSIGNMA", {"BLCKHOLE", "4"}) + "STOP\n";
    const CGeometry a = Load(named, "named.inp"), b = Load(numbered, "numbered.inp");
    ASSERT_EQ(a.m_Regions.size(), 4u);
    ASSERT_EQ(b.m_Regions.size(), 4u);
    EXPECT_EQ(a.m_Bodies.size(), 3u);
    EXPECT_EQ(b.m_Bodies[2]->m_Name, "3");
    const std::pair<CVector, std::string> points[] = {
        {{0, 0, 0}, "TG1"},    {{5, 0, 0}, "TG1"},  {{5.001, 0, 0}, "BL1"}, {{7, 0.5, 9}, "ROD"},
        {{7, 0.5, 11}, "OUT"}, {{-9, 9, 9}, "BL1"}, {{20, 0, 0}, "OUT"},
    };
    for (const auto& [p, region] : points)
    {
        EXPECT_EQ(At(a, p), region) << p.x << " " << p.y << " " << p.z;
        EXPECT_EQ(At(b, p), region) << p.x << " " << p.y << " " << p.z;
    }
    for (const CGeometry* g : {&a, &b})
    {
        EXPECT_EQ(g->MaterialName(0), "LEAD");
        EXPECT_EQ(g->MaterialName(2), "VACUUM");
        EXPECT_EQ(g->MaterialName(3), "BLCKHOLE");
        EXPECT_EQ(g->m_Materials.size(), 3u);
    }
    // The boxes: the ball's region is bounded by the ball; the outside has none.
    EXPECT_EQ(a.m_Regions[1].m_Box.m_Hi[0], 5);
    EXPECT_FALSE(a.m_Regions[3].m_Box.IsFinite());
}

TEST(FlukaGeometry, DirectivesAndRotDefiCardsPlaceBodiesWhereverTheCardsStand)
{
    // ROT-DEFI after the geometry, two cards of one name composed in their order (shift by
    // (0, 0, 10), then 90 degrees polar about z: (x, y, z) -> (-z, y, x)).
    const std::string text =
        Input("$start_transform turn\n"
              "$start_translat 1 2 3\n"
              "$start_expansion 2\n"
              "SPH s 1 0 0 0.5\n"
              "$end_expansion\n"
              "$end_translat\n"
              "$end_transform\n"
              "$start_transform -turn\n"
              "SPH back -10 0 0 1\n"
              "$end_transform\n"
              "RPP world -100 100 -100 100 -100 100\n"
              "END\n"
              "S 5 +s\nBACK 5 +back\nAIR 5 +world -s -back\n"
              "END\n",
              Fixed("ROT-DEFI", {"300.", "", "", "0.0", "0.0", "10.0"}, "turn") +
                  Fixed("ROT-DEFI", {"300.", "90.", "0.0"}, "turn"));
    const CGeometry g = Load(text);
    // s: centre (1,0,0) x2 -> (2,0,0) +(1,2,3) -> (3,2,3) +(0,0,10) -> (3,2,13) -> (-13,2,3).
    EXPECT_EQ(At(g, {-13, 2, 3}), "S");
    EXPECT_EQ(At(g, {-13, 2, 3.99}), "S");
    EXPECT_EQ(At(g, {-13, 2, 4.01}), "AIR");
    // back, by the inverse: the turn undone, (-10, 0, 0) -> (0, 0, 10), then the shift undone.
    EXPECT_EQ(At(g, {0, 0, 0}), "BACK");
    EXPECT_EQ(At(g, {-10, 0, 0}), "AIR");
}

// A card is read in the format that holds where it stands: a FREE card after a fixed ASSIGNMA
// (blank last region, step 1) does not make its fields shift.
TEST(FlukaGeometry, CardsKeepTheFormatOfTheirPlace)
{
    const CGeometry g =
        Load(Input("SPH a 0 0 0 1\nSPH b 5 0 0 1\nSPH c 9 0 0 1\nEND\n"
                   "R1 5 +a\nR2 5 +b\nR3 5 +c\nEND\n",
                   Fixed("ASSIGNMA", {"LEAD", "R3", "", "1"}) + "FREE\n" + "ASSIGNMA WATER R1\n"));
    EXPECT_EQ(g.MaterialName(2), "LEAD");
    EXPECT_EQ(g.MaterialName(0), "WATER");
}

TEST(FlukaGeometry, RegionsContinueOverLinesAndLatticesAreTheirContainers)
{
    const CGeometry g = Load(Input("RPP a 0 1 0 1 0 1\nRPP b 2 3 0 1 0 1\nRPP c 0 3 0 1 0 1\n"
                                   "RPP w -9 9 -9 9 -9 9\nEND\n"
                                   "TWO 5 | +a\n   | +b\nLAT 5 +c -a -b\nREST 5 +w -c\nEND\n"
                                   "LATTICE   LAT\n"));
    EXPECT_EQ(At(g, {0.5, 0.5, 0.5}), "TWO");
    EXPECT_EQ(At(g, {2.5, 0.5, 0.5}), "TWO");
    EXPECT_EQ(At(g, {1.5, 0.5, 0.5}), "LAT");
    EXPECT_TRUE(g.m_Regions[1].m_Lattice);
    CFlukaGeometryReader reader;
    CGeometry h;
    ASSERT_TRUE(reader.Read(WriteScratch("lat.inp", Input("RPP a 0 1 0 1 0 1\nEND\nL 5 +a\nEND\n"
                                                          "LATTICE   L\n")),
                            h));
    EXPECT_EQ(reader.Notes(),
              (std::vector<std::string>{"Lattice regions are shown as their containers, their "
                                        "contents are not shown: L",
                                        "Regions without a material: L"}));
}

TEST(FlukaGeometry, ThePreprocessorChoosesBranchesAndIncludesFiles)
{
    WriteScratch("bodies.inc", "SPH inc 0 0 0 1\n");
    const CGeometry g =
        Load(Input("#define BIG\n"
                   "#if BIG\nRPP box -5 5 -5 5 -5 5\n#else\nRPP box -1 1 -1 1 -1 1\n"
                   "#endif\n"
                   "#ifndef BIG\nSPH never 0 0 0 1\n#elif OTHER\n#else\n"
                   "#include bodies.inc\n#endif\n"
                   "#undefine BIG\n#ifdef BIG\nSPH gone 0 0 0 1\n#endif\n"
                   "* a comment\nEND\nIN 5 +inc ! the included ball\n"
                   "BOX 5 +box -inc\nEND\n"));
    EXPECT_EQ(g.m_Bodies.size(), 2u);
    EXPECT_EQ(At(g, {4, 0, 0}), "BOX");
    EXPECT_EQ(At(g, {0.5, 0, 0}), "IN");
}

TEST(FlukaGeometry, BadInputIsRefusedWithEveryErrorByLine)
{
    const auto errors = Refusal(Input("XYZ a 1 2 3\n"              // line 5
                                      "RCC b 0 0 0 0 0 1\n"        // 6
                                      "SPH c 0 0 0 -1\n"           // 7
                                      "$start_transform nothing\n" // 8
                                      "SPH d 0 0 0 1\n"
                                      "END\n"          // 10: never closed
                                      "R1 5 +d -e\n"   // 11
                                      "R2 5 +d -(+d\n" // 12
                                      "R3 5 +d)\n"     // 13
                                      "END\n"));
    const std::vector<std::string> expected = {
        "line 5: unknown body type XYZ",
        "line 6: RCC b: RCC needs 7 parameters, not 6",
        "line 7: SPH c: the radius -1 must be positive",
        "line 8: the transformation nothing has no ROT-DEFI card",
        "line 10: the $start_transform directive is never closed",
        "line 11: the region R1 names the undefined body e",
        "line 12: the region R2 has an unbalanced parenthesis",
        "line 13: the region R3 has an unbalanced parenthesis",
    };
    EXPECT_EQ(errors, expected);
    EXPECT_NE(Refusal("TITLE\nno geometry\nSTOP\n").front().find("is not a FLUKA input"),
              std::string::npos);
    EXPECT_EQ(
        Refusal(Input("SPH a 0 0 0 1\nEND\nA 5 +a\nEND\n", Fixed("ASSIGNMA", {"LEAD", "NOPE"})))
            .back(),
        "line 10: ASSIGNMA names the undefined region NOPE");
    EXPECT_EQ(Refusal("GEOBEGIN\n#if A\n").front(), "an #if is not closed by #endif");
    // Nesting is bounded: classification recurses once per level.
    EXPECT_EQ(Refusal(Input("SPH a 0 0 0 1\nEND\nA 5 " + std::string(70, '(') + "+a" +
                            std::string(70, ')') + "\nEND\n"))
                  .front(),
              "line 7: the region A nests parentheses deeper than 64");
    // A refused file leaves the geometry given as it was.
    CGeometry kept = Load(Input("SPH a 0 0 0 1\nEND\nA 5 +a\nEND\n"));
    CFlukaGeometryReader reader;
    EXPECT_FALSE(reader.Read(WriteScratch("bad2.inp", Input("SPH a 0 0 0\nEND\nEND\n")), kept));
    EXPECT_EQ(kept.m_Regions.size(), 1u);
}
