#include "isodump/ExtentBox.h"

#include <GL/gl.h>

namespace isodump
{
void DrawExtentBox(const CVector& a, const CVector& b)
{
    const CVector c[8] = {{a.x, a.y, a.z}, {b.x, a.y, a.z}, {b.x, b.y, a.z}, {a.x, b.y, a.z},
                          {a.x, a.y, b.z}, {b.x, a.y, b.z}, {b.x, b.y, b.z}, {a.x, b.y, b.z}};
    static const int edges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                     {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glColor3d(1, 0, 0);
    glBegin(GL_LINES);
    for (const auto& e : edges)
        for (int corner : e)
            glVertex3d(c[corner].x, c[corner].y, c[corner].z);
    glEnd();
    glPopAttrib();
}
} // namespace isodump
