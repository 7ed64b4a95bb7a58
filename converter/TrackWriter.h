#pragma once

#include <iosfwd>
#include <vector>

namespace trakor
{

class CTextOutput;
struct CTrajectory;

// Writes the particle blocks of a track file. Times run backwards from the recorded age at the
// last point at the particle's constant speed, and every event is shifted behind the latest
// age seen in the events before it.
class CTrackWriter
{
public:
    // Warnings about unknown particles go to `warnings` (standard output). Without `timed` the
    // records hold no ages, and every time is written as 0.
    CTrackWriter(CTextOutput& out, bool kinetic, std::ostream& warnings, bool timed = true);

    // Writes one selected trajectory; false (with a warning, nothing written) for a particle
    // code outside -6..42.
    bool collcad_orlin(const CTrajectory& trajectory);

    long ParticlesWritten() const { return m_Written; }

private:
    void StartEvent(int ncase);
    void ComputeTimes(const CTrajectory& trajectory, double mass);
    void WriteBlock(const CTrajectory& trajectory, double mass);
    void WritePointLine(const double* values);
    void WarnUnknown(const CTrajectory& trajectory);

    CTextOutput& m_Out;
    bool m_Kinetic;
    bool m_Timed;
    std::ostream& m_Warnings;
    int m_Event = 0;          // event number of the previous selected trajectory
    double m_AtrackMax = 0.0; // latest age seen in the current event
    float m_AtrackSum = 0.0f; // offset of the current event; single precision on purpose
    std::vector<double> m_Times;
    long m_Written = 0;
};

} // namespace trakor
