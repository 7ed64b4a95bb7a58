#include "tracks/TrackRenderer.h"

#include "common/ColorTable.h"
#include "tracks/ParticleDataReader.h"

#include <GL/gl.h>

namespace trakor3d
{
void DrawParticleWhole(const CParticle& particle)
{
    if (particle.m_Points.size() < 2 || !CColorTable::ValidIndex(particle.m_Type))
        return;
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
        if (settings.m_Overlay)
            glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        for (size_t g = 0; g < store.m_EnergyGroups.size() && g < store.m_Particles.size(); ++g)
        {
            if (!store.m_EnergyGroups[g].m_Enabled)
                continue;
            for (const auto& [type, particle] : store.m_Particles[g])
                if (particle.m_Visible)
                    DrawParticleWhole(particle);
        }
        glEnable(GL_LIGHTING);
        glEnable(GL_DEPTH_TEST);
    }
    glLineWidth(1.0f);
    glDisable(GL_BLEND);
}
} // namespace trakor3d
