// Loading a collector file of a million emitters against a bare parse of the same bytes (target
// ratio >= 0.5), the memory per emitter, the isotope and weight statistics against one bare pass
// over the emitters (target ratio >= 0.1: a logarithm per weight), and a point frame against bare
// vertex arrays (target ratio <= 1.5: the emitters' colours are looked up and the arrays built
// every frame).
#include "bench/BenchFrame.h"
#include "isotopes/IsotopeRenderer.h"
#include "isotopes/IsotopeStatistics.h"
#include "isotopes/NucVecCollectorReader.h"
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

// 50 nuclides of 20000 emitters each.
std::string MakeFile(int n)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-100, 100);
    std::ostringstream os;
    for (int i = 0; i < n; ++i)
    {
        if (i % 20000 == 0) os << "# " << 1 + i / 20000 << ' ' << 2 + 2 * (i / 20000) << " 0\n";
        os << u(rng) << ' ' << u(rng) << ' ' << u(rng) << ' ' << 1e-3 * (1 + i % 97) << '\n';
    }
    return os.str();
}

} // namespace

int main()
{
    PrintLoadAverage();
    const int n = 1000000;
    const std::string text = MakeFile(n);
    std::vector<double> values;
    values.reserve(size_t(n) * 4);
    const double bare = MedianSeconds(3,
                                      [&]
                                      {
                                          values.clear();
                                          BareParse(text, " \t,;", values);
                                      });

    const long before = ResidentKiB();
    nuclira3d::CNucVecCollectorReader reader;
    std::istringstream in(text);
    const double load = TimeOnce([&] { reader.ReadStream(in, text.size(), nullptr); });
    const long after = ResidentKiB();
    std::printf("load of %zu emitters (%.1f MB): %.3f s, bare parse %.3f s, ratio %.2f (target "
                ">= 0.5)\n",
                reader.Count(), text.size() / 1e6, load, bare, bare / load);
    std::printf("memory per emitter: %.0f bytes\n", (after - before) * 1024.0 / n);

    double sum = 0;
    const double pass = MedianSeconds(5,
                                      [&]
                                      {
                                          for (const auto& [z, e] : reader.AllEmitters())
                                              sum += e->m_Weight;
                                      });
    const double stats =
        MedianSeconds(5,
                      [&]
                      {
                          const std::string table = nuclira3d::IsotopeTable(reader);
                          nuclira3d::CWeightStatSettings s{reader.m_MinWeight, reader.m_MaxWeight,
                                                           1000, nuclira3d::LogarithmicBinning};
                          const auto histogram = nuclira3d::WeightHistogram(reader, s);
                      });
    std::printf("isotope table and 1000-bin weight histogram: %.3f s, bare pass %.3f s (sum %g), "
                "ratio %.2f (target >= 0.1)\n",
                stats, pass, sum, pass / stats);

    COffscreenGL gl;
    if (!StartPointView(gl)) return 0;
    std::vector<float> xyz;
    for (const auto& [z, e] : reader.AllEmitters())
        xyz.insert(xyz.end(),
                   {float(e->m_Position.x), float(e->m_Position.y), float(e->m_Position.z)});
    const double bareFrame = BarePointsFrame(xyz, {}, 7, 2);
    const nuclira3d::CIsotopeDrawSettings settings;
    const double frame = FrameTime([&] { nuclira3d::DrawIsotopes(reader, settings, 1.0f); }, 7, 2);
    std::printf("points frame: %.1f ms, bare vertex arrays "
                "%.1f ms, ratio %.1f (target <= 1.5)\n",
                frame * 1e3, bareFrame * 1e3, frame / bareFrame);
    PrintLoadAverage();
    return 0;
}
