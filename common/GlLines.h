// The GL state for plain lines over a scene: no lighting, texture, blending or smoothing, at a
// given width; the caller restores with glPopAttrib.
#pragma once
#include <GL/gl.h>

inline void PushPlainLines(float width)
{
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_LINE_SMOOTH);
    glLineWidth(width);
}
