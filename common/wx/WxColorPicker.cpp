#include "common/wx/WxColorPicker.h"

#include "common/ColorPicker.h"
#include "platform/Dialog.h"
#include "platform/wx/WxBackend.h"
#include "platform/wx/WxControlView.h"
#include "platform/wx/WxDialogView.h"

#include <wx/control.h>
#include <wx/dcclient.h>
#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/settings.h>

namespace
{
wxColour Wx(COLORREF c)
{
    return wxColour(GetRValue(c), GetGValue(c), GetBValue(c));
}

class CPickerButton : public wxControl
{
public:
    CPickerButton(CWxDialogView& view, int id)
        : wxControl(&view, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_RAISED),
          m_Dlg(view.Model()), m_Id(id)
    {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Bind(wxEVT_PAINT, &CPickerButton::OnPaint, this);
        Bind(wxEVT_LEFT_UP, view.Guard([this](wxMouseEvent&) { m_Dlg.UserClick(m_Id); }));
    }

private:
    void OnPaint(wxPaintEvent&)
    {
        wxPaintDC dc(this);
        const wxSize size = GetClientSize();
        dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
        dc.Clear();
        const CControlState* s = m_Dlg.FindItem(m_Id);
        const int arrow = std::min(12, size.x / 4);
        dc.SetPen(*wxBLACK_PEN);
        const CColorPickerState* picker = s ? s->KindState<CColorPickerState>() : nullptr;
        dc.SetBrush(wxBrush(Wx(picker ? picker->m_Color : 0)));
        dc.DrawRectangle(3, 3, size.x - arrow - 9, size.y - 6);
        const int cx = size.x - arrow / 2 - 4, cy = size.y / 2;
        wxPoint tri[] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 2}};
        dc.SetBrush(*wxBLACK_BRUSH);
        dc.DrawPolygon(3, tri);
    }

    CDialog& m_Dlg;
    int m_Id;
};

// One window that draws its boxes itself and holds the mouse, so that it can tell a click on
// a box from a click anywhere else (which dismisses it).
class CPopup : public wxDialog
{
public:
    CPopup(wxWindow* parent, const CColorPopupRequest& request)
        : wxDialog(parent, wxID_ANY, "", wxDefaultPosition, wxDefaultSize,
                   wxBORDER_SIMPLE | wxSTAY_ON_TOP),
          m_Request(request)
    {
        const int edge = std::max(wxSystemSettings::GetMetric(wxSYS_EDGE_X, this), 1);
        m_Margin = edge;
        m_Box = std::max(18, 2 * edge + 7);
        const int columns = std::max(request.m_Columns, 1);
        const int rows = (static_cast<int>(request.m_Colors.size()) + columns - 1) / columns;
        m_CustomHeight = GetCharHeight() + 8;
        SetClientSize(2 * m_Margin + columns * m_Box,
                      2 * m_Margin + rows * m_Box + m_CustomHeight + m_Margin);
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Bind(wxEVT_PAINT, &CPopup::OnPaint, this);
        Bind(wxEVT_MOTION, &CPopup::OnMotion, this);
        Bind(wxEVT_LEFT_UP, &CPopup::OnClick, this);
        Bind(wxEVT_SHOW,
             [this](wxShowEvent& e)
             {
                 if (e.IsShown() && !HasCapture()) CaptureMouse();
             });
        // Without the mouse (another window took it) the popup still ends by a click or Escape.
        Bind(wxEVT_MOUSE_CAPTURE_LOST, [](wxMouseCaptureLostEvent&) {});
    }
    ~CPopup() override
    {
        if (HasCapture()) ReleaseMouse();
    }

    EPopupResult m_Result = EPopupResult::Cancelled;
    COLORREF m_Color = 0;

private:
    static constexpr int Custom = -2, Outside = -1;

    wxRect BoxRect(int index) const
    {
        const int columns = std::max(m_Request.m_Columns, 1);
        return {m_Margin + (index % columns) * m_Box, m_Margin + (index / columns) * m_Box, m_Box,
                m_Box};
    }
    wxRect CustomRect() const
    {
        const wxSize size = GetClientSize();
        return {m_Margin, size.y - m_Margin - m_CustomHeight, size.x - 2 * m_Margin,
                m_CustomHeight};
    }
    int HitTest(const wxPoint& p) const
    {
        for (size_t i = 0; i < m_Request.m_Colors.size(); ++i)
            if (BoxRect(static_cast<int>(i)).Contains(p)) return static_cast<int>(i);
        return CustomRect().Contains(p) ? Custom : Outside;
    }

