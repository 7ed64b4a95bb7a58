#include "tracks/TrackRenderer.h"

#include "common/ColorTable.h"
#include "tracks/ParticleDataReader.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace trakor3d
{
void DrawParticleWhole(const CParticle& particle)
{
    if (particle.m_Points.size() < 2 || !CColorTable::ValidIndex(particle.m_Type)) return;
    const CVector& c = CColorTable::Instance().Get(particle.m_Type);
    glColor4d(c.x, c.y, c.z, 1.0 - particle.m_Transparency);
    glBegin(GL_LINES);
    for (size_t i = 0; i + 1 < particle.m_Points.size(); ++i)
    {
        const CSegment& p = particle.m_Points[i];
        const CSegment& q = particle.m_Points[i + 1];
        glVertex3d(p.x, p.y, p.z);
        glVertex3d(q.x, q.y, q.z);
    }
    glEnd();
}

double FadeWindow(const CParticleDataReader& store, bool logScale)
{
    if (!store.m_FadeTracks) return 0;
    const double steps = store.m_FadeSteps * store.m_TimeStep;
    return logScale ? std::pow(10.0, steps) : std::max(steps, 0.0);
}

namespace
{
// How far along the piece P -> Q the particle has got at time t.
double Reach(double len, double tP, double tQ, double t)
{
    const double duration = tQ - tP;
    if (duration == 0) // no speed to go by: the piece appears whole once reached
        return t >= tP ? len : 0;
    return len / duration * std::min(duration, std::max(t - tP, 0.0));
}
} // namespace

void DrawParticleAtTime(const CParticle& particle, double t, double fadeWindow, bool fade)
{
    const auto& points = particle.m_Points;
    const size_t n = points.size();
    if (n < 2 || !CColorTable::ValidIndex(particle.m_Type)) return;
    const double tFirst = points.front().t, tLast = points.back().t;
    if (fade ? (t < tFirst || t > tLast + fadeWindow) : t < tFirst) return;
    const CVector& c = CColorTable::Instance().Get(particle.m_Type);
    for (size_t i = 0; i + 1 < n; ++i)
    {
        const CSegment& p = points[i];
        const CSegment& q = points[i + 1];
        const CVector d = q - p;
        const double len = d.Length();
        const CVector u = len > 1e-5 ? d / len : CVector();
        const CVector e = p + u * Reach(len, p.t, q.t, t);
        double faded = 0;
        if (fade && t > tLast)
            faded = std::clamp((t - tLast) / fadeWindow * double(n - i) / double(n - 1), 0.0, 1.0);
        glColor4d(c.x, c.y, c.z, 1.0 - faded);
        glBegin(GL_LINE_STRIP);
        glVertex3d(p.x, p.y, p.z);
        glVertex3d(e.x, e.y, e.z);
        glEnd();
    }
}

void DrawTracks(const CParticleDataReader& store, const CDrawSettings& settings)
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    if (settings.m_AntiAliasing)
    {
        glEnable(GL_LINE_SMOOTH);
        glHint(GL_LINE_SMOOTH_HINT, GL_DONT_CARE);
    }
    else
        glDisable(GL_LINE_SMOOTH);
    glLineWidth(static_cast<GLfloat>(settings.m_LineWidth));
    if (settings.m_Visualize)
    {
        if (settings.m_Overlay) glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        const double window = FadeWindow(store, settings.m_LogScale);
        for (size_t g = 0; g < store.m_EnergyGroups.size() && g < store.m_Particles.size(); ++g)
        {
            if (!store.m_EnergyGroups[g].m_Enabled) continue;
            for (const auto& [type, particle] : store.m_Particles[g])
            {
                if (!particle.m_Visible) continue;
                if (store.m_ShowEvolution)
                    DrawParticleAtTime(particle, store.m_CurrentTime, window, store.m_FadeTracks);
                else
                    DrawParticleWhole(particle);
            }
        }
        glEnable(GL_LIGHTING);
        glEnable(GL_DEPTH_TEST);
    }
    glLineWidth(1.0f);
    glDisable(GL_BLEND);
}
} // namespace trakor3d
