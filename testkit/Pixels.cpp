#include "testkit/Pixels.h"

#include <GL/gl.h>

#include <fstream>
#include <iterator>

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

namespace
{
std::uint32_t Le(const std::vector<std::uint8_t>& b, size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | b[at + i];
    return v;
}
} // namespace

bool CPixelImage::ReadBmp(const std::string& path)
{
    *this = CPixelImage();
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> b{std::istreambuf_iterator<char>(in), {}};
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || Le(b, 28, 2) != 24 || Le(b, 30, 4) != 0)
        return false;
    const std::int32_t width = std::int32_t(Le(b, 18, 4)), height = std::int32_t(Le(b, 22, 4));
    const size_t offset = Le(b, 10, 4);
    if (width <= 0 || height <= 0 || width > 100000 || height > 100000) return false;
    const size_t stride = (size_t(width) * 3 + 3) / 4 * 4;
    if (offset > b.size() || b.size() - offset < stride * size_t(height)) return false;
    std::vector<std::uint8_t> rgba(size_t(width) * size_t(height) * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const std::uint8_t* p = &b[offset + size_t(height - 1 - y) * stride + size_t(x) * 3];
            std::uint8_t* q = &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4];
            q[0] = p[2];
            q[1] = p[1];
            q[2] = p[0];
            q[3] = 255;
        }
    *this = CPixelImage(width, height, std::move(rgba));
    return true;
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
