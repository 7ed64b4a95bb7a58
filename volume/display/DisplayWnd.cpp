#include "volume/display/DisplayWnd.h"

#include <algorithm>
#include <cmath>

namespace volumira3d
{
void CDisplayWnd::Attach(CDialog* pDlg, int canvasId)
{
    m_Canvas.Attach(pDlg, canvasId);
    m_Canvas.SetMouseHandler([this](const CCanvasMouseEvent& e) { OnMouse(e); });
}

CCanvasState* CDisplayWnd::State() const
{
    if (!m_Canvas.IsAttached()) return nullptr;
    CControlState* s = m_Canvas.GetParent()->FindItem(m_Canvas.GetDlgCtrlID());
    return s ? s->KindState<CCanvasState>() : nullptr;
}

bool CDisplayWnd::DeviceSize(int& width, int& height) const
{
    const CCanvasState* state = State();
    if (!state) return false;
    width = state->m_Width;
    height = state->m_Height;
    return true;
}

void CDisplayWnd::Fit(double& w0, double& w1, double e0, double e1)
{
    const double width = w1 - w0;
    if (width < e1 - e0)
    {
        if (w0 < e0) w0 = e0, w1 = e0 + width;
        if (w1 > e1) w1 = e1, w0 = e1 - width;
        return;
    }
    const double centre = 0.5 * (e0 + e1);
    w0 = centre - 0.5 * width;
    w1 = centre + 0.5 * width;
}

void CDisplayWnd::SetTotalExtent(const CWorldRect& extent)
{
    m_Extent = extent;
    SetWindow(m_Window);
}

void CDisplayWnd::SetWindow(const CWorldRect& window)
{
    CWorldRect w = window;
    if (!(w.Width() > 0) || !(w.Height() > 0)) return;
    Fit(w.x0, w.x1, m_Extent.x0, m_Extent.x1);
    Fit(w.y0, w.y1, m_Extent.y0, m_Extent.y1);
    m_Window = w;
    m_Canvas.SetWorldWindow(w.x0, w.y0, w.x1, w.y1);
}

void CDisplayWnd::OpenSegment(long id, int level)
{
    DeleteSegment(id);
    m_OpenLevel = std::clamp(level, 0, NrLevels - 1);
    m_pOpen = &m_Levels[m_OpenLevel][id];
}

void CDisplayWnd::DeleteSegment(long id)
{
    for (auto& level : m_Levels)
        if (auto it = level.find(id); it != level.end())
        {
            if (&it->second == m_pOpen) m_pOpen = nullptr;
            level.erase(it);
        }
}

void CDisplayWnd::DeleteAll()
{
    for (auto& level : m_Levels)
        level.clear();
    m_pOpen = nullptr;
}

void CDisplayWnd::Line(CCanvasPoint a, CCanvasPoint b, COLORREF color, double width)
{
    if (m_pOpen)
        m_pOpen->push_back({ECanvasShape::Line, m_OpenLevel, color, width, false, {a, b}, {}, 0});
}

void CDisplayWnd::FilledRect(CCanvasPoint a, CCanvasPoint b, COLORREF color)
{
    if (m_pOpen)
        m_pOpen->push_back({ECanvasShape::Rectangle, m_OpenLevel, color, 1, true, {a, b}, {}, 0});
}

void CDisplayWnd::Text(CCanvasPoint at, const std::string& text, double height, COLORREF color)
{
    if (m_pOpen)
        m_pOpen->push_back({ECanvasShape::Text, m_OpenLevel, color, 1, true, {at}, text, height});
}

int CDisplayWnd::PrimitiveCount() const
{
    size_t n = 0;
    for (const auto& level : m_Levels)
        for (const auto& [id, segment] : level)
            n += segment.size();
    return int(n);
}

void CDisplayWnd::Redraw()
{
    CCanvasState* state = State();
    if (!state) return;
    state->m_Primitives = PictureState().m_Primitives;
    for (const auto* overlay : {&m_RubberBand, &m_CrosshairLines})
        state->m_Primitives.insert(state->m_Primitives.end(), overlay->begin(), overlay->end());
    m_Canvas.GetParent()->ControlChanged(m_Canvas.GetDlgCtrlID());
}

CCanvasState CDisplayWnd::PictureState() const
{
    CCanvasState picture;
    if (const CCanvasState* state = State())
    {
        picture.m_Width = state->m_Width;
        picture.m_Height = state->m_Height;
        picture.m_WorldMin = state->m_WorldMin;
        picture.m_WorldMax = state->m_WorldMax;
        picture.m_Background = state->m_Background;
    }
    for (const auto& level : m_Levels)
        for (const auto& [id, segment] : level)
            picture.m_Primitives.insert(picture.m_Primitives.end(), segment.begin(), segment.end());
    return picture;
}

std::vector<std::uint8_t> CDisplayWnd::CaptureRgb(int& width, int& height) const
{
    const CCanvasState picture = PictureState();
    width = picture.m_Width;
    height = picture.m_Height;
    return picture.RenderRgb();
}

std::string CDisplayWnd::CaptureSvg() const
{
    return PictureState().RenderSvg();
}

void CDisplayWnd::UpdateCrosshair(CCanvasPoint at)
{
    m_CrosshairLines.clear();
    if (!m_Crosshair) return;
    const COLORREF cyan = RGB(0, 255, 255);
    m_CrosshairLines.push_back({ECanvasShape::Line,
                                NrLevels - 1,
                                cyan,
                                1,
                                false,
                                {{m_Window.x0, at.y}, {m_Window.x1, at.y}},
                                {},
                                0});
    m_CrosshairLines.push_back({ECanvasShape::Line,
                                NrLevels - 1,
                                cyan,
                                1,
                                false,
                                {{at.x, m_Window.y0}, {at.x, m_Window.y1}},
                                {},
                                0});
}

void CDisplayWnd::OnMouse(const CCanvasMouseEvent& e)
{
    UpdateCrosshair(e.m_World);
    switch (e.m_Type)
    {
    case ECanvasMouse::Down:
        m_Dragging = true;
        m_DragStart = e.m_World;
        break;
    case ECanvasMouse::Move:
    {
        if (!m_Dragging) break;
        // The rubber band: a rectangle outline from the start to the pointer.
        const CCanvasPoint a = m_DragStart, b = e.m_World;
        m_RubberBand.assign(1, {ECanvasShape::Polygon,
                                NrLevels - 1,
                                RGB(0, 0, 0),
                                1,
                                false,
                                {{a.x, a.y}, {b.x, a.y}, {b.x, b.y}, {a.x, b.y}},
                                {},
                                0});
        break;
    }
    case ECanvasMouse::Up:
    {
        if (!m_Dragging) break;
        m_Dragging = false;
        m_RubberBand.clear();
        const CWorldRect r{
            std::min(m_DragStart.x, e.m_World.x), std::min(m_DragStart.y, e.m_World.y),
            std::max(m_DragStart.x, e.m_World.x), std::max(m_DragStart.y, e.m_World.y)};
        // A click without a drag leaves the window as it is.
        if (r.Width() > 0 && r.Height() > 0) SetWindow(r);
        break;
    }
    case ECanvasMouse::Wheel: // the legend zooms by rectangle only
        break;
    }
    Redraw();
}
} // namespace volumira3d
