// Loading and drawing a cloud of a million particles: the load against a bare parse of the same
// bytes (target ratio >= 0.5), the point drawing against a bare vertex-array program drawing
// the same points (target frame-time ratio <= 1.2), and the memory per particle.
#include "bench/BenchFrame.h"
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
using namespace benchkit;

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

} // namespace

int main()
{
    PrintLoadAverage();
    const int n = 1000000;
    const std::string text = MakeFile(n);
    std::vector<double> values;
    values.reserve(size_t(n) * 9);
    const CTimes bare = MedianTimes(3,
                                    [&]
                                    {
                                        values.clear();
                                        BareParse(text, " \t;,:", values);
                                    });

    // The memory is that of the first load; the time is the median of three.
    nebulo3d::CParticleDataReader reader;
    std::vector<double> wall, cpu;
    long before = 0, after = 0;
    for (int run = 0; run < 3; ++run)
    {
        reader.Clear();
        std::istringstream in(text);
        if (run == 0) before = ResidentKiB();
        const double cpuStart = ThreadCpuSeconds();
        wall.push_back(TimeOnce([&] { reader.ReadOwnFormat(in, text.size(), nullptr); }));
        cpu.push_back(ThreadCpuSeconds() - cpuStart);
        if (run == 0) after = ResidentKiB();
    }
    const CTimes load{Median(wall), Median(cpu)};
    std::printf("load of %zu particles (%.1f MB): %.3f s, bare parse %.3f s, ratio %.2f (target "
                ">= 0.5); processor time %.3f s, bare %.3f s, ratio %.2f\n",
                reader.Count(), text.size() / 1e6, load.m_Wall, bare.m_Wall,
                bare.m_Wall / load.m_Wall, load.m_Cpu, bare.m_Cpu, bare.m_Cpu / load.m_Cpu);
    std::printf("memory per particle: %.0f bytes\n", (after - before) * 1024.0 / n);

    COffscreenGL gl;
    if (!StartPointView(gl)) return 0;
    std::vector<float> xyz, rgba;
    for (const auto& [type, p] : reader.AllParticles())
    {
        xyz.insert(xyz.end(),
                   {float(p->m_Position.x), float(p->m_Position.y), float(p->m_Position.z)});
        const CVector c = CColorTable::Instance().Get(type);
        rgba.insert(rgba.end(), {float(c.x), float(c.y), float(c.z), 1.0f});
    }
    const double bareFrame = BarePointsFrame(xyz, rgba, 15, 3);
    nebulo3d::CCloudRenderer renderer;
    nebulo3d::CCloudDrawSettings settings;
    const double cloudFrame = FrameTime([&] { renderer.Draw(reader, settings); }, 15, 3);
    std::printf("points frame (median of 15): %.2f ms, bare vertex arrays %.2f ms, ratio %.2f "
                "(target <= 1.2)\n",
                cloudFrame * 1e3, bareFrame * 1e3, cloudFrame / bareFrame);
    PrintLoadAverage();
    return 0;
}