    void OnPaint(wxPaintEvent&)
    {
        wxPaintDC dc(this);
        dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_MENU)));
        dc.Clear();
        for (size_t i = 0; i < m_Request.m_Colors.size(); ++i)
        {
            const wxRect r = BoxRect(static_cast<int>(i)).Deflate(2);
            dc.SetPen(static_cast<int>(i) == m_Hot ? *wxBLACK_PEN : *wxGREY_PEN);
            dc.SetBrush(wxBrush(Wx(m_Request.m_Colors[i].m_Color)));
            dc.DrawRectangle(r);
        }
        const wxRect custom = CustomRect();
        dc.SetPen(m_Hot == Custom ? *wxBLACK_PEN : *wxGREY_PEN);
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(custom);
        dc.DrawLabel(wxString::FromUTF8(m_Request.m_CustomText), custom, wxALIGN_CENTER);
    }

    void OnMotion(wxMouseEvent& e)
    {
        const int hot = HitTest(e.GetPosition());
        if (hot == m_Hot) return;
        m_Hot = hot;
        if (hot >= 0)
        {
            SetToolTip(m_Request.m_Colors[hot].m_Name);
            if (m_Request.m_OnHover) m_Request.m_OnHover(m_Request.m_Colors[hot].m_Color);
        }
        else
            UnsetToolTip();
        Refresh();
    }

    void OnClick(wxMouseEvent& e)
    {
        const int hit = HitTest(e.GetPosition());
        if (hit >= 0)
        {
            m_Color = m_Request.m_Colors[hit].m_Color;
            Finish(EPopupResult::Chosen);
        }
        else
            Finish(hit == Custom ? EPopupResult::Custom : EPopupResult::Cancelled);
    }

    void Finish(EPopupResult result)
    {
        m_Result = result;
        if (HasCapture()) ReleaseMouse();
        if (IsModal()) EndModal(wxID_OK);
    }

    const CColorPopupRequest& m_Request;
    int m_Margin = 1, m_Box = 18, m_CustomHeight = 20;
    int m_Hot = Outside;
};

EPopupResult RunColorPopup(wxWindow* anchor, const CColorPopupRequest& request, COLORREF& color)
{
    CPopup popup(anchor ? wxGetTopLevelParent(anchor) : nullptr, request);
    // Just below the button's lower left corner, kept on the screen: moved sideways, or above
    // the button when it would leave the bottom.
    wxPoint pos = anchor ? anchor->ClientToScreen(wxPoint(0, anchor->GetSize().y)) : wxPoint();
    const wxSize size = popup.GetSize();
    const int display = wxDisplay::GetFromPoint(pos);
    const wxRect screen = wxDisplay(display == wxNOT_FOUND ? 0 : display).GetClientArea();
    if (pos.x + size.x > screen.GetRight()) pos.x = screen.GetRight() - size.x;
    pos.x = std::max(pos.x, screen.GetLeft());
    if (pos.y + size.y > screen.GetBottom() && anchor) pos.y -= size.y + anchor->GetSize().y;
    popup.Move(pos);
    popup.ShowModal();
    if (popup.m_Result == EPopupResult::Chosen) color = popup.m_Color;
    return popup.m_Result;
}

class CPickerView : public CWxControlView
{
public:
    wxWindow* Create(CWxDialogView& view, CControlState& s) const override
    {
        return new CPickerButton(view, s.Id());
    }
    void Sync(const CControlState&, wxWindow* w) const override { w->Refresh(); }
};

EPopupResult ShowPopup(CDialog& owner, int ctrlId, const CColorPopupRequest& request,
                       COLORREF& color)
{
    auto* backend = dynamic_cast<CWxBackend*>(&UiBackend());
    return RunColorPopup(backend ? backend->ControlWindow(owner, ctrlId) : nullptr, request, color);
}
} // namespace

void RegisterWxColorPicker()
{
    RegisterColorPicker();
    CWxControlViews::Register(CColorPickerKind::KindName, std::make_shared<CPickerView>());
    ColorPickerKind().SetPopupRunner(ShowPopup);
}
