#include "platform/Controls.h"
#include "platform/DataExchange.h"
#include "platform/HeadlessBackend.h"

#include <gtest/gtest.h>

namespace
{
enum
{
    IDC_NAME = 100,
    IDC_GO = 101,
    IDC_FLAG = 102,
    IDC_LIST = 103,
    IDC_SLIDER = 104,
    IDC_COUNT = 105,
};

CDlgTemplate TestTemplate(const std::string& caption)
{
    CDlgTemplate t;
    t.m_Caption = caption;
    t.Add(ECtrlKind::Edit, IDC_NAME, "", 0, 0, 50, 10)
        .Add(ECtrlKind::Button, IDC_GO, "Go", 0, 20, 50, 10)
        .Add(ECtrlKind::CheckBox, IDC_FLAG, "Flag", 0, 40, 50, 10)
        .Add(ECtrlKind::CheckListBox, IDC_LIST, "", 0, 60, 50, 50)
        .Add(ECtrlKind::Slider, IDC_SLIDER, "", 0, 120, 50, 10)
        .Add(ECtrlKind::Edit, IDC_COUNT, "", 0, 140, 50, 10)
        .Add(ECtrlKind::Button, IDOK, "OK", 0, 160, 50, 10)
        .Add(ECtrlKind::Button, IDCANCEL, "Cancel", 60, 160, 50, 10);
    return t;
}

class CTestDlg : public CDialog
{
public:
    explicit CTestDlg(const std::string& caption = "Test") : CDialog(TestTemplate(caption))
    {
        OnClicked(IDC_GO, &CTestDlg::OnGo);
        OnClicked(IDC_FLAG, &CTestDlg::OnFlag);
        MapCommand(IDC_LIST, LBN_SELCHANGE, [this] { m_Log += "sel;"; });
        MapCommand(IDC_LIST, CLBN_CHKCHANGE, [this] { m_Log += "chk;"; });
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        CCheckListBox list(this, IDC_LIST);
        list.AddString("a");
        list.AddString("b");
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NAME, m_Name);
        DDX_Text(pDX, IDC_COUNT, m_Count);
        DDV_MinMaxInt(pDX, m_Count, 1, 10);
    }
    void OnHScroll(UINT, UINT nPos, int id) override
    {
        m_Log += "scroll " + std::to_string(id) + " " + std::to_string(nPos) + ";";
    }
    void OnTimer(UINT_PTR id) override
    {
        ++m_Ticks;
        if (m_Ticks == 2) KillTimer(id);
    }
    void OnGo() { m_Log += "go;"; }
    void OnFlag() { m_Log += "flag=" + std::to_string(IsDlgButtonChecked(IDC_FLAG)) + ";"; }

    std::string m_Name = "start";
    int m_Count = 5;
    std::string m_Log;
    int m_Ticks = 0;
};

class DialogTest : public ::testing::Test
{
protected:
    void SetUp() override { CHeadlessBackend::Instance().Reset(); }
};
} // namespace

TEST_F(DialogTest, ModelessDialogStartsHiddenWithInitialData)
{
    CTestDlg dlg;
    dlg.Create();
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_EQ(dlg.GetDlgItemText(IDC_NAME), "start");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_COUNT), "5");
    dlg.ShowWindow(SW_SHOW);
    EXPECT_EQ(CDialog::TopmostShown(), &dlg);
    EXPECT_EQ(CDialog::FindShown("Test"), &dlg);
    dlg.UserClose();
    EXPECT_FALSE(dlg.IsWindowVisible()) << "cancel only hides a modeless dialog";
}

TEST_F(DialogTest, UserActionsFireHandlersLikeAUser)
{
    CTestDlg dlg;
    dlg.Create();
    EXPECT_TRUE(dlg.UserClick(IDC_GO));
    EXPECT_TRUE(dlg.UserSetCheck(IDC_FLAG, 1));
    EXPECT_TRUE(dlg.UserSetCheck(IDC_FLAG, 1)) << "already checked: no second click";
    EXPECT_TRUE(dlg.UserCheckItem(IDC_LIST, 1, 1));
    EXPECT_TRUE(dlg.UserSlider(IDC_SLIDER, 500));
    EXPECT_EQ(dlg.m_Log, "go;flag=1;sel;chk;scroll 104 100;") << "slider clamped to 0..100";
    EXPECT_EQ(CListBox(&dlg, IDC_LIST).GetCurSel(), 1) << "checking an item selects it";

    dlg.EnableDlgItem(IDC_GO, false);
    EXPECT_FALSE(dlg.UserClick(IDC_GO)) << "a disabled control cannot be clicked";
    EXPECT_FALSE(dlg.UserSelect(IDC_LIST, 7));
}

