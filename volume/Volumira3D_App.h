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

    void OnRender(HDC dc, HGLRC rc, int pass, int mode) override;
    void OnPostRender(HDC dc, HGLRC rc, int pass, int mode) override;
    void Box(CVector& min, CVector& max) override;
    int ClaimFile(const std::string& path) const override;
    int OpenClaimedFile(const std::string& path, const CFileOpenOptions& options,
                        std::string& message) override;
    std::string FileFormats() const override;

    CVolumira3DDlg* Dialog() const;

protected:
    std::unique_ptr<CDialog> CreateMainDialog(CHostInterface* pHost) override;
};
} // namespace volumira3d
