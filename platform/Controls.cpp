#include "platform/Controls.h"

#include <algorithm>
#include <cctype>

namespace
{
int CompareNoCase(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
    {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() &&
           CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

bool ValidIndex(const CControlState& s, int index)
{
    return index >= 0 && index < static_cast<int>(s.m_Items.size());
}
} // namespace

// ---- CWnd

CControlState& CWnd::State() const
{
    return m_pDlg->Item(m_Id);
}
void CWnd::Changed() const
{
    m_pDlg->ControlChanged(m_Id);
}

void CWnd::EnableWindow(BOOL bEnable)
{
    State().m_Enabled = bEnable != FALSE;
    Changed();
}
BOOL CWnd::IsWindowEnabled() const
{
    return State().m_Enabled;
}
void CWnd::ShowWindow(int nCmdShow)
{
    State().m_Visible = nCmdShow != SW_HIDE;
    Changed();
}
BOOL CWnd::IsWindowVisible() const
{
    return State().m_Visible;
}
void CWnd::SetWindowText(const std::string& text)
{
    State().m_Text = text;
    Changed();
}
std::string CWnd::GetWindowText() const
{
    return State().m_Text;
}

void CEdit::SetReadOnly(BOOL bReadOnly)
{
    State().m_ReadOnly = bReadOnly != FALSE;
    Changed();
}

int CButton::GetCheck() const
{
    return State().m_Check;
}
void CButton::SetCheck(int nCheck)
{
    State().m_Check = nCheck;
    Changed();
}

// ---- CListBox

void CListBox::ResetContent()
{
    auto& s = State();
    s.m_Items.clear();
    s.m_Sel = -1;
    Changed();
}

int CListBox::AddString(const std::string& text)
{
    auto& s = State();
    int index = static_cast<int>(s.m_Items.size());
    if (s.Has(LBS_SORT))
    {
        auto it = std::upper_bound(s.m_Items.begin(), s.m_Items.end(), text,
                                   [](const std::string& t, const CListItem& item)
                                   { return CompareNoCase(t, item.m_Text) < 0; });
        index = static_cast<int>(it - s.m_Items.begin());
    }
    return InsertString(index, text);
}

int CListBox::InsertString(int index, const std::string& text)
{
    auto& s = State();
    if (index < 0 || index > static_cast<int>(s.m_Items.size()))
        index = static_cast<int>(s.m_Items.size());
    CListItem item;
    item.m_Text = text;
    s.m_Items.insert(s.m_Items.begin() + index, std::move(item));
    if (s.m_Sel >= index) ++s.m_Sel; // the selection stays on its item
    Changed();
    return index;
}

int CListBox::DeleteString(int index)
{
    auto& s = State();
    if (!ValidIndex(s, index)) return LB_ERR;
    s.m_Items.erase(s.m_Items.begin() + index);
    if (s.m_Sel == index)
        s.m_Sel = -1;
    else if (s.m_Sel > index)
        --s.m_Sel;
    Changed();
    return static_cast<int>(s.m_Items.size());
}

int CListBox::GetCount() const
{
    return static_cast<int>(State().m_Items.size());
}
int CListBox::GetCurSel() const
{
    return State().m_Sel;
}

int CListBox::SetCurSel(int index)
{
    auto& s = State();
    s.m_Sel = ValidIndex(s, index) ? index : -1;
    Changed();
    return index == -1 || s.m_Sel != -1 ? s.m_Sel : LB_ERR;
}

std::uintptr_t CListBox::GetItemData(int index) const
{
    const auto& s = State();
    return ValidIndex(s, index) ? s.m_Items[index].m_Data : static_cast<std::uintptr_t>(LB_ERR);
}

int CListBox::SetItemData(int index, std::uintptr_t data)
{
    auto& s = State();
    if (!ValidIndex(s, index)) return LB_ERR;
    s.m_Items[index].m_Data = data;
    return 0;
}

int CListBox::FindString(int nStartAfter, const std::string& text) const
{
    const auto& s = State();
    const int n = static_cast<int>(s.m_Items.size());
    for (int k = 1; k <= n; ++k)
    {
        const int i = ((nStartAfter < 0 ? -1 : nStartAfter) + k) % n;
        if (StartsWithNoCase(s.m_Items[i].m_Text, text)) return i;
    }
    return LB_ERR;
}

std::string CListBox::GetText(int index) const
{
    const auto& s = State();
    return ValidIndex(s, index) ? s.m_Items[index].m_Text : std::string();
}

void CCheckListBox::SetCheck(int index, int nCheck)
{
    auto& s = State();
    if (!ValidIndex(s, index)) return;
    s.m_Items[index].m_Check = nCheck;
    Changed();
}

int CCheckListBox::GetCheck(int index) const
{
    const auto& s = State();
    return ValidIndex(s, index) ? s.m_Items[index].m_Check : 0;
}

// ---- CSliderCtrl

void CSliderCtrl::SetRange(int nMin, int nMax, BOOL)
{
    auto& s = State();
    s.m_Min = nMin;
    s.m_Max = nMax;
    s.m_Pos = std::clamp(s.m_Pos, nMin, std::max(nMin, nMax));
    Changed();
}
void CSliderCtrl::SetRangeMin(int nMin, BOOL redraw)
{
    SetRange(nMin, State().m_Max, redraw);
}
void CSliderCtrl::SetRangeMax(int nMax, BOOL redraw)
{
    SetRange(State().m_Min, nMax, redraw);
}
int CSliderCtrl::GetRangeMin() const
{
    return State().m_Min;
}
int CSliderCtrl::GetRangeMax() const
{
    return State().m_Max;
}
void CSliderCtrl::SetPos(int nPos)
{
    auto& s = State();
    s.m_Pos = std::clamp(nPos, s.m_Min, std::max(s.m_Min, s.m_Max));
    Changed();
}
int CSliderCtrl::GetPos() const
{
    return State().m_Pos;
}

// ---- CProgressCtrl

void CProgressCtrl::SetRange32(int nLower, int nUpper)
{
    auto& s = State();
    s.m_Min = nLower;
    s.m_Max = nUpper;
    s.m_Pos = std::clamp(s.m_Pos, nLower, std::max(nLower, nUpper));
    Changed();
}
void CProgressCtrl::GetRange(int& nLower, int& nUpper) const
{
    nLower = State().m_Min;
    nUpper = State().m_Max;
}
int CProgressCtrl::SetStep(int nStep)
{
    auto& s = State();
    const int old = s.m_Step;
    s.m_Step = nStep;
    return old;
}
int CProgressCtrl::StepIt()
{
    auto& s = State();
    const int old = s.m_Pos;
    s.m_Pos += s.m_Step;
    if (s.m_Pos > s.m_Max) s.m_Pos = s.m_Min;
    Changed();
    return old;
}
int CProgressCtrl::SetPos(int nPos)
{
    auto& s = State();
    const int old = s.m_Pos;
    s.m_Pos = std::clamp(nPos, std::min(s.m_Min, 0), std::max(s.m_Min, s.m_Max));
    Changed();
    return old;
}
int CProgressCtrl::GetPos() const
{
    return State().m_Pos;
}

// ---- CListCtrl

int CListCtrl::InsertColumn(int nCol, const std::string& heading, int, int nWidth)
{
    auto& cols = State().m_Columns;
    nCol = std::clamp(nCol, 0, static_cast<int>(cols.size()));
    cols.insert(cols.begin() + nCol, CListColumn{heading, nWidth < 0 ? 100 : nWidth});
    Changed();
    return nCol;
}

int CListCtrl::GetColumnWidth(int nCol) const
{
    const auto& cols = State().m_Columns;
    return nCol >= 0 && nCol < static_cast<int>(cols.size()) ? cols[nCol].m_Width : 0;
}

BOOL CListCtrl::SetColumnWidth(int nCol, int cx)
{
    auto& cols = State().m_Columns;
    if (nCol < 0 || nCol >= static_cast<int>(cols.size())) return FALSE;
    cols[nCol].m_Width = cx;
    Changed();
    return TRUE;
}

CListItem* CListCtrl::Row(int nItem) const
{
    auto& s = State();
    return ValidIndex(s, nItem) ? &s.m_Items[nItem] : nullptr;
}

int CListCtrl::InsertItem(int nItem, const std::string& text, int nImage)
{
    auto& s = State();
    nItem = std::clamp(nItem, 0, static_cast<int>(s.m_Items.size()));
    CListItem item;
    item.m_Text = text;
    item.m_Image = nImage;
    s.m_Items.insert(s.m_Items.begin() + nItem, std::move(item));
    Changed();
    return nItem;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, const std::string& text)
{
    CListItem* row = Row(nItem);
    if (!row || nSubItem < 0) return FALSE;
    if (nSubItem == 0)
        row->m_Text = text;
    else
    {
        if (static_cast<int>(row->m_SubItems.size()) < nSubItem) row->m_SubItems.resize(nSubItem);
        row->m_SubItems[nSubItem - 1] = text;
    }
    Changed();
    return TRUE;
}

std::string CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    const CListItem* row = Row(nItem);
    if (!row || nSubItem < 0) return {};
    if (nSubItem == 0) return row->m_Text;
    return nSubItem <= static_cast<int>(row->m_SubItems.size()) ? row->m_SubItems[nSubItem - 1]
                                                                : std::string();
}

BOOL CListCtrl::SetItemImage(int nItem, int nImage)
{
    CListItem* row = Row(nItem);
    if (!row) return FALSE;
    row->m_Image = nImage;
    Changed();
    return TRUE;
}

int CListCtrl::GetItemImage(int nItem) const
{
    const CListItem* row = Row(nItem);
    return row ? row->m_Image : -1;
}

BOOL CListCtrl::DeleteItem(int nItem)
{
    auto& s = State();
    if (!ValidIndex(s, nItem)) return FALSE;
    s.m_Items.erase(s.m_Items.begin() + nItem);
    if (s.m_Sel >= static_cast<int>(s.m_Items.size())) s.m_Sel = -1;
    Changed();
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems()
{
    auto& s = State();
    s.m_Items.clear();
    s.m_Sel = -1;
    Changed();
    return TRUE;
}

int CListCtrl::GetItemCount() const
{
    return static_cast<int>(State().m_Items.size());
}

BOOL CListCtrl::EnsureVisible(int nItem, BOOL)
{
    if (!Row(nItem)) return FALSE;
    State().m_VisibleRow = nItem;
    Changed();
    return TRUE;
}

std::uintptr_t CListCtrl::GetItemData(int nItem) const
{
    const CListItem* row = Row(nItem);
    return row ? row->m_Data : 0;
}

BOOL CListCtrl::SetItemData(int nItem, std::uintptr_t data)
{
    CListItem* row = Row(nItem);
    if (!row) return FALSE;
    row->m_Data = data;
    return TRUE;
}

int CListCtrl::GetSelectionMark() const
{
    return State().m_Sel;
}
int CListCtrl::SetSelectionMark(int nItem)
{
    auto& s = State();
    const int old = s.m_Sel;
    s.m_Sel = ValidIndex(s, nItem) ? nItem : -1;
    Changed();
    return old;
}
