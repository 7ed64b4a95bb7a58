#include "isodump/IsodumpFormat.h"
#include "isodump/LogDlg.h"
#include "platform/Profile.h"
#include "testkit/Scratch.h"
#include "testkit/UiCapture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace isodump;

TEST(Header, IntegersAsExtractionReadsThem)
{
    EXPECT_EQ(LeadingIntegers("3 2"), (std::vector<int>{3, 2}));
    EXPECT_EQ(LeadingIntegers("  3\t+2 text 5"), (std::vector<int>{3, 2}));
    EXPECT_EQ(LeadingIntegers("3 2.5"), (std::vector<int>{3, 2})) << "stops at the point";
    EXPECT_EQ(LeadingIntegers("-1 99999999999"), (std::vector<int>{-1}));
    EXPECT_EQ(LeadingIntegers("+-3"), (std::vector<int>{}));
    EXPECT_EQ(HeaderCount("3 2"), 2);
    EXPECT_FALSE(HeaderCount("3 2 1"));
    EXPECT_FALSE(HeaderCount("3"));
}

TEST(Header, LabelIsTheLineWithoutTwoCharacters)
{
    EXPECT_EQ(CoolingLabel("  0s"), "0s");
    EXPECT_EQ(CoolingLabel("ab"), "");
    EXPECT_EQ(CoolingLabel("a"), "");
}

TEST(Records, SelectorAndFieldCounts)
{
    CRecord r;
    EXPECT_EQ(ParseRecord("1 2 3 4 5 6 7 8 9 10", 1, r), ERecord::NotData);
    EXPECT_EQ(ParseRecord("#2 1 2 3 4 5 6 7", 1, r), ERecord::Short);
    EXPECT_EQ(ParseRecord("#1 1 2 3 4 5 6 7 8", 2, r), ERecord::OtherTime)
        << "a record of another cooling time needs no weight field";
    EXPECT_EQ(ParseRecord("#1 2 2 3 4 5 6 7 8", 2, r), ERecord::Short)
        << "a #1 record without its weight field is short";
    ASSERT_EQ(ParseRecord("#x 2 26 56 0 1 2 3 4 5", 2, r), ERecord::Accepted);
    EXPECT_FALSE(r.m_HasPosition);
    EXPECT_EQ(r.m_Z, 26);
    EXPECT_EQ(r.m_A, 56);
    ASSERT_EQ(ParseRecord("#1 -2.5 26 56 0 1 2e1 3 4 5", 2, r), ERecord::Accepted);
    EXPECT_EQ(r.m_Position, CVector(20, 3, 4));
    EXPECT_EQ(r.m_Weight, 5);
    EXPECT_EQ(ParseRecord("#1 x 26 56 0 1 2e1 3 4 5", 1, r), ERecord::Unreadable)
        << "a selector that is no number is no 0";
    EXPECT_EQ(r.m_Problem, "\"x\" is not a number");
}

TEST(DecayBlock, LineIsTheNthNonZeroCountUpToT)
{
    const std::vector<int> counts{2, 0, 3, 1};
    EXPECT_EQ(DecayLineIndex(counts, 1), 0);
    EXPECT_FALSE(DecayLineIndex(counts, 2)) << "count T is 0: no line";
    EXPECT_EQ(DecayLineIndex(counts, 3), 1);
    EXPECT_EQ(DecayLineIndex(counts, 4), 2);
    EXPECT_FALSE(DecayLineIndex(counts, 5));
    EXPECT_FALSE(DecayLineIndex(counts, 0));
    EXPECT_FALSE(DecayLineIndex({}, 1));
}

TEST(ResultFile, DateTimeWithoutLeadingZerosThenText)
{
    const std::string path = testkit::TestDir().string() + "/result.txt";
    std::tm t{};
    t.tm_mday = 3;
    t.tm_mon = 0;
    t.tm_year = 124;
    t.tm_hour = 7;
    t.tm_min = 5;
    t.tm_sec = 9;
    ASSERT_TRUE(WriteResultFile(path, "a\r\nb", t));
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    EXPECT_EQ(s.str(), "# Date : 3.1.2024\n# Time: 7:5:9\na\r\nb\n");
    EXPECT_FALSE(WriteResultFile(testkit::TestDir().string() + "/no/such/dir/x.txt", "a", t));
}

TEST(LogWindow, SaveWritesAndReports)
{
    CHeadlessBackend& ui = testkit::Ui();
    ui.Reset();
    const std::string path = testkit::TestDir().string() + "/log.txt";
    ui.QueueFile(path);
    ui.QueueModal("Log window", [](CDialog& dlg) { dlg.UserClick(IDC_LOG_SAVE); });
    CProfile profile;
    CLogDlg log("report", &profile);
    log.DoModal();
    EXPECT_EQ(ui.MessageTexts(true), (std::vector<std::string>{"information: Results saved"}));
    ASSERT_EQ(ui.FileDialogs().size(), 1u);
    EXPECT_EQ(ui.FileDialogs()[0].m_Filter, "Result file (*.txt)|*.txt|All Files (*.*)|*.*|");
    EXPECT_TRUE(std::filesystem::exists(path));

    ui.Reset();
    ui.QueueFile(testkit::TestDir().string() + "/no/such/dir/x.txt");
    ui.QueueModal("Log window", [](CDialog& dlg) { dlg.UserClick(IDC_LOG_SAVE); });
    CLogDlg failing("report", nullptr);
    failing.DoModal();
    EXPECT_EQ(ui.MessageTexts(true),
              (std::vector<std::string>{"error: Sorry, can't write to file!"}));
}
