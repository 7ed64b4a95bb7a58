#include "common/ColorPicker.h"

#include "platform/ScriptVerbs.h"
#include "platform/ScriptedAnswers.h"

#include <sstream>

std::unique_ptr<CControlKindState> CColorPickerKind::NewState() const
{
    return std::make_unique<CColorPickerState>();
}

std::string CColorPickerKind::Describe(const CControlState& s) const
{
    const CColorPickerState* state = s.KindState<CColorPickerState>();
    const COLORREF c = state ? state->m_Color : 0;
    std::ostringstream os;
    os << GetRValue(c) << ' ' << GetGValue(c) << ' ' << GetBValue(c);
    return os.str();
}

EPopupResult CColorPickerKind::RunPopup(CDialog& owner, int ctrlId,
                                        const CColorPopupRequest& request, COLORREF& color)
{
    // A script's queued pick answers in both backends; without one a window shows the popup.
    if (!m_Picks.empty() || !m_Runner) return TakePick(request, color);
    return m_Runner(owner, ctrlId, request, color);
}

EPopupResult CColorPickerKind::TakePick(const CColorPopupRequest& request, COLORREF& color)
{
    if (m_Picks.empty()) return EPopupResult::Cancelled;
    const COLORREF pick = m_Picks.front();
    m_Picks.pop_front();
    for (const auto& named : request.m_Colors)
        if (named.m_Color == pick)
        {
            if (request.m_OnHover) request.m_OnHover(pick);
            color = pick;
            return EPopupResult::Chosen;
        }
    CScriptedAnswers::Instance().QueueColorNext(pick); // the colour dialog that follows answers
    return EPopupResult::Custom;
}

CColorPickerKind& ColorPickerKind()
{
    if (auto kind = CControlKinds::Find(CColorPickerKind::KindName))
        return static_cast<CColorPickerKind&>(*kind);
    // Each module carries its own copy of this code: a kind registered from a plug-in's copy
    // must leave the table when the plug-in is unloaded.
    static CControlKindRegistration own(std::make_shared<CColorPickerKind>());
    return static_cast<CColorPickerKind&>(*CControlKinds::Find(CColorPickerKind::KindName));
}

namespace
{
bool RunPick(CScriptContext& context, const CScriptCommand& cmd)
{
    int id;
    COLORREF color;
    if (!context.Int(cmd, 1, id) || !context.Rgb(cmd, 2, color)) return false;
    CDialog* dlg = context.CurrentDialog();
    if (!dlg->FindItem(id))
        return context.Fail(cmd, "no control " + std::to_string(id) + " in \"" + dlg->GetCaption() +
                                     "\"");
    ColorPickerKind().QueuePick(color);
    return dlg->UserClick(id) || context.Fail(cmd, "the control cannot be clicked");
}
} // namespace

void RegisterColorPicker()
{
    ColorPickerKind();
    CScriptVerbs::Register({"pick", "pick ID R G B", 4, 4, true, false, RunPick});
}

