// "Export MCPL..." and "Export MCPL (shown only)..." of the cloud viewer's window menu: the
// particles as an MCPL list (double precision, energies in MeV, times in ms, PDG codes), so
// that a cloud read from any of the viewer's formats goes to any program that reads MCPL.
#pragma once
#include "platform/Win.h"

#include <functional>
#include <string>

namespace nebulo3d
{
class CNebulo3DDlg;
class CParticle;
class CParticleDataReader;

enum : UINT
{
    IDM_EXPORT_MCPL = 0x0050,       // every particle
    IDM_EXPORT_MCPL_SHOWN = 0x0060, // only those drawn
};

using ParticleFilter = std::function<bool(const CParticle&)>;

// Writes the particles that pass include to path (".gz" at its end: gzipped) through a
// temporary file beside it. False with the reason in message; on success message tells what
// had to be changed (codes, directions).
bool WriteCloudMcpl(const CParticleDataReader& cloud, const ParticleFilter& include,
                    const std::string& path, std::string& message);

void ExportCloudMcpl(CNebulo3DDlg& dlg, bool shownOnly);
} // namespace nebulo3d
