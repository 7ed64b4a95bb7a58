// The weight filter block of the point-cloud configuration dialogs: Reset takes the loaded
// data's range over, a typed range comes back on OK, and a range that is no number is refused.
#include "isodump/WeightFilterConfigDlg.h"
#include "testkit/UiCapture.h"

#include <gtest/gtest.h>

using namespace isodump::weightfilter;
using testkit::MessageTexts;
using testkit::Ui;

namespace
{
class CFilterDlg : public isodump::CWeightFilterConfigDlg
{
public:
    CFilterDlg() : CWeightFilterConfigDlg(Template(), nullptr) {}
};

class WeightFilterTest : public testkit::CUiTest
{
protected:
    void SetUp() override
    {
        testkit::CUiTest::SetUp();
        m_Dlg.m_FilterMin = 1;
        m_Dlg.m_FilterMax = 1.5;
        m_Dlg.m_DataMinWeight = 0.1;
        m_Dlg.m_DataMaxWeight = 2.25;
    }
    INT_PTR Run(std::function<void(CDialog&)> actions)
    {
        Ui().QueueModal("Configuration", std::move(actions));
        return m_Dlg.DoModal();
    }

    CFilterDlg m_Dlg;
};
} // namespace

TEST_F(WeightFilterTest, ShowsTheFilterAndTheDataRangeReadOnly)
{
    Run(
        [](CDialog& d)
        {
            EXPECT_EQ(d.GetDlgItemText(IDC_CFG_FILTERMIN), "1");
            EXPECT_EQ(d.GetDlgItemText(IDC_CFG_FILTERMAX), "1.5");
            EXPECT_EQ(d.GetDlgItemText(IDC_CFG_DATAMIN), "0.1");
            EXPECT_EQ(d.GetDlgItemText(IDC_CFG_DATAMAX), "2.25");
            EXPECT_TRUE(d.Item(IDC_CFG_DATAMIN).Has(ES_READONLY));
            EXPECT_TRUE(d.Item(IDC_CFG_DATAMAX).Has(ES_READONLY));
        });
}

TEST_F(WeightFilterTest, ResetTakesTheDataRangeOverInFull)
{
    m_Dlg.m_DataMinWeight = 1.0 / 3;
    EXPECT_EQ(Run(
                  [](CDialog& d)
                  {
                      d.UserClick(IDC_CFG_RESETFILTER);
                      EXPECT_EQ(d.GetDlgItemText(IDC_CFG_FILTERMIN), "0.333333333333333");
                      EXPECT_EQ(d.GetDlgItemText(IDC_CFG_FILTERMAX), "2.25");
                      d.UserClick(IDOK);
                  }),
              IDOK);
    EXPECT_DOUBLE_EQ(m_Dlg.m_FilterMin, 0.333333333333333);
    EXPECT_EQ(m_Dlg.m_FilterMax, 2.25);
}

TEST_F(WeightFilterTest, ATypedRangeComesBackOnOk)
{
    EXPECT_EQ(Run(
                  [](CDialog& d)
                  {
                      d.UserSetText(IDC_CFG_FILTERMIN, "0.125");
                      d.UserSetText(IDC_CFG_FILTERMAX, "8e3");
                      d.UserClick(IDOK);
                  }),
              IDOK);
    EXPECT_EQ(m_Dlg.m_FilterMin, 0.125);
    EXPECT_EQ(m_Dlg.m_FilterMax, 8000);
}

TEST_F(WeightFilterTest, ARangeThatIsNoNumberKeepsTheDialogOpen)
{
    EXPECT_EQ(Run(
                  [](CDialog& d)
                  {
                      d.UserSetText(IDC_CFG_FILTERMAX, "heavy");
                      d.UserClick(IDOK);
                      d.UserSetText(IDC_CFG_FILTERMAX, "3");
                      d.UserClick(IDOK);
                  }),
              IDOK);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Please enter a number."});
    EXPECT_EQ(m_Dlg.m_FilterMax, 3);
}