const std::array<CNamedColor, CColorPopup::NrColors>& CColorPopup::Colors()
{
    static const std::array<CNamedColor, NrColors> colors = {{
        {RGB(0, 0, 0), "Black"},
        {RGB(165, 42, 0), "Brown"},
        {RGB(0, 64, 64), "Dark Olive Green"},
        {RGB(0, 85, 0), "Dark Green"},
        {RGB(0, 0, 94), "Dark Teal"},
        {RGB(0, 0, 139), "Dark blue"},
        {RGB(75, 0, 130), "Indigo"},
        {RGB(40, 40, 40), "Dark grey"},
        {RGB(139, 0, 0), "Dark red"},
        {RGB(255, 104, 32), "Orange"},
        {RGB(139, 139, 0), "Dark yellow"},
        {RGB(0, 147, 0), "Green"},
        {RGB(56, 142, 142), "Teal"},
        {RGB(0, 0, 255), "Blue"},
        {RGB(123, 123, 192), "Blue-grey"},
        {RGB(102, 102, 102), "Grey - 40"},
        {RGB(255, 0, 0), "Red"},
        {RGB(255, 173, 91), "Light orange"},
        {RGB(50, 205, 50), "Lime"},
        {RGB(60, 179, 113), "Sea green"},
        {RGB(127, 255, 212), "Aqua"},
        {RGB(125, 158, 192), "Light blue"},
        {RGB(128, 0, 128), "Violet"},
        {RGB(127, 127, 127), "Grey - 50"},
        {RGB(255, 192, 203), "Pink"},
        {RGB(255, 215, 0), "Gold"},
        {RGB(255, 255, 0), "Yellow"},
        {RGB(0, 255, 0), "Bright green"},
        {RGB(64, 224, 208), "Turquoise"},
        {RGB(192, 255, 255), "Skyblue"},
        {RGB(72, 0, 72), "Plum"},
        {RGB(192, 192, 192), "Light grey"},
        {RGB(255, 228, 225), "Rose"},
        {RGB(210, 180, 140), "Tan"},
        {RGB(255, 255, 224), "Light yellow"},
        {RGB(152, 251, 152), "Pale green"},
        {RGB(175, 238, 238), "Pale turquoise"},
        {RGB(104, 131, 139), "Pale blue"},
        {RGB(230, 230, 250), "Lavender"},
        {RGB(255, 255, 255), "White"},
    }};
    return colors;
}

bool CColorPopup::Track(COLORREF current, COLORREF& chosen,
                        const std::function<void(COLORREF)>& onHover)
{
    CColorPopupRequest request;
    request.m_Colors.assign(Colors().begin(), Colors().end());
    request.m_Columns = Columns;
    request.m_Current = current;
    request.m_CustomText = m_CustomText;
    request.m_OnHover = onHover;
    COLORREF color = current;
    switch (ColorPickerKind().RunPopup(m_Owner, m_CtrlId, request, color))
    {
    case EPopupResult::Chosen:
        chosen = color;
        return true;
    case EPopupResult::Custom:
    {
        CColorDialog dlg(current, CC_FULLOPEN | CC_ANYCOLOR, &m_Owner);
        if (dlg.DoModal() != IDOK) return false;
        chosen = dlg.GetColor();
        return true;
    }
    case EPopupResult::Cancelled:
        break;
    }
    return false;
}

void CColorPicker::Attach(CDialog* pDlg, int id)
{
    CWnd::Attach(pDlg, id);
    pDlg->MapCommand(id, BN_CLICKED, [this] { OnClicked(); });
}

COLORREF CColorPicker::GetColor() const
{
    const CColorPickerState* state = State().KindState<CColorPickerState>();
    return state ? state->m_Color : 0;
}

void CColorPicker::SetColor(COLORREF color)
{
    CColorPickerState* state = State().KindState<CColorPickerState>();
    if (!state) return;
    state->m_Color = color;
    Changed();
}

void CColorPicker::Notify(UINT message, COLORREF color) const
{
    m_pDlg->SendMessage(message, color, m_Id);
}

void CColorPicker::OnClicked()
{
    const COLORREF previous = GetColor();
    Notify(CPN_DROPDOWN, previous);
    CColorPopup popup(*m_pDlg, m_Id, m_CustomText);
    COLORREF chosen = previous;
    const bool ok = popup.Track(previous, chosen,
                                [this](COLORREF hover)
                                {
                                    SetColor(hover);
                                    Notify(CPN_SELCHANGE, hover);
                                });
    Notify(CPN_CLOSEUP, ok ? chosen : previous);
    if (!ok)
    {
        SetColor(previous);
        Notify(CPN_SELENDCANCEL, previous);
        return;
    }
    SetColor(chosen);
    if (chosen != previous) Notify(CPN_SELCHANGE, chosen);
    Notify(CPN_SELENDOK, chosen);
}
