#include "platform/Canvas.h"

#include "platform/Bmp.h"
#include "platform/Offscreen.h"
#include "platform/SafeWrite.h"
#include "platform/ScriptVerbs.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <sstream>

namespace
{
// Template sizes are dialog units; headless, a canvas is as large as under the default font.
constexpr double PixelsPerUnitX = 1.5, PixelsPerUnitY = 1.625;

// Line ends shown as \n so that a description stays on one line.
std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

class CCanvasKind : public CControlKind
{
public:
    std::string Name() const override { return CCanvasState::KindName; }
    std::string DumpName() const override { return "canvas"; }
    std::unique_ptr<CControlKindState> NewState() const override
    {
        return std::make_unique<CCanvasState>();
    }
    void Init(CControlState& s) const override
    {
        auto* canvas = s.KindState<CCanvasState>();
        const CRect& r = s.m_Template.m_Rect;
        canvas->m_Width = std::max(1, static_cast<int>(std::lround(r.Width() * PixelsPerUnitX)));
        canvas->m_Height = std::max(1, static_cast<int>(std::lround(r.Height() * PixelsPerUnitY)));
    }
    std::string Describe(const CControlState& s) const override
    {
        const auto* c = s.KindState<CCanvasState>();
        std::ostringstream os;
        os << c->m_Width << "x" << c->m_Height << " world " << c->m_WorldMin.x << " "
           << c->m_WorldMin.y << " " << c->m_WorldMax.x << " " << c->m_WorldMax.y << ", "
           << c->m_Primitives.size() << " primitives";
        if (!c->m_Tooltip.empty()) os << ", tooltip \"" << Escaped(c->m_Tooltip) << "\"";
        return os.str();
    }
};

void SetColor(cairo_t* cr, COLORREF c)
{
    cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

void PathOf(const CCanvasState& canvas, const CCanvasPrimitive& p, cairo_t* cr)
{
    for (size_t i = 0; i < p.m_Points.size(); ++i)
    {
        const CCanvasPoint d = canvas.ToDevice(p.m_Points[i]);
        if (i == 0)
            cairo_move_to(cr, d.x, d.y);
        else
            cairo_line_to(cr, d.x, d.y);
    }
}

void PaintPrimitive(const CCanvasState& canvas, const CCanvasPrimitive& p, cairo_t* cr)
{
    SetColor(cr, p.m_Color);
    cairo_set_line_width(cr, p.m_Width);
    switch (p.m_Shape)
    {
    case ECanvasShape::Line:
        PathOf(canvas, p, cr);
        cairo_stroke(cr);
        break;
    case ECanvasShape::Polygon:
        PathOf(canvas, p, cr);
        cairo_close_path(cr);
        p.m_Filled ? cairo_fill(cr) : cairo_stroke(cr);
        break;
    case ECanvasShape::Rectangle:
    {
        const CCanvasPoint a = canvas.ToDevice(p.m_Points[0]), b = canvas.ToDevice(p.m_Points[1]);
        cairo_rectangle(cr, std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x),
                        std::abs(b.y - a.y));
        cairo_fill(cr);
        break;
    }
    case ECanvasShape::Text:
    {
        const double worldHeight = std::abs(canvas.m_WorldMax.y - canvas.m_WorldMin.y);
        const CCanvasPoint at = canvas.ToDevice(p.m_Points[0]);
        cairo_set_font_size(cr, p.m_Height * canvas.m_Height / worldHeight);
        cairo_move_to(cr, at.x, at.y);
        cairo_show_text(cr, p.m_Text.c_str());
        cairo_new_path(cr);
        break;
    }
    }
}

// A painter gets a clean context and cannot leave its settings behind for what follows.
void PaintOwn(const CCanvasPainter& painter, cairo_t* cr, int width, int height)
{
    cairo_save(cr);
    cairo_new_path(cr);
    painter.m_Paint(cr, width, height);
    cairo_restore(cr);
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool SavePng(const CCanvasState& canvas, const std::string& path, std::string& error)
{
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, canvas.m_Width, canvas.m_Height);
    cairo_t* cr = cairo_create(surface);
    canvas.Paint(cr);
    cairo_destroy(cr);
    const bool ok = WriteSurfacePng(surface, path, error);
    cairo_surface_destroy(surface);
    return ok;
}

bool SaveSvg(const CCanvasState& canvas, const std::string& path, std::string& error)
{
    const std::string temp = PartName(path);
    cairo_surface_t* surface =
        cairo_svg_surface_create(temp.c_str(), canvas.m_Width, canvas.m_Height);
    cairo_t* cr = cairo_create(surface);
    canvas.Paint(cr);
    const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const cairo_status_t status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (!drawn || status != CAIRO_STATUS_SUCCESS)
        return AbandonFile(temp, path, cairo_status_to_string(status), error);
    return CommitFile(temp, path, error);
}
} // namespace

