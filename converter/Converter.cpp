#include "Converter.h"

#include "EnergyGroups.h"
#include "Particles.h"
#include "ScriptWriter.h"
#include "TextOutput.h"
#include "TrackWriter.h"

#include <ostream>

namespace trakor
{
namespace
{

using ERecord = CCollisionFile::ERecord;

bool isSelected(const CSettings& settings, const CTrajectory& trajectory)
{
    return (settings.particleType == 0 || settings.particleType == trajectory.jtrack) &&
           CConverter::inEnergyRange(settings, trajectory.jtrack, trajectory.etrack);
}

} // namespace

CConverter::CConverter(const CSettings& settings, std::ostream& out, std::ostream& err)
    : m_Settings(settings), m_Out(out), m_Err(err)
{
}

bool CConverter::inEnergyRange(const CSettings& settings, int code, double totalEnergy)
{
    const double shift = settings.kinetic ? particleMass(code).value_or(0.0) : 0.0;
    return settings.lower + shift <= totalEnergy && totalEnergy <= settings.upper + shift;
}

EConversion CConverter::run(CCollisionFile& file)
{
    CFileOutput tracks;
    CFileOutput script;
    if (!tracks.open(m_Settings.trackFile) || !script.open(m_Settings.scriptFile))
    {
        m_Err << " *** ERROR: " << (tracks.error().empty() ? script.error() : tracks.error())
              << "\n";
        return EConversion::OutputFailed;
    }
    const EConversion result = convert(file, tracks, script);
    const bool tracksClosed = tracks.close();
    const bool scriptClosed = script.close();
    for (const CFileOutput* output : {&tracks, &script})
        if (!output->error().empty()) m_Err << " *** ERROR: " << output->error() << "\n";
    return tracksClosed && scriptClosed ? result : EConversion::OutputFailed;
}

EConversion CConverter::convert(CCollisionFile& file, CFileOutput& tracks, CFileOutput& script)
{
    const CSettings& s = m_Settings;
    writeEnergyGroups(tracks, groupcalc(s.lower, s.upper, s.bins, s.logarithmic), s.kinetic);
    CTrackWriter trackWriter(tracks, s.kinetic, m_Out);
    CScriptWriter scriptWriter(script);
    const bool trajectoriesRead =
        readPass(file, 1,
                 [&](ERecord kind)
                 {
                     if (kind == ERecord::Trajectory && isSelected(s, file.trajectory()) &&
                         trackWriter.collcad_orlin(file.trajectory()))
                         scriptWriter.collcad(file.trajectory());
                 });
    const bool depositionsRead =
        readPass(file, 2,
                 [&](ERecord kind)
                 {
                     const CDeposition& d = file.deposition();
                     if (kind == ERecord::Deposition && inEnergyRange(s, d.jtrack, d.etrack))
                         scriptWriter.collcad1(d);
                 });
    scriptWriter.finish();
    m_Particles = trackWriter.particlesWritten();
    m_Spheres = scriptWriter.spheres();
    return trajectoriesRead && depositionsRead ? EConversion::Done : EConversion::CorruptInput;
}

// Reads the whole file once; false when a damaged record ended the pass early.
bool CConverter::readPass(CCollisionFile& file, int pass,
                          const std::function<void(ERecord)>& onRecord)
{
    if (!file.rewind())
    {
        reportCorruption("cannot read it again from the start");
        return false;
    }
    int shown = -1;
    for (ERecord kind = file.next(); kind != ERecord::End; kind = file.next())
    {
        if (kind == ERecord::Corrupt)
        {
            reportCorruption(file.error());
            return false;
        }
        onRecord(kind);
        reportProgress(file, pass, shown);
    }
    return true;
}

void CConverter::reportProgress(const CCollisionFile& file, int pass, int& shown)
{
    if (!m_Progress || file.size() == 0) return;
    const int percent = static_cast<int>(file.offset() * 100 / file.size());
    if (percent != shown) m_Progress(pass, shown = percent);
}

// Both passes stop at the same damaged record: it is reported once.
void CConverter::reportCorruption(const std::string& what)
{
    if (what == m_LastError) return;
    m_LastError = what;
    m_Err << " *** ERROR: collision file " << m_Settings.collisionFile << ": " << what
          << "; the rest of the file is not converted\n";
}

} // namespace trakor
