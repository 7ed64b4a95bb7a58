#include "platform/Controls.h"

#include <gtest/gtest.h>

namespace
{
class CListDlg : public CDialog
{
public:
    CListDlg() : CDialog(Template()) { Create(); }
    static CDlgTemplate Template()
    {
        CDlgTemplate t;
        t.Add(ECtrlKind::ListBox, 1, "", 0, 0, 10, 10, LBS_SORT)
            .Add(ECtrlKind::ListBox, 2, "", 0, 0, 10, 10)
            .Add(ECtrlKind::Progress, 3, "", 0, 0, 10, 10)
            .Add(ECtrlKind::ListView, 4, "", 0, 0, 10, 10);
        return t;
    }
};
} // namespace

TEST(Controls, SortedListInsertsCaseInsensitivelyAndKeepsSelection)
{
    CListDlg dlg;
    CListBox list(&dlg, 1);
    list.AddString("Photon");
    list.SetCurSel(0);
    EXPECT_EQ(list.AddString("electron"), 0);
    EXPECT_EQ(list.AddString("Proton"), 2);
    EXPECT_EQ(list.GetText(list.GetCurSel()), "Photon") << "the selection follows its item";
}

TEST(Controls, FindStringIsACaseInsensitivePrefixSearch)
{
    CListDlg dlg;
    CListBox list(&dlg, 2);
    EXPECT_EQ(list.FindString(-1, "x"), LB_ERR);
    list.AddString("Xi_c_plus");
    list.AddString("Lambda_c_plus");
    EXPECT_EQ(list.FindString(-1, "xi_C"), 0);
    EXPECT_EQ(list.FindString(-1, "Lambda"), 1);
    EXPECT_EQ(list.FindString(-1, "Lambda_c_plus_more"), LB_ERR);
    EXPECT_EQ(list.FindString(0, "Xi"), 0) << "the search wraps around";
}

TEST(Controls, ProgressStepsAndStartsOverPastTheEnd)
{
    CListDlg dlg;
    CProgressCtrl progress(&dlg, 3);
    progress.SetRange32(1, 25);
    progress.SetStep(10);
    progress.StepIt();
    progress.StepIt();
    EXPECT_EQ(progress.GetPos(), 21);
    progress.StepIt();
    EXPECT_EQ(progress.GetPos(), 1);
    progress.SetPos(0);
    EXPECT_EQ(progress.GetPos(), 0);
}

TEST(Controls, ListViewRowsAndSubItems)
{
    CListDlg dlg;
    CListCtrl view(&dlg, 4);
    view.InsertColumn(0, "Message");
    view.InsertItem(0, "first", 0);
    view.InsertItem(1, "second", 2);
    view.SetItemText(1, 0, "second, rewritten");
    view.SetItemText(0, 2, "sub");
    EXPECT_EQ(view.GetItemCount(), 2);
    EXPECT_EQ(view.GetItemText(1, 0), "second, rewritten");
    EXPECT_EQ(view.GetItemImage(1), 2);
    EXPECT_EQ(view.GetItemText(0, 2), "sub");
    EXPECT_EQ(view.GetItemText(0, 1), "");
    EXPECT_FALSE(view.SetItemText(5, 0, "none"));
}
