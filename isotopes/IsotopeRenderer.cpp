#include "isotopes/IsotopeRenderer.h"

#include "isotopes/Elements.h"
#include "isotopes/IsotopeDataReader.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <vector>

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

bool Drawn(const CIsotope& e, const CIsotopeDrawSettings& s)
{
    return e.m_Visible && s.Passes(e.m_Weight) && Finite(e.m_Position);
}

// Points of one size go to GL in one array: a million single points in immediate mode take
// seconds per frame on a software renderer.
void DrawPointArray(const CIsotopeDataReader& reader, const CIsotopeDrawSettings& s, double size)
{
    std::vector<float> xyz, rgba;
    xyz.reserve(reader.Count() * 3);
    rgba.reserve(reader.Count() * 4);
    const float alpha = s.m_Transparent ? 0.25f : 1.0f;
    for (const auto& [z, emitter] : reader.AllEmitters())
    {
        const CIsotope& e = *emitter;
        if (!Drawn(e, s) || e.m_SizeFactor != 1.0) continue;
        const CVector c = ElementColor(e.m_Z);
        xyz.insert(xyz.end(),
                   {float(e.m_Position.x), float(e.m_Position.y), float(e.m_Position.z)});
        rgba.insert(rgba.end(), {float(c.x), float(c.y), float(c.z), alpha});
    }
    if (xyz.empty()) return;
    glDisable(GL_LIGHTING);
    glPointSize(static_cast<GLfloat>(std::max(1.0, size)));
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, xyz.data());
    glColorPointer(4, GL_FLOAT, 0, rgba.data());
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(xyz.size() / 3));
    glPopClientAttrib();
}

void DrawEmitter(const CIsotope& e, int mode, bool transparent, double size, GLUquadric* quadric)
{
    const CVector c = ElementColor(e.m_Z);
    const double alpha = transparent ? 0.25 : 1.0;
    const double r = e.m_SizeFactor * size;
    if (mode == DrawShadedSphere)
    {
        const GLfloat ambient[4] = {GLfloat(c.x), GLfloat(c.y), GLfloat(c.z), GLfloat(alpha)};
        // Diffuse and the current colour as well: under the host's light (and with colour
        // material on) an ambient colour alone leaves every element grey.
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, ambient);
        glColor4d(c.x, c.y, c.z, alpha);
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
    const bool oneSize = s.m_Mode == DrawPoint && !s.m_ScaleWithWeight;
    if (oneSize) DrawPointArray(reader, s, base);
    for (const auto& [z, emitter] : reader.AllEmitters())
    {
        const CIsotope& e = *emitter;
        if (!Drawn(e, s) || (oneSize && e.m_SizeFactor == 1.0)) continue;
        const double f = WeightSizeFactor(e.m_Weight, reader.m_TotalWeight, s.m_ScaleWithWeight);
        DrawEmitter(e, s.m_Mode, s.m_Transparent, base * f, quadric);
    }
    glPopAttrib();
    gluDeleteQuadric(quadric);
}
} // namespace nuclira3d
