// The cloud viewer's application object: its main dialog owns the cloud; it draws, boxes and
// exports the cloud for the host.
#pragma once
#include "cloud/CloudRenderer.h"
#include "frame/PlugInApp.h"

namespace nebulo3d
{
class CNebulo3DDlg;

class CNebulo3D_App : public CPlugInApp
{
public:
    CNebulo3D_App();

    void OnRender(HDC dc, HGLRC rc, int pass, int mode) override;
    // Everything is drawn from OnRender.
    void OnPostRender(HDC, HGLRC, int, int) override {}
    void Box(CVector& min, CVector& max) override;
    std::ostream& ExportVRML(std::ostream& os) override;
    int OpenClaimedFile(const std::string& path, const CFileOpenOptions& options,
                        std::string& message) override;
    std::string FileFormats() const override;
    // How surely the file is a cloud: 2 an MCPL file or an MCNP output with print table 110, 1 a
    // name of its formats (".out" only for an isodump's content, which the nuclide viewer claims
    // surer), 0 not.
    int ClaimFile(const std::string& path) const override;

    CNebulo3DDlg* Dialog() const;

protected:
    std::unique_ptr<CDialog> CreateMainDialog(CHostInterface* pHost) override;

private:
    CCloudRenderer m_Renderer;
};
} // namespace nebulo3d
