// Draws the emitters into the current GL context in their element colours: points, spheres,
// boxes or lit spheres, sized by the host's snap point size, through the weight filter.
#pragma once

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

struct CIsotopeDrawSettings
{
    int m_Mode = DrawPoint;
    bool m_Transparent = false;
    bool m_ScaleWithWeight = false;
    bool m_Filter = false;
    double m_FilterMin = 1e30, m_FilterMax = 1e-30;
    float m_ScaleFactor = 1.0f; // the general scaling factor

    bool Passes(double weight) const
    {
        return !m_Filter || (m_FilterMin <= weight && weight <= m_FilterMax);
    }
};

// The size factor of one emitter: 1000 × weight / total with weight scaling (1 where the total
// or the weight is no usable number), else 1.
double WeightSizeFactor(double weight, double total, bool scaleWithWeight);

void DrawIsotopes(const CIsotopeDataReader& reader, const CIsotopeDrawSettings& settings,
                  float snapPointSize);
} // namespace nuclira3d
