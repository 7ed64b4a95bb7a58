// The red box both point viewers draw in the host's box pass: the 12 edges of the axis-aligned
// box between two corners, into the current GL context.
#pragma once
#include "common/Vector.h"

namespace isodump
{
void DrawExtentBox(const CVector& min, const CVector& max);
}
