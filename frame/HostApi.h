// What a plug-in sees of the host: its toolbar, its interface object and the opaque handles of
// the device and GL contexts it draws into.
#pragma once
#include "common/Vector.h"
#include "platform/Win.h"

#include <ostream>
#include <string>

// A toolbar button object of the framework: command id, image index, caption, two flags.
class CToolbarButton
{
public:
    CToolbarButton(int commandId, int image, std::string caption, bool flag1 = false,
                   bool flag2 = false)
        : m_CommandId(commandId), m_Image(image), m_Caption(std::move(caption)), m_Flag1(flag1),
          m_Flag2(flag2)
    {
    }
    int m_CommandId;
    int m_Image;
    std::string m_Caption;
    bool m_Flag1, m_Flag2;
};

class CHostToolbar
{
public:
    // Appends (position -1) or inserts the button; returns its index.
    virtual int AddToolbarButton(CToolbarButton* pButton, int position) = 0;
    virtual void RecalcToolbarLayout() = 0;
    virtual void ResizeToolbar(BOOL bRedraw) = 0;
    virtual void RemoveToolbarButton(int index) = 0;

protected:
    ~CHostToolbar() = default;
};

class CHostInterface
{
public:
    virtual double GetInterfaceVersion() = 0;
    // Redraws the 3D view: OnRender and OnPostRender follow.
    virtual void RedrawView() = 0;

    float m_SnapPointSize = 1.0f; // the host's point size, read directly

protected:
    ~CHostInterface() = default;
};

// The host's device context (opaque to plug-ins).
struct CDeviceContext;
using HDC = CDeviceContext*;

// The host's GL context; MakeCurrent binds it (and its drawing surface) to this thread.
class CRenderContext
{
public:
    virtual bool MakeCurrent(HDC dc) = 0;

protected:
    ~CRenderContext() = default;
};
using HGLRC = CRenderContext*;

inline BOOL wglMakeCurrent(HDC dc, HGLRC rc)
{
    return rc && rc->MakeCurrent(dc) ? TRUE : FALSE;
}

// The nine exports, as the host resolves them.
extern "C"
{
    using PFN_InitPlugIn = int (*)(CHostToolbar*, CHostInterface*);
    using PFN_DestroyPlugIn = void (*)();
    using PFN_GetPlugInName = void (*)(std::string&);
    using PFN_GetPlugInResources = void (*)(void*, std::string&);
    using PFN_OnRender = void (*)(HDC, HGLRC, int, int);
    using PFN_OnPostRender = void (*)(HDC, HGLRC, int, int);
    using PFN_PlugInEventHandler = bool (*)(int, int, void*, void*);
    using PFN_Box = void (*)(CVector&, CVector&);
    using PFN_ExportVRML = std::ostream& (*)(std::ostream&);
}
