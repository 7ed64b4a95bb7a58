#include "testkit/Pixels.h"

#include <GL/gl.h>

namespace testkit
{
CPixelImage::CPixelImage(int width, int height, std::vector<std::uint8_t> rgba)
    : m_Width(width), m_Height(height), m_Rgba(std::move(rgba))
{
    if (m_Width < 0 || m_Height < 0 || m_Rgba.size() != size_t(m_Width) * size_t(m_Height) * 4)
        *this = CPixelImage();
}

bool CPixelImage::ReadPng(const std::string& path)
{
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
    *this = ::ReadPng(path, width, height, rgba) ? CPixelImage(width, height, std::move(rgba))
                                                 : CPixelImage();
    return !m_Rgba.empty();
}

unsigned CPixelImage::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_Width || y >= m_Height) return 0xff000000u;
    const std::uint8_t* p = &m_Rgba[(size_t(y) * size_t(m_Width) + size_t(x)) * 4];
    return (unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | p[2];
}

int CPixelImage::Count(unsigned rgb) const
{
    int n = 0;
    for (size_t i = 0; i + 3 < m_Rgba.size(); i += 4)
        n += ((unsigned(m_Rgba[i]) << 16) | (unsigned(m_Rgba[i + 1]) << 8) | m_Rgba[i + 2]) == rgb;
    return n;
}

void CTopView::Draw(const std::function<void()>& draw)
{
    glViewport(0, 0, Size, Size);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, Extent, 0, Extent, -Extent, Extent);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    draw();
    m_Image = CPixelImage(Size, Size, m_GL.ReadPixels());
}

unsigned CTopView::At(double x, double y) const
{
    const double perUnit = Size / Extent;
    return m_Image.At(static_cast<int>(x * perUnit), Size - 1 - static_cast<int>(y * perUnit));
}
} // namespace testkit
