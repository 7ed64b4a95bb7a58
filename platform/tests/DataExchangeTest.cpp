#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/HeadlessBackend.h"

#include <gtest/gtest.h>

namespace
{
class CNumberDlg : public CDialog
{
public:
    CNumberDlg() : CDialog(Template()) { Create(); }
    static CDlgTemplate Template()
    {
        CDlgTemplate t;
        t.Add(ECtrlKind::Edit, 1, "", 0, 0, 10, 10).Add(ECtrlKind::Edit, 2, "", 0, 0, 10, 10);
        return t;
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, 1, m_Real);
        DDV_MinMaxDouble(pDX, m_Real, 1e-30, 1e30);
        DDX_Text(pDX, 2, m_Float);
        DDV_MinMaxFloat(pDX, m_Float, 2.f, 1e7f);
    }
    double m_Real = 0.1;
    float m_Float = 15.f;
};
} // namespace

TEST(DataExchange, NumbersAreShownWithFullPrecision)
{
    CNumberDlg dlg;
    EXPECT_EQ(dlg.GetDlgItemText(1), "0.1");
    EXPECT_EQ(dlg.GetDlgItemText(2), "15");
}

TEST(DataExchange, ParseAndRangeFailuresShowTheFrameworkMessages)
{
    auto& ui = CHeadlessBackend::Instance();
    ui.Reset();
    CNumberDlg dlg;
    dlg.SetDlgItemText(1, "abc");
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    dlg.SetDlgItemText(1, " 2.5e3 ");
    dlg.SetDlgItemText(2, "1");
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    dlg.SetDlgItemText(1, "0");
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    ASSERT_EQ(ui.Messages().size(), 3u);
    EXPECT_EQ(ui.Messages()[0].m_Text, "Please enter a number.");
    EXPECT_EQ(ui.Messages()[1].m_Text, "Please enter a number between 2 and 1e+07.");
    EXPECT_EQ(ui.Messages()[2].m_Text, "Please enter a number between 1e-30 and 1e+30.");
    dlg.SetDlgItemText(1, "2.5e3");
    dlg.SetDlgItemText(2, "3");
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_DOUBLE_EQ(dlg.m_Real, 2500);
    EXPECT_FLOAT_EQ(dlg.m_Float, 3.f);
}

TEST(DataExchange, AnUnparsableNumberLeavesItsMemberAndARefusedTextStays)
{
    CHeadlessBackend::Instance().Reset();
    CNumberDlg dlg;
    dlg.SetDlgItemText(1, "7");
    dlg.SetDlgItemText(2, "12abc");
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    EXPECT_FLOAT_EQ(dlg.m_Float, 15.f) << "an unparsable number leaves its member";
    dlg.SetDlgItemText(2, "1e9");
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    EXPECT_EQ(CHeadlessBackend::Instance().Messages().back().m_Text,
              "Please enter a number between 2 and 1e+07.");
    EXPECT_EQ(dlg.GetDlgItemText(2), "1e9") << "the refused text stays for the user to correct";
}
