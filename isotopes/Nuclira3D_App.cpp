#include "isotopes/Nuclira3D_App.h"

#include "isodump/ExtentBox.h"
#include "isodump/IsodumpFormat.h"
#include "isodump/PointCloudDlg.h"
#include "isotopes/Nuclira3DDlg.h"

#include <cstdio>

namespace nuclira3d
{
CNuclira3D_App::CNuclira3D_App()
    : CPlugInApp({124, "Nuclira3D", "Nuclira3D V 0.7", "Nuclira3D Icon", "Nuclira3D"})
{
    CIsotope::PrepareAllocator();
}

CNuclira3DDlg* CNuclira3D_App::Dialog() const
{
    return static_cast<CNuclira3DDlg*>(MainDialog());
}

std::unique_ptr<CDialog> CNuclira3D_App::CreateMainDialog(CHostInterface* pHost)
{
    auto dlg = std::make_unique<CNuclira3DDlg>(pHost, &Profile());
    dlg->Create();
    return dlg;
}

void CNuclira3D_App::OnRender(HDC dc, HGLRC rc, int pass, int mode)
{
    const CNuclira3DDlg* dlg = Dialog();
    const CIsotopeDataReader* reader = dlg ? dlg->Reader() : nullptr;
    if (!reader) return;
    wglMakeCurrent(dc, rc);
    if (pass == 1 && mode == 5)
    {
        if (reader->Count() > 0) isodump::DrawExtentBox(reader->m_ExtentMin, reader->m_ExtentMax);
    }
    else if (dlg->m_Visualize)
        DrawIsotopes(*reader, dlg->DrawSettings(),
                     HostInterface() ? HostInterface()->m_SnapPointSize : 1.0f);
}

int CNuclira3D_App::ClaimFile(const std::string& path) const
{
    const auto head = isodump::FileHead(path, 4);
    if (head.empty()) return 0;
    const std::string ending = isodump::LowerExtension(path);
    // ".out" is PHITS's name too: only an isodump's content makes it nuclides.
    if (ending == "out") return isodump::LooksLikeIsodump(head) ? 2 : 0;
    // A collector file starts with the "# Z A M" line of its first nuclide.
    int z = 0, a = 0, m = 0;
    char tail = 0;
    if (ending == "dat" && std::sscanf(head[0].c_str(), "# %d %d %d %c", &z, &a, &m, &tail) == 3)
        return 2;
    return ending == "dat" ? 1 : 0;
}

int CNuclira3D_App::OpenClaimedFile(const std::string& path, const CFileOpenOptions&,
                                    std::string& message)
{
    return Dialog()->OpenFromHost(path, message);
}

void CNuclira3D_App::Box(CVector& min, CVector& max)
{
    isodump::ReaderExtent(Dialog() ? Dialog()->Reader() : nullptr, min, max);
}
} // namespace nuclira3d
