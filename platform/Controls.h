// Handles on the controls of a dialog, with the calls dialog code makes on them. A handle is two
// words (dialog, id) and may be copied freely; it must not outlive its dialog.
#pragma once
#include "platform/Dialog.h"

#include <string>

enum : int
{
    LB_ERR = -1,
    CB_ERR = -1,
};

class CWnd
{
public:
    CWnd() = default;
    CWnd(CDialog* pDlg, int id) : m_pDlg(pDlg), m_Id(id) {}
    void Attach(CDialog* pDlg, int id)
    {
        m_pDlg = pDlg;
        m_Id = id;
    }
    bool IsAttached() const { return m_pDlg != nullptr; }
    int GetDlgCtrlID() const { return m_Id; }
    CDialog* GetParent() const { return m_pDlg; }

    void EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    void ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    void SetWindowText(const std::string& text);
    std::string GetWindowText() const;

protected:
    CControlState& State() const;
    void Changed() const;

    CDialog* m_pDlg = nullptr;
    int m_Id = 0;
};

class CEdit : public CWnd
{
public:
    using CWnd::CWnd;
    void SetReadOnly(BOOL bReadOnly = TRUE);
};

class CButton : public CWnd
{
public:
    using CWnd::CWnd;
    int GetCheck() const;
    void SetCheck(int nCheck);
};

class CListBox : public CWnd
{
public:
    using CWnd::CWnd;
    void ResetContent();
    int AddString(const std::string& text); // sorted lists insert in order
    int InsertString(int index, const std::string& text);
    int DeleteString(int index);
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    std::uintptr_t GetItemData(int index) const;
    int SetItemData(int index, std::uintptr_t data);
    // Case-insensitive prefix search starting after nStartAfter, wrapping around.
    int FindString(int nStartAfter, const std::string& text) const;
    std::string GetText(int index) const;
};

class CCheckListBox : public CListBox
{
public:
    using CListBox::CListBox;
    void SetCheck(int index, int nCheck);
    int GetCheck(int index) const;
};

class CComboBox : public CListBox
{
public:
    using CListBox::CListBox;
    std::string GetLBText(int index) const { return GetText(index); }
};

class CSliderCtrl : public CWnd
{
public:
    using CWnd::CWnd;
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    void SetRangeMin(int nMin, BOOL bRedraw = FALSE);
    void SetRangeMax(int nMax, BOOL bRedraw = FALSE);
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetPos(int nPos);
    int GetPos() const;
};

class CProgressCtrl : public CWnd
{
public:
    using CWnd::CWnd;
    void SetRange(short nLower, short nUpper) { SetRange32(nLower, nUpper); }
    void SetRange32(int nLower, int nUpper);
    void GetRange(int& nLower, int& nUpper) const;
    int SetStep(int nStep);
    int StepIt(); // past the upper end it starts over from the lower end
    int SetPos(int nPos);
    int GetPos() const;
};

enum : int
{
    LVCFMT_LEFT = 0,
};

class CListCtrl : public CWnd
{
public:
    using CWnd::CWnd;
    int InsertColumn(int nCol, const std::string& heading, int nFormat = LVCFMT_LEFT,
                     int nWidth = -1);
    int GetColumnWidth(int nCol) const;
    BOOL SetColumnWidth(int nCol, int cx);
    int InsertItem(int nItem, const std::string& text, int nImage = -1);
    BOOL SetItemText(int nItem, int nSubItem, const std::string& text);
    std::string GetItemText(int nItem, int nSubItem) const;
    BOOL SetItemImage(int nItem, int nImage);
    int GetItemImage(int nItem) const;
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    BOOL EnsureVisible(int nItem, BOOL bPartialOK = FALSE);
    std::uintptr_t GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, std::uintptr_t data);
    int GetSelectionMark() const;
    int SetSelectionMark(int nItem);

private:
    CListItem* Row(int nItem) const;
};
