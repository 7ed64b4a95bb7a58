#include "tracks/Trakor3D_App.h"

#include "tracks/TrackRenderer.h"
#include "tracks/Trakor3DDlg.h"

namespace trakor3d
{
CTrakor3D_App::CTrakor3D_App()
    : CPlugInApp({101, "Trakor3D", "Trakor 3D V 3.6", "Trakor3D Icon", ""})
{
}

CTrakor3DDlg* CTrakor3D_App::Dialog() const
{
    return static_cast<CTrakor3DDlg*>(MainDialog());
}

std::unique_ptr<CDialog> CTrakor3D_App::CreateMainDialog(CHostInterface* pHost)
{
    auto dlg = std::make_unique<CTrakor3DDlg>(&m_Store, pHost);
    dlg->Create();
    return dlg;
}

void CTrakor3D_App::Box(CVector& min, CVector& max)
{
    min = m_Store.m_Lower;
    max = m_Store.m_Upper;
}

int CTrakor3D_App::ClaimFile(const std::string& path) const
{
    return CTrakor3DDlg::Claim(path);
}

int CTrakor3D_App::OpenClaimedFile(const std::string& path, const CFileOpenOptions&,
                                   std::string& message)
{
    return Dialog()->OpenFromHost(path, message);
}

std::ostream& CTrakor3D_App::ExportVRML(std::ostream& os)
{
    if (Dialog() && Dialog()->m_Visualize) m_Store.ExportVRML(os);
    return os;
}

void CTrakor3D_App::Render(HDC dc, HGLRC rc, int flag)
{
    const CTrakor3DDlg* dlg = Dialog();
    if (!dlg || flag != (dlg->m_FadeTracks ? 1 : 0)) return;
    wglMakeCurrent(dc, rc);
    CDrawSettings settings;
    settings.m_Visualize = dlg->m_Visualize;
    settings.m_Overlay = dlg->m_Overlay != 0;
    settings.m_AntiAliasing = dlg->m_AntiAliasing;
    settings.m_LineWidth = dlg->m_LineWidth;
    settings.m_LogScale = dlg->m_LogScale != 0;
    DrawTracks(m_Store, settings);
}
} // namespace trakor3d
