// The volume plug-in's application object: creates the main dialog, which owns the grid.
#pragma once
#include "frame/PlugInApp.h"

namespace volumira3d
{
class CVolumira3DDlg;

class CVolumira3D_App : public CPlugInApp
{
public:
    CVolumira3D_App();

    // Drawing of the slices belongs to the display side; nothing is drawn yet.
    void OnRender(HDC, HGLRC, int, int) override {}
    void OnPostRender(HDC, HGLRC, int, int) override {}
    void Box(CVector& min, CVector& max) override;

    CVolumira3DDlg* Dialog() const;

protected:
    std::unique_ptr<CDialog> CreateMainDialog(CHostInterface* pHost) override;
};
} // namespace volumira3d
