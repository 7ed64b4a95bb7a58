// The frame timing the drawing benchmarks share (they need a current GL context).
#pragma once

#include "bench/BenchKit.h"

#include <GL/gl.h>

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
} // namespace benchkit
