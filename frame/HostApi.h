// What a plug-in sees of the host: its toolbar, its interface object and the opaque handles of
// the device and GL contexts it draws into.
#pragma once
#include "common/Vector.h"
#include "platform/Win.h"

#include <ostream>
#include <string>
#include <vector>

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

// The geometry the host shows under the data (interface version 2.4 on).
class CHostGeometryView
{
public:
    // Changes whenever another geometry is loaded, so that what was worked out from the last one
    // can be kept until then.
    virtual int Revision() = 0;
    // The region that holds p and its material; false where no region does.
    virtual bool RegionAt(const CVector& p, std::string& region, std::string& material) = 0;
    // The region boundaries in the plane where coordinate axis (0 x, 1 y, 2 z) equals position,
    // inside [lo, hi] of the two other axes taken in the order (axis + 1) % 3, (axis + 2) % 3,
    // traced on a grid of cells x cells: pairs of points appended to segments.
    virtual void BoundarySegments(int axis, double position, const double lo[2], const double hi[2],
                                  int cells, std::vector<CVector>& segments) = 0;

protected:
    ~CHostGeometryView() = default;
};

class CHostInterface
{
public:
    virtual double GetInterfaceVersion() = 0;
    // Redraws the 3D view: OnRender and OnPostRender follow.
    virtual void RedrawView() = 0;
    // Version 2.4: the geometry shown, or null while none is loaded. Ask only a host of 2.4 or
    // later: older ones do not have this entry.
    virtual CHostGeometryView* GetGeometry() = 0;
    // Version 2.5: what the view asks of what plug-ins draw into it; "legend": 1 when a plug-in
    // draws its colour legend into the view (View > Legend, batch legend on|off). 0 for names
    // the host does not know.
    virtual int GetViewOption(const std::string& name) = 0;

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

    // Optional exports: a plug-in without them opens no files for the host. With probe != 0,
    // OpenFile tells how surely a file is of a format the plug-in reads: 2 by its content, 1 by
    // its name only, 0 not. Otherwise it reads the file with the defaults of its dialogs and
    // shows it: 1 read, -1 not read (message says why). options holds "key=value" lines
    // (planes, palette, range, linear).
    using PFN_OpenFile = int (*)(const char* path, int probe, const char* options,
                                 std::string& message);
    // The names of the formats the plug-in reads, for the message about a file nobody reads.
    using PFN_GetFileFormats = void (*)(std::string& formats);
}
