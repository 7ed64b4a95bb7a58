// Pixels for render tests: an RGBA image with the colour at a point and colour counts, and an
// offscreen top view that draws a scene into one.
#pragma once
#include "platform/Offscreen.h"

#include <GL/gl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testkit
{
class CPixelImage
{
public:
    CPixelImage() = default;
    // RGBA rows, top row first.
    CPixelImage(int width, int height, std::vector<std::uint8_t> rgba);
    // False (and an empty image) when the file is no readable PNG.
    bool ReadPng(const std::string& path);
    // The same for an uncompressed 24-bit Windows bitmap (rows bottom-up, padded to 4 bytes).
    bool ReadBmp(const std::string& path);

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    const std::vector<std::uint8_t>& Rgba() const { return m_Rgba; }
    // 0xRRGGBB of the pixel in column x, row y (row 0 at the top); 0xff000000 outside.
    unsigned At(int x, int y) const;
    // Pixels of exactly this 0xRRGGBB colour.
    int Count(unsigned rgb) const;

private:
    int m_Width = 0, m_Height = 0;
    std::vector<std::uint8_t> m_Rgba;
};

// A top view of the square 0..Extent x 0..Extent (z from -Extent, far, to Extent, near) at
// Size / Extent pixels per unit, on a black background with depth testing on.
class CTopView
{
public:
    static constexpr int Size = 100;
    static constexpr double Extent = 10;

    // Creates the offscreen context; false with Error() set where there is none.
    bool Create() { return m_GL.Create(Size, Size); }
    const std::string& Error() const { return m_GL.Error(); }

    // Clears, sets the view, runs draw and keeps the pixels.
    void Draw(const std::function<void()>& draw);

    // The colour at scene coordinates (x, y); lines along x.x5 hit pixel centres.
    unsigned At(double x, double y) const;
    int Count(unsigned rgb) const { return m_Image.Count(rgb); }
    const CPixelImage& Image() const { return m_Image; }

private:
    COffscreenGL m_GL;
    CPixelImage m_Image;
};
} // namespace testkit
