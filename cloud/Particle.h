// One particle of a cloud: a point with a direction, a type, an energy and a weight. Particles
// are small and come in millions, so they live in Loki's small-object allocator.
#pragma once
#include "common/Vector.h"

#include <loki/SmallObj.h>

#include <ostream>
#include <string_view>

namespace nebulo3d
{
// Chunks of 255 particles: Loki scans its chunks when one fills, so few large chunks load fast.
constexpr std::size_t ParticleChunkSize = 64 * 1024;
using CParticleAllocator = Loki::SmallObject<Loki::SingleThreaded, ParticleChunkSize, 256, 4,
                                             Loki::LongevityLifetime::DieAsSmallObjectParent>;

class CParticle : public CParticleAllocator
{
public:
    enum class ELine
    {
        Particle,   // all nine fields were read
        Skipped,    // empty, comment or one-field line: nothing set
        Corrupt,    // any other field count: the file is not of this format
        Unreadable, // nine fields, one of them not a number: the particle is not stored
    };

    virtual ~CParticle() = default;
    // Two blanks per indentation level.
    virtual void WriteIndent(std::ostream& os) const;
    // depthChange 1 opens a level before the line, 2 closes one before it.
    virtual void WriteLine(std::ostream& os, std::string_view text, int depthChange);
    virtual void ExportVRML(std::ostream& os);
    // One line of the own format (fields type weight x y z dx dy dz energy); problem names the
    // field of an Unreadable line.
    virtual ELine ReadLine(std::string_view line, std::string& problem);

    // Creates the allocator before anything that may outlive it is constructed, so that it is
    // destroyed after every particle at unload.
    static void PrepareAllocator();

    CVector m_Position;
    CVector m_Direction;
    int m_Type = -1000;
    double m_Energy = 0;
    double m_DirectionLength = 1.0;
    double m_Weight = 0;
    bool m_Visible = true;
    CVector m_ExtentMin{1e15, 1e15, 1e15};
    CVector m_ExtentMax{-1e15, -1e15, -1e15};
    int m_Depth = 0;
    double m_SizeFactor = 1.0;
    double m_Time = 0; // s, where the file gives it
};
} // namespace nebulo3d