CCanvasPoint CCanvasState::ToDevice(CCanvasPoint w) const
{
    return {(w.x - m_WorldMin.x) / (m_WorldMax.x - m_WorldMin.x) * m_Width,
            (m_WorldMax.y - w.y) / (m_WorldMax.y - m_WorldMin.y) * m_Height};
}

CCanvasPoint CCanvasState::ToWorld(CCanvasPoint d) const
{
    return {m_WorldMin.x + d.x / m_Width * (m_WorldMax.x - m_WorldMin.x),
            m_WorldMax.y - d.y / m_Height * (m_WorldMax.y - m_WorldMin.y)};
}

void CCanvasState::Paint(cairo_t* cr) const
{
    SetColor(cr, m_Background);
    cairo_paint(cr);
    for (int layer = 0; layer < NrLayers; ++layer)
    {
        for (const auto& painter : m_Painters)
            if (painter.m_Layer == layer) PaintOwn(painter, cr, m_Width, m_Height);
        for (const auto& p : m_Primitives)
            if (p.m_Layer == layer) PaintPrimitive(*this, p, cr);
    }
}

std::string CCanvasState::RenderSvg() const
{
    std::string svg;
    auto append = [](void* closure, const unsigned char* data, unsigned int length)
    {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
        return CAIRO_STATUS_SUCCESS;
    };
    cairo_surface_t* surface = cairo_svg_surface_create_for_stream(append, &svg, m_Width, m_Height);
    cairo_t* cr = cairo_create(surface);
    Paint(cr);
    const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool ok = drawn && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok ? svg : std::string();
}

std::vector<std::uint8_t> CCanvasState::RenderRgb() const
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, m_Width, m_Height);
    cairo_t* cr = cairo_create(surface);
    Paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    std::vector<std::uint8_t> rgb;
    rgb.reserve(static_cast<size_t>(m_Width) * m_Height * 3);
    for (int y = 0; y < m_Height && data; ++y)
    {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < m_Width; ++x)
        {
            rgb.push_back((row[x] >> 16) & 0xff);
            rgb.push_back((row[x] >> 8) & 0xff);
            rgb.push_back(row[x] & 0xff);
        }
    }
    cairo_surface_destroy(surface);
    return rgb;
}

// Null before the canvas is attached: every call on it is then refused, not a crash.
CCanvasState* CCanvas::Canvas() const
{
    return IsAttached() ? State().KindState<CCanvasState>() : nullptr;
}

BOOL CCanvas::SetWorldWindow(double xMin, double yMin, double xMax, double yMax)
{
    CCanvasState* c = Canvas();
    if (!c || !(xMax != xMin) || !(yMax != yMin) || !std::isfinite(xMax - xMin) ||
        !std::isfinite(yMax - yMin))
        return FALSE;
    c->m_WorldMin = {xMin, yMin};
    c->m_WorldMax = {xMax, yMax};
    Changed();
    return TRUE;
}

BOOL CCanvas::SetDeviceSize(int width, int height)
{
    CCanvasState* c = Canvas();
    if (!c || width <= 0 || height <= 0 || width > 1 << 14 || height > 1 << 14) return FALSE;
    if (c->m_Width == width && c->m_Height == height) return TRUE;
    c->m_Width = width;
    c->m_Height = height;
    Changed();
    return TRUE;
}

void CCanvas::DeleteAll()
{
    if (CCanvasState* c = Canvas())
    {
        c->m_Primitives.clear();
        c->m_Painters.clear();
    }
    Changed();
}

BOOL CCanvas::AddPainter(CCanvasPaintFn paint, int layer)
{
    CCanvasState* c = Canvas();
    if (!c || !paint || layer < 0 || layer >= CCanvasState::NrLayers) return FALSE;
    c->m_Painters.push_back({layer, std::move(paint)});
    Changed();
    return TRUE;
}

