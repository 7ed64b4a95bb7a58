// Speed of the geometry: classifying 10^6 random points in a generated 50-region geometry
// (nested boxes, cylinders and spheres, some of them rotated) on one core, read from a FLUKA
// input and from an MCNP input of the same shells, tracing a
// 1000 x 1000 section of it on two, and the host's frame with three sections drawn against the
// same frame without geometry (the outlines are traced once per position, not per frame).
#include "BenchKit.h"
#include "geometry/GeometryFormats.h"
#include "geometry/Section.h"
#include "host/Host.h"
#include "host/Scene.h"
#include "platform/Offscreen.h"

#include <GL/gl.h>
#include <omp.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace
{
// 48 shells of boxes, cylinders and spheres around the origin, every third turned by a
// ROT-DEFI, inside a world box inside a black hole: 50 regions.
std::string GeneratedInput()
{
    std::ostringstream in;
    in << "GEOBEGIN                                                              COMBNAME\n"
          "    0    0          bench\n"
          "SPH blk 0 0 0 10000\nRPP world -200 200 -200 200 -200 200\n";
    const char* kinds[3] = {"RPP", "RCC", "SPH"};
    for (int i = 0; i < 48; ++i)
    {
        const double r = 4 + 3.5 * (47 - i); // outer shells first: each inside the previous
        if (i % 3 == 1) in << "$start_transform turn" << i % 4 << "\n";
        const char* kind = kinds[i % 3];
        in << kind << " b" << i << " ";
        if (i % 3 == 0) in << -r << " " << r << " " << -r << " " << r << " " << -r << " " << r;
        if (i % 3 == 1) in << "0 0 " << -r << " 0 0 " << 2 * r << " " << r;
        if (i % 3 == 2) in << "0 0 0 " << r;
        in << "\n";
        if (i % 3 == 1) in << "$end_transform\n";
    }
    in << "END\nBLK 5 +blk -world\nAIR 5 +world -b0\n";
    for (int i = 0; i < 48; ++i)
        in << "R" << i << " 5 +b" << i << (i < 47 ? " -b" + std::to_string(i + 1) : "") << "\n";
    in << "END\nGEOEND\n";
    for (int t = 0; t < 4; ++t)
    {
        char card[96];
        std::snprintf(card, sizeof card, "%-10s%10.1f%10.1f%10.1f%30sturn%d\n", "ROT-DEFI",
                      100.0 * (t % 3 + 1), 10.0 + 7 * t, 5.0 * t, "", t);
        in << card;
    }
    return in.str();
}
// The same shells as MCNP cells: macrobodies, every third turned by a *TR card (about z), a
// world box and the outside world (not a region): 49 cells and the outside.
std::string GeneratedMcnpInput()
{
    std::ostringstream cells, surfaces, data;
    cells << "bench\n1 5 -1 -1000 1 imp:n=1\n";
    surfaces << "1000 rpp -200 200 -200 200 -200 200\n";
    const char* kinds[3] = {"rpp", "rcc", "sph"};
    for (int i = 0; i < 48; ++i)
    {
        const double r = 4 + 3.5 * (47 - i);
        const int n = i + 1;
        surfaces << n << " ";
        if (i % 3 == 1) surfaces << i % 4 + 1 << " ";
        surfaces << kinds[i % 3] << " ";
        if (i % 3 == 0)
            surfaces << -r << " " << r << " " << -r << " " << r << " " << -r << " " << r;
        if (i % 3 == 1) surfaces << "0 0 " << -r << " 0 0 " << 2 * r << " " << r;
        if (i % 3 == 2) surfaces << "0 0 0 " << r;
        surfaces << "\n";
        cells << 10 + i << " 5 -1 -" << n;
        if (i < 47) cells << " " << n + 1;
        cells << " imp:n=1\n";
    }
    cells << "99 0 1000 imp:n=0\n";
    for (int t = 0; t < 4; ++t)
    {
        const double a = 10.0 + 7 * t;
        data << "*tr" << t + 1 << " 0 0 0 " << a << " " << 90 - a << " 90 " << 90 + a << " " << a
             << " 90 90 90 0\n";
    }
    data << "m5 7014 1\n";
    return cells.str() + "\n" + surfaces.str() + "\n" + data.str();
}

// Writes a generated input and reads it with the reader its content names.
bool WriteAndRead(const std::string& path, const std::string& text, CGeometry& geometry)
{
    std::ofstream(path) << text;
    std::vector<std::string> errors, notes;
    if (ReadGeometry(path, geometry, errors, notes)) return true;
    std::fprintf(stderr, "the generated input %s does not load: %s\n", path.c_str(),
                 errors.front().c_str());
    return false;
}

void Classify(const char* what, const CGeometry& geometry, const std::vector<CVector>& points)
{
    long found = 0;
    const double classify = benchkit::Median({benchkit::CpuOnce(
        [&]
        {
            for (const CVector& p : points)
                found += geometry.RegionAt(p) >= 0;
        })});
    const double rate = double(points.size()) / classify;
    std::printf("classify 10^6 points on one core, %s: %.3f s, %.2e points/s (target >= 2e6): %s "
                "[%ld in regions]\n",
                what, classify, rate, rate >= 2e6 ? "met" : "NOT met", found);
}
} // namespace

