#include "volume/Volumira3D_App.h"

#include "volume/Volumira3DDlg.h"
#include "volume/loading/FormatDispatch.h"

namespace volumira3d
{
CVolumira3D_App::CVolumira3D_App()
    : CPlugInApp(
          {103, "Volumix3D", "Volumix 3D MP Version 4.4.30", "Volumira3D Icon", "Volumira3D"})
{
}

CVolumira3DDlg* CVolumira3D_App::Dialog() const
{
    return static_cast<CVolumira3DDlg*>(MainDialog());
}

std::unique_ptr<CDialog> CVolumira3D_App::CreateMainDialog(CHostInterface* pHost)
{
    auto dlg = std::make_unique<CVolumira3DDlg>(pHost, &Profile());
    dlg->Create();
    return dlg;
}

void CVolumira3D_App::OnRender(HDC dc, HGLRC rc, int, int mode)
{
    if (CVolumira3DDlg* dlg = Dialog()) dlg->OnRender(dc, rc, mode);
}

void CVolumira3D_App::OnPostRender(HDC dc, HGLRC rc, int, int mode)
{
    if (CVolumira3DDlg* dlg = Dialog()) dlg->OnPostRender(dc, rc, mode);
}

int CVolumira3D_App::ClaimFile(const std::string& path) const
{
    return CVolumira3DDlg::Claim(path);
}

int CVolumira3D_App::OpenClaimedFile(const std::string& path, const CFileOpenOptions& options,
                                     std::string& message)
{
    return Dialog()->OpenFromHost(path, options, message);
}

std::string CVolumira3D_App::FileFormats() const
{
    std::string names;
    for (const CVolumeFormat& format : VolumeFormats())
        names += (names.empty() ? "" : ", ") + std::string(format.m_Name);
    return names;
}

void CVolumira3D_App::Box(CVector& min, CVector& max)
{
    if (const CVolumira3DDlg* dlg = Dialog())
        dlg->Box(min, max);
    else
    {
        min = CVector(1e12, 1e12, 1e12);
        max = CVector(-1e12, -1e12, -1e12);
    }
}
} // namespace volumira3d
