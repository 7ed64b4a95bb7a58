#include "host/gui/ViewCanvas.h"

#include <wx/dcclient.h>

namespace
{
wxGLAttributes CanvasAttributes()
{
    wxGLAttributes attrs;
    attrs.PlatformDefaults().RGBA().DoubleBuffer().Depth(24).EndList();
    return attrs;
}
} // namespace

CViewCanvas::CViewCanvas(wxWindow* parent, CScene& scene)
    : wxGLCanvas(parent, CanvasAttributes(), wxID_ANY, wxDefaultPosition, wxDefaultSize,
                 wxFULL_REPAINT_ON_RESIZE | wxWANTS_CHARS),
      m_Scene(scene)
{
    m_pContext = std::make_unique<wxGLContext>(this);
    Bind(wxEVT_PAINT, &CViewCanvas::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CViewCanvas::OnMouse, this);
    Bind(wxEVT_RIGHT_DOWN, &CViewCanvas::OnMouse, this);
    Bind(wxEVT_MIDDLE_DOWN, &CViewCanvas::OnMouse, this);
    Bind(wxEVT_MOTION, &CViewCanvas::OnMouse, this);
    Bind(wxEVT_MOUSEWHEEL, &CViewCanvas::OnMouse, this);
    Bind(wxEVT_CHAR, &CViewCanvas::OnKey, this);
}

bool CViewCanvas::MakeCurrent(HDC)
{
    return IsShownOnScreen() && SetCurrent(*m_pContext);
}

// The fit needs the view's size: the next paint does it.
void CViewCanvas::FitView()
{
    m_Fitted = false;
    Refresh();
}

void CViewCanvas::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    if (!MakeCurrent(nullptr)) return;
    const wxSize size = GetClientSize() * GetContentScaleFactor();
    if (!m_Fitted) // the first data that appears is brought into view
        m_Fitted = m_Scene.FitCamera(size.x, size.y);
    m_Scene.Draw(size.x, size.y, nullptr, this);
    SwapBuffers();
}

void CViewCanvas::OnMouse(wxMouseEvent& event)
{
    const wxPoint pos = event.GetPosition();
    if (event.GetEventType() == wxEVT_MOUSEWHEEL)
    {
        m_Scene.Camera().Zoom(event.GetWheelRotation() > 0 ? 1.15 : 1 / 1.15);
        Refresh();
        return;
    }
    if (event.Dragging())
    {
        const wxPoint d = pos - m_LastMouse;
        if (event.LeftIsDown() && !event.ShiftDown())
            m_Scene.Camera().Orbit(-d.x * 0.4, -d.y * 0.4);
        else
            m_Scene.Camera().Pan(d.x, d.y, GetClientSize().y);
        Refresh();
    }
    if (event.ButtonDown()) SetFocus();
    m_LastMouse = pos;
    event.Skip();
}

void CViewCanvas::OnKey(wxKeyEvent& event)
{
    switch (event.GetKeyCode())
    {
    case 'f':
    case 'F':
        FitView();
        break;
    case '+':
        m_Scene.Camera().Zoom(1.25);
        Refresh();
        break;
    case '-':
        m_Scene.Camera().Zoom(0.8);
        Refresh();
        break;
    default:
        event.Skip();
    }
}
