// The isotope viewer's application object: its main dialog owns the emitters; it draws and
// boxes them for the host and exports nothing to VRML.
#pragma once
#include "frame/PlugInApp.h"

namespace nuclira3d
{
class CNuclira3DDlg;

class CNuclira3D_App : public CPlugInApp
{
public:
    CNuclira3D_App();

    void OnRender(HDC dc, HGLRC rc, int pass, int mode) override;
    // Everything is drawn from OnRender.
    void OnPostRender(HDC, HGLRC, int, int) override {}
    void Box(CVector& min, CVector& max) override;
    int OpenClaimedFile(const std::string& path, const CFileOpenOptions& options,
                        std::string& message) override;
    std::string FileFormats() const override { return "FLUKA isodump, NucVec collector"; }
    // How surely the file holds nuclides: 2 an isodump or a collector file by their first lines,
    // 1 another ".dat", 0 not.
    int ClaimFile(const std::string& path) const override;

    CNuclira3DDlg* Dialog() const;

protected:
    std::unique_ptr<CDialog> CreateMainDialog(CHostInterface* pHost) override;
};
} // namespace nuclira3d
