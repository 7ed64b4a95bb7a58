#include "platform/wx/WxDialogView.h"

#include "platform/wx/WxBackend.h"
#include "platform/wx/WxControlView.h"

#include <wx/menu.h>
#include <wx/stattext.h>

namespace
{
wxString Wx(const std::string& s)
{
    return wxString::FromUTF8(s);
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
        const CWxControlView* kindView = CWxControlViews::Find(state->m_Template.KindName());
        if (kindView) size = kindView->AdjustSize(w, size);
        w->SetSize(size);
        if (state->Id() != -1) m_Windows[state->Id()] = w;
        m_Placed.emplace_back(state.get(), w);
        Sync(*state, w);
        if (kindView && state->Id() != -1) kindView->BindEvents(*this, w, *state);
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
    if (const CWxControlView* view = CWxControlViews::Find(s.m_Template.KindName()))
        return view->Create(*this, s);
    return new wxStaticText(this, wxID_ANY, "[" + Wx(s.m_Template.KindName()) + "]");
}

void CWxDialogView::Sync(const CControlState& s, wxWindow* w)
{
    w->Enable(s.m_Enabled);
    w->Show(s.m_Visible);
    if (const CWxControlView* view = CWxControlViews::Find(s.m_Template.KindName()))
        view->Sync(s, w);
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
