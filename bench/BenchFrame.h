// The frame timing the drawing benchmarks share (they need a current GL context).
#pragma once

#include "bench/BenchKit.h"
#include "platform/Offscreen.h"

#include <GL/gl.h>

#include <cstdio>
#include <vector>

namespace benchkit
{
// The median time of a frame over several, after warm-up frames (a plug-in's first draw builds
// its arrays; drivers settle in the first frames).
template <class F> double FrameTime(F draw, int frames, int warmup)
{
    return MedianSeconds(
        frames,
        [&]
        {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            draw();
            glFinish();
        },
        warmup);
}

// The point benches' 800 x 600 context, looking at the cube of +-100 cm from the front; false,
// said on the standard output, when no offscreen context can be had.
inline bool StartPointView(COffscreenGL& gl)
{
    if (!gl.Create(800, 600) || !gl.MakeCurrent())
    {
        std::printf("no offscreen GL context: %s\n", gl.Error().c_str());
        return false;
    }
    glViewport(0, 0, 800, 600);
    glClearColor(0, 0, 0, 1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-100, 100, -100, 100, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    return true;
}

// The frame a plug-in's point drawing is measured against: the same points (and colours, when
// given: four per point) as bare vertex arrays.
inline double BarePointsFrame(const std::vector<float>& xyz, const std::vector<float>& rgba,
                              int frames, int warmup)
{
    return FrameTime(
        [&]
        {
            glEnableClientState(GL_VERTEX_ARRAY);
            glVertexPointer(3, GL_FLOAT, 0, xyz.data());
            if (!rgba.empty())
            {
                glEnableClientState(GL_COLOR_ARRAY);
                glColorPointer(4, GL_FLOAT, 0, rgba.data());
            }
            glDrawArrays(GL_POINTS, 0, GLsizei(xyz.size() / 3));
            glDisableClientState(GL_VERTEX_ARRAY);
            glDisableClientState(GL_COLOR_ARRAY);
        },
        frames, warmup);
}
} // namespace benchkit
