// The GL view of the GUI host: draws the scene and lets the user orbit, pan and zoom.
#pragma once
#include "frame/HostApi.h"
#include "host/Scene.h"

#include <wx/glcanvas.h>

#include <memory>

class CViewCanvas : public wxGLCanvas, public CRenderContext
{
public:
    CViewCanvas(wxWindow* parent, CScene& scene);
    void FitView();
    bool MakeCurrent(HDC dc) override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnMouse(wxMouseEvent& event);
    void OnKey(wxKeyEvent& event);

    CScene& m_Scene;
    std::unique_ptr<wxGLContext> m_pContext;
    wxPoint m_LastMouse;
    bool m_Fitted = false;
};
