// An offscreen view straight down the z axis onto the square 0..Extent x 0..Extent (z from
// -Extent, far, to Extent, near), 100 x 100 pixels on a grey background, for tests that check
// which colour the slice drawing leaves where.
#pragma once
#include "platform/Offscreen.h"

#include <GL/gl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace volumira3d::test
{
class CPlaneView
{
public:
    static constexpr int Size = 100;
    static constexpr unsigned Background = 0x404040;

    bool Create() { return m_GL.Create(Size, Size); }
    const std::string& Error() const { return m_GL.Error(); }
    void SetExtent(double extent) { m_Extent = extent; }

    // Clears, sets the view (optionally turned by yaw and pitch), runs draw, keeps the pixels.
    void Draw(const std::function<void()>& draw, double yaw = 0, double pitch = 0)
    {
        m_GL.MakeCurrent();
        glViewport(0, 0, Size, Size);
        glClearColor(0.25f, 0.25f, 0.25f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, m_Extent, 0, m_Extent, -4 * m_Extent, 4 * m_Extent);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        if (yaw != 0 || pitch != 0)
        {
            const double c = m_Extent / 2;
            glTranslated(c, c, 0);
            glRotated(pitch, 1, 0, 0);
            glRotated(yaw, 0, 1, 0);
            glScaled(0.6, 0.6, 0.6);
            glTranslated(-c, -c, 0);
        }
        glEnable(GL_DEPTH_TEST);
        draw();
        m_Pixels = m_GL.ReadPixels();
        m_Depth.resize(size_t(Size) * Size);
        glReadPixels(0, 0, Size, Size, GL_DEPTH_COMPONENT, GL_FLOAT, m_Depth.data());
    }

    // The scene z of what was drawn at (x, y) in the unturned view (bottom row first in depth).
    double SceneZ(double x, double y) const
    {
        const int px = static_cast<int>(x / m_Extent * Size);
        const int py = static_cast<int>(y / m_Extent * Size);
        const double d = m_Depth[static_cast<size_t>(py) * Size + px];
        return -(2 * d - 1) * 4 * m_Extent;
    }

    // The colour at scene coordinates (x, y) as 0xRRGGBB.
    unsigned At(double x, double y) const
    {
        const int px = static_cast<int>(x / m_Extent * Size);
        const int py = Size - 1 - static_cast<int>(y / m_Extent * Size);
        const std::uint8_t* p = &m_Pixels[(static_cast<size_t>(py) * Size + px) * 4];
        return (unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | p[2];
    }

    const std::vector<std::uint8_t>& Pixels() const { return m_Pixels; }

private:
    COffscreenGL m_GL;
    std::vector<std::uint8_t> m_Pixels;
    std::vector<float> m_Depth;
    double m_Extent = 10;
};

inline int Red(unsigned c)
{
    return int(c >> 16);
}
inline int Green(unsigned c)
{
    return int((c >> 8) & 0xff);
}
inline int Blue(unsigned c)
{
    return int(c & 0xff);
}
} // namespace volumira3d::test
