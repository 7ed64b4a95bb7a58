#include "cloud/Particle.h"

#include "cloud/FieldNumbers.h"
#include "cloud/ParticleTypes.h"
#include "common/ColorTable.h"
#include "common/Tokens.h"
#include "common/VrmlNumbers.h"

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace nebulo3d
{
namespace
{
constexpr CSeparators OwnSeparators(" \t;,:");

bool IsComment(std::string_view firstField)
{
    return firstField.find_first_of("#$*&/") != std::string_view::npos;
}

} // namespace

void CParticle::PrepareAllocator()
{
    Loki::AllocatorSingleton<Loki::SingleThreaded, ParticleChunkSize, 256, 4,
                             Loki::LongevityLifetime::DieAsSmallObjectParent>::Instance();
}

void CParticle::WriteIndent(std::ostream& os) const
{
    for (int i = 0; i < m_Depth; ++i)
        os << "  ";
}

void CParticle::WriteLine(std::ostream& os, std::string_view text, int depthChange)
{
    if (depthChange == 1) ++m_Depth;
    if (depthChange == 2 && m_Depth > 0) --m_Depth;
    WriteIndent(os);
    os << text << '\n';
}

void CParticle::ExportVRML(std::ostream& os)
{
    const CVector& c =
        CColorTable::ValidIndex(m_Type) ? CColorTable::Instance().Get(m_Type) : CVector(1, 1, 1);
    std::ostringstream color;
    color << "color DEF particlecolors Color { color [ " << VrmlTriple(c) << " ] }";
    const std::string point = VrmlTriple(m_Position);
    m_Depth = 0;
    WriteLine(os, "DEF _00 Transform {", 0);
    WriteLine(os, "children [", 1);
    WriteLine(os, "Shape {", 1);
    WriteLine(os, "geometry IndexedLineSet {", 1);
    WriteLine(os, "coord Coordinate {", 1);
    WriteLine(os, "point [", 1);
    WriteLine(os, point, 0);
    WriteLine(os, point, 0);
    WriteLine(os, "]", 0);
    WriteLine(os, "}", 2);
    WriteLine(os, "coordIndex [", 0);
    WriteLine(os, " 0, 1, -1", 0);
    WriteLine(os, "]", 2);
    WriteLine(os, "colorPerVertex FALSE", 0);
    WriteLine(os, color.str(), 0);
    WriteLine(os, "colorIndex [ 0 ]", 0);
    WriteLine(os, "}", 2);
    WriteLine(os, "}", 2);
    WriteLine(os, "] }", 2);
}

CParticle::ELine CParticle::ReadLine(std::string_view line)
{
    m_Energy = -1;
    m_Type = NoType;
    thread_local std::vector<std::string_view> f;
    SplitTokens(line, OwnSeparators, f);
    if (f.empty() || IsComment(f[0]) || f.size() == 1) return ELine::Skipped;
    if (f.size() != 9) return ELine::Corrupt;
    m_Type = StoredType(FieldInt(f[0]));
    m_Weight = FieldDouble(f[1]);
    m_Position = {FieldDouble(f[2]), FieldDouble(f[3]), FieldDouble(f[4])};
    m_Direction = {FieldDouble(f[5]), FieldDouble(f[6]), FieldDouble(f[7])};
    m_Energy = FieldDouble(f[8]);
    m_ExtentMin = m_Position;
    m_ExtentMax = m_Position + m_Direction;
    return ELine::Particle;
}
} // namespace nebulo3d
