// The 2D canvas control ("Canvas"): a retained drawing surface. Dialog code adds primitives in
// world coordinates (y up) to priority layers (0 is drawn first), gives it a context menu whose
// items arrive as commands (item id, BN_CLICKED) and a mouse handler. Headless it is painted into
// a Cairo image; the wx backend paints the same drawing into its window. Saving writes the image
// as PNG or BMP and the drawing as SVG, chosen by the file's extension.
#pragma once
#include "platform/Controls.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

typedef struct _cairo cairo_t; // NOLINT(bugprone-reserved-identifier): cairo's own name

struct CCanvasPoint
{
    double x = 0, y = 0;
};

enum class ECanvasShape
{
    Line,
    Polygon,
    Rectangle, // filled, axis-aligned; m_Points holds two corners
    Text,      // m_Points[0] is the left end of the baseline
};

struct CCanvasPrimitive
{
    ECanvasShape m_Shape = ECanvasShape::Line;
    int m_Layer = 0;
    COLORREF m_Color = 0;
    double m_Width = 1; // lines and outlines, in pixels
    bool m_Filled = false;
    std::vector<CCanvasPoint> m_Points; // world coordinates
    std::string m_Text;
    double m_Height = 0; // text height in world units
};

// Drawing done by code of its own (a plotting library, say) with the canvas's Cairo context, in
// device pixels; width and height are the canvas's size.
using CCanvasPaintFn = std::function<void(cairo_t* cr, int width, int height)>;

struct CCanvasPainter
{
    int m_Layer = 0;
    CCanvasPaintFn m_Paint;
};

struct CCanvasMenuItem
{
    UINT m_Id = 0;
    std::string m_Text;
};

enum class ECanvasMouse
{
    Down,
    Move,
    Up,
    Wheel,
};

struct CCanvasMouseEvent
{
    ECanvasMouse m_Type = ECanvasMouse::Down;
    CCanvasPoint m_Device; // pixels from the top left corner
    CCanvasPoint m_World;
    int m_WheelSteps = 0; // Wheel: notches turned, positive away from the user
};

struct CCanvasState : CControlKindState
{
    static constexpr const char* KindName = "Canvas";
    static constexpr int NrLayers = 16;

    int m_Width = 1, m_Height = 1; // pixels
    CCanvasPoint m_WorldMin{0, 0}, m_WorldMax{1, 1};
    COLORREF m_Background = RGB(255, 255, 255);
    std::vector<CCanvasPrimitive> m_Primitives;
    std::vector<CCanvasPainter> m_Painters;
    std::vector<CCanvasMenuItem> m_Menu;
    std::function<void(const CCanvasMouseEvent&)> m_OnMouse;
    std::string m_Tooltip; // shown while the mouse rests over the canvas; empty: none

    // The world window fills the whole device area; y grows upwards in the world.
    CCanvasPoint ToDevice(CCanvasPoint world) const;
    CCanvasPoint ToWorld(CCanvasPoint device) const;
    // Background, then layer by layer the painters and the primitives (in the order added).
    void Paint(cairo_t* cr) const;
    // The painted image, three bytes (red, green, blue) per pixel, rows top first.
    std::vector<std::uint8_t> RenderRgb() const;
    // The drawing as an SVG document (empty when Cairo fails).
    std::string RenderSvg() const;
};

class CCanvas : public CWnd
{
public:
    using CWnd::CWnd;
    // False (nothing changed) for an empty window or a control that is no canvas.
    BOOL SetWorldWindow(double xMin, double yMin, double xMax, double yMax);
    // The size of the drawing in pixels (the window's client size under a window).
    BOOL SetDeviceSize(int width, int height);
    void DeleteAll();
    // These return FALSE (and draw nothing) for a layer outside 0..15 or too few points.
    BOOL AddLine(CCanvasPoint from, CCanvasPoint to, COLORREF color, double width = 1,
                 int layer = 0);
    BOOL AddPolygon(const std::vector<CCanvasPoint>& points, COLORREF color, bool filled,
                    int layer = 0);
    BOOL AddFilledRect(CCanvasPoint corner1, CCanvasPoint corner2, COLORREF color, int layer = 0);
    BOOL AddText(CCanvasPoint at, const std::string& text, double height, COLORREF color,
                 int layer = 0);
    // The painter runs on every paint (window, image, SVG) with the layer's other drawing.
    BOOL AddPainter(CCanvasPaintFn paint, int layer = 0);
    void AppendMenuItem(UINT id, const std::string& text);
    void SetMouseHandler(std::function<void(const CCanvasMouseEvent&)> handler);
    void SetTooltip(const std::string& text);
    std::string GetTooltip() const;
    int GetPrimitiveCount() const;
    CCanvasPoint ToWorld(CCanvasPoint device) const;
    CCanvasPoint ToDevice(CCanvasPoint world) const;

    // Writes PNG, BMP or SVG by the extension of path; false with a message in error.
    bool Save(const std::string& path, std::string& error) const;
    // The drawing (size, content, image); null before the canvas is attached or created.
    const CCanvasState* CanvasState() const;

    // What a user does: a mouse event at a device position, and choosing a context menu item.
    // False (and nothing happens) when the control cannot be used or the item does not exist.
    bool UserMouse(ECanvasMouse type, CCanvasPoint device);
    bool UserWheel(CCanvasPoint device, int steps);
    bool UserChooseMenuItem(UINT id);

private:
    CCanvasState* Canvas() const;
    // The canvas a user can act on now: null when disabled or hidden.
    CCanvasState* UsableCanvas() const;
    BOOL Add(CCanvasPrimitive primitive);
};
