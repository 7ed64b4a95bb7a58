#include "isotopes/IsotopeRenderer.h"

#include "isotopes/Elements.h"
#include "isotopes/IsotopeDataReader.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

namespace nuclira3d
{
namespace
{
bool Finite(const CVector& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

void Sphere(GLUquadric* quadric, const CVector& p, double r, int slices, int stacks)
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslated(p.x, p.y, p.z);
    gluSphere(quadric, r, slices, stacks);
    glPopMatrix();
}

void DrawEmitter(const CIsotope& e, int mode, bool transparent, double size, GLUquadric* quadric)
{
    const CVector c = ElementColor(e.m_Z);
    const double alpha = transparent ? 0.25 : 1.0;
    const double r = e.m_SizeFactor * size;
    if (mode == DrawShadedSphere)
    {
        const GLfloat ambient[4] = {GLfloat(c.x), GLfloat(c.y), GLfloat(c.z), GLfloat(alpha)};
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
        Sphere(quadric, e.m_Position, r, 8, 8);
        return;
    }
    glDisable(GL_LIGHTING);
    glColor4d(c.x, c.y, c.z, alpha);
    if (mode == DrawPoint)
    {
        glPointSize(static_cast<GLfloat>(std::max(1.0, r)));
        glBegin(GL_POINTS);
        glVertex3d(e.m_Position.x, e.m_Position.y, e.m_Position.z);
        glEnd();
    }
    else if (mode == DrawSphere)
        Sphere(quadric, e.m_Position, r, 8, 8);
    else
        Sphere(quadric, e.m_Position, r, 3, 2);
    glEnable(GL_LIGHTING);
}
} // namespace

double WeightSizeFactor(double weight, double total, bool scaleWithWeight)
{
    if (!scaleWithWeight || total == 0 || !std::isfinite(total) || !std::isfinite(weight))
        return 1.0;
    return 1000.0 * weight / total;
}

void DrawIsotopes(const CIsotopeDataReader& reader, const CIsotopeDrawSettings& s,
                  float snapPointSize)
{
    GLUquadric* quadric = gluNewQuadric();
    if (!quadric) return;
    gluQuadricOrientation(quadric, GLU_OUTSIDE);
    // The host's state comes back as it was, lighting included.
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT | GL_LIGHTING_BIT |
                 GL_POINT_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const double base = double(snapPointSize) * s.m_ScaleFactor;
    for (const auto& [z, emitter] : reader.AllEmitters())
    {
        const CIsotope& e = *emitter;
        if (!e.m_Visible || !s.Passes(e.m_Weight) || !Finite(e.m_Position)) continue;
        const double f = WeightSizeFactor(e.m_Weight, reader.m_TotalWeight, s.m_ScaleWithWeight);
        DrawEmitter(e, s.m_Mode, s.m_Transparent, base * f, quadric);
    }
    glPopAttrib();
    gluDeleteQuadric(quadric);
}
} // namespace nuclira3d
