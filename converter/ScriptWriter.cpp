#include "ScriptWriter.h"

#include "NumberFormat.h"
#include "Particles.h"
#include "TextOutput.h"

#include <cstdio>

namespace trakor
{
namespace
{

constexpr std::size_t NumberWidth = ExponentWidth(GroupDecimals);
// The CAD program takes an exact 0 badly; a tiny value stands in for it.
const double ZeroSubstitute = static_cast<double>(1.385e-20f);

bool Drawable(int code)
{
    return code >= 1 && IsKnownParticle(code);
}

double ScriptValue(double value)
{
    return value == 0.0 ? ZeroSubstitute : value;
}

CPoint ScriptPoint(const CPoint& p)
{
    return {ScriptValue(p.x), ScriptValue(p.y), ScriptValue(p.z)};
}

std::string LineLayer(int code)
{
    return std::string("ALL") + LayerDigit + std::to_string(code);
}

// The interaction code right-aligned in two columns, with 0 instead of a blank because a blank
// would end the layer name in the script; wider codes are written in full.
std::string SphereLayer(int code, int icode)
{
    char number[16];
    std::snprintf(number, sizeof number, "%02d", icode);
    return std::string("COLL") + LayerDigit + std::to_string(code) + "_" + number;
}

} // namespace

CScriptWriter::CScriptWriter(CTextOutput& out) : m_Out(out) {}

void CScriptWriter::collcad(const CTrajectory& trajectory)
{
    if (!Drawable(trajectory.m_Jtrack) || trajectory.m_Points.empty()) return;
    const CPoint first = ScriptPoint(trajectory.m_Points.front());
    const bool continues =
        m_LastPoint && *m_LastPoint == first && m_LastCode == trajectory.m_Jtrack;
    std::size_t from = 1;
    if (!continues)
    {
        if (m_LineCount > 0) m_Out.Put('\n');
        StartLayer(LineLayer(trajectory.m_Jtrack), trajectory.m_Jtrack);
        m_Out.Line("_LINE");
        from = 0;
        ++m_LineCount;
    }
    for (std::size_t i = from; i < trajectory.m_Points.size(); ++i)
        CoordinateLine(ScriptPoint(trajectory.m_Points[i]));
    m_LastPoint = ScriptPoint(trajectory.m_Points.back());
    m_LastCode = trajectory.m_Jtrack;
}

void CScriptWriter::collcad1(const CDeposition& deposition)
{
    if (!Drawable(deposition.m_Jtrack)) return;
    if (m_SphereCount == 0) m_Out.Put('\n');
    StartLayer(SphereLayer(deposition.m_Jtrack, deposition.m_Icode), deposition.m_Jtrack);
    m_Out.Line("_SPHERE");
    CoordinateLine(ScriptPoint(deposition.m_Position));
    NumberLine(SphereRadius);
    ++m_SphereCount;
}

void CScriptWriter::Finish()
{
    if (m_SphereCount == 0) m_Out.Put('\n');
}

void CScriptWriter::StartLayer(const std::string& name, int colour)
{
    m_Out.Line("_LAYER");
    if (m_Layers.insert(name).second)
    {
        m_Out.Line("_NEW");
        m_Out.Line(name);
    }
    m_Out.Line("_SET");
    m_Out.Line(name);
    m_Out.Line("_COLOR");
    m_Out.Line(std::to_string(colour));
    m_Out.Write("\n\n");
}

void CScriptWriter::CoordinateLine(const CPoint& point)
{
    char* line = m_Out.Room(3 * NumberWidth + 3);
    std::size_t used = FormatExponent(line, point.x, GroupDecimals, 'E');
    line[used++] = ',';
    used += FormatExponent(line + used, point.y, GroupDecimals, 'E');
    line[used++] = ',';
    used += FormatExponent(line + used, point.z, GroupDecimals, 'E');
    line[used++] = '\n';
    m_Out.Commit(used);
}

void CScriptWriter::NumberLine(double value)
{
    char* line = m_Out.Room(NumberWidth + 1);
    std::size_t used = FormatExponent(line, value, GroupDecimals, 'E');
    line[used++] = '\n';
    m_Out.Commit(used);
}

} // namespace trakor
