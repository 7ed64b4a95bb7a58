#include "cloud/Nebulo3D_App.h"

#include "cloud/Nebulo3DDlg.h"
#include "isodump/ExtentBox.h"

namespace nebulo3d
{
CNebulo3D_App::CNebulo3D_App()
    : CPlugInApp({121, "Nebulo3D", "Nebulo 3D V 1.7", "Nebulo3D Icon", "Nebulo3D"})
{
    CParticle::PrepareAllocator();
}

CNebulo3DDlg* CNebulo3D_App::Dialog() const
{
    return static_cast<CNebulo3DDlg*>(MainDialog());
}

std::unique_ptr<CDialog> CNebulo3D_App::CreateMainDialog(CHostInterface* pHost)
{
    auto dlg = std::make_unique<CNebulo3DDlg>(pHost, &Profile());
    dlg->Create();
    return dlg;
}

void CNebulo3D_App::OnRender(HDC dc, HGLRC rc, int pass, int mode)
{
    const CNebulo3DDlg* dlg = Dialog();
    if (!dlg || !dlg->Reader()) return;
    wglMakeCurrent(dc, rc);
    if (pass == 1 && mode == 5)
        DrawExtentBox(*dlg->Reader());
    else if (dlg->m_Visualize)
        m_Renderer.Draw(*dlg->Reader(), dlg->DrawSettings());
}

void CNebulo3D_App::Box(CVector& min, CVector& max)
{
    isodump::ReaderExtent(Dialog() ? Dialog()->Reader() : nullptr, min, max);
}

std::ostream& CNebulo3D_App::ExportVRML(std::ostream& os)
{
    CNebulo3DDlg* dlg = Dialog();
    if (dlg && dlg->m_Visualize && dlg->Reader())
        const_cast<CParticleDataReader*>(dlg->Reader())->ExportVRML(os);
    return os;
}
} // namespace nebulo3d
