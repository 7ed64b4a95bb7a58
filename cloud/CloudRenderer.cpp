#include "cloud/CloudRenderer.h"

#include "cloud/ParticleDataReader.h"
#include "isodump/ExtentBox.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace nebulo3d
{
bool Drawn(const CParticle& p, const CCloudDrawSettings& s)
{
    return p.m_Visible && s.Passes(p.m_Weight);
}

namespace
{
CVector TypeColor(int type)
{
    return CColorTable::ValidIndex(type) ? CColorTable::Instance().Get(type) : CVector(1, 1, 1);
}

void SetColor(int type, bool transparent)
{
    const CVector c = TypeColor(type);
    if (transparent)
        glColor4d(c.x, c.y, c.z, 0.25);
    else
        glColor3d(c.x, c.y, c.z);
}

void Vertex(const CVector& v)
{
    glVertex3d(v.x, v.y, v.z);
}

// Host state the drawing changes is given back afterwards. Blending is on only for transparent
// colours: with alpha 1 it gives the same pixels and only costs time per fragment.
class CStateGuard
{
public:
    explicit CStateGuard(bool transparent)
    {
        glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT);
        glDisable(GL_LIGHTING);
        if (!transparent) return;
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    ~CStateGuard() { glPopAttrib(); }
};
} // namespace

void DrawExtentBox(const CParticleDataReader& reader)
{
    if (reader.Count() > 0) isodump::DrawExtentBox(reader.m_ExtentMin, reader.m_ExtentMax);
}

void CCloudRenderer::Draw(const CParticleDataReader& reader, const CCloudDrawSettings& settings)
{
    CStateGuard guard(settings.m_Transparent);
    if (settings.m_Mode == DrawPoint)
        DrawPoints(reader, settings);
    else
        DrawSolids(reader, settings);
    if (settings.m_ShowDirections) DrawDirections(reader, settings);
}

void CCloudRenderer::Rebuild(const CParticleDataReader& reader, const CCloudDrawSettings& s)
{
    m_Vertices.clear();
    m_Colors.clear();
    const float alpha = s.m_Transparent ? 0.25f : 1.0f;
    for (const auto& [type, particle] : reader.AllParticles())
    {
        const CParticle& p = *particle;
        if (!Drawn(p, s)) continue;
        const CVector c = TypeColor(p.m_Type);
        m_Vertices.insert(m_Vertices.end(),
                          {float(p.m_Position.x), float(p.m_Position.y), float(p.m_Position.z)});
        m_Colors.insert(m_Colors.end(), {float(c.x), float(c.y), float(c.z), alpha});
    }
}

void CCloudRenderer::DrawPoints(const CParticleDataReader& reader, const CCloudDrawSettings& s)
{
    CKey key{
        &reader,       reader.Generation(),          s.m_Transparent, s.m_Filter, s.m_FilterMin,
        s.m_FilterMax, CColorTable::Instance().All()};
    if (!m_Valid || !(key == m_Key))
    {
        Rebuild(reader, s);
        m_Key = std::move(key);
        m_Valid = true;
    }
    if (m_Vertices.empty()) return;
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, m_Vertices.data());
    glColorPointer(4, GL_FLOAT, 0, m_Colors.data());
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(m_Vertices.size() / 3));
    glPopClientAttrib();
}

void CCloudRenderer::DrawSolids(const CParticleDataReader& reader, const CCloudDrawSettings& s)
{
    const int slices = s.m_Mode == DrawSphere ? 8 : 3;
    const int stacks = s.m_Mode == DrawSphere ? 8 : 2;
    GLUquadric* quadric = gluNewQuadric();
    if (!quadric) return;
    gluQuadricOrientation(quadric, GLU_OUTSIDE);
    glMatrixMode(GL_MODELVIEW);
    for (const auto& [type, particle] : reader.AllParticles())
    {
        const CParticle& p = *particle;
        if (!Drawn(p, s)) continue;
        SetColor(p.m_Type, s.m_Transparent);
        glPushMatrix();
        glTranslated(p.m_Position.x, p.m_Position.y, p.m_Position.z);
        gluSphere(quadric, p.m_SizeFactor * s.m_Scale, slices, stacks);
        glPopMatrix();
    }
    gluDeleteQuadric(quadric);
}

void CCloudRenderer::DrawDirections(const CParticleDataReader& reader, const CCloudDrawSettings& s)
{
    glBegin(GL_LINES);
    for (const auto& [type, particle] : reader.AllParticles())
    {
        const CParticle& p = *particle;
        if (!Drawn(p, s)) continue;
        SetColor(p.m_Type, s.m_Transparent);
        const CVector& P = p.m_Position;
        const CVector& d = p.m_Direction;
        const CVector tip = P + d * (s.m_Scale * p.m_DirectionLength);
        Vertex(P);
        Vertex(tip);
        if (!s.m_DrawArrows) continue;
        for (const CVector& q :
             {CVector(P.x + d.x, P.y + d.z, P.z - d.y), CVector(P.x - d.x, P.y - d.z, P.z + d.y),
              CVector(P.x + d.y, P.y - d.x, P.z + d.z), CVector(P.x - d.y, P.y + d.x, P.z - d.z)})
        {
            Vertex(tip);
            Vertex(q);
        }
    }
    glEnd();
}
} // namespace nebulo3d
