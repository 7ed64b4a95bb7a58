#include "TrackWriter.h"

#include "NumberFormat.h"
#include "Particles.h"
#include "RecordReader.h"
#include "TextOutput.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

namespace trakor
{
namespace
{

constexpr double SpeedOfLight = 2.99792458e10; // cm/s
constexpr std::size_t NumberWidth = ExponentWidth(TrackDecimals);

double Distance(const CPoint& a, const CPoint& b)
{
    return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) +
                     (b.z - a.z) * (b.z - a.z));
}

std::size_t FormatTrackNumber(char* out, double value)
{
    return FormatExponent(out, value, TrackDecimals, 'D');
}

// List-directed style for the numbers of the warning lines.
std::string ListReal(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.16E", value);
    return text;
}

} // namespace

CTrackWriter::CTrackWriter(CTextOutput& out, bool kinetic, std::ostream& warnings, bool timed)
    : m_Out(out), m_Kinetic(kinetic), m_Timed(timed), m_Warnings(warnings)
{
}

bool CTrackWriter::collcad_orlin(const CTrajectory& trajectory)
{
    StartEvent(trajectory.m_Ncase);
    const std::optional<double> mass = ParticleMass(trajectory.m_Jtrack);
    if (!mass)
    {
        WarnUnknown(trajectory);
        return false;
    }
    if (m_Timed)
        ComputeTimes(trajectory, *mass);
    else
        m_Times.assign(trajectory.m_Points.size(), 0.0);
    m_AtrackMax = std::max(m_AtrackMax, trajectory.m_Atrack);
    WriteBlock(trajectory, *mass);
    ++m_Written;
    return true;
}

void CTrackWriter::StartEvent(int ncase)
{
    if (ncase == m_Event) return;
    m_Event = ncase;
    m_AtrackSum = static_cast<float>(m_AtrackSum + m_AtrackMax);
    m_AtrackMax = 0.0;
}

void CTrackWriter::ComputeTimes(const CTrajectory& trajectory, double mass)
{
    const std::vector<CPoint>& p = trajectory.m_Points;
    const double ratio = mass / trajectory.m_Etrack;
    const double speed = SpeedOfLight * std::sqrt(1.0 - ratio * ratio);
    m_Times.resize(p.size());
    m_Times.back() = trajectory.m_Atrack + m_AtrackSum;
    for (std::size_t k = p.size() - 1; k-- > 0;)
        m_Times[k] = m_Times[k + 1] - Distance(p[k], p[k + 1]) / speed;
}

void CTrackWriter::WriteBlock(const CTrajectory& trajectory, double mass)
{
    m_Out.Write("\nPARTICLE\n");
    for (std::size_t i = 0; i < trajectory.m_Points.size(); ++i)
    {
        const CPoint& p = trajectory.m_Points[i];
        // An energy at or below the particle's mass leaves no speed and so no defined time;
        // such times are written as 0, like negative ones.
        const double t = m_Times[i] > 0.0 ? m_Times[i] : 0.0;
        const double values[] = {p.x, p.y, p.z, t};
        WritePointLine(values);
    }
    m_Out.Write("Energy ");
    const double energy = m_Kinetic ? trajectory.m_Etrack - mass : trajectory.m_Etrack;
    char* line = m_Out.Room(NumberWidth + 1);
    std::size_t used = FormatTrackNumber(line, energy);
    line[used++] = '\n';
    m_Out.Commit(used);
    m_Out.Write("Type   ");
    line = m_Out.Room(4);
    used = FormatSignedInteger(line, trajectory.m_Jtrack, 3);
    line[used++] = '\n';
    m_Out.Commit(used);
    m_Out.Write("END PARTICLE\n");
}

// "s x,y,z t ": the numbers start at columns 3, 26, 49 and 72.
void CTrackWriter::WritePointLine(const double* values)
{
    char* line = m_Out.Room(4 * NumberWidth + 7);
    line[0] = 's';
    line[1] = ' ';
    std::size_t used = 2;
    for (int i = 0; i < 4; ++i)
    {
        used += FormatTrackNumber(line + used, values[i]);
        line[used++] = i < 2 ? ',' : ' ';
    }
    line[used++] = '\n';
    m_Out.Commit(used);
}

void CTrackWriter::WarnUnknown(const CTrajectory& trajectory)
{
    m_Warnings << " ** WARNING: Unknown particle " << trajectory.m_Jtrack << " encountered!\n"
               << " **          Event: " << trajectory.m_Ncase
               << " tot. Energy: " << ListReal(trajectory.m_Etrack) << "\n"
               << " **          Track skipped!\n";
}

} // namespace trakor
