// Drawing a 1000 x 1000 colour plot (one plane) offscreen through the plug-in's renderer, against
// a bare loop that draws the same coloured quads from ready-made client-side vertex arrays in the
// same context; then a 200^3 grid with all three planes, frame time reported.
#include "platform/Offscreen.h"
#include "volume/display/SliceRenderer.h"
#include "volume/model/DisplayState.h"
#include "volume/model/VoxelGrid.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
using namespace volumira3d;
using Clock = std::chrono::steady_clock;

void Fill(CVoxelGrid& grid, int nx, int ny, int nz)
{
    std::string error;
    if (!grid.AllocateGrid(nx, ny, nz, error))
    {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(1);
    }
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j)
            for (int k = 0; k < nz; ++k)
                grid.m_Voxels[i][j][k] = std::exp(-0.00002 * ((i - nx / 2) * (i - nx / 2) +
                                                              (j - ny / 2) * (j - ny / 2))) *
                                             (1 + k % 7) +
                                         1e-6;
    for (double& w : grid.m_BinWidth)
        w = 0.1;
    grid.m_RangeMin = 1e-6;
    grid.m_RangeMax = 8;
    grid.m_DataLoaded = true;
}

void SetView(double extent)
{
    glViewport(0, 0, 1000, 1000);
    glClearColor(0, 0, 0, 1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, extent, 0, extent, -extent, extent);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
}

template <class F> double FrameMs(F&& draw, int frames)
{
    draw(); // warm-up
    glFinish();
    const auto t0 = Clock::now();
    for (int f = 0; f < frames; ++f)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw();
        glFinish();
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count() / frames;
}

// The quads the renderer draws for the XY plane at layer 0, built once.
struct CBareQuads
{
    std::vector<float> m_Vertices;
    std::vector<std::uint32_t> m_Colors;

    CBareQuads(const CVoxelGrid& grid, const CDisplayState& state)
    {
        const CColorMapping mapping = state.Mapping(grid);
        for (int i = 0; i < grid.m_NrXBins; ++i)
            for (int j = 0; j < grid.m_NrYBins; ++j)
            {
                const int index = mapping.IndexForValue(grid.m_Voxels[i][j][0]);
                if (index < 0) continue;
                const float x0 = float(i * 0.1), x1 = float((i + 1) * 0.1);
                const float y0 = float(j * 0.1), y1 = float((j + 1) * 0.1);
                m_Vertices.insert(m_Vertices.end(), {x0, y0, 0, x1, y0, 0, x1, y1, 0, x0, y1, 0});
                const CVector& c = state.m_LUT.GetColor(index);
                const std::uint32_t rgba = std::uint32_t(std::lround(c.x * 255)) |
                                           std::uint32_t(std::lround(c.y * 255)) << 8 |
                                           std::uint32_t(std::lround(c.z * 255)) << 16 | 255u << 24;
                m_Colors.insert(m_Colors.end(), {rgba, rgba, rgba, rgba});
            }
    }

    // With the state the renderer's scene sets: blending and polygon offset.
    void Draw() const
    {
        glDisable(GL_LIGHTING);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(1, 1);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, m_Vertices.data());
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, m_Colors.data());
        glDrawArrays(GL_QUADS, 0, GLsizei(m_Vertices.size() / 3));
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisable(GL_POLYGON_OFFSET_FILL);
        glDisable(GL_BLEND);
    }
};
} // namespace

int main()
{
    COffscreenGL gl;
    if (!gl.Create(1000, 1000))
    {
        std::fprintf(stderr, "no offscreen GL: %s\n", gl.Error().c_str());
        return 1;
    }
    {
        CVoxelGrid grid;
        Fill(grid, 1000, 1000, 1);
        CDisplayState state;
        state.m_PlaneEnabled[PlaneXY] = true;
        CSliceRenderer renderer(grid, state);
        const CBareQuads bare(grid, state);
        SetView(100);
        const int frames = 10;
        const double bareMs = FrameMs([&] { bare.Draw(); }, frames);
        const double ourMs = FrameMs([&] { renderer.DrawScene(); }, frames);
        std::printf("colour plot 1000 x 1000, one plane: %.1f ms per frame, bare vertex arrays "
                    "%.1f ms, ratio %.2f (target <= 1.2)\n",
                    ourMs, bareMs, ourMs / bareMs);
    }
    {
        CVoxelGrid grid;
        Fill(grid, 200, 200, 200);
        CDisplayState state;
        for (int p = 0; p < 3; ++p)
        {
            state.m_PlaneEnabled[p] = true;
            state.m_PlaneLayer[p] = 100;
        }
        CSliceRenderer renderer(grid, state);
        SetView(20);
        glRotated(30, 1, 1, 0);
        const double ms = FrameMs([&] { renderer.DrawScene(); }, 10);
        std::printf("colour plot 200^3, three planes: %.1f ms per frame\n", ms);
    }
    return 0;
}
