#include "isotopes/Nuclira3D_App.h"

#include "isodump/ExtentBox.h"
#include "isotopes/Nuclira3DDlg.h"

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

void CNuclira3D_App::Box(CVector& min, CVector& max)
{
    isodump::ReaderExtent(Dialog() ? Dialog()->Reader() : nullptr, min, max);
}
} // namespace nuclira3d
