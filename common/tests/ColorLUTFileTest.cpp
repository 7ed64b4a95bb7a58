#include "common/ColorLUTFile.h"
#include "common/ColorTable.h"
#include "testkit/Scratch.h"
#include "testkit/UiCapture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace testkit;

namespace
{
class ColorLUTFileTest : public CUiTest
{
protected:
    void SetUp() override
    {
        CUiTest::SetUp();
        CColorTable::Instance().ResetToDefaults();
        m_Path = (TestDir() / "colours.lut").string();
    }
    void TearDown() override { CColorTable::Instance().ResetToDefaults(); }
    void Write(const std::string& text) { WriteScratch("colours.lut", text); }
    std::vector<std::string> Boxes() const { return MessageTexts(true); }

    std::string m_Path;
    CColorTable& m_Table = CColorTable::Instance();
};
} // namespace

TEST_F(ColorLUTFileTest, SaveThenLoadRestoresEveryEntry)
{
    // Distinct colours for 1..70, including the names with a blank (24, 65) and the "---" ones.
    for (int i = 1; i < CColorTable::Size; ++i)
        m_Table.Set(i, {i / 71.0, 1.0 - i / 97.0, (i % 7) / 7.0});
    const CColorTable::Colors saved = m_Table.All();
    ASSERT_TRUE(ColorLUTFile::Save(m_Path, m_Table));
    m_Table.ResetToDefaults();
    ASSERT_TRUE(ColorLUTFile::Load(m_Path, m_Table));
    for (int i = 1; i < CColorTable::Size; ++i)
    {
        EXPECT_NEAR(m_Table.Get(i).x, saved[i].x, 5e-7) << "entry " << i;
        EXPECT_NEAR(m_Table.Get(i).y, saved[i].y, 5e-7) << "entry " << i;
        EXPECT_NEAR(m_Table.Get(i).z, saved[i].z, 5e-7) << "entry " << i;
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ColorLUTFileTest, WrittenLinesUseTheDefaultStreamFormat)
{
    ASSERT_TRUE(ColorLUTFile::Save(m_Path, m_Table));
    std::ifstream in(m_Path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 71u);
    EXPECT_EQ(lines[0], "# Trakor3D color LUT");
    EXPECT_EQ(lines[1], "1 Proton 1 0 0");
    EXPECT_EQ(lines[9], "9 Antineutron 0.901961 0.901961 0.980392");
    EXPECT_EQ(lines[24], "24 Kaon zero 0.34902 0.666667 0.376471");
    EXPECT_EQ(lines[26], "26 --- 0.741176 0.92549 0.819608");
    EXPECT_EQ(lines[70], "70 4_HELIUM 0 0 0");
}

TEST_F(ColorLUTFileTest, LoadMessagesAndSkippedLines)
{
    Write("Trakor3D colours\n"
          "71 Nothing 1 1 1\n"
          "-1 Nothing 1 1 1\n"
          "7 Photon 0.5 0.5\n"
          "\n"
          "0 Zero 0.1 0.2 0.3\n"
          "8,Neutron;0.2|0.4\t0.6 trailing words\n");
    ASSERT_TRUE(ColorLUTFile::Load(m_Path, m_Table));
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{
                  "warning: Invalid index for color LUT given! Entry is ignored.",
                  "warning: Invalid index for color LUT given! Entry is ignored.",
                  "information: Line: \"7 Photon 0.5 0.5\" contains too little information and is "
                  "thus skipped",
                  "information: Line: \"\" contains too little information and is thus skipped"}));
    EXPECT_EQ(m_Table.Get(7), CVector(1, 1, 0)) << "unchanged";
    EXPECT_EQ(m_Table.Get(0), CVector(0.1, 0.2, 0.3)) << "index 0 is accepted";
    EXPECT_EQ(m_Table.Get(8), CVector(0.2, 0.4, 0.6));
    EXPECT_EQ(Ui().WaitCursorDepth(), 0);
}

TEST_F(ColorLUTFileTest, FileLevelFailuresChangeNothing)
{
    EXPECT_FALSE(ColorLUTFile::Load("", m_Table));
    EXPECT_FALSE(ColorLUTFile::Load("/nonexistent/colours.lut", m_Table));
    Write("colours without the name\n7 Photon 0 0 0\n");
    EXPECT_FALSE(ColorLUTFile::Load(m_Path, m_Table));
    EXPECT_FALSE(ColorLUTFile::Save("/nonexistent/dir/colours.lut", m_Table));
    EXPECT_EQ(Boxes(), (std::vector<std::string>{
                           "warning: No file name specified!", "error: Error opening file!",
                           "error: Invalid file format!", "error: Error opening file!"}));
    EXPECT_EQ(m_Table.Get(7), CVector(1, 1, 0));
}
