#include "platform/Dialog.h"

#include "platform/Controls.h"
#include "platform/DataExchange.h"
#include "platform/UiServices.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace
{
// Never destroyed: a plug-in's dialogs may outlive this library's static objects at exit.
std::vector<CDialog*>& Registry()
{
    static auto* dialogs = new std::vector<CDialog*>;
    return *dialogs;
}

unsigned long g_ShowCounter = 0;

} // namespace

CDialog::CDialog(CDlgTemplate tmpl, CDialog* pParent)
    : m_Template(std::move(tmpl)), m_Caption(m_Template.m_Caption), m_pParent(pParent)
{
    Registry().push_back(this);
}

CDialog::~CDialog()
{
    for (UINT_PTR id : std::set<UINT_PTR>(m_Timers))
        KillTimer(id);
    if (m_Created) UiBackend().DialogDestroyed(*this);
    auto& r = Registry();
    r.erase(std::remove(r.begin(), r.end(), this), r.end());
}

const std::vector<CDialog*>& CDialog::AllDialogs()
{
    return Registry();
}

CDialog* CDialog::TopmostShown()
{
    CDialog* top = nullptr;
    for (CDialog* d : Registry())
        if (d->m_Visible && (!top || d->m_ShowSerial > top->m_ShowSerial)) top = d;
    return top;
}

CDialog* CDialog::FindShown(const std::string& caption)
{
    CDialog* found = nullptr;
    for (CDialog* d : Registry())
        if (d->m_Visible && d->m_Caption == caption &&
            (!found || d->m_ShowSerial > found->m_ShowSerial))
            found = d;
    return found;
}

void CDialog::InitControls()
{
    m_Items.clear();
    for (const auto& t : m_Template.m_Controls)
    {
        auto s = std::make_unique<CControlState>();
        s->m_Template = t;
        s->m_pKind = CControlKinds::Find(t.KindName());
        if (!s->m_pKind)
            std::fprintf(stderr, "dialog \"%s\": control %d is of a kind nobody registered: %s\n",
                         m_Caption.c_str(), t.m_Id, t.KindName().c_str());
        s->m_pKindState = s->ControlKind().NewState();
        s->m_Enabled = !(t.m_Style & WS_DISABLED);
        s->m_Visible = !(t.m_Style & WS_HIDDEN);
        s->m_ReadOnly = (t.m_Style & ES_READONLY) != 0;
        s->ControlKind().Init(*s);
        m_Items.push_back(std::move(s));
    }
}

void CDialog::Initialize(bool modal)
{
    m_Modal = modal;
    m_Ended = false;
    m_nResult = 0;
    InitControls();
    m_Created = true;
    UiBackend().DialogCreated(*this);
    OnInitDialog();
}

BOOL CDialog::Create(CDialog* pParent)
{
    if (pParent) m_pParent = pParent;
    Initialize(false);
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    const INT_PTR result = UiBackend().RunModal(*this);
    m_Visible = false;
    return result;
}

void CDialog::EndDialog(int nResult)
{
    m_nResult = nResult;
    if (m_Modal) m_Ended = true;
    ShowWindow(SW_HIDE);
}

void CDialog::ShowWindow(int nCmdShow)
{
    const bool show = nCmdShow != SW_HIDE;
    if (show) m_ShowSerial = ++g_ShowCounter;
    if (show == m_Visible) return;
    m_Visible = show;
    if (m_Created) UiBackend().DialogShown(*this, show);
    if (m_pView) m_pView->OnShow(show);
}

void CDialog::SetWindowText(const std::string& caption)
{
    m_Caption = caption;
    if (m_pView) m_pView->OnCaptionChanged();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
void CDialog::DoDataExchange(CDataExchange*) {}
void CDialog::OnTimer(UINT_PTR) {}
void CDialog::OnHScroll(UINT, UINT, int) {}
void CDialog::OnVScroll(UINT, UINT, int) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try
    {
        DoDataExchange(&dx);
    }
    catch (const CUserException&)
    {
        return FALSE;
    }
    return TRUE;
}

CControlState* CDialog::FindItem(int id)
{
    for (auto& s : m_Items)
        if (s->Id() == id) return s.get();
    return nullptr;
}

const CControlState* CDialog::FindItem(int id) const
{
    return const_cast<CDialog*>(this)->FindItem(id);
}

CControlState& CDialog::Item(int id)
{
    if (CControlState* s = FindItem(id)) return *s;
    std::fprintf(stderr, "dialog \"%s\": no control with id %d\n", m_Caption.c_str(), id);
    static CControlState detached;
    detached = CControlState{};
    return detached;
}

CWnd CDialog::GetDlgItem(int id)
{
    return CWnd(this, id);
}

void CDialog::SetDlgItemText(int id, const std::string& text)
{
    Item(id).m_Text = text;
    ControlChanged(id);
}

std::string CDialog::GetDlgItemText(int id) const
{
    const CControlState* s = FindItem(id);
    return s ? s->m_Text : std::string();
}

void CDialog::CheckDlgButton(int id, int nCheck)
{
    Item(id).m_Check = nCheck;
    ControlChanged(id);
}

int CDialog::IsDlgButtonChecked(int id) const
{
    const CControlState* s = FindItem(id);
    return s ? s->m_Check : 0;
}

