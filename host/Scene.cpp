#include "host/Scene.h"

#include "common/GlLines.h"
#include "host/ViewOverlay.h"

#include <GL/gl.h>

#include <algorithm>

bool CScene::DataBox(CVector& min, CVector& max) const
{
    bool any = m_Host.Box(min, max);
    CVector gmin, gmax;
    if (m_Host.Geometry().Bounds(gmin, gmax))
    {
        min = any ? CVector::Min(min, gmin) : gmin;
        max = any ? CVector::Max(max, gmax) : gmax;
        any = true;
    }
    for (const auto& s : m_Solids)
    {
        min = any ? CVector::Min(min, s.m_Min) : s.m_Min;
        max = any ? CVector::Max(max, s.m_Max) : s.m_Max;
        any = true;
    }
    return any;
}

bool CScene::FitCamera(int width, int height)
{
    CVector min, max;
    if (!DataBox(min, max)) return false;
    m_Camera.FitTo(min, max, double(std::max(width, 1)) / std::max(height, 1));
    return true;
}

void CScene::Draw(int width, int height, HDC dc, HGLRC rc)
{
    glViewport(0, 0, width, height);
    const CVector bottom = m_Settings.BackgroundBottom();
    glClearColor(float(bottom.x), float(bottom.y), float(bottom.z), 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawBackground();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    m_Camera.Apply(width, height);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    const GLfloat lightDir[] = {0.3f, 0.5f, 1.0f, 0.0f};
    glPushMatrix();
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, lightDir);
    glPopMatrix();
    for (const auto& s : m_Solids)
        DrawSolid(s);
    // After the plug-ins, so that an outline in the plane of a data slice lies on top of it.
    m_Host.RenderPlugIns(dc, rc);
    DrawGeometry();
    if (m_Settings.m_BoundingBox) DrawBoundingBox();
    if (m_Settings.m_Axes)
    {
        CViewOverlay::Draw(m_Camera, width, height);
        CHostGeometry& geometry = m_Host.Geometry();
        const bool sections =
            geometry.Section(0).m_On || geometry.Section(1).m_On || geometry.Section(2).m_On;
        if (geometry.Loaded() && sections)
            CViewOverlay::DrawMaterialLegend(geometry.MaterialLegend(), width, height);
    }
    if (!m_Title.empty()) CViewOverlay::DrawTitle(m_Title, width, height);
    glFinish();
}

// A quad over the whole viewport, behind everything: the depth buffer stays cleared.
void CScene::DrawBackground() const
{
    const CVector top = m_Settings.BackgroundTop(), bottom = m_Settings.BackgroundBottom();
    glPushAttrib(GL_ENABLE_BIT | GL_TRANSFORM_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glShadeModel(GL_SMOOTH);
    glBegin(GL_QUADS);
    glColor3d(bottom.x, bottom.y, bottom.z);
    glVertex2d(-1, -1);
    glVertex2d(1, -1);
    glColor3d(top.x, top.y, top.z);
    glVertex2d(1, 1);
    glVertex2d(-1, 1);
    glEnd();
    glPopAttrib();
}

// The twelve edges of the data's box, hidden where the data stands in front of them.
void CScene::DrawBoundingBox() const
{
    CVector a, b;
    if (!DataBox(a, b)) return;
    PushPlainLines(1);
    glColor3fv(BoxColor);
    glBegin(GL_LINES);
    for (int i = 0; i < 8; ++i)
        for (int axis = 1; axis < 8; axis <<= 1)
            if (!(i & axis))
            {
                const int j = i | axis;
                glVertex3d(i & 1 ? b.x : a.x, i & 2 ? b.y : a.y, i & 4 ? b.z : a.z);
                glVertex3d(j & 1 ? b.x : a.x, j & 2 ? b.y : a.y, j & 4 ? b.z : a.z);
            }
    glEnd();
    glPopAttrib();
}

void CScene::DrawSolid(const CSolid& s) const
{
    const CVector& a = s.m_Min;
    const CVector& b = s.m_Max;
    glColor3d(s.m_Color.x, s.m_Color.y, s.m_Color.z);
    glBegin(GL_QUADS);
    // Six faces, counter-clockwise seen from outside.
    glNormal3d(0, 0, -1);
    glVertex3d(a.x, a.y, a.z);
    glVertex3d(a.x, b.y, a.z);
    glVertex3d(b.x, b.y, a.z);
    glVertex3d(b.x, a.y, a.z);
    glNormal3d(0, 0, 1);
    glVertex3d(a.x, a.y, b.z);
    glVertex3d(b.x, a.y, b.z);
    glVertex3d(b.x, b.y, b.z);
    glVertex3d(a.x, b.y, b.z);
    glNormal3d(0, -1, 0);
    glVertex3d(a.x, a.y, a.z);
    glVertex3d(b.x, a.y, a.z);
    glVertex3d(b.x, a.y, b.z);
    glVertex3d(a.x, a.y, b.z);
    glNormal3d(0, 1, 0);
    glVertex3d(a.x, b.y, a.z);
    glVertex3d(a.x, b.y, b.z);
    glVertex3d(b.x, b.y, b.z);
    glVertex3d(b.x, b.y, a.z);
    glNormal3d(-1, 0, 0);
    glVertex3d(a.x, a.y, a.z);
    glVertex3d(a.x, a.y, b.z);
    glVertex3d(a.x, b.y, b.z);
    glVertex3d(a.x, b.y, a.z);
    glNormal3d(1, 0, 0);
    glVertex3d(b.x, a.y, a.z);
    glVertex3d(b.x, b.y, a.z);
    glVertex3d(b.x, b.y, b.z);
    glVertex3d(b.x, a.y, b.z);
    glEnd();
}

// The outlines of the section planes, one line per boundary segment in its material's colour,
// from arrays made once per section position.
void CScene::DrawGeometry() const
{
    CHostGeometry& geometry = m_Host.Geometry();
    if (!geometry.Loaded()) return;
    PushPlainLines(1);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    for (int axis = 0; axis < 3; ++axis)
    {
        const CHostGeometry::CDrawable& d = geometry.Drawable(axis);
        if (d.m_Points.empty()) continue;
        glVertexPointer(3, GL_FLOAT, 0, d.m_Points.data());
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, d.m_Colors.data());
        glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(d.m_Points.size() / 3));
    }
    glPopClientAttrib();
    glPopAttrib();
}
