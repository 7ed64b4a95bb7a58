#include "platform/wx/WxDialogView.h"

#include "platform/wx/WxBackend.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/checklst.h>
#include <wx/choice.h>
#include <wx/gauge.h>
#include <wx/imaglist.h>
#include <wx/listbox.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/slider.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>

namespace
{
wxString Wx(const std::string& s)
{
    return wxString::FromUTF8(s);
}

// Template texts use "&" for mnemonics and "&&" for an ampersand, as wx does.
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

wxImageList* LogIcons()
{
    auto* list = new wxImageList(16, 16, true, 3);
    list->Add(wxArtProvider::GetBitmap(wxART_INFORMATION, wxART_MENU, wxSize(16, 16)));
    list->Add(wxArtProvider::GetBitmap(wxART_WARNING, wxART_MENU, wxSize(16, 16)));
    list->Add(wxArtProvider::GetBitmap(wxART_ERROR, wxART_MENU, wxSize(16, 16)));
    return list;
}
} // namespace

CWxDialogView::CWxDialogView(wxWindow* parent, CDialog& dlg)
    : wxDialog(parent, wxID_ANY, Wx(dlg.GetCaption()), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE),
      m_Dlg(dlg)
{
    SetEscapeId(wxID_NONE);
    const auto& t = dlg.GetTemplate();
    SetClientSize(ConvertDialogToPixels(wxSize(t.m_Width, t.m_Height)));
    m_Syncing = true;
    for (const auto& state : dlg.Items())
    {
        wxWindow* w = CreateControl(*state);
        if (!w) continue;
        const CRect& r = state->m_Template.m_Rect;
        w->SetPosition(ConvertDialogToPixels(wxPoint(r.left, r.top)));
        wxSize size = ConvertDialogToPixels(wxSize(r.Width(), r.Height()));
        if (state->Kind() == ECtrlKind::ComboBox) // the template's height is the dropped list's
            size.y = w->GetBestSize().y;
        w->SetSize(size);
        if (state->Id() != -1) m_Windows[state->Id()] = w;
        Sync(*state, w);
        BindEvents(w, *state);
    }
    m_Syncing = false;
    Bind(wxEVT_CLOSE_WINDOW, &CWxDialogView::OnCloseWindow, this);
    Bind(wxEVT_CONTEXT_MENU, &CWxDialogView::OnContextMenu, this);
    dlg.SetView(this);
}

CWxDialogView::~CWxDialogView()
{
    if (m_Detached) return;
    // Destroyed by wx (its parent went first): the model and the backend forget this window.
    m_Dlg.SetView(nullptr);
    if (auto* backend = dynamic_cast<CWxBackend*>(&UiBackend())) backend->ForgetView(m_Dlg);
}

void CWxDialogView::Detach()
{
    if (m_Detached) return;
    m_Detached = true;
    m_Dlg.SetView(nullptr);
    if (IsModal()) EndModal(wxID_CANCEL);
    Hide();
    Destroy();
}

wxWindow* CWxDialogView::CreateControl(CControlState& s)
{
    const wxString text = Wx(s.m_Template.m_Text);
    switch (s.Kind())
    {
    case ECtrlKind::Static:
        return new wxStaticText(this, wxID_ANY, text, wxDefaultPosition, wxDefaultSize,
                                s.Has(SS_RIGHT) ? wxALIGN_RIGHT | wxST_NO_AUTORESIZE : 0);
    case ECtrlKind::GroupBox:
        return new wxStaticBox(this, wxID_ANY, text);
    case ECtrlKind::Edit:
    {
        long style = s.Has(ES_MULTILINE) ? wxTE_MULTILINE : 0;
        return new wxTextCtrl(this, wxID_ANY, Wx(s.m_Text), wxDefaultPosition, wxDefaultSize,
                              style);
    }
    case ECtrlKind::Button:
    {
        auto* b = new wxButton(this, wxID_ANY, text);
        if (s.Has(BS_DEFPUSHBUTTON)) b->SetDefault();
        return b;
    }
    case ECtrlKind::CheckBox:
        if (s.Has(BS_PUSHLIKE)) return new wxToggleButton(this, wxID_ANY, text);
        return new wxCheckBox(this, wxID_ANY, text);
    case ECtrlKind::Radio:
        return new wxRadioButton(this, wxID_ANY, text);
    case ECtrlKind::ListBox:
        return new wxListBox(this, wxID_ANY);
    case ECtrlKind::CheckListBox:
        return new wxCheckListBox(this, wxID_ANY);
    case ECtrlKind::ComboBox:
        return new wxChoice(this, wxID_ANY);
    case ECtrlKind::Slider:
        return new wxSlider(this, wxID_ANY, s.m_Pos, s.m_Min, std::max(s.m_Min + 1, s.m_Max),
                            wxDefaultPosition, wxDefaultSize,
                            s.Has(TBS_VERT) ? wxSL_VERTICAL : wxSL_HORIZONTAL);
    case ECtrlKind::Progress:
        return new wxGauge(this, wxID_ANY, 100);
    case ECtrlKind::ListView:
    {
        auto* list = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                    wxLC_REPORT | wxLC_SINGLE_SEL);
        list->AssignImageList(LogIcons(), wxIMAGE_LIST_SMALL);
        return list;
    }
    case ECtrlKind::Custom:
        if (auto factory = CWxBackend::FindCustomControl(s.m_Template.m_Class))
            return factory(this, m_Dlg, s.Id());
        return new wxStaticText(this, wxID_ANY, "[" + Wx(s.m_Template.m_Class) + "]");
    }
    return nullptr;
}

