#include "platform/wx/WxCanvasView.h"

#include "platform/Canvas.h"
#include "platform/wx/WxDialogView.h"

#include <wx/dcbuffer.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/window.h>

#include <cstring>

namespace
{
class CCanvasWindow : public wxWindow
{
public:
    CCanvasWindow(CWxDialogView& view, int id)
        : wxWindow(&view, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_SUNKEN),
          m_Canvas(&view.Model(), id)
    {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Bind(wxEVT_PAINT, &CCanvasWindow::OnPaint, this);
        Bind(wxEVT_SIZE, &CCanvasWindow::OnSize, this);
        Bind(wxEVT_LEFT_DOWN, view.Guard(Mouse(ECanvasMouse::Down)));
        Bind(wxEVT_MOTION, view.Guard(Mouse(ECanvasMouse::Move)));
        Bind(wxEVT_LEFT_UP, view.Guard(Mouse(ECanvasMouse::Up)));
        Bind(wxEVT_MOUSEWHEEL, view.Guard([this](wxMouseEvent& e) { OnWheel(e); }));
        Bind(wxEVT_CONTEXT_MENU, view.Guard([this](wxContextMenuEvent&) { ShowMenu(); }));
    }

private:
    std::function<void(wxMouseEvent&)> Mouse(ECanvasMouse type)
    {
        return [this, type](wxMouseEvent& e)
        {
            m_Canvas.UserMouse(type,
                               {static_cast<double>(e.GetX()), static_cast<double>(e.GetY())});
            e.Skip();
        };
    }

    void OnWheel(wxMouseEvent& e)
    {
        const int delta = e.GetWheelDelta() > 0 ? e.GetWheelDelta() : 120;
        const int steps = e.GetWheelRotation() / delta;
        if (steps != 0)
            m_Canvas.UserWheel({static_cast<double>(e.GetX()), static_cast<double>(e.GetY())},
                               steps);
    }

    const CCanvasState* State() const
    {
        const CControlState* s = m_Canvas.GetParent()->FindItem(m_Canvas.GetDlgCtrlID());
        return s ? s->KindState<CCanvasState>() : nullptr;
    }

    void OnSize(wxSizeEvent& e)
    {
        const wxSize size = GetClientSize();
        if (size.x > 0 && size.y > 0) m_Canvas.SetDeviceSize(size.x, size.y);
        Refresh();
        e.Skip();
    }

    void OnPaint(wxPaintEvent&)
    {
        wxAutoBufferedPaintDC dc(this);
        const CCanvasState* state = State();
        if (!state) return;
        const std::vector<std::uint8_t> rgb = state->RenderRgb();
        wxImage image(state->m_Width, state->m_Height, false);
        std::memcpy(image.GetData(), rgb.data(), rgb.size());
        dc.DrawBitmap(wxBitmap(image), 0, 0);
    }

    void ShowMenu()
    {
        const CCanvasState* state = State();
        if (!state || state->m_Menu.empty()) return;
        wxMenu menu;
        for (size_t i = 0; i < state->m_Menu.size(); ++i)
            menu.Append(static_cast<int>(i + 1), wxString::FromUTF8(state->m_Menu[i].m_Text));
        const int chosen = GetPopupMenuSelectionFromUser(menu);
        // The handler may change the menu; look the item up again.
        state = State();
        if (state && chosen > 0 && chosen <= static_cast<int>(state->m_Menu.size()))
            m_Canvas.UserChooseMenuItem(state->m_Menu[chosen - 1].m_Id);
    }

    CCanvas m_Canvas;
};

class CCanvasView : public CWxControlView
{
public:
    wxWindow* Create(CWxDialogView& view, CControlState& s) const override
    {
        return new CCanvasWindow(view, s.Id());
    }
    void Sync(const CControlState& s, wxWindow* w) const override
    {
        const auto* canvas = s.KindState<CCanvasState>();
        const wxString tip = canvas ? wxString::FromUTF8(canvas->m_Tooltip) : wxString();
        if (tip.empty())
            w->UnsetToolTip();
        else if (w->GetToolTipText() != tip)
            w->SetToolTip(tip);
        w->Refresh();
    }
};
} // namespace

std::shared_ptr<const CWxControlView> WxCanvasView()
{
    return std::make_shared<CCanvasView>();
}
