// A retained 2D graphics window on the platform's canvas: a total world extent and a visible
// window onto it, primitives kept in segments on 16 priority levels, a rubber-band zoom, and
// captures of what it shows (as an image and as a vector drawing).
#pragma once
#include "platform/Canvas.h"

#include <map>
#include <vector>

namespace volumira3d
{
struct CWorldRect
{
    double x0 = 0, y0 = 0, x1 = 1, y1 = 1;
    double Width() const { return x1 - x0; }
    double Height() const { return y1 - y0; }
};

class CDisplayWnd
{
public:
    static constexpr int NrLevels = CCanvasState::NrLayers;

    CDisplayWnd() = default;
    virtual ~CDisplayWnd() = default;

    // Binds the window to a canvas control and takes over its mouse.
    void Attach(CDialog* pDlg, int canvasId);
    bool IsAttached() const { return m_Canvas.IsAttached(); }
    // The drawing's size in pixels; false when not attached.
    bool DeviceSize(int& width, int& height) const;

    // Both recompute the mapping: a window narrower than the extent is moved back inside it
    // (first against the lower, then against the upper bound, per axis), a wider one centred.
    void SetTotalExtent(const CWorldRect& extent);
    void SetWindow(const CWorldRect& window);
    const CWorldRect& Extent() const { return m_Extent; }
    const CWorldRect& Window() const { return m_Window; }

    // Opening a segment id first deletes any segment with that id on any level; primitives go
    // to the open segment.
    void OpenSegment(long id, int level);
    void CloseSegment() { m_pOpen = nullptr; }
    void DeleteSegment(long id);
    void DeleteAll();
    void Line(CCanvasPoint a, CCanvasPoint b, COLORREF color, double width = 1);
    void FilledRect(CCanvasPoint a, CCanvasPoint b, COLORREF color);
    void Text(CCanvasPoint at, const std::string& text, double height, COLORREF color);
    int PrimitiveCount() const;

    // Hands the segments (and the rubber band or crosshair, when shown) to the canvas.
    void Redraw();

    // The segments alone, as the window shows them: 24-bit RGB rows top first, and SVG.
    std::vector<std::uint8_t> CaptureRgb(int& width, int& height) const;
    std::string CaptureSvg() const;

    // Mouse input of the zoom mode (the canvas calls it).
    void OnMouse(const CCanvasMouseEvent& event);
    // A cyan crosshair follows the pointer (it is not part of captures).
    void ShowCrosshair(bool show) { m_Crosshair = show; }

private:
    void UpdateCrosshair(CCanvasPoint at);
    static void Fit(double& w0, double& w1, double e0, double e1);
    CCanvasState* State() const;
    CCanvasState PictureState() const;

    CCanvas m_Canvas;
    CWorldRect m_Extent, m_Window;
    std::map<long, std::vector<CCanvasPrimitive>> m_Levels[NrLevels];
    std::vector<CCanvasPrimitive>* m_pOpen = nullptr;
    int m_OpenLevel = 0;
    bool m_Dragging = false;
    CCanvasPoint m_DragStart;
    bool m_Crosshair = false;
    // Drawn over the segments, not part of the picture: the rubber band and the crosshair.
    std::vector<CCanvasPrimitive> m_RubberBand, m_CrosshairLines;
};
} // namespace volumira3d
