#include "ScriptWriter.h"

#include "NumberFormat.h"
#include "Particles.h"
#include "TextOutput.h"

#include <cstdio>

namespace trakor
{
namespace
{

constexpr std::size_t kNumberWidth = exponentWidth(kGroupDecimals);
// The CAD program takes an exact 0 badly; a tiny value stands in for it.
const double kZeroSubstitute = static_cast<double>(1.385e-20f);

bool drawable(int code)
{
    return code >= 1 && isKnownParticle(code);
}

double scriptValue(double value)
{
    return value == 0.0 ? kZeroSubstitute : value;
}

CPoint scriptPoint(const CPoint& p)
{
    return {scriptValue(p.x), scriptValue(p.y), scriptValue(p.z)};
}

std::string lineLayer(int code)
{
    return std::string("ALL") + kLayerDigit + std::to_string(code);
}

// The interaction code right-aligned in two columns, with 0 instead of a blank because a blank
// would end the layer name in the script; wider codes are written in full.
std::string sphereLayer(int code, int icode)
{
    char number[16];
    std::snprintf(number, sizeof number, "%02d", icode);
    return std::string("COLL") + kLayerDigit + std::to_string(code) + "_" + number;
}

} // namespace

CScriptWriter::CScriptWriter(CTextOutput& out) : m_Out(out) {}

void CScriptWriter::collcad(const CTrajectory& trajectory)
{
    if (!drawable(trajectory.jtrack) || trajectory.points.empty()) return;
    const CPoint first = scriptPoint(trajectory.points.front());
    const bool continues = m_LastPoint && *m_LastPoint == first && m_LastCode == trajectory.jtrack;
    std::size_t from = 1;
    if (!continues)
    {
        if (m_LineCount > 0) m_Out.put('\n');
        startLayer(lineLayer(trajectory.jtrack), trajectory.jtrack);
        m_Out.line("_LINE");
        from = 0;
        ++m_LineCount;
    }
    for (std::size_t i = from; i < trajectory.points.size(); ++i)
        coordinateLine(scriptPoint(trajectory.points[i]));
    m_LastPoint = scriptPoint(trajectory.points.back());
    m_LastCode = trajectory.jtrack;
}

void CScriptWriter::collcad1(const CDeposition& deposition)
{
    if (!drawable(deposition.jtrack)) return;
    if (m_SphereCount == 0) m_Out.put('\n');
    startLayer(sphereLayer(deposition.jtrack, deposition.icode), deposition.jtrack);
    m_Out.line("_SPHERE");
    coordinateLine(scriptPoint(deposition.position));
    numberLine(kSphereRadius);
    ++m_SphereCount;
}

void CScriptWriter::finish()
{
    if (m_SphereCount == 0) m_Out.put('\n');
}

void CScriptWriter::startLayer(const std::string& name, int colour)
{
    m_Out.line("_LAYER");
    if (m_Layers.insert(name).second)
    {
        m_Out.line("_NEW");
        m_Out.line(name);
    }
    m_Out.line("_SET");
    m_Out.line(name);
    m_Out.line("_COLOR");
    m_Out.line(std::to_string(colour));
    m_Out.write("\n\n");
}

void CScriptWriter::coordinateLine(const CPoint& point)
{
    char* line = m_Out.room(3 * kNumberWidth + 3);
    std::size_t used = formatExponent(line, point.x, kGroupDecimals, 'E');
    line[used++] = ',';
    used += formatExponent(line + used, point.y, kGroupDecimals, 'E');
    line[used++] = ',';
    used += formatExponent(line + used, point.z, kGroupDecimals, 'E');
    line[used++] = '\n';
    m_Out.commit(used);
}

void CScriptWriter::numberLine(double value)
{
    char* line = m_Out.room(kNumberWidth + 1);
    std::size_t used = formatExponent(line, value, kGroupDecimals, 'E');
    line[used++] = '\n';
    m_Out.commit(used);
}

} // namespace trakor
