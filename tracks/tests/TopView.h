// An offscreen top view of the square 0..10 x 0..10 (z from -10, far, to 10, near) at ten pixels
// per unit, for tests that check which colour the track drawing leaves where.
#pragma once
#include "platform/Offscreen.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>

class CTopView
{
public:
    static constexpr int Size = 100;

    bool Create() { return m_GL.Create(Size, Size); }
    const std::string& Error() const { return m_GL.Error(); }

    // Clears to black, sets the view, runs draw and keeps the pixels.
    void Draw(const std::function<void()>& draw)
    {
        glViewport(0, 0, Size, Size);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 10, 0, 10, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_DEPTH_TEST);
        draw();
        m_Pixels = m_GL.ReadPixels();
    }

    // The colour at scene coordinates (x, y) as 0xRRGGBB; lines along x.x5 hit pixel centres.
    unsigned At(double x, double y) const
    {
        const int px = static_cast<int>(x * 10);
        const int py = Size - 1 - static_cast<int>(y * 10);
        const std::uint8_t* p = &m_Pixels[(static_cast<size_t>(py) * Size + px) * 4];
        return (unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | p[2];
    }

    int Count(unsigned rgb) const
    {
        int n = 0;
        for (size_t i = 0; i + 3 < m_Pixels.size(); i += 4)
            n += ((unsigned(m_Pixels[i]) << 16) | (unsigned(m_Pixels[i + 1]) << 8) |
                  m_Pixels[i + 2]) == rgb;
        return n;
    }

    const std::vector<std::uint8_t>& Pixels() const { return m_Pixels; }

private:
    COffscreenGL m_GL;
    std::vector<std::uint8_t> m_Pixels;
};
