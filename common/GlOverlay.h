// Drawing flat over a GL scene after everything else: a premultiplied BGRA image (as cairo's
// ARGB32 surfaces hold it, rows top first) blended over the viewport at a pixel position.
#pragma once
#include <GL/gl.h>

// The image's lower left corner lands at pixel (x, y) of a viewport of viewWidth x viewHeight.
inline void BlendImageOverView(const unsigned char* bgra, int width, int height, int stride, int x,
                               int y, int viewWidth, int viewHeight)
{
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_PIXEL_MODE_BIT | GL_TRANSFORM_BIT |
                 GL_CURRENT_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, viewWidth, 0, viewHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, stride / 4);
    // The rows run top down: start at the top row and draw downwards.
    glRasterPos2i(x, y + height - 1);
    glPixelZoom(1, -1);
    glDrawPixels(width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, bgra);
    glPixelZoom(1, 1);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopClientAttrib();
    glPopAttrib();
}
