#include "Converter.h"

#include "EnergyGroups.h"
#include "Particles.h"
#include "ScriptWriter.h"
#include "TextOutput.h"
#include "TrackWriter.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace trakor
{
namespace
{

using ERecord = CRecordReader::ERecord;

bool IsSelected(const CSettings& settings, const CTrajectory& trajectory)
{
    return (settings.m_ParticleType == 0 || settings.m_ParticleType == trajectory.m_Jtrack) &&
           CConverter::InEnergyRange(settings, trajectory.m_Jtrack, trajectory.m_Etrack);
}

bool Finite(const CPoint& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// A NaN or an infinity in a dump is no place and no time to draw: it is not written.
bool Finite(const CTrajectory& t)
{
    return std::isfinite(t.m_Etrack) && std::isfinite(t.m_Atrack) &&
           std::all_of(t.m_Points.begin(), t.m_Points.end(),
                       [](const CPoint& p) { return Finite(p); });
}

bool Finite(const CDeposition& d)
{
    return std::isfinite(d.m_Etrack) && Finite(d.m_Position);
}
} // namespace

CConverter::CConverter(const CSettings& settings, std::ostream& out, std::ostream& err)
    : m_Settings(settings), m_Out(out), m_Err(err)
{
}

bool CConverter::InEnergyRange(const CSettings& settings, int code, double totalEnergy)
{
    const double shift = settings.m_Kinetic ? ParticleMass(code).value_or(0.0) : 0.0;
    return settings.m_Lower + shift <= totalEnergy && totalEnergy <= settings.m_Upper + shift;
}

EConversion CConverter::Run(CRecordReader& file)
{
    CFileOutput tracks;
    CFileOutput script;
    if (!tracks.Open(m_Settings.m_TrackFile) || !script.Open(m_Settings.m_ScriptFile))
    {
        m_Err << " *** ERROR: " << (tracks.Error().empty() ? script.Error() : tracks.Error())
              << "\n";
        return EConversion::OutputFailed;
    }
    const EConversion result = Convert(file, tracks, script);
    const bool tracksClosed = tracks.Close();
    const bool scriptClosed = script.Close();
    for (const CFileOutput* output : {&tracks, &script})
        if (!output->Error().empty()) m_Err << " *** ERROR: " << output->Error() << "\n";
    return tracksClosed && scriptClosed ? result : EConversion::OutputFailed;
}

EConversion CConverter::Convert(CRecordReader& file, CFileOutput& tracks, CFileOutput& script)
{
    const CSettings& s = m_Settings;
    WriteEnergyGroups(tracks, groupcalc(s.m_Lower, s.m_Upper, s.m_Bins, s.m_Logarithmic),
                      s.m_Kinetic);
    CTrackWriter trackWriter(tracks, s.m_Kinetic, m_Out, file.HasTimes());
    CScriptWriter scriptWriter(script);
    const bool trajectoriesRead =
        ReadPass(file, 1,
                 [&](ERecord kind)
                 {
                     if (kind != ERecord::Trajectory || !IsSelected(s, file.Trajectory())) return;
                     if (!Finite(file.Trajectory()))
                         ++m_NonFinite;
                     else if (trackWriter.collcad_orlin(file.Trajectory()))
                         scriptWriter.collcad(file.Trajectory());
                 });
    const bool depositionsRead =
        ReadPass(file, 2,
                 [&](ERecord kind)
                 {
                     const CDeposition& d = file.Deposition();
                     if (kind != ERecord::Deposition || !InEnergyRange(s, d.m_Jtrack, d.m_Etrack))
                         return;
                     if (!Finite(d))
                         ++m_NonFinite;
                     else
                         scriptWriter.collcad1(d);
                 });
    scriptWriter.Finish();
    m_Particles = trackWriter.ParticlesWritten();
    m_Spheres = scriptWriter.Spheres();
    return trajectoriesRead && depositionsRead ? EConversion::Done : EConversion::CorruptInput;
}

// Reads the whole file once; false when a damaged record ended the pass early.
bool CConverter::ReadPass(CRecordReader& file, int pass,
                          const std::function<void(ERecord)>& onRecord)
{
    if (!file.Rewind())
    {
        ReportCorruption("cannot read it again from the start");
        return false;
    }
    int shown = -1;
    for (ERecord kind = file.Next(); kind != ERecord::End; kind = file.Next())
    {
        if (kind == ERecord::Corrupt)
        {
            ReportCorruption(file.Error());
            return false;
        }
        onRecord(kind);
        ReportProgress(file, pass, shown);
    }
    return true;
}

void CConverter::ReportProgress(const CRecordReader& file, int pass, int& shown)
{
    if (!m_Progress || file.Size() == 0) return;
    const int percent = static_cast<int>(file.Offset() * 100 / file.Size());
    if (percent != shown) m_Progress(pass, shown = percent);
}

// Both passes stop at the same damaged record: it is reported once.
void CConverter::ReportCorruption(const std::string& what)
{
    if (what == m_LastError) return;
    m_LastError = what;
    m_Err << " *** ERROR: collision file " << m_Settings.m_CollisionFile << ": " << what
          << "; the rest of the file is not converted\n";
}

} // namespace trakor
