#include "host/Scene.h"

#include <GL/gl.h>

bool CScene::FitCamera()
{
    CVector min, max;
    bool any = m_Host.Box(min, max);
    for (const auto& s : m_Solids)
    {
        min = any ? CVector::Min(min, s.m_Min) : s.m_Min;
        max = any ? CVector::Max(max, s.m_Max) : s.m_Max;
        any = true;
    }
    if (any) m_Camera.FitTo(min, max);
    return any;
}

void CScene::Draw(int width, int height, HDC dc, HGLRC rc)
{
    glViewport(0, 0, width, height);
    glClearColor(float(m_Background.x), float(m_Background.y), float(m_Background.z), 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
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
    m_Host.RenderPlugIns(dc, rc);
    glFinish();
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
