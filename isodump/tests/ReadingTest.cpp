// The cooling-time choice of the isodump read, and the typed settings the family keeps.
#include "common/LineReader.h"
#include "isodump/IsodumpFormat.h"
#include "isodump/IsodumpReaderDlg.h"
#include "isodump/IsodumpSettings.h"
#include "platform/Controls.h"
#include "platform/Profile.h"
#include "testkit/Scratch.h"
#include "testkit/UiCapture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

using namespace isodump;

namespace
{
// Two cooling times; a record belongs to every time up to the size of its selector (field 1).
const std::string TwoTimes = "3 2\n"
                             "  0s\n"
                             "  1d\n"
                             "#1 1 26 56 0 1.0 1.0 1.0 5.0 9.0\n"
                             "#1 2 26 56 0 0.0 1.0 2.0 0.0 7.0\n"
                             "#2 -3 25 54 0 0.0 10.0 0.0 2.0\n";

class CSink : public IIsodumpRecords
{
public:
    void ResetExtent() override { ++m_Resets; }
    void OnSkipped(const std::string& text) override { m_Skipped.push_back(text); }
    bool OnRecord(const CRecord& record, int coolingTime, CRecordLines&) override
    {
        m_Selectors.push_back(record.m_Selector);
        m_Time = coolingTime;
        return true;
    }
    std::vector<float> m_Selectors;
    std::vector<std::string> m_Skipped;
    int m_Time = 0, m_Resets = 0;
};

class CoolingTimeTest : public testkit::CUiTest
{
protected:
    // Reads TwoTimes with actions done in the cooling-time dialog.
    bool Read(std::function<void(CDialog&)> actions)
    {
        testkit::Ui().QueueModal("Isodump reader",
                                 [this, actions](CDialog& dlg)
                                 {
                                     CListBox list(&dlg, IDC_ISO_TIMES);
                                     for (int i = 0; i < list.GetCount(); ++i)
                                         m_Labels.push_back(list.GetText(i));
                                     actions(dlg);
                                 });
        std::istringstream in(TwoTimes);
        return ReadIsodump(in, TwoTimes.size(), nullptr, m_Sink);
    }
    CSink m_Sink;
    std::vector<std::string> m_Labels;
};
} // namespace

TEST_F(CoolingTimeTest, TheChosenTimeSelectsItsRecords)
{
    ASSERT_TRUE(Read(
        [](CDialog& dlg)
        {
            dlg.UserSelect(IDC_ISO_TIMES, 1);
            dlg.UserClick(IDOK);
        }));
    EXPECT_EQ(m_Labels, (std::vector<std::string>{"0s", "1d"}));
    EXPECT_EQ(m_Sink.m_Time, 2);
    EXPECT_EQ(m_Sink.m_Selectors, (std::vector<float>{2, -3})) << "the record of time 1 only";
}

TEST_F(CoolingTimeTest, TheFirstTimeIsOfferedAndACancelReadsNothing)
{
    ASSERT_TRUE(Read([](CDialog& dlg) { dlg.UserClick(IDOK); }));
    EXPECT_EQ(m_Sink.m_Time, 1);
    EXPECT_EQ(m_Sink.m_Selectors.size(), 3u);

    m_Sink = CSink();
    EXPECT_FALSE(Read([](CDialog& dlg) { dlg.UserClick(IDCANCEL); }));
    EXPECT_TRUE(m_Sink.m_Selectors.empty());
    EXPECT_TRUE(testkit::MessageTexts().empty()) << "a cancel needs no message";
}

TEST(IsodumpSettings, FoldersAreKeptPerPlugInAndAMissingProfileKeepsNothing)
{
    setenv("XDG_CONFIG_HOME", testkit::TestDir().c_str(), 1);
    CProfile profile;
    profile.SetRegistryKey("Wendrik");
    profile.SetAppName("IsodumpSettingsTest");
    CIsodumpSettings settings(&profile);
    EXPECT_EQ(settings.GetImportPath("Nebulo"), "");
    settings.SetImportPath("Nebulo", "/data/clouds");
    settings.SetResultPath("/data/results");
    EXPECT_EQ(settings.GetImportPath("Nebulo"), "/data/clouds");
    EXPECT_EQ(settings.GetImportPath("Nuclira3D"), "") << "each plug-in has its own section";
    EXPECT_EQ(profile.GetProfileString("Result", "ResultPath"), "/data/results");

    CIsodumpSettings none(nullptr);
    none.SetResultPath("/x");
    EXPECT_EQ(none.GetResultPath(), "");
}
