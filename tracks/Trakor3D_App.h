// The track viewer's application object: owns the track store and draws it for the host.
#pragma once
#include "frame/PlugInApp.h"
#include "tracks/ParticleDataReader.h"

namespace trakor3d
{
class CTrakor3DDlg;

class CTrakor3D_App : public CPlugInApp
{
public:
    CTrakor3D_App();

    // The host's pass and mode do not matter to tracks.
    void OnRender(HDC dc, HGLRC rc, int, int) override { Render(dc, rc, 0); }
    void OnPostRender(HDC dc, HGLRC rc, int, int) override { Render(dc, rc, 1); }
    void Box(CVector& min, CVector& max) override;
    std::ostream& ExportVRML(std::ostream& os) override;
    int ClaimFile(const std::string& path) const override;
    int OpenClaimedFile(const std::string& path, const CFileOpenOptions& options,
                        std::string& message) override;
    std::string FileFormats() const override { return "Trakor3D tracks"; }

    CParticleDataReader& Store() { return m_Store; }
    CTrakor3DDlg* Dialog() const;

protected:
    std::unique_ptr<CDialog> CreateMainDialog(CHostInterface* pHost) override;

private:
    // flag 0 from OnRender, 1 from OnPostRender: fading tracks are drawn after the host's scene.
    void Render(HDC dc, HGLRC rc, int flag);

    CParticleDataReader m_Store;
};
} // namespace trakor3d
