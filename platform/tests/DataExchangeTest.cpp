#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/HeadlessBackend.h"

#include "platform/Controls.h"

#include <gtest/gtest.h>

#include <limits>

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

namespace
{
// One control of every other kind data exchange serves.
class CMixedDlg : public CDialog
{
public:
    CMixedDlg() : CDialog(Template()) { Create(); }
    static CDlgTemplate Template()
    {
        CDlgTemplate t;
        t.Add(ECtrlKind::Edit, 1, "", 0, 0, 10, 10)
            .Add(ECtrlKind::Edit, 2, "", 0, 0, 10, 10)
            .Add(ECtrlKind::Edit, 3, "", 0, 0, 10, 10)
            .Add(ECtrlKind::Edit, 4, "", 0, 0, 10, 10)
            .Add(ECtrlKind::CheckBox, 5, "", 0, 0, 10, 10)
            .Add(ECtrlKind::ComboBox, 6, "", 0, 0, 10, 10)
            .Add(ECtrlKind::Slider, 7, "", 0, 0, 10, 10);
        return t;
    }
    BOOL OnInitDialog() override
    {
        CComboBox combo(this, 6);
        combo.AddString("a");
        combo.AddString("b");
        CSliderCtrl(this, 7).SetRange(0, 100);
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, 1, m_Int);
        DDV_MinMaxInt(pDX, m_Int, -5, 5);
        DDX_Text(pDX, 2, m_Unsigned);
        DDX_Text(pDX, 3, m_Long);
        DDX_Text(pDX, 4, m_Name);
        DDV_MaxChars(pDX, m_Name, 4);
        DDX_Check(pDX, 5, m_Checked);
        DDX_CBIndex(pDX, 6, m_Choice);
        DDX_Slider(pDX, 7, m_Position);
    }
    int m_Int = -3;
    unsigned m_Unsigned = 7;
    long m_Long = 1L << 40;
    std::string m_Name = "ab";
    bool m_Checked = true;
    int m_Choice = 1;
    int m_Position = 40;
};

std::string LastMessage()
{
    const auto& messages = CHeadlessBackend::Instance().Messages();
    return messages.empty() ? "" : messages.back().m_Text;
}
} // namespace

TEST(DataExchange, MembersReachTheirControlsAndComeBack)
{
    CHeadlessBackend::Instance().Reset();
    CMixedDlg dlg;
    EXPECT_EQ(dlg.GetDlgItemText(1), "-3");
    EXPECT_EQ(dlg.GetDlgItemText(3), "1099511627776");
    EXPECT_TRUE(dlg.IsDlgButtonChecked(5));
    EXPECT_EQ(CComboBox(&dlg, 6).GetCurSel(), 1);
    EXPECT_EQ(CSliderCtrl(&dlg, 7).GetPos(), 40);
    dlg.SetDlgItemText(1, " 4 ");
    dlg.SetDlgItemText(4, "wxyz");
    dlg.CheckDlgButton(5, 0);
    CComboBox(&dlg, 6).SetCurSel(0);
    CSliderCtrl(&dlg, 7).SetPos(90);
    ASSERT_TRUE(dlg.UpdateData(TRUE)) << LastMessage();
    EXPECT_EQ(dlg.m_Int, 4);
    EXPECT_EQ(dlg.m_Name, "wxyz");
    EXPECT_FALSE(dlg.m_Checked);
    EXPECT_EQ(dlg.m_Choice, 0);
    EXPECT_EQ(dlg.m_Position, 90);
}

// Each bad text fails with the message of its kind and leaves the members after it untouched.
TEST(DataExchange, IntegersOutOfTheirTypeOrRangeAndLongTextsAreRefused)
{
    CHeadlessBackend::Instance().Reset();
    struct CCase
    {
        int m_Id;
        const char* m_Text;
        const char* m_Message;
    };
    const CCase cases[] = {
        {1, "4.5", "Please enter an integer."},
        {1, "3000000000", "Please enter an integer."},
        {1, "6", "Please enter an integer between -5 and 5."},
        {2, "-1", "Please enter an integer."},
        {2, "4294967296", "Please enter an integer."},
        {3, "99999999999999999999", "Please enter an integer."},
        {4, "abcde", "Please enter no more than 4 characters."},
    };
    for (const CCase& c : cases)
    {
        CMixedDlg dlg;
        dlg.SetDlgItemText(c.m_Id, c.m_Text);
        dlg.CheckDlgButton(5, 0);
        EXPECT_FALSE(dlg.UpdateData(TRUE)) << c.m_Text;
        EXPECT_EQ(LastMessage(), c.m_Message) << c.m_Text;
        EXPECT_TRUE(dlg.m_Checked) << c.m_Text << ": the check box after it was not read";
    }
    CMixedDlg dlg;
    dlg.SetDlgItemText(2, "4294967295");
    dlg.SetDlgItemText(3, "-9223372036854775808");
    ASSERT_TRUE(dlg.UpdateData(TRUE)) << LastMessage();
    EXPECT_EQ(dlg.m_Unsigned, 4294967295u);
    EXPECT_EQ(dlg.m_Long, std::numeric_limits<long>::min());
}
