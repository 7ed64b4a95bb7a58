// PHITS tally output: the real xz and 1-D files, made-to-measure xy and r-z pages, broken files.
#include "LoaderTest.h"

#include <sstream>

namespace volumira3d
{
using namespace test;

namespace
{
// A PHITS xyz or r-z header as PHITS writes it (derived widths commented out), then pages.
std::string PHITSHeader(const std::string& mesh, const std::string& axis, int nx, int ny, int nz,
                        const std::string& xtype = "2")
{
    std::ostringstream out;
    out << "[ T - Track ]\n    title = [t-track]\n     mesh =  " << mesh << "  # mesh type\n";
    if (mesh == "xyz")
        out << "   x-type =    " << xtype
            << "\n     xmin =  -1.5\n#    xdel =  1.0\n       nx =  " << nx
            << "\n   y-type =    2\n     ymin =  0.0\n#    ydel =  2.0\n       ny =  " << ny
            << "\n";
    else
        out << "   r-type =    2\n     rmin =  0.0\n     rmax =  3.0\n#    rdel =  1.0\n"
               "       nr =  "
            << nx << "\n       x0 =  1.0\n       y0 =  -1.0\n";
    out << "   z-type =    2\n     zmin =  10.0\n#    zdel =  5.0\n       nz =  " << nz
        << "\n     axis =   " << axis << "   # axis of output\n";
    return out.str();
}

std::string Page(int first, int rows, int columns, bool firstPage)
{
    std::ostringstream out;
    if (!firstPage) out << " newpage:\n#   no. = 2\n";
    out << "hc:  y = " << rows << " to 1 by 1 ; x = 1 to " << columns << " by 1 ;\n";
    for (int r = 0; r < rows; ++r)
    {
        for (int c = 0; c < columns; ++c)
            out << "  " << first + r * columns + c << ".0";
        out << "\n";
    }
    return out.str() + "hc: y= 0.005 to 0.995 by 0.01 ; x= 0.5 to 0.5 by 1 ;\n 1  2  3\n";
}

// All numbers after the first "hc:" line, read independently of the reader.
std::vector<double> FirstPageNumbers(const std::string& path, size_t count)
{
    std::istringstream in(ReadText(path));
    std::string line;
    while (std::getline(in, line) && line.rfind("hc:", 0) != 0)
    {
    }
    std::vector<double> values(count);
    for (double& v : values)
        in >> v;
    return values;
}
} // namespace

class PHITSTest : public CFormatTest
{
protected:
    bool Load(const std::string& path) { return Loader().Load("PHITS", path); }
};

TEST_F(PHITSTest, RealXZPagesLandXBackwardsAndZForwards)
{
    SKIP_WITHOUT_REAL_DATA();
    const std::string path = RealData("phits/linac_I150_track-xz-water-ic-3.out");
    ASSERT_TRUE(Load(path)) << LogText();
    EXPECT_EQ(m_Grid.m_NrXBins, 80);
    EXPECT_EQ(m_Grid.m_NrYBins, 1);
    EXPECT_EQ(m_Grid.m_NrZBins, 80);
    EXPECT_EQ(m_Grid.m_GridMin[0], -2);
    EXPECT_EQ(m_Grid.m_GridMin[1], 1.4);
    EXPECT_EQ(m_Grid.m_BinWidth[0], 0.05);
    EXPECT_EQ(m_Grid.m_BinWidth[1], 0.2);
    // ((data(z,x),z=1,nz),x=nx,1,-1): the k-th number is x = nx - 1 - k / nz, z = k % nz.
    const std::vector<double> numbers = FirstPageNumbers(path, 6400);
    EXPECT_EQ(numbers.front(), 2.987e-3);
    EXPECT_EQ(V(79, 0, 0), 2.987e-3);
    for (size_t k = 0; k < numbers.size(); ++k)
        ASSERT_EQ(V(79 - int(k / 80), 0, int(k % 80)), numbers[k]) << k;
    EXPECT_EQ(m_Grid.m_TotalWeight, 1);
    EXPECT_EQ(m_Grid.m_NrOfParticles, 1);
}

TEST_F(PHITSTest, RealOneAxisPagesFillOneVoxelEach)
{
    SKIP_WITHOUT_REAL_DATA();
    const std::string path = RealData("phits/linac_I150_deposit-x-water-15-3.out");
    ASSERT_TRUE(Load(path)) << LogText();
    EXPECT_EQ(m_Grid.m_NrXBins, 1);
    EXPECT_EQ(m_Grid.m_NrZBins, 80);
    EXPECT_EQ(m_Grid.m_BinWidth[2], 6.25e-3);
    // Each page's table row after "#  x-lower": lower, upper, value, error.
    std::istringstream in(ReadText(path));
    std::vector<double> values;
    for (std::string line; std::getline(in, line);)
        if (line.find("x-lower") != std::string::npos && std::getline(in, line))
        {
            std::istringstream row(line);
            double lower, upper, value;
            row >> lower >> upper >> value;
            values.push_back(value);
        }
    ASSERT_EQ(values.size(), 80u);
    EXPECT_EQ(V(0, 0, 0), 3.2923e-13);
    for (int iz = 0; iz < 80; ++iz)
        EXPECT_EQ(V(0, 0, iz), values[size_t(iz)]) << iz;
}

TEST_F(PHITSTest, ASummaryOutputIsNotATally)
{
    SKIP_WITHOUT_REAL_DATA();
    // Its echo of the input holds meshes of several kinds; the first says why it is refused.
    EXPECT_FALSE(Load(RealData("phits/linac_I150_phits-water-3.out")));
    EXPECT_EQ(Ui().Messages().size(), 1u);
    EXPECT_EQ(Ui().Messages().at(0).Icon(), "error");
}

TEST_F(PHITSTest, XYPagesFillOnePlaneEachFromTheTopRowDown)
{
    const std::string text =
        PHITSHeader("xyz", "xy", 3, 2, 2) + Page(1, 2, 3, true) + Page(7, 2, 3, false);
    ASSERT_TRUE(Load(WriteScratch("xy.out", text))) << LogText();
    EXPECT_EQ(m_Grid.m_GridMin[0], -1.5);
    EXPECT_EQ(m_Grid.m_BinWidth[2], 5);
    EXPECT_EQ(V(0, 1, 0), 1); // first printed row is the top one
    EXPECT_EQ(V(2, 1, 0), 3);
    EXPECT_EQ(V(0, 0, 0), 4);
    EXPECT_EQ(V(0, 1, 1), 7);
    EXPECT_EQ(V(2, 0, 1), 12);
    EXPECT_TRUE(Logged("Mapping 12 bins to XYZ... 100%"));
}

TEST_F(PHITSTest, YZPagesRunAlongX)
{
    const std::string text =
        PHITSHeader("xyz", "yz", 2, 2, 3) + Page(1, 2, 3, true) + Page(7, 2, 3, false);
    ASSERT_TRUE(Load(WriteScratch("yz.out", text))) << LogText();
    EXPECT_EQ(V(0, 1, 0), 1);
    EXPECT_EQ(V(0, 1, 2), 3);
    EXPECT_EQ(V(0, 0, 0), 4);
    EXPECT_EQ(V(1, 0, 2), 12);
}

TEST_F(PHITSTest, RZPagesAreResampledAroundTheAxis)
{
    // 3 rings of 1 cm, 2 planes; the top row (z plane 1) is printed first.
    const std::string text = PHITSHeader("r-z", "rz", 3, 1, 2) + Page(1, 2, 3, true);
    ASSERT_TRUE(Load(WriteScratch("rz.out", text))) << LogText();
    EXPECT_EQ(m_Grid.m_NrXBins, 6);
    EXPECT_EQ(m_Grid.m_NrZBins, 2);
    EXPECT_EQ(m_Grid.m_GridMin[0], 1 - 3);
    EXPECT_EQ(m_Grid.m_GridMin[1], -1 - 3);
    EXPECT_EQ(V(3, 3, 1), 1); // ring 0 of the upper plane
    EXPECT_EQ(V(3, 3, 0), 4); // ring 0 of the lower plane
    EXPECT_EQ(V(5, 3, 0), 6);
}

// text with an extra line before the line that starts with the marker.
std::string With(const std::string& text, const std::string& marker, const std::string& line)
{
    std::string out = text;
    return out.insert(out.find(marker), line);
}

TEST_F(PHITSTest, AValueWithoutItsExponentLetterIsOneNumber)
{
    std::string text =
        PHITSHeader("xyz", "xy", 3, 2, 2) + Page(1, 2, 3, true) + Page(7, 2, 3, false);
    text.replace(text.find("  2.0", text.find("hc:")), 5, "  2.987-103");
    text.replace(text.find("  9.0", text.find("hc:")), 5, "  -4.5+120");
    ASSERT_TRUE(Load(WriteScratch("fortran.out", text))) << LogText();
    EXPECT_EQ(V(1, 1, 0), 2.987e-103);
    EXPECT_EQ(V(2, 1, 0), 3);
    EXPECT_EQ(V(2, 1, 1), -4.5e120);
    EXPECT_EQ(V(2, 0, 1), 12);
}

TEST_F(PHITSTest, HeaderAndPageProblemsGiveTheirMessages)
{
    const std::string good =
        PHITSHeader("xyz", "xy", 3, 2, 2) + Page(1, 2, 3, true) + Page(7, 2, 3, false);
    const struct
    {
        std::string m_Text;
        const char* m_Box; // message box, or nullptr when only the log says it
        const char* m_Log;
    } cases[] = {
        {"", "Mesh type could not be identified!", "No mesh of type xyz or r-z"},
        {"     mesh =  tet\n", "Mesh type could not be identified!", "No mesh of type"},
        {PHITSHeader("xyz", "xy", 3, 2, 2, "1") + Page(1, 2, 3, true),
         "Sorry, but for the moment only linear binning is supported!", "Sorry, but for"},
        {PHITSHeader("xyz", "xy", 3, 2, 2), nullptr, "The PHITS file ends before its first page."},
        {good.substr(0, good.find(" newpage:")), "The PHITS file ends before page 2 (no",
         "The PHITS file ends before page 2 (no \"newpage:\" line)."},
        {good.substr(0, good.find("hc:", good.find(" newpage:"))), "The PHITS file ends",
         "The PHITS file ends before page 2 (no \"hc:\" line)."},
        {good.substr(0, good.find("  11.0")), "Page 2 of the PHITS file ends after 4 of its 6",
         "Page 2 of the PHITS file ends after 4 of its 6 values."},
        {PHITSHeader("xyz", "xy", 0, 2, 2) + Page(1, 2, 3, true), nullptr,
         "The PHITS mesh of 0 x 2 x 2 bins"},
        {PHITSHeader("xyz", "xy", -1, 2, 2) + Page(1, 2, 3, true), nullptr,
         "The PHITS mesh of -1 x 2 x 2 bins"},
        {PHITSHeader("xyz", "xy", 2147483647, 2, 2) + Page(1, 2, 3, true),
         "The PHITS mesh of 2147483647 x 2 x 2 bins holds more values", "The PHITS mesh of"},
        {PHITSHeader("xyz", "xyz", 3, 2, 2) + Page(1, 2, 3, true), nullptr,
         "The PHITS output axis \"xyz\" cannot be mapped onto a grid."},
        // Each of these once loaded a part of the page, or the page shifted.
        {PHITSHeader("xyz", "xy", 2, 2, 2) + Page(1, 2, 3, true) + Page(7, 2, 3, false),
         "Page 1 of the PHITS file prints 2 x 3 values",
         "Page 1 of the PHITS file prints 2 x 3 values where its header announces 2 x 2."},
        {With(good, "       ny =", "       nx =  2\n"),
         "The PHITS header gives nx twice, as 3 and as 2.",
         "The PHITS header gives nx twice, as 3 and as 2."},
        {With(good, "   y-type", "     xmax =  2.0\n"), nullptr,
         "The PHITS header contradicts itself: x from -1.5 to 2 is not 3 bins of 1."},
        {With(good, "   y-type", "     xmax =  -2.0\n"), nullptr,
         "The PHITS header gives xmin = -1.5 above or at xmax = -2."},
        {std::string(good).replace(good.find("  3.0"), 5, "  3.0  3.5"),
         "Page 1 of the PHITS file holds more values",
         "Page 1 of the PHITS file holds more values than its header announces."},
        {std::string(good).replace(good.find("  3.0"), 5, "  3.0.1"), nullptr,
         "Page 1 of the PHITS file: value 3 \"3.0.1\" is not a number."},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.m_Log);
        Ui().Reset();
        m_Log.m_Lines.clear();
        EXPECT_FALSE(Load(WriteScratch("broken.out", c.m_Text)));
        EXPECT_TRUE(Logged(c.m_Log, ILoadLog::IconError)) << LogText();
        if (c.m_Box)
        {
            EXPECT_TRUE(Shown(c.m_Box)) << ::testing::PrintToString(MessageTexts());
        }
    }
}
} // namespace volumira3d
