#include "cloud/Particle.h"

#include "cloud/ParticleTypes.h"
#include "common/ColorTable.h"
#include "common/NumberScan.h"
#include "common/Tokens.h"
#include "common/VrmlLineBlock.h"
#include "common/VrmlNumbers.h"

#include <cmath>
#include <iostream>
#include <string>
#include <vector>

namespace nebulo3d
{
namespace
{
constexpr CSeparators OwnSeparators(" \t;,:");
// A zero-length line: its index list stays at the level of "coordIndex [".
constexpr CVrmlBlockStyle VrmlStyle{0, 1, 2, false, "color [ "};

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
    const std::string point = VrmlTriple(m_Position);
    m_Depth = 0;
    WriteVrmlLineBlock(point, point, VrmlTriple(c), VrmlStyle,
                       [&](const std::string& line, int mode) { WriteLine(os, line, mode); });
}

CParticle::ELine CParticle::ReadLine(std::string_view line, std::string& problem)
{
    m_Energy = -1;
    m_Type = NoType;
    thread_local std::vector<std::string_view> f;
    SplitTokens(line, OwnSeparators, f);
    if (f.empty() || IsComment(f[0]) || f.size() == 1) return ELine::Skipped;
    if (f.size() != 9) return ELine::Corrupt;
    double v[9];
    for (size_t i = 0; i < 9; ++i)
    {
        const std::optional<double> read = CheckedNumber(f[i], problem);
        if (!read) return ELine::Unreadable;
        v[i] = *read;
    }
    if (v[0] != std::trunc(v[0]) || std::fabs(v[0]) > 1e9)
    {
        problem = "the type " + std::string(f[0]) + " is no whole number";
        return ELine::Unreadable;
    }
    m_Type = StoredType(static_cast<int>(v[0]));
    m_Weight = v[1];
    m_Position = {v[2], v[3], v[4]};
    m_Direction = {v[5], v[6], v[7]};
    m_Energy = v[8];
    m_ExtentMin = m_Position;
    m_ExtentMax = m_Position + m_Direction;
    return ELine::Particle;
}
} // namespace nebulo3d
