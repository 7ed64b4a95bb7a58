// Draws a particle cloud into the current GL context: points, spheres or boxes in their type
// colours, with direction lines and arrows, through the weight filter. Points go through vertex
// arrays kept until the cloud, the filter or the colours change.
#pragma once
#include "common/ColorTable.h"
#include "isodump/PointDisplay.h"

#include <vector>

namespace nebulo3d
{
class CParticleDataReader;
class CParticle;

enum EDrawMode : int
{
    DrawPoint = 0,
    DrawSphere = 1,
    DrawBox = 2,
};

struct CCloudDrawSettings : isodump::CPointDisplay
{
    bool m_ShowDirections = false;
    bool m_DrawArrows = false;
    double m_Scale = 10.0; // direction scaling factor, also the sphere radius
};

// Whether the settings draw the particle: its type shown, its weight through the filter.
bool Drawn(const CParticle& p, const CCloudDrawSettings& s);

// The 12 red edges of the reader's extent; nothing for an empty reader.
void DrawExtentBox(const CParticleDataReader& reader);

class CCloudRenderer
{
public:
    void Draw(const CParticleDataReader& reader, const CCloudDrawSettings& settings);

private:
    struct CKey
    {
        const CParticleDataReader* m_pReader = nullptr;
        unsigned long m_Generation = 0;
        bool m_Transparent = false, m_Filter = false;
        double m_FilterMin = 0, m_FilterMax = 0;
        CColorTable::Colors m_Colors{};
        bool operator==(const CKey&) const = default;
    };

    void DrawPoints(const CParticleDataReader& reader, const CCloudDrawSettings& settings);
    void Rebuild(const CParticleDataReader& reader, const CCloudDrawSettings& settings);
    static void DrawSolids(const CParticleDataReader& reader, const CCloudDrawSettings& settings);
    static void DrawDirections(const CParticleDataReader& reader,
                               const CCloudDrawSettings& settings);

    CKey m_Key;
    bool m_Valid = false;
    std::vector<float> m_Vertices; // x y z per point
    std::vector<float> m_Colors;   // r g b a per point
};
} // namespace nebulo3d
