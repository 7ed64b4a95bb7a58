#pragma once

#include "RecordReader.h"

#include <functional>
#include <iosfwd>
#include <string>

namespace trakor
{

class CFileOutput;

// The answers of the dialogue, ready for converting.
struct CSettings
{
    std::string m_CollisionFile;               // for messages
    std::string m_TrackFile;                   // created or overwritten
    std::string m_ScriptFile = "collfile.scr"; // created or overwritten
    bool m_Kinetic = false;                    // bounds and written energies are kinetic
    double m_Lower = 0.0;                      // GeV
    double m_Upper = 100000.0;                 // GeV
    int m_Bins = 1;
    bool m_Logarithmic = false;
    int m_ParticleType = 0; // 0 = all
};

enum class EConversion
{
    Done,
    CorruptInput, // stopped at a damaged record; what came before it is written
    OutputFailed, // an output file could not be created or written
};

// Converts a collision file in two passes: trajectories into the track file and script lines,
// then energy depositions into script spheres.
class CConverter
{
public:
    // Unknown-particle warnings go to `out`, faults to `err`.
    CConverter(const CSettings& settings, std::ostream& out, std::ostream& err);

    // Called with the pass (1 or 2) and its percentage, at most about a hundred times a pass.
    void SetProgress(std::function<void(int pass, int percent)> progress)
    {
        m_Progress = std::move(progress);
    }

    EConversion Run(CRecordReader& file);

    long ParticlesWritten() const { return m_Particles; }
    int SpheresWritten() const { return m_Spheres; }
    // Selected records left out because a number in them is not finite.
    long NonFiniteSkipped() const { return m_NonFinite; }

    // The energy test of both passes: in kinetic mode the bounds are raised by the mass of a
    // known particle code, since records hold total energies.
    static bool InEnergyRange(const CSettings& settings, int code, double totalEnergy);

private:
    EConversion Convert(CRecordReader& file, CFileOutput& tracks, CFileOutput& script);
    bool ReadPass(CRecordReader& file, int pass,
                  const std::function<void(CRecordReader::ERecord)>& onRecord);
    void ReportProgress(const CRecordReader& file, int pass, int& shown);
    void ReportCorruption(const std::string& what);

    const CSettings& m_Settings;
    std::ostream& m_Out;
    std::ostream& m_Err;
    std::function<void(int, int)> m_Progress;
    std::string m_LastError;
    long m_Particles = 0;
    int m_Spheres = 0;
    long m_NonFinite = 0;
};

} // namespace trakor
