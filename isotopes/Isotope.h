// One emitter: a residual nuclide (Z, A) at a position with a statistical weight. Emitters come
// in millions, so they live in Loki's small-object allocator.
#pragma once
#include "common/Vector.h"

#include <loki/SmallObj.h>

namespace nuclira3d
{
constexpr std::size_t IsotopeChunkSize = 64 * 1024;
using CIsotopeAllocator = Loki::SmallObject<Loki::SingleThreaded, IsotopeChunkSize, 256, 4,
                                            Loki::LongevityLifetime::DieAsSmallObjectParent>;

class CIsotope : public CIsotopeAllocator
{
public:
    virtual ~CIsotope() = default;

    // Creates the allocator before anything that may outlive it, so that it is destroyed after
    // every emitter at unload.
    static void PrepareAllocator();

    CVector m_Position;
    CVector m_Direction;
    CVector m_ExtentMin{1e15, 1e15, 1e15};
    CVector m_ExtentMax{-1e15, -1e15, -1e15};
    bool m_Visible = true;
    int m_Z = -1000;
    int m_A = -1000;
    double m_DirectionLength = 1.0;
    double m_Weight = 0; // a record kind that sets none leaves 0
    double m_SizeFactor = 1.0;
};
} // namespace nuclira3d
