// Draws the track store into the current GL context.
#pragma once

namespace trakor3d
{
class CParticle;
class CParticleDataReader;

struct CDrawSettings
{
    bool m_Visualize = false;
    bool m_Overlay = false;
    bool m_AntiAliasing = false;
    int m_LineWidth = 1;
};

// Every visible particle of every enabled group, whole or as it stands at the store's current
// time when show evolution is set.
void DrawTracks(const CParticleDataReader& store, const CDrawSettings& settings);
// One line piece per pair of consecutive points, in the type's colour.
void DrawParticleWhole(const CParticle& particle);
} // namespace trakor3d