TEST_F(DialogTest, ModalDialogRunsQueuedActionsThenCloses)
{
    auto& ui = CHeadlessBackend::Instance();
    ui.QueueModal("Other", [](CDialog& d) { d.UserSetText(IDC_NAME, "wrong"); });
    ui.QueueModal("Test", [](CDialog& d) { d.UserSetText(IDC_NAME, "typed"); });
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_Name, "typed");

    CTestDlg untouched;
    EXPECT_EQ(untouched.DoModal(), IDOK) << "without actions a modal closes with OK";
    EXPECT_EQ(untouched.m_Name, "start");

    ui.QueueModal("Test", [](CDialog& d) { d.UserClick(IDCANCEL); });
    CTestDlg cancelled;
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, RefusedOkShowsRangeMessageAndEndsWithCancel)
{
    auto& ui = CHeadlessBackend::Instance();
    ui.QueueModal("Test", [](CDialog& d) { d.UserSetText(IDC_COUNT, "11"); });
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].m_Text, "Please enter an integer between 1 and 10.");
    EXPECT_EQ(ui.Messages()[0].Icon(), "warning");
}

TEST_F(DialogTest, MessageBoxesTakeQueuedAnswerOrDefaultButton)
{
    auto& ui = CHeadlessBackend::Instance();
    EXPECT_EQ(AfxMessageBox("q1", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(AfxMessageBox("q2", MB_YESNO | MB_DEFBUTTON2), IDNO);
    ui.QueueAnswer(IDNO);
    EXPECT_EQ(AfxMessageBox("q3", MB_YESNO), IDNO);
    ui.QueueAnswer(IDYES);
    EXPECT_EQ(AfxMessageBox("q4", MB_OK | MB_ICONERROR), IDOK) << "an answer the box lacks";
    ASSERT_EQ(ui.Messages().size(), 4u);
    EXPECT_EQ(ui.Messages()[0].Icon(), "question");
    EXPECT_EQ(ui.Messages()[3].Icon(), "error");
}

TEST_F(DialogTest, FileDialogsTakeQueuedPathsAndEmptyCancels)
{
    auto& ui = CHeadlessBackend::Instance();
    ui.QueueFile("/tmp/a.lut");
    ui.QueueFile("");
    CFileDialog first(TRUE, "lut", nullptr, OFN_HIDEREADONLY, "Color (*.lut)|*.lut|");
    EXPECT_EQ(first.DoModal(), IDOK);
    EXPECT_EQ(first.GetPathName(), "/tmp/a.lut");
    EXPECT_EQ(first.GetFileExt(), "lut");
    CFileDialog second(FALSE);
    EXPECT_EQ(second.DoModal(), IDCANCEL);
    ASSERT_EQ(ui.FileDialogs().size(), 2u);
    EXPECT_EQ(ui.FileDialogs()[0].m_Filter, "Color (*.lut)|*.lut|");
}

TEST_F(DialogTest, TimersTickUntilStopped)
{
    CTestDlg dlg;
    dlg.Create();
    dlg.SetTimer(7, 100);
    CHeadlessBackend::Instance().DeliverTimerTicks(5);
    EXPECT_EQ(dlg.m_Ticks, 2) << "the timer stopped itself on the second tick";
    EXPECT_TRUE(CHeadlessBackend::Instance().RunningTimers().empty());
}

TEST_F(DialogTest, DestroyedDialogLeavesRegistryAndTimers)
{
    {
        CTestDlg dlg("Gone");
        dlg.Create();
        dlg.ShowWindow(SW_SHOW);
        dlg.SetTimer(1, 10);
    }
    EXPECT_EQ(CDialog::FindShown("Gone"), nullptr);
    EXPECT_TRUE(CHeadlessBackend::Instance().RunningTimers().empty());
}
