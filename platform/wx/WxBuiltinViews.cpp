#include "platform/wx/WxBuiltinViews.h"

#include "platform/Canvas.h"
#include "platform/Dialog.h"
#include "platform/wx/WxCanvasView.h"
#include "platform/wx/WxDialogView.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/checklst.h>
#include <wx/choice.h>
#include <wx/gauge.h>
#include <wx/imaglist.h>
#include <wx/listbox.h>
#include <wx/listctrl.h>
#include <wx/radiobut.h>
#include <wx/slider.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>

#include <algorithm>
#include <array>
#include <map>

namespace
{
wxString Wx(const std::string& s)
{
    return wxString::FromUTF8(s);
}

// Template texts use "&" for mnemonics and "&&" for an ampersand, as wx does.
void SyncLabel(const CControlState& s, wxWindow* w)
{
    if (w->GetLabel() != Wx(s.m_Text)) w->SetLabel(Wx(s.m_Text));
}

template <class W> bool ItemsDiffer(const W* w, const CControlState& s)
{
    if (w->GetCount() != s.m_Items.size()) return true;
    for (unsigned i = 0; i < w->GetCount(); ++i)
        if (w->GetString(i) != Wx(s.m_Items[i].m_Text)) return true;
    return false;
}

template <class W> void SyncItems(W* w, const CControlState& s)
{
    if (ItemsDiffer(w, s))
    {
        wxArrayString items;
        for (const auto& item : s.m_Items)
            items.Add(Wx(item.m_Text));
        w->Set(items);
    }
    if (s.m_Sel >= 0 && s.m_Sel < static_cast<int>(w->GetCount()))
        w->SetSelection(s.m_Sel);
    else if (s.m_Sel < 0)
        w->SetSelection(wxNOT_FOUND);
}

// In the order of EListIcon.
wxImageList* ListIcons()
{
    static const std::array<wxArtID, 3> art = {wxART_INFORMATION, wxART_WARNING, wxART_ERROR};
    static_assert(static_cast<int>(EListIcon::Error) + 1 == art.size());
    auto* list = new wxImageList(16, 16, true, static_cast<int>(art.size()));
    for (const wxArtID& id : art)
        list->Add(wxArtProvider::GetBitmap(id, wxART_MENU, wxSize(16, 16)));
    return list;
}

template <class Tag> void BindClick(CWxDialogView& view, wxWindow* w, int id, const Tag& type)
{
    w->Bind(type, view.Guard([&view, id](wxCommandEvent&) { view.Model().UserClick(id); }));
}

template <class Tag> void BindSelect(CWxDialogView& view, wxWindow* w, int id, const Tag& type)
{
    w->Bind(type, view.Guard([&view, id](wxCommandEvent& e)
                             { view.Model().UserSelect(id, e.GetSelection()); }));
}

class CStaticView : public CWxControlView
{
public:
    wxWindow* Create(CWxDialogView& view, CControlState& s) const override
    {
        return new wxStaticText(&view, wxID_ANY, Wx(s.m_Template.m_Text), wxDefaultPosition,
                                wxDefaultSize,
                                s.Has(SS_RIGHT) ? wxALIGN_RIGHT | wxST_NO_AUTORESIZE : 0);
    }
    void Sync(const CControlState& s, wxWindow* w) const override { SyncLabel(s, w); }
};

class CGroupView : public CWxControlView
{
public:
    wxWindow* Create(CWxDialogView& view, CControlState& s) const override
    {
        return new wxStaticBox(&view, wxID_ANY, Wx(s.m_Template.m_Text));
    }
    void Sync(const CControlState& s, wxWindow* w) const override { SyncLabel(s, w); }
};

class CEditView : public CWxControlView
{
public:
    wxWindow* Create(CWxDialogView& view, CControlState& s) const override
    {
        return new wxTextCtrl(&view, wxID_ANY, Wx(s.m_Text), wxDefaultPosition, wxDefaultSize,
                              s.Has(ES_MULTILINE) ? wxTE_MULTILINE : 0);
    }
    void Sync(const CControlState& s, wxWindow* w) const override
    {
        auto* t = static_cast<wxTextCtrl*>(w);
        if (t->GetValue() != Wx(s.m_Text)) t->ChangeValue(Wx(s.m_Text));
        t->SetEditable(!s.m_ReadOnly);
    }
    void BindEvents(CWxDialogView& view, wxWindow* w, const CControlState& s) const override
    {
        const int id = s.Id();
        w->Bind(
            wxEVT_TEXT,
            view.Guard([&view, id](wxCommandEvent& e)
                       { view.Model().UserSetText(id, e.GetString().ToStdString(wxConvUTF8)); }));
    }
};

class CButtonView : public CWxControlView
{
public:
    wxWindow* Create(CWxDialogView& view, CControlState& s) const override
    {
        auto* b = new wxButton(&view, wxID_ANY, Wx(s.m_Template.m_Text));
        if (s.Has(BS_DEFPUSHBUTTON)) b->SetDefault();
        return b;
    }
    void Sync(const CControlState& s, wxWindow* w) const override { SyncLabel(s, w); }
    void BindEvents(CWxDialogView& view, wxWindow* w, const CControlState& s) const override
    {
        BindClick(view, w, s.Id(), wxEVT_BUTTON);
    }
};

class CCheckView : public CWxControlView
{
public:
    wxWindow* Create(CWxDialogView& view, CControlState& s) const override
    {
        const wxString text = Wx(s.m_Template.m_Text);
        if (s.Has(BS_PUSHLIKE)) return new wxToggleButton(&view, wxID_ANY, text);
        return new wxCheckBox(&view, wxID_ANY, text);
    }
    void Sync(const CControlState& s, wxWindow* w) const override
    {
        if (auto* tb = dynamic_cast<wxToggleButton*>(w))
            tb->SetValue(s.m_Check != 0);
        else
            static_cast<wxCheckBox*>(w)->SetValue(s.m_Check != 0);
        SyncLabel(s, w);
    }
    void BindEvents(CWxDialogView& view, wxWindow* w, const CControlState& s) const override
    {
        BindClick(view, w, s.Id(), wxEVT_CHECKBOX);
        BindClick(view, w, s.Id(), wxEVT_TOGGLEBUTTON);
    }
};

class CRadioView : public CWxControlView
{
public:
    wxWindow* Create(CWxDialogView& view, CControlState& s) const override
    {
        return new wxRadioButton(&view, wxID_ANY, Wx(s.m_Template.m_Text));
    }
    void Sync(const CControlState& s, wxWindow* w) const override
    {
        SyncLabel(s, w);
        static_cast<wxRadioButton*>(w)->SetValue(s.m_Check != 0);
    }
    void BindEvents(CWxDialogView& view, wxWindow* w, const CControlState& s) const override
    {
        BindClick(view, w, s.Id(), wxEVT_RADIOBUTTON);
    }
};

class CListBoxView : public CWxControlView
{
public:
    wxWindow* Create(CWxDialogView& view, CControlState&) const override
    {
        return new wxListBox(&view, wxID_ANY);
    }
    void Sync(const CControlState& s, wxWindow* w) const override
    {
        SyncItems(static_cast<wxListBox*>(w), s);
    }
    void BindEvents(CWxDialogView& view, wxWindow* w, const CControlState& s) const override
    {
        BindSelect(view, w, s.Id(), wxEVT_LISTBOX);
    }
};

class CCheckListView : public CListBoxView
{
public:
    wxWindow* Create(CWxDialogView& view, CControlState&) const override
    {
        return new wxCheckListBox(&view, wxID_ANY);
    }
    void Sync(const CControlState& s, wxWindow* w) const override
    {
        auto* list = static_cast<wxCheckListBox*>(w);
        SyncItems(list, s);
        for (unsigned i = 0; i < list->GetCount() && i < s.m_Items.size(); ++i)
            list->Check(i, s.m_Items[i].m_Check != 0);
    }
    void BindEvents(CWxDialogView& view, wxWindow* w, const CControlState& s) const override
    {
        CListBoxView::BindEvents(view, w, s);
        const int id = s.Id();
        w->Bind(wxEVT_CHECKLISTBOX, view.Guard(
                                        [&view, id, w](wxCommandEvent& e)
                                        {
                                            const int index = e.GetSelection();
                                            const bool checked =
                                                static_cast<wxCheckListBox*>(w)->IsChecked(index);
                                            view.Model().UserCheckItem(id, index, checked ? 1 : 0);
                                        }));
    }
};

class CComboView : public CWxControlView
{
public:
    wxWindow* Create(CWxDialogView& view, CControlState&) const override
    {
        return new wxChoice(&view, wxID_ANY);
    }
    // The template's height is the dropped list's.
    wxSize AdjustSize(wxWindow* w, wxSize size) const override
    {
        return {size.x, w->GetBestSize().y};
    }
    void Sync(const CControlState& s, wxWindow* w) const override
    {
        SyncItems(static_cast<wxChoice*>(w), s);
    }
    void BindEvents(CWxDialogView& view, wxWindow* w, const CControlState& s) const override
    {
        BindSelect(view, w, s.Id(), wxEVT_CHOICE);
    }
};

class CSliderView : public CWxControlView
{
public:
    wxWindow* Create(CWxDialogView& view, CControlState& s) const override
    {
        return new wxSlider(&view, wxID_ANY, s.m_Pos, s.m_Min, std::max(s.m_Min + 1, s.m_Max),
                            wxDefaultPosition, wxDefaultSize,
                            s.Has(TBS_VERT) ? wxSL_VERTICAL : wxSL_HORIZONTAL);
    }
    void Sync(const CControlState& s, wxWindow* w) const override
    {
        auto* slider = static_cast<wxSlider*>(w);
        slider->SetRange(s.m_Min, std::max(s.m_Min + 1, s.m_Max));
        slider->SetValue(s.m_Pos);
    }
    void BindEvents(CWxDialogView& view, wxWindow* w, const CControlState& s) const override
    {
        const int id = s.Id();
        w->Bind(wxEVT_SLIDER, view.Guard([&view, id](wxCommandEvent& e)
                                         { view.Model().UserSlider(id, e.GetInt()); }));
    }
};

class CProgressView : public CWxControlView
{
public:
    wxWindow* Create(CWxDialogView& view, CControlState&) const override
    {
        return new wxGauge(&view, wxID_ANY, 100);
    }
    void Sync(const CControlState& s, wxWindow* w) const override
    {
        auto* gauge = static_cast<wxGauge*>(w);
        const int range = std::max(1, s.m_Max - s.m_Min);
        gauge->SetRange(range);
        gauge->SetValue(std::clamp(s.m_Pos - s.m_Min, 0, range));
    }
};

class CListViewView : public CWxControlView
{
public:
    wxWindow* Create(CWxDialogView& view, CControlState&) const override
    {
        auto* list = new wxListCtrl(&view, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                    wxLC_REPORT | wxLC_SINGLE_SEL);
        list->AssignImageList(ListIcons(), wxIMAGE_LIST_SMALL);
        return list;
    }
    void Sync(const CControlState& s, wxWindow* w) const override
    {
        auto* list = static_cast<wxListCtrl*>(w);
        SyncColumns(s, list);
        const long rows = static_cast<long>(s.m_Items.size());
        while (list->GetItemCount() > rows)
            list->DeleteItem(list->GetItemCount() - 1);
        for (long i = 0; i < rows; ++i)
            SyncRow(s.m_Items[i], i, list);
        if (s.m_VisibleRow >= 0 && s.m_VisibleRow < rows) list->EnsureVisible(s.m_VisibleRow);
    }
    void BindEvents(CWxDialogView& view, wxWindow* w, const CControlState& s) const override
    {
        const int id = s.Id();
        w->Bind(wxEVT_LIST_ITEM_SELECTED,
                view.Guard([&view, id](wxListEvent& e)
                           { view.Model().UserSelect(id, static_cast<int>(e.GetIndex())); }));
        w->Bind(wxEVT_LIST_ITEM_RIGHT_CLICK,
                view.Guard([&view, id](wxListEvent& e)
                           { view.Model().UserRightClick(id, static_cast<int>(e.GetIndex())); }));
    }

private:
    static void SyncColumns(const CControlState& s, wxListCtrl* list)
    {
        if (list->GetColumnCount() == static_cast<int>(s.m_Columns.size())) return;
        list->ClearAll();
        for (size_t c = 0; c < s.m_Columns.size(); ++c)
            list->InsertColumn(c, Wx(s.m_Columns[c].m_Heading), wxLIST_FORMAT_LEFT,
                               s.m_Columns[c].m_Width);
    }
    static void SyncRow(const CListItem& item, long i, wxListCtrl* list)
    {
        if (i >= list->GetItemCount())
            list->InsertItem(i, Wx(item.m_Text), item.m_Image);
        else
            list->SetItem(i, 0, Wx(item.m_Text), item.m_Image);
        for (size_t c = 0; c < item.m_SubItems.size(); ++c)
            if (static_cast<int>(c + 1) < list->GetColumnCount())
                list->SetItem(i, c + 1, Wx(item.m_SubItems[c]));
    }
};
} // namespace

std::map<std::string, std::shared_ptr<const CWxControlView>> WxBuiltinViews()
{
    using K = ECtrlKind;
    return {
        {CtrlKindName(K::Static), std::make_shared<CStaticView>()},
        {CtrlKindName(K::GroupBox), std::make_shared<CGroupView>()},
        {CtrlKindName(K::Edit), std::make_shared<CEditView>()},
        {CtrlKindName(K::Button), std::make_shared<CButtonView>()},
        {CtrlKindName(K::CheckBox), std::make_shared<CCheckView>()},
        {CtrlKindName(K::Radio), std::make_shared<CRadioView>()},
        {CtrlKindName(K::ListBox), std::make_shared<CListBoxView>()},
        {CtrlKindName(K::CheckListBox), std::make_shared<CCheckListView>()},
        {CtrlKindName(K::ComboBox), std::make_shared<CComboView>()},
        {CtrlKindName(K::Slider), std::make_shared<CSliderView>()},
        {CtrlKindName(K::Progress), std::make_shared<CProgressView>()},
        {CtrlKindName(K::ListView), std::make_shared<CListViewView>()},
        {CCanvasState::KindName, WxCanvasView()},
    };
}