BOOL CCanvas::Add(CCanvasPrimitive p)
{
    CCanvasState* c = Canvas();
    if (!c || p.m_Layer < 0 || p.m_Layer >= CCanvasState::NrLayers) return FALSE;
    c->m_Primitives.push_back(std::move(p));
    Changed();
    return TRUE;
}

BOOL CCanvas::AddLine(CCanvasPoint from, CCanvasPoint to, COLORREF color, double width, int layer)
{
    return Add({ECanvasShape::Line, layer, color, width, false, {from, to}, {}, 0});
}

BOOL CCanvas::AddPolygon(const std::vector<CCanvasPoint>& points, COLORREF color, bool filled,
                         int layer)
{
    if (points.size() < 3) return FALSE;
    return Add({ECanvasShape::Polygon, layer, color, 1, filled, points, {}, 0});
}

BOOL CCanvas::AddFilledRect(CCanvasPoint corner1, CCanvasPoint corner2, COLORREF color, int layer)
{
    return Add({ECanvasShape::Rectangle, layer, color, 1, true, {corner1, corner2}, {}, 0});
}

BOOL CCanvas::AddText(CCanvasPoint at, const std::string& text, double height, COLORREF color,
                      int layer)
{
    if (!(height > 0)) return FALSE;
    return Add({ECanvasShape::Text, layer, color, 1, true, {at}, text, height});
}

void CCanvas::AppendMenuItem(UINT id, const std::string& text)
{
    if (CCanvasState* c = Canvas()) c->m_Menu.push_back({id, text});
}

void CCanvas::SetMouseHandler(std::function<void(const CCanvasMouseEvent&)> handler)
{
    if (CCanvasState* c = Canvas()) c->m_OnMouse = std::move(handler);
}

void CCanvas::SetTooltip(const std::string& text)
{
    CCanvasState* c = Canvas();
    if (!c || c->m_Tooltip == text) return;
    c->m_Tooltip = text;
    Changed();
}

std::string CCanvas::GetTooltip() const
{
    const CCanvasState* c = Canvas();
    return c ? c->m_Tooltip : std::string();
}

int CCanvas::GetPrimitiveCount() const
{
    const CCanvasState* c = Canvas();
    return c ? static_cast<int>(c->m_Primitives.size()) : 0;
}

CCanvasPoint CCanvas::ToWorld(CCanvasPoint device) const
{
    const CCanvasState* c = Canvas();
    return c ? c->ToWorld(device) : device;
}

CCanvasPoint CCanvas::ToDevice(CCanvasPoint world) const
{
    const CCanvasState* c = Canvas();
    return c ? c->ToDevice(world) : world;
}

bool CCanvas::Save(const std::string& path, std::string& error) const
{
    const CCanvasState* c = Canvas();
    if (!c)
    {
        error = "the control is no canvas";
        return false;
    }
    const std::string ext = Lower(std::filesystem::path(path).extension().string());
    bool ok = false;
    if (ext == ".png")
        ok = SavePng(*c, path, error);
    else if (ext == ".bmp")
        ok = WriteBmp(path, c->m_Width, c->m_Height, c->RenderRgb(), &error);
    else if (ext == ".svg")
        ok = SaveSvg(*c, path, error);
    else
    {
        error = "cannot tell the format of " + path + " (use .png, .bmp or .svg)";
        return false;
    }
    if (!ok && error.empty()) error = "cannot write " + path;
    return ok;
}

const CCanvasState* CCanvas::CanvasState() const
{
    const CControlState* s = IsAttached() ? m_pDlg->FindItem(m_Id) : nullptr;
    return s ? s->KindState<CCanvasState>() : nullptr;
}

CCanvasState* CCanvas::UsableCanvas() const
{
    CControlState* s = IsAttached() ? m_pDlg->UsableItem(m_Id) : nullptr;
    return s ? s->KindState<CCanvasState>() : nullptr;
}

bool CCanvas::UserMouse(ECanvasMouse type, CCanvasPoint device)
{
    CCanvasState* c = UsableCanvas();
    if (!c) return false;
    if (c->m_OnMouse) c->m_OnMouse({type, device, c->ToWorld(device), 0});
    return true;
}

bool CCanvas::UserWheel(CCanvasPoint device, int steps)
{
    CCanvasState* c = UsableCanvas();
    if (!c) return false;
    if (c->m_OnMouse) c->m_OnMouse({ECanvasMouse::Wheel, device, c->ToWorld(device), steps});
    return true;
}

