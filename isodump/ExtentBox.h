// The extent both point viewers report and the red box they draw in the host's box pass.
#pragma once
#include "common/Vector.h"

namespace isodump
{
// The 12 edges of the axis-aligned box between two corners, into the current GL context.
void DrawExtentBox(const CVector& min, const CVector& max);

// The extent of the loaded points, all zero when there are none (or no reader).
template <class TReader> void ReaderExtent(const TReader* pReader, CVector& min, CVector& max)
{
    if (!pReader || pReader->Count() == 0)
    {
        min = max = CVector();
        return;
    }
    min = pReader->m_ExtentMin;
    max = pReader->m_ExtentMax;
}
} // namespace isodump
