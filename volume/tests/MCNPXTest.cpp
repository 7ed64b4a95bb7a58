// MCNPX gridconv text: data sets, the data-set dialog, skipping, and broken files.
#include "LoaderTest.h"
#include "volume/loading/FormatDispatch.h"
#include "volume/loading/MCNPXImportOptionsDlg.h"

namespace volumira3d
{
using namespace test;

class MCNPXTest : public CFormatTest
{
protected:
    bool Load(const std::string& path) { return Loader().Load("MCNPX gridconv", path); }
    void ChooseRow(int row, std::vector<std::string>* shown = nullptr)
    {
        Ui().QueueModal("MCNPX data sets",
                        [=](CDialog& dlg)
                        {
                            const CListItem& item = dlg.Item(IDC_MCNPX_DATA_SETS).m_Items.at(1);
                            if (shown)
                            {
                                shown->push_back(item.m_Text);
                                shown->insert(shown->end(), item.m_SubItems.begin(),
                                              item.m_SubItems.end());
                            }
                            if (row >= 0) dlg.UserSelect(IDC_MCNPX_DATA_SETS, row);
                        });
    }
};

TEST_F(MCNPXTest, OneDataSetLoadsWithoutTheDialog)
{
    bool shown = false;
    Ui().QueueModal("MCNPX data sets", [&](CDialog&) { shown = true; });
    m_Grid.m_MinDataValIndices[0] = 5;
    ASSERT_TRUE(Load(DataPath("one_set.mcnpx"))) << LogText();
    EXPECT_EQ(m_Grid.m_NrXBins, 2);
    EXPECT_EQ(m_Grid.m_NrYBins, 2);
    EXPECT_EQ(m_Grid.m_NrZBins, 1);
    EXPECT_EQ(m_Grid.m_BinWidth[0], 0.5);
    EXPECT_EQ(m_Grid.m_BinWidth[1], 2);
    EXPECT_EQ(m_Grid.m_BinWidth[2], 5);
    EXPECT_EQ(m_Grid.m_GridMin[2], 10);
    EXPECT_EQ(V(0, 0, 0), 1);
    EXPECT_EQ(V(1, 0, 0), 2);
    EXPECT_EQ(V(0, 1, 0), 3);
    EXPECT_EQ(V(1, 1, 0), 4);
    EXPECT_EQ(m_Grid.m_MinDataValIndices[0], 0);
    EXPECT_EQ(m_Grid.m_TotalWeight, 1);
    EXPECT_EQ(m_Grid.m_NrOfParticles, 1);
    EXPECT_FALSE(shown);
}

TEST_F(MCNPXTest, TheSecondDataSetSkipsExactlyTheLinesOfTheFirst)
{
    std::vector<std::string> row;
    ChooseRow(1, &row);
    ASSERT_TRUE(Load(DataPath("two_sets.mcnpx"))) << LogText();
    EXPECT_EQ(row, (std::vector<std::string>{"2", "2", "7", "2", "1", "1"}));
    EXPECT_EQ(m_Grid.m_NrXBins, 2);
    EXPECT_EQ(m_Grid.m_GridMin[0], -1);
    EXPECT_EQ(V(0, 0, 0), 7);
    EXPECT_EQ(V(1, 0, 0), 8);
}

TEST_F(MCNPXTest, NoSelectionLoadsTheFirstDataSet)
{
    ChooseRow(-1);
    ASSERT_TRUE(Load(DataPath("two_sets.mcnpx"))) << LogText();
    EXPECT_EQ(m_Grid.m_NrXBins, 3);
    EXPECT_EQ(m_Grid.m_NrYBins, 2);
    EXPECT_EQ(V(0, 0, 0), 1);
    EXPECT_EQ(V(2, 1, 0), 6);
}

TEST_F(MCNPXTest, ContentNamingMCNPXIsIdentified)
{
    EXPECT_EQ(FormatName(IdentifyContent(DataPath("two_sets.mcnpx"))), "MCNPX gridconv");
}

TEST_F(MCNPXTest, BrokenFilesFailWithTheirReason)
{
    const std::string good = ReadText(DataPath("one_set.mcnpx"));
    auto replaced = [&](const std::string& from, const std::string& to)
    {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const struct
    {
        std::string m_Text;
        const char* m_Reason;
    } cases[] = {
        {"", "No line with \"mcnpx\" or \"MCNPX\" was found among the first 100 lines."},
        {good.substr(0, 17), "The file ends before the data-set descriptors."},
        {good.substr(0, 90), "The file ends before the data-set descriptors end."},
        {good.substr(0, good.find(" 10.0")), "The file ends before the boundary lines"},
        {good.substr(0, good.find(" 3.0")), "The MCNPX data set holds only 2 numbers for its 4"},
        {replaced("1 MCNPX", "0 MCNPX"), "The MCNPX marker line \"0 MCNPX data set\""},
        {replaced("1 MCNPX", "-1 MCNPX"), "The MCNPX marker line"},
        {replaced("10 1 3 3 2 0 4 0 0 5", "10 1 3"),
         "The MCNPX file announces 1 data sets but describes 0: \"10 1 3\" is no descriptor."},
        {replaced("10 1 3 3 2", "10 1 1 3 2"), "Data set 1 of the MCNPX file has 0 x 2 x 1 bins"},
        {replaced("10 1 3 3 2", "10 1 -1 3 2"), "Data set 1 of the MCNPX file has -2 x 2 x 1"},
        {replaced("10 1 3 3 2 0 4", "10 1 3 3 2 0 3"),
         "Data set 1 of the MCNPX file announces 3 values for its 4 bins."},
        {replaced("10 1 3 3 2 0 4", "10 1 3 3 2 0 -1"),
         "Data set 1 of the MCNPX file has 2 x 2 x 1 bins and -1 values."},
        {replaced("10 1 3 3 2", "10 1 2147483647 3 2"),
         "Data set 1 of the MCNPX file announces 4 values for its 4294967292 bins."},
        {replaced(" 0.0  0.5  1.0", " 1.0  0.5  0.0"),
         "The x boundaries of the MCNPX data set run from 1 to 0: no bin width."},
        // Each of these once loaded as something the file does not say.
        {replaced(" 0.0  0.5  1.0", " 0.0  1.0  0.5"),
         "The x boundaries of the MCNPX data set do not increase (1, 0.5)."},
        {replaced(" 0.0  0.5  1.0", " 0.0  0.5  1.0  1.5"),
         "The x boundary line of the MCNPX data set holds 4 boundaries where its 2 bins need 3."},
        {replaced(" 0.0  0.5  1.0", " -1e308  0  1e308"),
         "The x boundaries of the MCNPX data set run from -1e+308 to 1e+308: no bin width."},
        {replaced(" 0.0  0.5  1.0", " 0.0  0.5  1e400"),
         "The x boundary line of the MCNPX data set cannot be read: \"1e400\" is out of range."},
        {replaced("1 MCNPX", "2 MCNPX"),
         "The MCNPX file announces 2 data sets but describes 1: \" 0.0  0.5  1.0\" is no "
         "descriptor."},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.m_Reason);
        m_Log.m_Lines.clear();
        Ui().Reset();
        EXPECT_FALSE(Load(WriteScratch("broken.mcnpx", c.m_Text)));
        EXPECT_TRUE(Logged(c.m_Reason, ILoadLog::IconError)) << LogText();
    }
}

// Boundaries "0.0 0.1 1.0" once became two bins of 0.5 cm; they are two bins of their own widths.
TEST_F(MCNPXTest, UnevenBoundariesKeepTheirOwnEdges)
{
    std::string text = ReadText(DataPath("one_set.mcnpx"));
    ASSERT_NE(text.find(" 0.0  0.5  1.0"), std::string::npos);
    text.replace(text.find(" 0.0  0.5  1.0"), 14, " 0.0  0.1  1.0");
    ASSERT_TRUE(Load(WriteScratch("uneven.mcnpx", text))) << LogText();
    EXPECT_TRUE(m_Grid.Uneven(0));
    EXPECT_EQ(m_Grid.Edges(0), (std::vector<double>{0, 0.1, 1}));
    EXPECT_EQ(m_Grid.Edge(0, 1), 0.1);
    EXPECT_TRUE(Logged("The x bins are of unequal width: each is drawn with its own edges"));
}
} // namespace volumira3d
