// Draws the emitters into the current GL context in their element colours: points, spheres,
// boxes or lit spheres, sized by the host's snap point size, through the weight filter.
#pragma once
#include "isodump/PointDisplay.h"

namespace nuclira3d
{
class CIsotopeDataReader;

enum EIsotopeDrawMode : int
{
    DrawPoint = 0,
    DrawSphere = 1,
    DrawBox = 2,
    DrawShadedSphere = 3,
};

struct CIsotopeDrawSettings : isodump::CPointDisplay
{
    bool m_ScaleWithWeight = false;
    float m_ScaleFactor = 1.0f; // the general scaling factor
};

// The size factor of one emitter: 1000 × weight / total with weight scaling (1 where the total
// or the weight is no usable number), else 1.
double WeightSizeFactor(double weight, double total, bool scaleWithWeight);

void DrawIsotopes(const CIsotopeDataReader& reader, const CIsotopeDrawSettings& settings,
                  float snapPointSize);
} // namespace nuclira3d