void CWxDialogView::Sync(const CControlState& s, wxWindow* w)
{
    w->Enable(s.m_Enabled);
    w->Show(s.m_Visible);
    switch (s.Kind())
    {
    case ECtrlKind::Static:
    case ECtrlKind::GroupBox:
    case ECtrlKind::Button:
    case ECtrlKind::Radio:
        if (w->GetLabel() != Wx(s.m_Text)) w->SetLabel(Wx(s.m_Text));
        if (auto* r = dynamic_cast<wxRadioButton*>(w)) r->SetValue(s.m_Check != 0);
        break;
    case ECtrlKind::Edit:
    {
        auto* t = static_cast<wxTextCtrl*>(w);
        if (t->GetValue() != Wx(s.m_Text)) t->ChangeValue(Wx(s.m_Text));
        t->SetEditable(!s.m_ReadOnly);
        break;
    }
    case ECtrlKind::CheckBox:
        if (auto* tb = dynamic_cast<wxToggleButton*>(w))
            tb->SetValue(s.m_Check != 0);
        else
            static_cast<wxCheckBox*>(w)->SetValue(s.m_Check != 0);
        if (w->GetLabel() != Wx(s.m_Text)) w->SetLabel(Wx(s.m_Text));
        break;
    case ECtrlKind::ListBox:
        SyncItems(static_cast<wxListBox*>(w), s);
        break;
    case ECtrlKind::CheckListBox:
    {
        auto* list = static_cast<wxCheckListBox*>(w);
        SyncItems(list, s);
        for (unsigned i = 0; i < list->GetCount() && i < s.m_Items.size(); ++i)
            list->Check(i, s.m_Items[i].m_Check != 0);
        break;
    }
    case ECtrlKind::ComboBox:
        SyncItems(static_cast<wxChoice*>(w), s);
        break;
    case ECtrlKind::Slider:
    {
        auto* slider = static_cast<wxSlider*>(w);
        slider->SetRange(s.m_Min, std::max(s.m_Min + 1, s.m_Max));
        slider->SetValue(s.m_Pos);
        break;
    }
    case ECtrlKind::Progress:
    {
        auto* gauge = static_cast<wxGauge*>(w);
        gauge->SetRange(std::max(1, s.m_Max - s.m_Min));
        gauge->SetValue(std::clamp(s.m_Pos - s.m_Min, 0, std::max(1, s.m_Max - s.m_Min)));
        break;
    }
    case ECtrlKind::ListView:
    {
        auto* list = static_cast<wxListCtrl*>(w);
        if (list->GetColumnCount() != static_cast<int>(s.m_Columns.size()))
        {
            list->ClearAll();
            for (size_t c = 0; c < s.m_Columns.size(); ++c)
                list->InsertColumn(c, Wx(s.m_Columns[c].m_Heading), wxLIST_FORMAT_LEFT,
                                   s.m_Columns[c].m_Width);
        }
        const long rows = static_cast<long>(s.m_Items.size());
        while (list->GetItemCount() > rows)
            list->DeleteItem(list->GetItemCount() - 1);
        for (long i = 0; i < rows; ++i)
        {
            const CListItem& item = s.m_Items[i];
            if (i >= list->GetItemCount())
                list->InsertItem(i, Wx(item.m_Text), item.m_Image);
            else
                list->SetItem(i, 0, Wx(item.m_Text), item.m_Image);
            for (size_t c = 0; c < item.m_SubItems.size(); ++c)
                if (static_cast<int>(c + 1) < list->GetColumnCount())
                    list->SetItem(i, c + 1, Wx(item.m_SubItems[c]));
        }
        if (s.m_Pos >= 0 && s.m_Pos < rows) list->EnsureVisible(s.m_Pos);
        break;
    }
    case ECtrlKind::Custom:
        w->Refresh();
        break;
    }
}