int main()
{
    const std::string path =
        (std::filesystem::temp_directory_path() / "bench_geometry.inp").string();
    CGeometry geometry;
    if (!WriteAndRead(path, GeneratedInput(), geometry)) return 1;
    std::printf("%zu regions, %zu bodies\n", geometry.m_Regions.size(), geometry.m_Bodies.size());
    benchkit::PrintLoadAverage();

    std::mt19937_64 random(1);
    std::uniform_real_distribution<double> coordinate(-200, 200);
    std::vector<CVector> points(1000000);
    for (CVector& p : points)
        p = {coordinate(random), coordinate(random), coordinate(random)};
    Classify("FLUKA input", geometry, points);
    const std::string mcnpPath =
        (std::filesystem::temp_directory_path() / "bench_geometry.i").string();
    CGeometry mcnp;
    const bool mcnpRead = WriteAndRead(mcnpPath, GeneratedMcnpInput(), mcnp);
    std::filesystem::remove(mcnpPath);
    if (!mcnpRead) return 1;
    Classify("MCNP input", mcnp, points);

    omp_set_num_threads(2);
    CSectionPlane plane;
    plane.m_Axis = 1;
    plane.m_Lo[0] = plane.m_Lo[1] = -200;
    plane.m_Hi[0] = plane.m_Hi[1] = 200;
    size_t segments = 0;
    const double trace =
        benchkit::TimeOnce([&] { segments = TraceSection(geometry, plane, 1000).size(); });
    std::printf("trace a 1000 x 1000 section on two threads: %.3f s (target <= 0.5 s): %s "
                "[%zu segments]\n",
                trace, trace <= 0.5 ? "met" : "NOT met", segments);

    // The frame: the host's scene with and without the geometry's three sections.
    COffscreenGL gl;
    if (!gl.Create(800, 600))
    {
        std::printf("frame: no offscreen GL (%s)\n", gl.Error().c_str());
        return 0;
    }
    // Two hosts alike but for the geometry, drawn in turn so that the machine's load falls on
    // both alike.
    CHost bareHost, geometryHost;
    CScene bare(bareHost), withGeometry(geometryHost);
    std::vector<std::string> errors, notes;
    geometryHost.Geometry().Load(path, errors, notes);
    for (CScene* scene : {&bare, &withGeometry})
    {
        scene->AddSolid({{-50, -50, -50}, {50, 50, 50}, {0.5, 0.5, 0.8}});
        scene->FitCamera(800, 600);
        scene->Draw(800, 600, nullptr, nullptr); // the first frame traces the sections
    }
    std::vector<double> bareTimes, geometryTimes;
    for (int i = 0; i < 200; ++i)
        for (CScene* scene : {&bare, &withGeometry})
            (scene == &bare ? bareTimes : geometryTimes)
                .push_back(benchkit::TimeOnce(
                    [&]
                    {
                        scene->Draw(800, 600, nullptr, nullptr);
                        glFinish();
                    }));
    const double b = benchkit::Median(bareTimes), g = benchkit::Median(geometryTimes);
    std::printf("frame with three sections: %.2f ms against %.2f ms without geometry, %.2f "
                "(target <= 1.2): %s\n",
                g * 1e3, b * 1e3, g / b, g <= 1.2 * b ? "met" : "NOT met");
    std::filesystem::remove(path);
    return 0;
}
