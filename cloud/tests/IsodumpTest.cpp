#include "cloud/IsodumpReader.h"
#include "isodump/IsodumpReaderDlg.h"
#include "platform/Controls.h"
#include "testkit/UiCapture.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace nebulo3d;

namespace
{
class IsodumpTest : public testkit::CUiTest
{
protected:
    // Reads text, choosing the cooling time at index choice; the labels offered are kept.
    bool Read(const std::string& text, int choice = 0)
    {
        testkit::Ui().QueueModal("Isodump reader",
                                 [this, choice](CDialog& dlg)
                                 {
                                     CListBox list(&dlg, isodump::IDC_ISO_TIMES);
                                     for (int i = 0; i < list.GetCount(); ++i)
                                         m_Labels.push_back(list.GetText(i));
                                     dlg.UserSelect(isodump::IDC_ISO_TIMES, choice);
                                 });
        std::istringstream in(text);
        return m_Reader.ReadStream(in, text.size(), nullptr);
    }

    CIsodumpReader m_Reader;
    std::vector<std::string> m_Labels;
};

const char* const Records = "#1 1 26 56 0 9 9 9 9 9\n"
                            "#1 2 26 56 0 0 1 2 3 7\n"
                            "#2 7 27 60 0 4 5 6 3\n"
                            "#2 -3 25 54 0 -1 -2 -3 2\n"
                            "no hash 2 3 4 5 6 7 8 9 10\n";
} // namespace

TEST_F(IsodumpTest, HeaderThreeTwoListsLabelsAndSecondChoiceReadsTimeTwo)
{
    ASSERT_TRUE(Read(std::string("3 2\n  0s\n  1d\n") + Records, 1));
    EXPECT_EQ(m_Labels, (std::vector<std::string>{"0s", "1d"}));
    // S = 1 is skipped; S = 2, 7 and -3 are used.
    ASSERT_EQ(m_Reader.Count(), 3u);
    std::vector<double> weights;
    for (const auto& [type, p] : m_Reader.AllParticles())
    {
        EXPECT_EQ(type, 1);
        EXPECT_EQ(p->m_Energy, 1.0);
        EXPECT_EQ(p->m_Direction, CVector(0, 0, 1));
        weights.push_back(p->m_Weight);
    }
    std::sort(weights.begin(), weights.end());
    EXPECT_EQ(weights, (std::vector<double>{2, 3, 7}));
    EXPECT_TRUE(testkit::MessageTexts(true).empty());
}

TEST_F(IsodumpTest, KindsTakeTheirOwnColumns)
{
    ASSERT_TRUE(Read("1 1\n  0s\n#1 1 26 56 0 0 1 2 3 7\n#2 1 27 60 0 4 5 6 3\n"));
    std::vector<CVector> positions;
    for (const auto& [type, p] : m_Reader.AllParticles())
        positions.push_back(p->m_Position);
    EXPECT_NE(std::find(positions.begin(), positions.end(), CVector(1, 2, 3)), positions.end());
    EXPECT_NE(std::find(positions.begin(), positions.end(), CVector(4, 5, 6)), positions.end());
}

TEST_F(IsodumpTest, HeaderMustHoldExactlyTwoIntegers)
{
    for (const char* header : {"3 2 1\n", "3\n", "x 2\n", "\n"})
    {
        testkit::Ui().Reset();
        CIsodumpReader r;
        std::istringstream in(std::string(header) + "  0s\n");
        EXPECT_FALSE(r.ReadStream(in, 10, nullptr)) << header;
        EXPECT_EQ(
            testkit::MessageTexts(true),
            (std::vector<std::string>{"error: Invalid 1st line encountered. Maybe this file is not "
                                      "a valid isodump file?"}))
            << header;
    }
}

TEST_F(IsodumpTest, FewerLabelsThanAnnounced)
{
    ASSERT_TRUE(Read("1 5\n  a\n  b\n"));
    EXPECT_EQ(m_Labels, (std::vector<std::string>{"a", "b"}));
}

TEST_F(IsodumpTest, NoLabelsAndAbsurdCounts)
{
    for (const char* text : {"1 2\n", "1 0\n  0s\n", "1 -5\n  0s\n", "1 99999999999\n  0s\n"})
    {
        testkit::Ui().Reset();
        CIsodumpReader r;
        std::istringstream in(text);
        EXPECT_FALSE(r.ReadStream(in, 10, nullptr)) << text;
        EXPECT_EQ(testkit::MessageTexts(true).size(), 1u) << text;
    }
}

TEST_F(IsodumpTest, ShortRecordAnsweredNoKeepsTheRest)
{
    testkit::Ui().QueueAnswer(IDOK);
    testkit::Ui().QueueAnswer(IDNO);
    ASSERT_TRUE(Read("1 1\n  0s\n#1 1 26 56 0 0 1 2 3 7\n#2 1 2\n#2 1 27 60 0 4 5 6 3\n"));
    EXPECT_EQ(m_Reader.Count(), 2u);
    EXPECT_EQ(
        testkit::MessageTexts(true),
        (std::vector<std::string>{"warning: Error in line: \"#2 1 2\". Not enough data found!",
                                  "question: Should the reading be aborted?"}));
}

TEST_F(IsodumpTest, ShortRecordAnsweredYesFails)
{
    testkit::Ui().QueueAnswer(IDOK);
    testkit::Ui().QueueAnswer(IDYES);
    EXPECT_FALSE(Read("1 1\n  0s\n#1 1 26 56 0 0 1 2 3\n"));
}

TEST_F(IsodumpTest, CancelledDialogFailsSilently)
{
    testkit::Ui().QueueModal("Isodump reader", [](CDialog& dlg) { dlg.EndDialog(IDCANCEL); });
    std::istringstream in("1 1\n  0s\n#1 1 26 56 0 0 1 2 3 7\n");
    EXPECT_FALSE(m_Reader.ReadStream(in, 10, nullptr));
    EXPECT_TRUE(testkit::MessageTexts(true).empty());
}

TEST_F(IsodumpTest, NegativeCloudReachesTheOrigin)
{
    ASSERT_TRUE(Read("1 1\n  0s\n#2 1 27 60 0 -4 -5 -6 3\n"));
    EXPECT_EQ(m_Reader.m_ExtentMin, CVector(-4, -5, -6));
    EXPECT_EQ(m_Reader.m_ExtentMax, CVector(1e-12, 1e-12, 1e-12));
}

TEST_F(IsodumpTest, ARecordWithAnUnreadablePositionIsSkippedNotPlacedAtZero)
{
    ASSERT_TRUE(Read("1 1\n  0s\n#1 1 26 56 0 0 1 inf 3 7\n#2 1 27 60 0 4 5 6 3\n"));
    ASSERT_EQ(m_Reader.Count(), 1u);
    EXPECT_EQ(m_Reader.AllParticles().begin()->second->m_Position, CVector(4, 5, 6));
    EXPECT_EQ(m_Reader.Warnings(),
              (std::vector<std::string>{"line 3: record skipped: \"inf\" is not a number"}));
}