void CWxDialogView::BindEvents(wxWindow* w, const CControlState& s)
{
    const int id = s.Id();
    if (id == -1) return;
    auto guard = [this](auto fn)
    {
        return [this, fn](auto& event)
        {
            if (!m_Syncing && !m_Detached) fn(event);
        };
    };
    switch (s.Kind())
    {
    case ECtrlKind::Button:
        w->Bind(wxEVT_BUTTON, guard([this, id](wxCommandEvent&) { m_Dlg.UserClick(id); }));
        break;
    case ECtrlKind::CheckBox:
        w->Bind(wxEVT_CHECKBOX, guard([this, id](wxCommandEvent&) { m_Dlg.UserClick(id); }));
        w->Bind(wxEVT_TOGGLEBUTTON, guard([this, id](wxCommandEvent&) { m_Dlg.UserClick(id); }));
        break;
    case ECtrlKind::Radio:
        w->Bind(wxEVT_RADIOBUTTON, guard([this, id](wxCommandEvent&) { m_Dlg.UserClick(id); }));
        break;
    case ECtrlKind::Edit:
        w->Bind(wxEVT_TEXT,
                guard([this, id](wxCommandEvent& e)
                      { m_Dlg.UserSetText(id, e.GetString().ToStdString(wxConvUTF8)); }));
        break;
    case ECtrlKind::ListBox:
    case ECtrlKind::CheckListBox:
        w->Bind(wxEVT_LISTBOX,
                guard([this, id](wxCommandEvent& e) { m_Dlg.UserSelect(id, e.GetSelection()); }));
        w->Bind(wxEVT_CHECKLISTBOX,
                guard(
                    [this, id, w](wxCommandEvent& e)
                    {
                        const int index = e.GetSelection();
                        m_Dlg.UserCheckItem(
                            id, index, static_cast<wxCheckListBox*>(w)->IsChecked(index) ? 1 : 0);
                    }));
        break;
    case ECtrlKind::ComboBox:
        w->Bind(wxEVT_CHOICE,
                guard([this, id](wxCommandEvent& e) { m_Dlg.UserSelect(id, e.GetSelection()); }));
        break;
    case ECtrlKind::Slider:
        w->Bind(wxEVT_SLIDER,
                guard([this, id](wxCommandEvent& e) { m_Dlg.UserSlider(id, e.GetInt()); }));
        break;
    case ECtrlKind::ListView:
        w->Bind(wxEVT_LIST_ITEM_SELECTED,
                guard([this, id](wxListEvent& e)
                      { m_Dlg.UserSelect(id, static_cast<int>(e.GetIndex())); }));
        w->Bind(wxEVT_LIST_ITEM_RIGHT_CLICK,
                guard([this, id](wxListEvent& e)
                      { m_Dlg.UserRightClick(id, static_cast<int>(e.GetIndex())); }));
        break;
    default:
        break;
    }
}

void CWxDialogView::OnControlChanged(int id)
{
    auto it = m_Windows.find(id);
    const CControlState* s = m_Dlg.FindItem(id);
    if (it == m_Windows.end() || !s || m_Detached) return;
    const bool wasSyncing = m_Syncing;
    m_Syncing = true;
    Sync(*s, it->second);
    m_Syncing = wasSyncing;
}

void CWxDialogView::OnShow(bool show)
{
    if (m_Detached) return;
    if (m_Dlg.IsModal())
    {
        if (!show && IsModal()) EndModal(m_Dlg.GetResult() == IDOK ? wxID_OK : wxID_CANCEL);
        return;
    }
    if (show)
    {
        Show();
        Raise();
    }
    else
        Hide();
}

void CWxDialogView::OnCaptionChanged()
{
    SetTitle(Wx(m_Dlg.GetCaption()));
}

void CWxDialogView::OnCloseWindow(wxCloseEvent& event)
{
    if (event.CanVeto()) event.Veto();
    m_Dlg.UserClose();
}

void CWxDialogView::OnContextMenu(wxContextMenuEvent& event)
{
    const auto& items = m_Dlg.SystemMenuItems();
    if (items.empty())
    {
        event.Skip();
        return;
    }
    wxMenu menu;
    for (size_t i = 0; i < items.size(); ++i)
        menu.Append(static_cast<int>(i + 1), Wx(items[i].second));
    const int chosen = GetPopupMenuSelectionFromUser(menu);
    if (chosen > 0 && chosen <= static_cast<int>(items.size()))
        m_Dlg.UserSysCommand(items[chosen - 1].first);
}
