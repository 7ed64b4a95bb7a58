// A test-only plug-in whose dialog holds a 2D canvas, so that end-to-end runs can drive the
// canvas through the host as a user would.
#include "frame/PlugInApp.h"
#include "platform/Canvas.h"
#include "platform/UiServices.h"

namespace canvasdemo
{
enum : int
{
    IDC_CANVAS = 100,
    IDC_STATUS = 101,
    ID_MENU_CLEAR = 201,
    ID_MENU_MARK = 202,
};

class CCanvasDemoDlg : public CDialog
{
public:
    CCanvasDemoDlg() : CDialog(Template())
    {
        MapCommand(ID_MENU_CLEAR, BN_CLICKED, &CCanvasDemoDlg::OnClear);
        MapCommand(ID_MENU_MARK, BN_CLICKED, &CCanvasDemoDlg::OnMark);
    }

    static CDlgTemplate Template()
    {
        CDlgTemplate t;
        t.m_Caption = "Canvas Demo";
        t.m_Width = 220;
        t.m_Height = 170;
        t.Custom(CCanvasState::KindName, IDC_CANVAS, 7, 7, 206, 130);
        t.Add(ECtrlKind::Static, IDC_STATUS, "ready", 7, 145, 206, 10);
        return t;
    }

    BOOL OnInitDialog() override
    {
        m_Canvas.Attach(this, IDC_CANVAS);
        m_Canvas.SetWorldWindow(0, 0, 10, 10);
        m_Canvas.AppendMenuItem(ID_MENU_CLEAR, "Clear");
        m_Canvas.AppendMenuItem(ID_MENU_MARK, "Mark centre");
        m_Canvas.SetMouseHandler([this](const CCanvasMouseEvent& e) { OnMouse(e); });
        Draw();
        return CDialog::OnInitDialog();
    }

private:
    void Draw()
    {
        m_Canvas.DeleteAll();
        m_Canvas.AddFilledRect({1, 1}, {9, 9}, RGB(200, 220, 255), 0);
        m_Canvas.AddPolygon({{2, 2}, {8, 2}, {5, 8}}, RGB(0, 150, 0), true, 2);
        m_Canvas.AddFilledRect({4, 3}, {6, 5}, RGB(255, 0, 0), 1); // under the triangle
        m_Canvas.AddLine({0, 0}, {10, 10}, RGB(0, 0, 0), 2, 3);
        m_Canvas.AddText({1.2, 9.2}, "Canvas", 0.6, RGB(0, 0, 128), 4);
    }
    void OnMouse(const CCanvasMouseEvent& e)
    {
        if (e.m_Type != ECanvasMouse::Up) return;
        SetDlgItemText(IDC_STATUS, Format("clicked at %.2f %.2f", e.m_World.x, e.m_World.y));
    }
    void OnClear()
    {
        m_Canvas.DeleteAll();
        SetDlgItemText(IDC_STATUS, "cleared");
    }
    void OnMark()
    {
        m_Canvas.AddPolygon({{4.5, 4.5}, {5.5, 4.5}, {5.5, 5.5}, {4.5, 5.5}}, RGB(255, 0, 255),
                            false, 15);
        SetDlgItemText(IDC_STATUS, "marked");
    }

    CCanvas m_Canvas;
};

class CCanvasDemoApp : public CPlugInApp
{
public:
    CCanvasDemoApp() : CPlugInApp({301, "CanvasDemo", "Canvas Demo", "CanvasDemo Icon", ""}) {}
    void OnRender(HDC, HGLRC, int, int) override {}
    void OnPostRender(HDC, HGLRC, int, int) override {}
    void Box(CVector& min, CVector& max) override { min = max = CVector{}; }

protected:
    std::unique_ptr<CDialog> CreateMainDialog(CHostInterface*) override
    {
        auto dlg = std::make_unique<CCanvasDemoDlg>();
        dlg->Create();
        return dlg;
    }
};

CCanvasDemoApp theApp;
} // namespace canvasdemo

CPlugInApp& AfxGetPlugInApp()
{
    return canvasdemo::theApp;
}