void CDialog::EnableDlgItem(int id, bool enable)
{
    Item(id).m_Enabled = enable;
    ControlChanged(id);
}

void CDialog::ControlChanged(int id)
{
    if (m_pView) m_pView->OnControlChanged(id);
}

UINT_PTR CDialog::SetTimer(UINT_PTR nIDEvent, UINT nElapse)
{
    m_Timers.insert(nIDEvent);
    UiBackend().StartTimer(*this, nIDEvent, nElapse);
    return nIDEvent;
}

BOOL CDialog::KillTimer(UINT_PTR nIDEvent)
{
    if (!m_Timers.erase(nIDEvent)) return FALSE;
    UiBackend().StopTimer(*this, nIDEvent);
    return TRUE;
}

void CDialog::AppendSystemMenuItem(UINT nID, const std::string& text)
{
    m_SysMenu.emplace_back(nID, text);
}

void CDialog::OnSysCommand(UINT) {}

bool CDialog::UserSysCommand(UINT nID)
{
    for (const auto& item : m_SysMenu)
        if (item.first == nID)
        {
            OnSysCommand(nID);
            return true;
        }
    std::fprintf(stderr, "dialog \"%s\": no system menu item %u\n", m_Caption.c_str(), nID);
    return false;
}

LRESULT CDialog::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto it = m_Messages.find(msg);
    return it == m_Messages.end() ? 0 : it->second(wParam, lParam);
}

void CDialog::MapCommand(int id, int code, Handler handler)
{
    m_Commands[{id, code}] = std::move(handler);
}

void CDialog::MapMessage(UINT msg, std::function<LRESULT(WPARAM, LPARAM)> handler)
{
    m_Messages[msg] = std::move(handler);
}

void CDialog::Notify(int id, int code)
{
    auto it = m_Commands.find({id, code});
    if (it != m_Commands.end())
        it->second();
    else if (code == BN_CLICKED && id == IDOK)
        OnOK();
    else if (code == BN_CLICKED && id == IDCANCEL)
        OnCancel();
}

bool CDialog::CanUse(const CControlState* s, int id) const
{
    if (!s)
    {
        std::fprintf(stderr, "dialog \"%s\": no control with id %d\n", m_Caption.c_str(), id);
        return false;
    }
    if (!s->m_Enabled || !s->m_Visible)
    {
        std::fprintf(stderr, "dialog \"%s\": control %d is %s\n", m_Caption.c_str(), id,
                     s->m_Enabled ? "hidden" : "disabled");
        return false;
    }
    return true;
}

CControlState* CDialog::UsableItem(int id)
{
    CControlState* s = FindItem(id);
    return CanUse(s, id) ? s : nullptr;
}

bool CDialog::UserSetText(int id, const std::string& text)
{
    CControlState* s = FindItem(id);
    if (!CanUse(s, id) || s->m_ReadOnly) return false;
    s->m_Text = text;
    ControlChanged(id);
    Notify(id, EN_CHANGE);
    return true;
}

bool CDialog::UserClick(int id)
{
    CControlState* s = FindItem(id);
    if (!CanUse(s, id)) return false;
    s->ControlKind().OnClick(*s);
    ControlChanged(id);
    Notify(id, BN_CLICKED);
    return true;
}

bool CDialog::UserSetCheck(int id, int nCheck)
{
    CControlState* s = FindItem(id);
    if (!CanUse(s, id)) return false;
    if ((s->m_Check != 0) == (nCheck != 0)) return true; // already so; a user would not click
    return UserClick(id);
}

bool CDialog::UserCheckItem(int id, int index, int nCheck)
{
    CControlState* s = FindItem(id);
    if (!CanUse(s, id) || index < 0 || index >= static_cast<int>(s->m_Items.size())) return false;
    if (s->m_Sel != index) UserSelect(id, index); // clicking an item's box selects it first
    s = FindItem(id);
    if (index >= static_cast<int>(s->m_Items.size()) || s->m_Items[index].m_Check == nCheck)
        return true;
    s->m_Items[index].m_Check = nCheck;
    ControlChanged(id);
    Notify(id, CLBN_CHKCHANGE);
    return true;
}

bool CDialog::UserSelect(int id, int index)
{
    CControlState* s = FindItem(id);
    if (!CanUse(s, id) || index < 0 || index >= static_cast<int>(s->m_Items.size())) return false;
    s->m_Sel = index;
    ControlChanged(id);
    Notify(id, s->ControlKind().SelectionCode());
    return true;
}

bool CDialog::UserSlider(int id, int pos)
{
    CControlState* s = FindItem(id);
    if (!CanUse(s, id)) return false;
    s->m_Pos = std::clamp(pos, s->m_Min, std::max(s->m_Min, s->m_Max));
    ControlChanged(id);
    if (s->Has(TBS_VERT))
        OnVScroll(SB_THUMBTRACK, static_cast<UINT>(s->m_Pos), id);
    else
        OnHScroll(SB_THUMBTRACK, static_cast<UINT>(s->m_Pos), id);
    return true;
}

bool CDialog::UserRightClick(int id, int index)
{
    CControlState* s = FindItem(id);
    if (!CanUse(s, id) || index < 0 || index >= static_cast<int>(s->m_Items.size())) return false;
    s->m_Sel = index;
    ControlChanged(id);
    Notify(id, NM_RCLICK);
    return true;
}
