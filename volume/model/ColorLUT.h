// The colour lookup table every coloured thing of the volume display takes its colours from: a
// few pivot colours at integer keys, filled in between by linear interpolation.
#pragma once
#include "common/Vector.h"

#include <cstdint>
#include <map>
#include <vector>

namespace volumira3d
{
class CColorLUT
{
public:
    virtual ~CColorLUT() = default;

    // Components above 1 are clamped to 1; the pivot is inserted or replaced.
    void SetPivot(int index, CVector colour);
    void ClearPivots();
    // Rebuilds m_LUT from the pivots. A pivot map whose smallest key is not 0 is a programming
    // error ("m_Pivots.begin()->first == 0"): it is reported and the table stays empty (false).
    bool BuildLUT();
    // Entry i; an index outside the table is a programming error and yields black.
    const CVector& GetColor(int i) const;
    int Size() const { return static_cast<int>(m_LUT.size()); }
    // The colour of the pivot with this key; false when there is none.
    bool FindPivot(int key, CVector& colour) const;

    std::vector<CVector> m_LUT;
    std::map<std::int32_t, CVector> m_Pivots;
};
} // namespace volumira3d
