// Loading and drawing a cloud of a million particles: the load against a bare parse of the same
// bytes (target ratio >= 0.5), the point drawing against a bare vertex-array program drawing
// the same points (target frame-time ratio <= 1.2), and the memory per particle.
#include "cloud/CloudRenderer.h"
#include "cloud/ParticleDataReader.h"
#include "common/Tokens.h"
#include "platform/Offscreen.h"

#include <GL/gl.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

std::string MakeFile(int n)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-100, 100);
    std::ostringstream os;
    const int types[] = {1, 3, 7, 8, 13};
    for (int i = 0; i < n; ++i)
        os << types[i % 5] << ' ' << 1.0 + i % 7 << ' ' << u(rng) << ' ' << u(rng) << ' ' << u(rng)
           << " 0 0 1 " << 0.5 + i % 11 << '\n';
    return os.str();
}

// The same bytes split and converted, kept in a flat array: the least any reader must do.
double BareParse(const std::string& text, std::vector<double>& values)
{
    const auto t0 = Clock::now();
    constexpr CSeparators seps(" \t;,:");
    std::vector<std::string_view> f;
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        SplitTokens(std::string_view(text).substr(start, end - start), seps, f);
        for (auto tok : f)
        {
            double v = 0;
            std::from_chars(tok.data(), tok.data() + tok.size(), v);
            values.push_back(v);
        }
        start = end + 1;
    }
    return Seconds(t0);
}

long ResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key)
        if (key == "VmRSS:" && status >> value) return value;
    return 0;
}

void SetView()
{
    glViewport(0, 0, 800, 600);
    glClearColor(0, 0, 0, 1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-100, 100, -100, 100, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

template <class F> double FrameTime(COffscreenGL& gl, F draw, int frames = 10)
{
    draw();
    glFinish();
    const auto t0 = Clock::now();
    for (int i = 0; i < frames; ++i)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw();
        glFinish();
    }
    (void)gl;
    return Seconds(t0) / frames;
}
} // namespace

int main()
{
    const int n = 1000000;
    const std::string text = MakeFile(n);
    std::vector<double> values;
    values.reserve(size_t(n) * 9);
    const double bare = BareParse(text, values);

    const long before = ResidentKiB();
    nebulo3d::CParticleDataReader reader;
    std::istringstream in(text);
    const auto t0 = Clock::now();
    reader.ReadOwnFormat(in, text.size(), nullptr);
    const double load = Seconds(t0);
    const long after = ResidentKiB();
    std::printf("load of %zu particles (%.1f MB): %.3f s, bare parse %.3f s, ratio %.2f (target "
                ">= 0.5)\n",
                reader.Count(), text.size() / 1e6, load, bare, bare / load);
    std::printf("memory per particle: %.0f bytes\n", (after - before) * 1024.0 / n);

    COffscreenGL gl;
    if (!gl.Create(800, 600) || !gl.MakeCurrent())
    {
        std::printf("no offscreen GL context: %s\n", gl.Error().c_str());
        return 0;
    }
    SetView();
    std::vector<float> xyz, rgba;
    for (const auto& [type, p] : reader.AllParticles())
    {
        xyz.insert(xyz.end(),
                   {float(p->m_Position.x), float(p->m_Position.y), float(p->m_Position.z)});
        const CVector c = CColorTable::Instance().Get(type);
        rgba.insert(rgba.end(), {float(c.x), float(c.y), float(c.z), 1.0f});
    }
    const double bareFrame = FrameTime(gl,
                                       [&]
                                       {
                                           glEnableClientState(GL_VERTEX_ARRAY);
                                           glEnableClientState(GL_COLOR_ARRAY);
                                           glVertexPointer(3, GL_FLOAT, 0, xyz.data());
                                           glColorPointer(4, GL_FLOAT, 0, rgba.data());
                                           glDrawArrays(GL_POINTS, 0, GLsizei(xyz.size() / 3));
                                           glDisableClientState(GL_VERTEX_ARRAY);
                                           glDisableClientState(GL_COLOR_ARRAY);
                                       });
    nebulo3d::CCloudRenderer renderer;
    nebulo3d::CCloudDrawSettings settings;
    const double cloudFrame = FrameTime(gl, [&] { renderer.Draw(reader, settings); });
    std::printf("points frame: %.2f ms, bare vertex arrays %.2f ms, ratio %.2f (target <= 1.2)\n",
                cloudFrame * 1e3, bareFrame * 1e3, cloudFrame / bareFrame);
    return 0;
}
