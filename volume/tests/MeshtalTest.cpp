// MCNP meshtal files: every tally of the real files against the numbers of their text, cylinders
// on the grid, bins of unequal width, the choice of tally and bin, broken files.
#include "LoaderTest.h"

#include "common/Vector.h"
#include "volume/formats/MeshtalReader.h"
#include "volume/loading/MeshtalBinDlg.h"

#include <cmath>
#include <map>
#include <numbers>
#include <random>
#include <span>
#include <sstream>

namespace volumira3d
{
using namespace test;

namespace
{
// One tally as the test reads the file's text itself: boundaries, column names, and the rows of
// the bin a load shows by default (the "Total" rows where there are any).
struct CTextTally
{
    std::map<std::string, std::vector<double>> m_Bounds;
    std::vector<std::string> m_Columns;
    std::vector<std::vector<std::string>> m_Rows;
};

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

std::vector<CTextTally> TextTallies(const std::string& path)
{
    std::istringstream in(ReadText(path));
    std::vector<CTextTally> tallies;
    bool rows = false;
    for (std::string line; std::getline(in, line);)
    {
        const auto w = Words(line);
        if (line.find("Mesh Tally Number") != std::string::npos)
            tallies.emplace_back(), rows = false;
        else if (tallies.empty() || w.empty())
            rows = rows && w.empty() ? false : rows;
        else if (line.find("direction:") != std::string::npos ||
                 line.find("direction (revolutions):") != std::string::npos ||
                 line.find("bin boundaries:") != std::string::npos)
        {
            std::istringstream values(line.substr(line.find(':') + 1));
            auto& bounds = tallies.back().m_Bounds[w[0]];
            for (double v; values >> v;)
                bounds.push_back(v);
        }
        else if (line.find("Result") != std::string::npos)
            tallies.back().m_Columns = w, rows = true;
        else if (rows)
            tallies.back().m_Rows.push_back(w);
    }
    return tallies;
}

// The default bin's rows: those whose energy and time words are "Total" where there are
// several bins.
std::vector<std::vector<std::string>> DefaultRows(const CTextTally& t)
{
    const bool energy = t.m_Columns[0] == "Energy" && t.m_Bounds.at("Energy").size() > 2;
    const bool time = t.m_Bounds.count("Time") && t.m_Bounds.at("Time").size() > 2;
    const size_t timeWord = t.m_Columns[0] == "Energy" ? 1 : 0;
    std::vector<std::vector<std::string>> rows;
    for (const auto& r : t.m_Rows)
        if ((!energy || r[0] == "Total") && (!time || r[timeWord] == "Total")) rows.push_back(r);
    return rows;
}

class MeshtalTest : public CFormatTest
{
protected:
    bool Load(const std::string& path) { return Loader().Load("MCNP meshtal", path); }
    std::string Write(const std::string& text) { return WriteScratch("test.meshtal", text); }
};

// The cell of a printed row: for each axis the bin whose bounds hold the printed centre.
std::array<int, 3> CellOf(const CTextTally& t, const std::vector<std::string>& row, size_t first,
                          bool cylinder)
{
    const char* axes[2][3] = {{"X", "Y", "Z"}, {"R", "Z", "Theta"}};
    std::array<int, 3> cell{};
    for (int a = 0; a < 3; ++a)
    {
        const auto& b = t.m_Bounds.at(axes[cylinder][a]);
        const double c = std::stod(row[first + a]);
        cell[a] = 0;
        while (cell[a] + 1 < int(b.size()) - 1 && !(c < b[cell[a] + 1]))
            ++cell[a];
    }
    return cell;
}

using CCells = std::map<std::array<int, 3>, double>;

CCells ReadCells(CMeshtalReader& reader, const CMeshtalChoice& choice)
{
    CCells cells;
    EXPECT_TRUE(reader.ReadBin(
        choice,
        [&](int a, int b, int c, double v) {
            cells[{a, b, c}] = v;
        },
        [](int) {}))
        << reader.Error();
    return cells;
}

void CheckRealFile(const std::string& name, size_t tallyCount, CMeshtalReader& reader)
{
    SCOPED_TRACE(name);
    const std::string path = RealData("mcnp_meshtal/" + name);
    ASSERT_TRUE(reader.Open(path)) << reader.Error();
    const auto text = TextTallies(path);
    ASSERT_EQ(reader.Tallies().size(), tallyCount);
    ASSERT_EQ(text.size(), tallyCount);
    for (size_t i = 0; i < tallyCount; ++i)
    {
        const CMeshtalTally& tally = reader.Tallies()[i];
        SCOPED_TRACE("tally " + std::to_string(tally.m_Number));
        const CTextTally& t = text[i];
        const bool cylinder = t.m_Bounds.count("R") > 0;
        const char* axes[2][3] = {{"X", "Y", "Z"}, {"R", "Z", "Theta"}};
        for (int a = 0; a < 3; ++a)
            EXPECT_EQ(tally.Bins(a), int(t.m_Bounds.at(axes[cylinder][a]).size()) - 1);
        const auto rows = DefaultRows(t);
        ASSERT_EQ(int64_t(rows.size()), tally.Cells());
        // Result is the word after the coordinates; Volume and Rslt * Vol may follow the error.
        const size_t result =
            std::find(t.m_Columns.begin(), t.m_Columns.end(), "Result") - t.m_Columns.begin();
        CMeshtalChoice choice = CMeshtalReader::DefaultChoice(tally);
        choice.m_Tally = static_cast<int>(i);
        const CCells results = ReadCells(reader, choice);
        choice.m_Errors = true;
        const CCells errors = ReadCells(reader, choice);
        ASSERT_EQ(int64_t(results.size()), tally.Cells());
        for (size_t r : {size_t(0), rows.size() / 2, rows.size() - 1})
        {
            const auto& row = rows[r];
            const auto cell = CellOf(t, row, result - 3, cylinder);
            EXPECT_EQ(results.at(cell), std::stod(row[result])) << r;
            EXPECT_EQ(errors.at(cell), std::stod(row[result + 1])) << r;
        }
    }
}
} // namespace

TEST_F(MeshtalTest, EveryTallyOfTheRealFilesGivesTheNumbersOfItsText)
{
    SKIP_WITHOUT_REAL_DATA();
    const std::pair<const char*, size_t> files[] = {
        {"mcnptools_meshtal", 8},
        {"mcnptools_meshtal_prdmp_neg_1", 8},
        {"pyne_mcnp_meshtal_multiple_meshtal.txt", 4},
        {"pyne_mcnp_meshtal_single_meshtal.txt", 1},
        {"pyne_r2s_examples_meshtal", 1},
        {"pyne_r2s_meshtal_2x2x1", 1},
    };
    for (const auto& [name, count] : files)
    {
        CMeshtalReader reader;
        CheckRealFile(name, count, reader);
    }
}

namespace
{
std::string List(const std::vector<double>& values)
{
    std::string text;
    for (const double v : values)
        text += Format(" %.9g", v);
    return text;
}

double Centre(const std::vector<double>& bounds, int bin)
{
    return (bounds[bin] + bounds[bin + 1]) / 2;
}

// A tally written as MCNP writes it with out=ij/ik/jk: a page per energy, time and group bin,
// results then relative errors, from the values the reader gave in the column layout.
std::string MatrixText(CMeshtalReader& reader, int index, int across, int down)
{
    const CMeshtalTally& t = reader.Tallies()[index];
    const bool cylinder = t.m_Kind == EMeshKind::Cylindrical;
    const char* names[2][3] = {{"X", "Y", "Z"}, {"R", "Z", "Theta"}};
    const char* lines[2][3] = {{"X direction:", "Y direction:", "Z direction:"},
                               {"R direction:", "Z direction:", "Theta direction (revolutions):"}};
    std::string text = Format(" Mesh Tally Number %d\n %s  mesh tally.\n\n Tally bin boundaries:\n",
                              t.m_Number, t.m_Particle.c_str());
    if (cylinder)
        text += Format("   origin at %g %g %g axis in %g %g %g direction, VEC direction %g %g %g\n",
                       t.m_Origin[0], t.m_Origin[1], t.m_Origin[2], t.m_Axis[0], t.m_Axis[1],
                       t.m_Axis[2], t.m_Vec[0], t.m_Vec[1], t.m_Vec[2]);
    for (int a = 0; a < 3; ++a)
        text += Format("    %s%s\n", lines[cylinder][a], List(t.m_Bounds[a]).c_str());
    if (!t.m_Energy.empty()) text += "    Energy bin boundaries:" + List(t.m_Energy) + "\n";
    if (!t.m_Time.empty()) text += "    Time bin boundaries:" + List(t.m_Time) + "\n";
    const int group = 3 - across - down;
    for (int e = 0; e < t.EnergyChoices(); ++e)
        for (int b = 0; b < t.TimeChoices(); ++b)
        {
            CMeshtalChoice choice{index, e, b, false};
            const CCells results = ReadCells(reader, choice);
            choice.m_Errors = true;
            const CCells errors = ReadCells(reader, choice);
            text += e == t.EnergyBins() ? "\n Total Energy Bin\n"
                                        : Format("\n Energy Bin: %s\n", t.EnergyLabel(e).c_str());
            if (t.TimeBins() > 1)
                text += b == t.TimeBins() ? " Total Time Bin\n"
                                          : Format(" Time Bin: %s\n", t.TimeLabel(b).c_str());
            for (int g = 0; g < t.Bins(group); ++g)
            {
                text += Format("\n  %s bin: %g  -  %g\n", names[cylinder][group],
                               t.m_Bounds[group][g], t.m_Bounds[group][g + 1]);
                for (const CCells* block : {&results, &errors})
                {
                    text += block == &results
                                ? Format("   Tally Results:  %s (across) by %s (down)\n",
                                         names[cylinder][across], names[cylinder][down])
                                : std::string("   Relative Errors\n");
                    text += "           ";
                    for (int i = 0; i < t.Bins(across); ++i)
                        text += Format(" %.6g", Centre(t.m_Bounds[across], i));
                    text += "\n";
                    for (int d = 0; d < t.Bins(down); ++d)
                    {
                        text += Format("   %.6g", Centre(t.m_Bounds[down], d));
                        for (int i = 0; i < t.Bins(across); ++i)
                        {
                            std::array<int, 3> cell{};
                            cell[group] = g, cell[down] = d, cell[across] = i;
                            text += Format(" %.5E", block->at(cell));
                        }
                        text += "\n";
                    }
                }
            }
        }
    return text;
}
} // namespace

// Each tally of the real files, written in each matrix layout, reads back as the same numbers:
// every bin of energy and time, results and errors, cartesian and cylindrical.
TEST_F(MeshtalTest, TheMatrixLayoutsReadAsTheColumnLayoutOfTheSameTally)
{
    SKIP_WITHOUT_REAL_DATA();
    CMeshtalReader columns;
    ASSERT_TRUE(columns.Open(RealData("mcnp_meshtal/mcnptools_meshtal"))) << columns.Error();
    const std::pair<int, int> layouts[] = {{0, 1}, {0, 2}, {1, 2}};
    for (int i = 0; i < static_cast<int>(columns.Tallies().size()); ++i)
        for (const auto& [across, down] : layouts)
        {
            const CMeshtalTally& t = columns.Tallies()[i];
            SCOPED_TRACE(Format("tally %d, %d across %d down", t.m_Number, across, down));
            CMeshtalReader matrix;
            ASSERT_TRUE(matrix.Open(Write(MatrixText(columns, i, across, down)))) << matrix.Error();
            const CMeshtalTally& m = matrix.Tallies()[0];
            EXPECT_TRUE(m.m_Matrix);
            EXPECT_EQ(m.m_Kind, t.m_Kind);
            EXPECT_EQ(m.EnergyChoices(), t.EnergyChoices());
            EXPECT_EQ(m.TimeChoices(), t.TimeChoices());
            for (const CMeshtalChoice choice :
                 {CMeshtalReader::DefaultChoice(t), CMeshtalChoice{0, 0, 0, true}})
            {
                const CCells expected =
                    ReadCells(columns, {i, choice.m_Energy, choice.m_Time, choice.m_Errors});
                const CCells read = ReadCells(matrix, choice);
                ASSERT_EQ(read.size(), expected.size());
                for (const auto& [cell, value] : expected)
                    EXPECT_NEAR(read.at(cell), value, 1e-5 * std::abs(value));
            }
        }
}

TEST_F(MeshtalTest, AMatrixTallyLoadsOntoItsOwnEdges)
{
    Ui().QueueAnswer(IDNO);
    ASSERT_TRUE(Load(DataPath("matrix_xz.meshtal"))) << LogText();
    EXPECT_EQ(m_Grid.Edges(0), (std::vector<double>{0, 1, 3}));
    EXPECT_EQ(m_Grid.m_NrZBins, 3);
    for (int iz = 0; iz < 3; ++iz)
        for (int iy = 0; iy < 2; ++iy)
            for (int ix = 0; ix < 2; ++ix)
                EXPECT_EQ(V(ix, iy, iz), 1 + ix + 2 * iz + 10 * iy);
    // The errors are printed in fixed point.
    Ui().QueueAnswer(IDYES);
    ASSERT_TRUE(Load(DataPath("matrix_xz.meshtal"))) << LogText();
    EXPECT_EQ(V(1, 1, 2), 0.06);
}

TEST_F(MeshtalTest, ANuclideColumnIsABinToChoose)
{
    CMeshtalReader reader;
    ASSERT_TRUE(reader.Open(DataPath("nuclides.meshtal"))) << reader.Error();
    EXPECT_EQ(reader.Tallies()[0].m_Nuclides, (std::vector<std::string>{"1001", "8016"}));
    std::vector<std::string> row;
    Ui().QueueModal("MCNP mesh tallies",
                    [&](CDialog& dlg)
                    {
                        row = dlg.Item(IDC_MESHTAL_BINS).m_Items.at(1).m_SubItems;
                        dlg.UserSelect(IDC_MESHTAL_BINS, 1);
                    });
    Ui().QueueAnswer(IDNO);
    ASSERT_TRUE(Load(DataPath("nuclides.meshtal"))) << LogText();
    EXPECT_EQ(row.back(), "8016");
    EXPECT_EQ(V(0, 0, 0), 3);
    EXPECT_EQ(V(1, 0, 0), 4);
    EXPECT_TRUE(Logged("Mesh tally 4 (neutron, X Y Z, 2 x 1 x 1), energy 0 - 1e+36 MeV, time all, "
                       "nuclide 8016"))
        << LogText();
}

TEST_F(MeshtalTest, RealHeadersGiveKindParticleBinsAndFrame)
{
    SKIP_WITHOUT_REAL_DATA();
    CMeshtalReader reader;
    ASSERT_TRUE(reader.Open(RealData("mcnp_meshtal/mcnptools_meshtal"))) << reader.Error();
    EXPECT_EQ(reader.Histories(), 225000);
    const auto& t = reader.Tallies();
    EXPECT_EQ(t[0].m_Number, 14);
    EXPECT_EQ(t[0].m_Particle, "neutron");
    EXPECT_EQ(t[0].Sizes(), "5 x 5 x 5");
    EXPECT_EQ(t[3].EnergyChoices(), 4);
    EXPECT_EQ(t[3].TimeChoices(), 4);
    EXPECT_EQ(t[3].EnergyLabel(3), "Total");
    EXPECT_EQ(t[3].EnergyLabel(1), "1e-09 - 0.001 MeV");
    EXPECT_EQ(t[4].m_Kind, EMeshKind::Cylindrical);
    EXPECT_EQ(t[4].Sizes(), "4 x 5 x 4");
    EXPECT_EQ(t[4].m_Origin[1], -10);
    EXPECT_EQ(t[4].m_Vec[1], 1);
    CMeshtalReader single;
    ASSERT_TRUE(single.Open(RealData("mcnp_meshtal/pyne_mcnp_meshtal_single_meshtal.txt")));
    EXPECT_EQ(single.Tallies()[0].m_Particle, "neutron");
    CMeshtalReader wide;
    ASSERT_TRUE(wide.Open(RealData("mcnp_meshtal/pyne_r2s_examples_meshtal")));
    EXPECT_EQ(wide.Tallies()[0].m_Energy.size(), 176u);
}

TEST_F(MeshtalTest, RealCartesianTallyLoadsOntoTheGrid)
{
    SKIP_WITHOUT_REAL_DATA();
    Ui().QueueAnswer(IDNO);
    ASSERT_TRUE(Load(RealData("mcnp_meshtal/pyne_mcnp_meshtal_single_meshtal.txt"))) << LogText();
    EXPECT_EQ(m_Grid.m_NrXBins, 3);
    EXPECT_EQ(m_Grid.m_NrYBins, 5);
    // Z bins of 150, 150 and 100 cm: one voxel each, with the file's edges.
    EXPECT_EQ(m_Grid.m_NrZBins, 3);
    EXPECT_EQ(m_Grid.Edges(2), (std::vector<double>{-200, -50, 100, 200}));
    EXPECT_EQ(m_Grid.m_GridMin[0], -200);
    EXPECT_NEAR(m_Grid.m_BinWidth[1], 80, 1e-9);
    // Total row of the first cell: "Total  -133.333  -160.000  -125.000 ..." of the file.
    const auto rows =
        DefaultRows(TextTallies(RealData("mcnp_meshtal/pyne_mcnp_meshtal_single_meshtal.txt"))[0]);
    EXPECT_EQ(V(0, 0, 0), std::stod(rows.front()[4]));
    EXPECT_EQ(V(2, 4, 2), std::stod(rows.back()[4]));
    EXPECT_TRUE(Logged("Mesh tally 4 (neutron, X Y Z, 3 x 5 x 3), energy Total"));
    EXPECT_TRUE(Logged("The z bins are of unequal width: each is drawn with its own edges"));
}

TEST_F(MeshtalTest, UnequalBinsKeepTheirOwnEdges)
{
    SKIP_WITHOUT_REAL_DATA();
    // Tally 4: X one bin of 400, Z bins of 100, 100, 100, 50, 50 cm.
    Ui().QueueModal("MCNP mesh tallies", [](CDialog&) {});
    Ui().QueueAnswer(IDNO);
    ASSERT_TRUE(Load(RealData("mcnp_meshtal/pyne_mcnp_meshtal_multiple_meshtal.txt"))) << LogText();
    EXPECT_EQ(m_Grid.m_NrXBins, 1);
    EXPECT_EQ(m_Grid.m_NrZBins, 5);
    EXPECT_FALSE(m_Grid.Uneven(0));
    EXPECT_TRUE(m_Grid.Uneven(2));
    EXPECT_EQ(m_Grid.Edge(2, 3), 100);
    EXPECT_EQ(m_Grid.Edge(2, 4), 150);
    EXPECT_EQ(m_Grid.Edge(2, 5), 200);
    // The Total rows at x 0, y -150: z -150, -50, 50, 125, 175.
    EXPECT_EQ(V(0, 0, 0), 2.05055E+05);
    EXPECT_EQ(V(0, 0, 3), 2.34992E+05);
    EXPECT_EQ(V(0, 0, 4), 1.76491E+05);
    EXPECT_FALSE(Logged("Bins of unequal width: resampled"));
}

TEST_F(MeshtalTest, TheDialogListsEveryBinAndPicksTheChosenOne)
{
    SKIP_WITHOUT_REAL_DATA();
    CMeshtalReader reader;
    ASSERT_TRUE(reader.Open(RealData("mcnp_meshtal/mcnptools_meshtal")));
    const auto entries = MeshtalBinEntries(reader.Tallies());
    // 1 + 4 + 4 + 16 bins of the cartesian tallies, the same of the cylindrical ones.
    EXPECT_EQ(entries.size(), 50u);
    int rows = 0, selected = -1;
    Ui().QueueModal("MCNP mesh tallies",
                    [&](CDialog& dlg)
                    {
                        rows = static_cast<int>(dlg.Item(IDC_MESHTAL_BINS).m_Items.size());
                        selected = dlg.Item(IDC_MESHTAL_BINS).m_Sel;
                        dlg.UserSelect(IDC_MESHTAL_BINS, 3);
                    });
    Ui().QueueAnswer(IDNO);
    ASSERT_TRUE(Load(RealData("mcnp_meshtal/mcnptools_meshtal"))) << LogText();
    EXPECT_EQ(rows, 50);
    EXPECT_EQ(selected, 0);
    EXPECT_TRUE(Logged("Mesh tally 24 (neutron, X Y Z, 5 x 5 x 5), energy 0.001 - 1000 MeV"));
}

TEST_F(MeshtalTest, CylinderValuesLandAtTheirRadiusHeightAndAngle)
{
    // Origin (1, 2, 3), axis z, theta counted from +y; R in 8 rings of 0.25, Z 0-1-2, quarters.
    std::ostringstream out;
    out << " Mesh Tally Number        4\n neutron  mesh tally.\n\n Tally bin boundaries:\n"
           "   origin at   1.00E+00  2.00E+00  3.00E+00 axis in   0.00E+00  0.00E+00  1.00E+00 "
           "direction, VEC direction   0.00E+00  1.00E+00  0.00E+00\n"
           "    R direction:     ";
    for (int i = 0; i <= 8; ++i)
        out << " " << i * 0.25;
    out << "\n    Z direction:      0.00      1.00      2.00\n"
           "    Theta direction (revolutions):     0.000     0.250     0.500     0.750     1.000\n"
           "    Energy bin boundaries: 0.00E+00 1.00E+36\n\n"
           "        R         Z         Th    Result     Rel Error\n";
    for (int ir = 0; ir < 8; ++ir)
        for (int iz = 0; iz < 2; ++iz)
            for (int it = 0; it < 4; ++it)
                out << "  " << ir * 0.25 + 0.125 << "  " << iz + 0.5 << "  " << it * 0.25 + 0.125
                    << "  " << 100 * (ir + 1) + 10 * (iz + 1) + it + 1 << ".0  0.1\n";
    Ui().QueueAnswer(IDNO);
    ASSERT_TRUE(Load(Write(out.str()))) << LogText();
    // Voxels of the ring width, centred on the axis: voxel (8 + i, 8 + j) has its centre at
    // ((i + 0.5), (j + 0.5)) x 0.25 from the axis.
    ASSERT_EQ(m_Grid.m_NrXBins, 16);
    EXPECT_EQ(m_Grid.m_GridMin[0], 1 - 8 * 0.25);
    EXPECT_EQ(m_Grid.m_GridMin[1], 2 - 8 * 0.25);
    EXPECT_EQ(m_Grid.m_GridMin[2], 3);
    // (-0.125, 0.125): r 0.18 (ring 0), 135 degrees = 1/8 revolution past +y (quarter 0).
    EXPECT_EQ(V(8 - 1, 8, 0), 111);
    // (0.375, 0.375): r 0.53 (ring 2), 45 degrees = 7/8 revolution (quarter 3), upper z bin.
    EXPECT_EQ(V(8 + 1, 8 + 1, 1), 324);
    // (1.375, -0.625): r 1.51 (ring 6), -24 degrees = 0.68 revolution (quarter 2).
    EXPECT_EQ(V(8 + 5, 8 - 3, 0), 713);
    // (-0.875, -0.125): r 0.88 (ring 3), 188 degrees = 0.27 revolution (quarter 1).
    EXPECT_EQ(V(8 - 4, 8 - 1, 1), 422);
    EXPECT_EQ(V(15, 15, 0), 0); // r 2.65: outside, a hole
}

namespace
{
struct CTallyCylinder
{
    CVector m_Origin, m_Axis, m_Vec;
    std::vector<double> m_R, m_Z, m_Theta;
};

// A one-bin cylindrical tally; cell (ir, iz, ith) holds 1 + its index, r fastest.
std::string CylinderTally(const CTallyCylinder& c)
{
    std::ostringstream out;
    out.precision(17);
    const auto line = [&](const char* name, const std::vector<double>& bounds)
    {
        out << "    " << name << " direction" << (name[0] == 'T' ? " (revolutions)" : "") << ":";
        for (const double b : bounds)
            out << " " << b;
        out << "\n";
    };
    out << " Mesh Tally Number        4\n neutron  mesh tally.\n\n Tally bin boundaries:\n"
        << "   origin at " << c.m_Origin.x << " " << c.m_Origin.y << " " << c.m_Origin.z
        << " axis in " << c.m_Axis.x << " " << c.m_Axis.y << " " << c.m_Axis.z
        << " direction, VEC direction " << c.m_Vec.x << " " << c.m_Vec.y << " " << c.m_Vec.z
        << "\n";
    line("R", c.m_R);
    line("Z", c.m_Z);
    line("Theta", c.m_Theta);
    out << "    Energy bin boundaries: 0.00E+00 1.00E+36\n\n"
           "        R         Z         Th    Result     Rel Error\n";
    const size_t nr = c.m_R.size() - 1, nz = c.m_Z.size() - 1, nth = c.m_Theta.size() - 1;
    for (size_t ir = 0; ir < nr; ++ir)
        for (size_t iz = 0; iz < nz; ++iz)
            for (size_t it = 0; it < nth; ++it)
                out << "  " << (c.m_R[ir] + c.m_R[ir + 1]) / 2 << "  "
                    << (c.m_Z[iz] + c.m_Z[iz + 1]) / 2 << "  "
                    << (c.m_Theta[it] + c.m_Theta[it + 1]) / 2 << "  "
                    << 1 + ir + nr * (it + nth * iz) << "  0.05\n";
    return out.str();
}

// The value the tally gives at point p, worked out in the tally's own frame.
double TallyValueAt(const CTallyCylinder& c, const CVector& p)
{
    const CVector axis = c.m_Axis / c.m_Axis.Length();
    const CVector d = p - c.m_Origin;
    const double t = CVector::Dot(d, axis);
    const CVector q = d - axis * t;
    CVector ref = c.m_Vec - axis * CVector::Dot(c.m_Vec, axis);
    ref = ref / ref.Length();
    const CVector normal{axis.y * ref.z - axis.z * ref.y, axis.z * ref.x - axis.x * ref.z,
                         axis.x * ref.y - axis.y * ref.x};
    double turns =
        std::atan2(CVector::Dot(q, normal), CVector::Dot(q, ref)) / (2 * std::numbers::pi);
    if (turns < 0) turns += 1;
    const auto bin = [](const std::vector<double>& b, double x)
    {
        for (size_t i = 0; i + 1 < b.size(); ++i)
            if (x >= b[i] && x < b[i + 1]) return long(i);
        return -1L;
    };
    const long ir = bin(c.m_R, q.Length()), iz = bin(c.m_Z, t), it = bin(c.m_Theta, turns);
    if (ir < 0 || iz < 0 || it < 0) return 0;
    const long nr = long(c.m_R.size()) - 1, nth = long(c.m_Theta.size()) - 1;
    return double(1 + ir + nr * (it + nth * iz));
}
} // namespace

TEST_F(MeshtalTest, ACylinderAlongXKeepsItsBinsWhereTheGeometryIs)
{
    // Origin (1, 2, 3), axis +x, rings 0-1-2, z bins 0-2-6 along x, one theta bin.
    const CTallyCylinder c{{1, 2, 3}, {1, 0, 0}, {0, 1, 0}, {0, 1, 2}, {0, 2, 6}, {0, 1}};
    Ui().QueueAnswer(IDNO);
    ASSERT_TRUE(Load(Write(CylinderTally(c)))) << LogText();
    // Along the axis the voxels are the z bins, with their edges: x 1, 3, 7.
    EXPECT_EQ(m_Grid.m_NrXBins, 2);
    EXPECT_EQ(m_Grid.Edges(0), (std::vector<double>{1, 3, 7}));
    EXPECT_EQ(m_Grid.m_NrYBins, 4);
    EXPECT_EQ(m_Grid.m_NrZBins, 4);
    EXPECT_EQ(m_Grid.m_GridMin[1], 0);
    EXPECT_EQ(m_Grid.m_GridMin[2], 1);
    EXPECT_EQ(V(0, 2, 2), 1); // x 2, (dy, dz) (0.5, 0.5): ring 0 of the first z bin
    EXPECT_EQ(V(1, 3, 2), 4); // x 5: second z bin, ring 1
    EXPECT_EQ(V(1, 0, 0), 0); // r 2.12
    EXPECT_FALSE(Shown("only cylinders along the z direction"));
}

TEST_F(MeshtalTest, CylindersAlongAnyAxisGiveTheBinOfEveryVoxelCentre)
{
    const CTallyCylinder cases[] = {
        {{0, -10, 0}, {0, 0, 1}, {1, 0, 0}, {0, 1, 2.5, 4}, {-5, 0, 5}, {0, 0.25, 0.6, 1}},
        {{2, 0, -1}, {0, -1, 0}, {0, 0, 1}, {0.5, 1, 3}, {0, 4, 5}, {0, 0.5, 1}},
        {{1, 1, 1}, {1, 1, 1}, {1, 0, 0}, {0, 1, 2}, {-2, 1, 3}, {0, 0.3, 0.7, 1}},
        {{0, 0, 0}, {0.2, -0.3, 0.9}, {0, 1, 0}, {0, 0.7, 1.1, 2}, {0, 3}, {0, 0.5, 1}},
    };
    std::mt19937 random(26);
    for (const CTallyCylinder& c : cases)
    {
        SCOPED_TRACE(CylinderTally(c).substr(0, 200));
        Ui().Reset();
        Ui().QueueAnswer(IDNO);
        CVolumeLoader loader(m_Grid, m_Log);
        loader.SetCylinderResolution(0.1);
        ASSERT_TRUE(loader.Load("MCNP meshtal", Write(CylinderTally(c)))) << LogText();
        EXPECT_EQ(m_Grid.m_BinWidth[0], 0.1); // no case runs along x
        int inside = 0;
        for (int k = 0; k < 1000; ++k)
        {
            const int ix = int(random() % m_Grid.m_NrXBins), iy = int(random() % m_Grid.m_NrYBins),
                      iz = int(random() % m_Grid.m_NrZBins);
            const CVector centre{m_Grid.m_GridMin[0] + m_Grid.Offset(0, ix + 0.5),
                                 m_Grid.m_GridMin[1] + m_Grid.Offset(1, iy + 0.5),
                                 m_Grid.m_GridMin[2] + m_Grid.Offset(2, iz + 0.5)};
            const double expected = TallyValueAt(c, centre);
            inside += expected != 0;
            ASSERT_EQ(V(ix, iy, iz), expected) << ix << " " << iy << " " << iz;
        }
        EXPECT_GT(inside, 100) << "the grid covers the cylinder closely";
    }
}

TEST_F(MeshtalTest, RelativeErrorsAreNotScaledByTheNormalization)
{
    const CTallyCylinder c{{0, 0, 0}, {0, 0, 1}, {1, 0, 0}, {0, 1}, {0, 1}, {0, 1}};
    const std::string cartesian = " Mesh Tally Number        4\n neutron  mesh tally.\n\n"
                                  " Tally bin boundaries:\n    X direction:  0.0 1.0\n"
                                  "    Y direction:  0.0 1.0\n    Z direction:  0.0 1.0\n"
                                  "    Energy bin boundaries: 0.00E+00 1.00E+36\n\n"
                                  "        X         Y         Z     Result     Rel Error\n"
                                  "   0.500 0.500 0.500 3.0E+00 5.39E-02\n";
    for (const std::string& text : {cartesian, CylinderTally(c)})
    {
        for (const bool errors : {false, true})
        {
            Ui().Reset();
            m_Log.m_Lines.clear();
            m_Grid.m_Normalization = 2;
            Ui().QueueAnswer(errors ? IDYES : IDNO);
            ASSERT_TRUE(Load(Write(text))) << LogText();
            const bool isCartesian = text == cartesian;
            EXPECT_EQ(m_Grid.m_RangeMax, errors        ? (isCartesian ? 0.0539 : 0.05)
                                         : isCartesian ? 6
                                                       : 2);
            EXPECT_EQ(Logged("Relative errors are ratios: the normalization factor 2 does not "
                             "apply to them."),
                      errors);
        }
    }
}

TEST_F(MeshtalTest, RealCylindricalTalliesLoadThroughTheMapping)
{
    SKIP_WITHOUT_REAL_DATA();
    Ui().QueueModal("MCNP mesh tallies",
                    [&](CDialog& dlg) { dlg.UserSelect(IDC_MESHTAL_BINS, 25); });
    Ui().QueueAnswer(IDNO);
    ASSERT_TRUE(Load(RealData("mcnp_meshtal/mcnptools_meshtal"))) << LogText();
    EXPECT_TRUE(Logged("Mesh tally 54 (neutron, R Z Th, 4 x 5 x 4)"));
    EXPECT_EQ(m_Grid.m_NrZBins, 5);
    EXPECT_EQ(m_Grid.m_GridMin[1], -10 - 4 * 2.5);
}

TEST_F(MeshtalTest, BrokenFilesFailWithTheirMessage)
{
    const std::string head = " Mesh Tally Number        4\n neutron  mesh tally.\n\n"
                             " Tally bin boundaries:\n    X direction:  0.0 1.0 2.0\n"
                             "    Y direction:  0.0 1.0\n    Z direction:  0.0 1.0\n"
                             "    Energy bin boundaries: 0.00E+00 1.00E+36\n\n"
                             "        X         Y         Z     Result     Rel Error\n";
    const std::string row1 = "   0.500 0.500 0.500 1.0E+00 0.1\n";
    // A 2 x 2 x 2 tally in pages of X across Y down: the second page is the Z bin 1 - 2.
    const std::string matrix = " Mesh Tally Number        4\n"
                               "    X direction:  0.0 1.0 2.0\n    Y direction:  0.0 1.0 2.0\n"
                               "    Z direction:  0.0 1.0 2.0\n\n";
    const auto page = [](int z, const char* lastRow = "1.5 3 4\n")
    {
        return Format("  Z bin: %d - %d\n Tally Results:  X (across) by Y (down)\n     0.5 1.5\n"
                      "  0.5 1 2\n  %s Relative Errors\n     0.5 1.5\n  0.5 1 2\n  1.5 3 4\n",
                      z, z + 1, lastRow);
    };
    const std::string row2 = "   1.500 0.500 0.500 2.0E+00 0.1\n";
    const std::pair<std::string, std::string> cases[] = {
        {head + row1, "Mesh tally 4 has 1 rows where its bin boundaries call for 2"},
        {head + row1 + row1, "Line 12 of mesh tally 4 repeats a cell of the bin."},
        {head + row1 + "   7.500 0.500 0.500 2.0E+00 0.1\n",
         "Line 12 of mesh tally 4: the coordinate \"7.500\" lies in no bin."},
        {head + row1 + "   1.500 0.500 0.500 2.0E+00\n",
         "Line 12 of mesh tally 4 has fewer columns than its header."},
        {head + row1 + "   1.500 0.500 0.500 2.0Q+00 0.1\n",
         "Line 12 of mesh tally 4: the value \"2.0Q+00\" cannot be read."},
        {"mcnp   version 6\n just a title\n", "No mesh tally was found in the file."},
        {matrix + "  Y bin: 0 - 1\n Tally Results:  X (across) by Q (down)\n",
         "Line 7: the axes of the page of mesh tally 4 (\"Tally Results:  X (across) by Q "
         "(down)\") are not known."},
        {matrix + "  Z bin: 0 - 1\n", "Mesh tally 4 has no page of results."},
        {matrix + page(0), "Mesh tally 4 has 1 pages where its bin boundaries call for 2"},
        {matrix + page(0) + page(1, "1.5 3\n"),
         "Line 19 of mesh tally 4 has fewer values than the columns."},
        {matrix + page(0) + page(1, "1.5 3 4 5\n"),
         "Line 19 of mesh tally 4 has more values than the columns."},
        {matrix + page(0) + page(1, ""),
         "Line 19 of mesh tally 4 ends a block before all its rows."},
        {matrix + page(0) + page(0), "Line 22 of mesh tally 4 repeats a cell of the bin."},
        {matrix + page(0) + page(5), "Line 15 of mesh tally 4 names no bin of the axis the pages "
                                     "are of."},
        {" Mesh Tally Number        4\n    X direction:  0.0 1.0\n    Y direction:  1.0 0.0\n"
         "    Z direction:  0.0 1.0\n        X         Y         Z     Result     Rel Error\n"
         "  0.5 0.5 0.5 1 0.1\n",
         "Mesh tally 4 has no increasing Y bin boundaries."},
        // Each bound is a number, the width is not.
        {std::string(head).replace(head.find("0.0 1.0 2.0"), 11, "-1e308 0 1e308") + row1 + row2,
         "Mesh tally 4 spans X from -1e+308 to 1e+308: the width is beyond the range of numbers."},
    };
    // Theta counts from VEC: zero or along the axis, it starts nowhere.
    const std::string cylinder = " Mesh Tally Number        4\n Tally bin boundaries:\n"
                                 "   origin at 0 0 0 axis in 0 0 1 direction, VEC direction VEC\n"
                                 "    R direction: 0 1\n    Z direction: 0 1\n"
                                 "    Theta direction (revolutions): 0 0.5 1\n\n"
                                 "        R         Z         Th    Result     Rel Error\n"
                                 "  0.5 0.5 0.25 1 0.1\n  0.5 0.5 0.75 2 0.1\n";
    const std::string along = std::string(cylinder).replace(cylinder.find("VEC\n"), 3, "0 0 2");
    const std::string zero = std::string(cylinder).replace(cylinder.find("VEC\n"), 3, "0 0 0");
    const std::string vecMessage = "Mesh tally 4 has its VEC direction (0, 0, V) zero or along its "
                                   "axis: its theta bins have no start.";
    const std::pair<std::string, std::string> cylinderCases[] = {
        {along, std::string(vecMessage).replace(vecMessage.find("V)"), 1, "2")},
        {zero, std::string(vecMessage).replace(vecMessage.find("V)"), 1, "0")}};
    using CCases = std::span<const std::pair<std::string, std::string>>;
    for (const CCases group : {CCases(cases), CCases(cylinderCases)})
        for (const auto& [text, message] : group)
        {
            Ui().Reset();
            EXPECT_FALSE(Load(Write(text))) << message;
            // An error, so that a batch run stops and says so.
            EXPECT_TRUE(Shown(message, "error")) << message << "\n" << LogText();
        }
    Ui().Reset();
    Ui().QueueAnswer(IDNO);
    EXPECT_TRUE(Load(Write(std::string(cylinder).replace(cylinder.find("VEC\n"), 3, "1 0 0"))))
        << LogText();
    Ui().Reset();
    Ui().QueueAnswer(IDNO);
    EXPECT_TRUE(Load(Write(head + row1 + row2))) << LogText();
    EXPECT_EQ(V(1, 0, 0), 2);
    // Two cells of 0.001 and 99.999 cm are two voxels, not 100000.
    Ui().Reset();
    Ui().QueueAnswer(IDNO);
    EXPECT_TRUE(Load(Write(std::string(head).replace(head.find("1.0 2.0"), 7, "0.001 100.0") +
                           "   0.0005 0.500 0.500 1.0E+00 0.1\n   50.0 0.500 0.500 2.0E+00 0.1\n")))
        << LogText();
    EXPECT_EQ(m_Grid.m_NrXBins, 2);
    EXPECT_EQ(m_Grid.Edge(0, 1), 0.001);
}

TEST_F(MeshtalTest, ACutRealFileFailsWithAMessage)
{
    SKIP_WITHOUT_REAL_DATA();
    const std::string bytes = Bytes(RealData("mcnp_meshtal/mcnptools_meshtal"));
    Ui().QueueAnswer(IDNO);
    EXPECT_FALSE(Load(Write(bytes.substr(0, bytes.size() * 2 / 3))));
    EXPECT_TRUE(LogText().find("; the file may be cut short.") != std::string::npos) << LogText();
}
} // namespace volumira3d
