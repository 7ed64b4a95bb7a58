#include "cloud/McplExport.h"

#include "cloud/CloudRenderer.h"
#include "cloud/McplFile.h"
#include "cloud/McplHeader.h"
#include "cloud/Nebulo3DDlg.h"
#include "cloud/PdgCodes.h"
#include "common/FileSystem.h"
#include "platform/Dialog.h"
#include "platform/SafeWrite.h"
#include "platform/UiServices.h"

#include <zlib.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

namespace nebulo3d
{
namespace
{
constexpr const char* McplFilter =
    "MCPL particle lists (*.mcpl)|*.mcpl|Gzipped MCPL (*.mcpl.gz)|*.mcpl.gz|All Files (*.*)|*.*|";
constexpr double MsPerSecond = 1e3;

// What the export had to change, for the note.
struct CExportCounts
{
    std::uint64_t m_Written = 0, m_NoCode = 0, m_NoDirection = 0;
};

// The direction as the unit vector MCPL requires; (0, 0, 1) for a zero or broken one.
bool UnitDirection(const CVector& d, double out[3])
{
    const double length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    const bool usable = std::isfinite(length) && length > 0;
    out[0] = usable ? d.x / length : 0;
    out[1] = usable ? d.y / length : 0;
    out[2] = usable ? d.z / length : 1;
    return usable;
}

CExportCounts WriteParticles(mcpl_outfile_t out, const CParticleDataReader& cloud,
                             const ParticleFilter& include)
{
    CExportCounts counts;
    mcpl_particle_t* m = mcpl_get_empty_particle(out);
    const double mev = cloud.MeVPerEnergyUnit();
    for (const auto& [type, particle] : cloud.AllParticles())
    {
        const CParticle& p = *particle;
        if (include && !include(p)) continue;
        m->position[0] = p.m_Position.x;
        m->position[1] = p.m_Position.y;
        m->position[2] = p.m_Position.z;
        counts.m_NoDirection += !UnitDirection(p.m_Direction, m->direction);
        m->ekin = p.m_Energy * mev;
        m->weight = p.m_Weight;
        m->time = p.m_Time * MsPerSecond;
        m->pdgcode = PdgCodeOfType(p.m_Type);
        counts.m_NoCode += m->pdgcode == 0;
        mcpl_add_particle(out, m);
        ++counts.m_Written;
    }
    return counts;
}

// The closed list holds what was written: the library does not report every failed write.
bool Complete(const std::string& temp, std::uint64_t written, std::string& reason)
{
    std::uint64_t bytes = 0;
    std::ifstream in(temp, std::ios::binary);
    CMcplHeader header;
    if (!RegularFileSize(temp, bytes) || !header.Read(in, bytes, reason)) return false;
    if (header.m_Particles == written &&
        bytes == header.m_HeaderBytes + written * header.m_ParticleBytes)
        return true;
    reason = "the written list is incomplete";
    return false;
}

bool Gzip(const std::string& from, const std::string& to, std::string& reason)
{
    std::ifstream in(from, std::ios::binary);
    gzFile out = gzopen(to.c_str(), "wb");
    if (!in || !out)
    {
        if (out) gzclose(out);
        reason = "cannot open it for compressing";
        return false;
    }
    std::vector<char> buffer(1 << 20);
    bool ok = true;
    while (ok && in.read(buffer.data(), std::streamsize(buffer.size())).gcount() > 0)
        ok = gzwrite(out, buffer.data(), unsigned(in.gcount())) == int(in.gcount());
    ok = gzclose(out) == Z_OK && ok && !in.bad();
    if (!ok) reason = "compressing failed (disk full?)";
    return ok;
}

std::string Note(const CExportCounts& counts, const CParticleDataReader& cloud)
{
    std::string note;
    if (!cloud.StatesEnergyUnit())
        note += "Energies were taken as GeV (the file states no unit) and written in MeV.\n";
    if (counts.m_NoCode > 0)
        note += std::to_string(counts.m_NoCode) +
                " particles of a type without a PDG number were written with code 0.\n";
    if (counts.m_NoDirection > 0)
        note += std::to_string(counts.m_NoDirection) +
                " particles without a direction were written pointing along +z.\n";
    return note.empty() ? note : note.substr(0, note.size() - 1);
}
} // namespace

bool WriteCloudMcpl(const CParticleDataReader& cloud, const ParticleFilter& include,
                    const std::string& path, std::string& message)
{
    const bool gzipped = path.ends_with(".gz");
    // The library insists on the extension of the file it writes.
    const std::string plain = PartName(path) + ".mcpl";
    CExportCounts counts;
    // The library loses its handle when it cannot create the file: the name is tried first.
    if (FILE* probe = std::fopen(plain.c_str(), "wb"))
        std::fclose(probe);
    else
        return AbandonFile(plain, path, std::strerror(errno), message);
    try
    {
        RouteMcplErrors();
        mcpl_outfile_t out = mcpl_create_outfile(plain.c_str());
        mcpl_hdr_set_srcname(out, "Nebulo3D");
        mcpl_enable_doubleprec(out);
        counts = WriteParticles(out, cloud, include);
        mcpl_close_outfile(out);
    }
    catch (const CMcplError& e)
    {
        return AbandonFile(plain, path, e.what(), message);
    }
    std::string reason;
    if (!Complete(plain, counts.m_Written, reason))
        return AbandonFile(plain, path, reason, message);
    if (gzipped)
    {
        const std::string packed = PartName(path);
        const bool ok = Gzip(plain, packed, reason);
        std::remove(plain.c_str());
        if (!ok) return AbandonFile(packed, path, reason, message);
        if (!CommitFile(packed, path, message)) return false;
    }
    else if (!CommitFile(plain, path, message))
        return false;
    message = Note(counts, cloud);
    return true;
}

void ExportCloudMcpl(CNebulo3DDlg& dlg, bool shownOnly)
{
    const CParticleDataReader* cloud = dlg.Reader();
    if (!cloud || cloud->Count() == 0)
    {
        AfxMessageBox("No particles are loaded; nothing was exported.", MB_ICONINFORMATION);
        return;
    }
    CFileDialog file(FALSE, "mcpl", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, McplFilter,
                     &dlg);
    if (file.DoModal() != IDOK) return;
    const CCloudDrawSettings draw = dlg.DrawSettings();
    ParticleFilter shown = [draw](const CParticle& p) { return Drawn(p, draw); };
    std::string message;
    bool ok;
    {
        CWaitCursor wait;
        ok = WriteCloudMcpl(*cloud, shownOnly ? shown : ParticleFilter(), file.GetPathName(),
                            message);
    }
    if (!ok)
        AfxMessageBox(message, MB_ICONERROR);
    else
        AfxMessageBox("Exported to " + file.GetPathName() + (message.empty() ? "" : ".\n") +
                          message,
                      MB_ICONINFORMATION);
}
} // namespace nebulo3d
