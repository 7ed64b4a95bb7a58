#include "common/VrmlNumbers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

std::string VrmlNumber(double value)
{
    constexpr double Largest = std::numeric_limits<float>::max();
    constexpr double Smallest = std::numeric_limits<float>::min();
    // Below a float's normal range a reader may report underflow; such a value is 0 to it anyway.
    if (std::isnan(value) || std::abs(value) < Smallest) value = 0;
    std::ostringstream os;
    os << std::clamp(value, -Largest, Largest);
    return os.str();
}

std::string VrmlTriple(const CVector& v)
{
    return VrmlNumber(v.x) + ' ' + VrmlNumber(v.y) + ' ' + VrmlNumber(v.z);
}
