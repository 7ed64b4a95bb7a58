// Numbers in VRML97 text. Its fields are single-precision floats: a coordinate beyond their range
// (1e308) or not a number would make a VRML reader refuse the whole file.
#pragma once
#include "common/Vector.h"

#include <string>

// The value in the stream's default format, brought into the normal range of a float (NaN and
// values too small for a float as 0).
std::string VrmlNumber(double value);
// "x y z" of VrmlNumber.
std::string VrmlTriple(const CVector& v);