bool CCanvas::UserChooseMenuItem(UINT id)
{
    CCanvasState* c = UsableCanvas();
    if (!c) return false;
    for (const auto& item : c->m_Menu)
        if (item.m_Id == id)
        {
            m_pDlg->Notify(static_cast<int>(id), BN_CLICKED);
            return true;
        }
    return false;
}

namespace
{
// The canvas of the addressed dialog named by the verb's first argument, or a reported failure.
bool FindCanvas(CScriptContext& context, const CScriptCommand& cmd, CCanvas& canvas)
{
    int id;
    if (!context.Int(cmd, 1, id)) return false;
    CDialog* dlg = context.CurrentDialog();
    const CControlState* s = dlg->FindItem(id);
    if (!s)
        return context.Fail(cmd,
                            "no control " + cmd.m_Args[1] + " in \"" + dlg->GetCaption() + "\"");
    if (!s->KindState<CCanvasState>())
        return context.Fail(cmd, "control " + cmd.m_Args[1] + " is no canvas");
    canvas.Attach(dlg, id);
    return true;
}

bool DevicePoint(CScriptContext& context, const CScriptCommand& cmd, size_t index,
                 CCanvasPoint& point)
{
    return context.Double(cmd, index, point.x) && context.Double(cmd, index + 1, point.y);
}

bool RunClick(CScriptContext& context, const CScriptCommand& cmd)
{
    CCanvas canvas;
    CCanvasPoint at;
    if (!FindCanvas(context, cmd, canvas) || !DevicePoint(context, cmd, 2, at)) return false;
    return (canvas.UserMouse(ECanvasMouse::Down, at) && canvas.UserMouse(ECanvasMouse::Up, at)) ||
           context.Fail(cmd, "the canvas cannot be used");
}

bool RunMouse(CScriptContext& context, const CScriptCommand& cmd)
{
    static const std::pair<const char*, ECanvasMouse> types[] = {
        {"down", ECanvasMouse::Down}, {"move", ECanvasMouse::Move}, {"up", ECanvasMouse::Up}};
    CCanvas canvas;
    CCanvasPoint at;
    if (!FindCanvas(context, cmd, canvas) || !DevicePoint(context, cmd, 3, at)) return false;
    for (const auto& [name, type] : types)
        if (cmd.m_Args[2] == name)
            return canvas.UserMouse(type, at) || context.Fail(cmd, "the canvas cannot be used");
    return context.Fail(cmd, "the mouse event must be down, move or up");
}

bool RunWheel(CScriptContext& context, const CScriptCommand& cmd)
{
    CCanvas canvas;
    CCanvasPoint at;
    int steps;
    if (!FindCanvas(context, cmd, canvas) || !DevicePoint(context, cmd, 2, at) ||
        !context.Int(cmd, 4, steps))
        return false;
    return canvas.UserWheel(at, steps) || context.Fail(cmd, "the canvas cannot be used");
}

bool RunMenu(CScriptContext& context, const CScriptCommand& cmd)
{
    CCanvas canvas;
    int item;
    if (!FindCanvas(context, cmd, canvas) || !context.Int(cmd, 2, item)) return false;
    return canvas.UserChooseMenuItem(static_cast<UINT>(item)) ||
           context.Fail(cmd, "no menu item " + cmd.m_Args[2]);
}

bool RunSave(CScriptContext& context, const CScriptCommand& cmd)
{
    CCanvas canvas;
    std::string error;
    if (!FindCanvas(context, cmd, canvas)) return false;
    if (!canvas.Save(cmd.m_Args[2], error)) return context.Fail(cmd, error);
    context.Out() << "saved " << cmd.m_Args[2] << "\n";
    return true;
}

const bool g_Registered = []
{
    CControlKinds::Register(std::make_shared<CCanvasKind>());
    CScriptVerbs::Register({"canvasclick", "canvasclick ID X Y", 3, 3, true, false, RunClick});
    CScriptVerbs::Register(
        {"canvasmouse", "canvasmouse ID down|move|up X Y", 4, 4, true, false, RunMouse});
    CScriptVerbs::Register(
        {"canvaswheel", "canvaswheel ID X Y STEPS", 4, 4, true, false, RunWheel});
    CScriptVerbs::Register({"canvasmenu", "canvasmenu ID ITEMID", 2, 2, true, false, RunMenu});
    CScriptVerbs::Register({"canvassave", "canvassave ID PATH", 2, 2, true, false, RunSave});
    return true;
}();
} // namespace
