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
    bool m_LogScale = false; // of the time evolution
};

// How long (linear) or by which factor (logarithmic) a finished track takes to fade out; 0 with
// fading off.
double FadeWindow(const CParticleDataReader& store, bool logScale);
// The particle as it stands at time t: pieces cut where the particle has got to, finished tracks
// fading over the window when fade is set.
void DrawParticleAtTime(const CParticle& particle, double t, double fadeWindow, bool fade);

// Every visible particle of every enabled group, whole or as it stands at the store's current
// time when show evolution is set.
void DrawTracks(const CParticleDataReader& store, const CDrawSettings& settings);
// One line piece per pair of consecutive points, in the type's colour.
void DrawParticleWhole(const CParticle& particle);
} // namespace trakor3d
