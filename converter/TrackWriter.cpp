#include "TrackWriter.h"

#include "CollisionFile.h"
#include "NumberFormat.h"
#include "Particles.h"
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

constexpr double kSpeedOfLight = 2.99792458e10; // cm/s
constexpr std::size_t kNumberWidth = exponentWidth(kTrackDecimals);

double distance(const CPoint& a, const CPoint& b)
{
    return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) +
                     (b.z - a.z) * (b.z - a.z));
}

std::size_t formatTrackNumber(char* out, double value)
{
    return formatExponent(out, value, kTrackDecimals, 'D');
}

// List-directed style for the numbers of the warning lines.
std::string listReal(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.16E", value);
    return text;
}

} // namespace

CTrackWriter::CTrackWriter(CTextOutput& out, bool kinetic, std::ostream& warnings)
    : m_Out(out), m_Kinetic(kinetic), m_Warnings(warnings)
{
}

bool CTrackWriter::collcad_orlin(const CTrajectory& trajectory)
{
    startEvent(trajectory.ncase);
    const std::optional<double> mass = particleMass(trajectory.jtrack);
    if (!mass)
    {
        warnUnknown(trajectory);
        return false;
    }
    computeTimes(trajectory, *mass);
    m_AtrackMax = std::max(m_AtrackMax, trajectory.atrack);
    writeBlock(trajectory, *mass);
    ++m_Written;
    return true;
}

void CTrackWriter::startEvent(int ncase)
{
    if (ncase == m_Event) return;
    m_Event = ncase;
    m_AtrackSum = static_cast<float>(m_AtrackSum + m_AtrackMax);
    m_AtrackMax = 0.0;
}

void CTrackWriter::computeTimes(const CTrajectory& trajectory, double mass)
{
    const std::vector<CPoint>& p = trajectory.points;
    const double ratio = mass / trajectory.etrack;
    const double speed = kSpeedOfLight * std::sqrt(1.0 - ratio * ratio);
    m_Times.resize(p.size());
    m_Times.back() = trajectory.atrack + m_AtrackSum;
    for (std::size_t k = p.size() - 1; k-- > 0;)
        m_Times[k] = m_Times[k + 1] - distance(p[k], p[k + 1]) / speed;
}

void CTrackWriter::writeBlock(const CTrajectory& trajectory, double mass)
{
    m_Out.write("\nPARTICLE\n");
    for (std::size_t i = 0; i < trajectory.points.size(); ++i)
    {
        const CPoint& p = trajectory.points[i];
        // An energy at or below the particle's mass leaves no speed and so no defined time;
        // such times are written as 0, like negative ones.
        const double t = m_Times[i] > 0.0 ? m_Times[i] : 0.0;
        const double values[] = {p.x, p.y, p.z, t};
        writePointLine(values);
    }
    m_Out.write("Energy ");
    const double energy = m_Kinetic ? trajectory.etrack - mass : trajectory.etrack;
    char* line = m_Out.room(kNumberWidth + 1);
    std::size_t used = formatTrackNumber(line, energy);
    line[used++] = '\n';
    m_Out.commit(used);
    m_Out.write("Type   ");
    line = m_Out.room(4);
    used = formatSignedInteger(line, trajectory.jtrack, 3);
    line[used++] = '\n';
    m_Out.commit(used);
    m_Out.write("END PARTICLE\n");
}

// "s x,y,z t ": the numbers start at columns 3, 26, 49 and 72.
void CTrackWriter::writePointLine(const double* values)
{
    char* line = m_Out.room(4 * kNumberWidth + 7);
    line[0] = 's';
    line[1] = ' ';
    std::size_t used = 2;
    for (int i = 0; i < 4; ++i)
    {
        used += formatTrackNumber(line + used, values[i]);
        line[used++] = i < 2 ? ',' : ' ';
    }
    line[used++] = '\n';
    m_Out.commit(used);
}

void CTrackWriter::warnUnknown(const CTrajectory& trajectory)
{
    m_Warnings << " ** WARNING: Unknown particle " << trajectory.jtrack << " encountered!\n"
               << " **          Event: " << trajectory.ncase
               << " tot. Energy: " << listReal(trajectory.etrack) << "\n"
               << " **          Track skipped!\n";
}

} // namespace trakor
