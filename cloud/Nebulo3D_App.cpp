#include "cloud/Nebulo3D_App.h"

#include "cloud/CloudFormats.h"
#include "cloud/McplFile.h"
#include "cloud/Nebulo3DDlg.h"
#include "common/FileSystem.h"
#include "isodump/ExtentBox.h"
#include "isodump/IsodumpFormat.h"
#include "isodump/PointCloudDlg.h"

#include <fstream>
#include <string_view>

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

int CNebulo3D_App::ClaimFile(const std::string& path) const
{
    std::ifstream in(path, std::ios::binary);
    if (!IsRegularFile(path) || !in) return 0;
    char magic[4] = {0, 0, 0, 0};
    in.read(magic, 4);
    if (std::string_view(magic, 4) == "MCPL") return 2;
    if (path.ends_with(".mcpl.gz") && IsGzipFile(path)) return 2;
    const std::string ending = isodump::LowerExtension(path);
    // An MCNP output names its table near the start of the run's printout.
    const auto head = isodump::FileHead(path, 5000);
    for (const std::string& line : head)
        if (line.find("print table 110") != std::string::npos) return 2;
    // ".out" is PHITS's name too: only an isodump's content makes it a cloud.
    if (ending == "out") return isodump::LooksLikeIsodump(head) ? 1 : 0;
    return ending == "dat" || ending == "mout" ? 1 : 0;
}

int CNebulo3D_App::OpenClaimedFile(const std::string& path, const CFileOpenOptions&,
                                   std::string& message)
{
    return Dialog()->OpenFromHost(path, message);
}

std::string CNebulo3D_App::FileFormats() const
{
    std::string names;
    for (const CCloudFormat& format : CloudFormats())
        names += (names.empty() ? "" : ", ") + std::string(format.m_Name);
    return names;
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
