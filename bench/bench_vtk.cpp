// Export speed and memory of the VTK writer: a 200 x 200 x 200 grid written as ImageData (raw
// appended Float64) through the same code the window menu uses, against a bare fwrite of the
// same bytes from one contiguous buffer. Target: the export at least half as fast as fwrite,
// without a second copy of the grid (peak memory beyond the grid printed).
#include "common/VtkXmlWriter.h"
#include "volume/GridVtkExport.h"
#include "volume/model/VoxelGrid.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace volumira3d;
namespace fs = std::filesystem;

namespace
{
using Clock = std::chrono::steady_clock;
constexpr int N = 200;
constexpr int Rounds = 5;

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double ResidentBytes(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0) return std::stod(line.substr(prefix.size())) * 1024;
    return 0;
}

void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// The fastest time of a few rounds, so that one disturbed round does not decide. Each round
// writes a new file: replacing an old one would add the freeing of its pages to the time.
template <class F> double Best(const std::string& path, F run)
{
    double best = 1e30;
    for (int i = 0; i < Rounds; ++i)
    {
        fs::remove(path);
        const auto start = Clock::now();
        run();
        best = std::min(best, Seconds(start));
    }
    return best;
}

double BareFwrite(const std::string& path, std::size_t bytes)
{
    std::vector<char> buffer(bytes, 1);
    return Best(path,
                [&]
                {
                    std::FILE* f = std::fopen(path.c_str(), "wb");
                    if (!f || std::fwrite(buffer.data(), 1, bytes, f) != bytes ||
                        std::fclose(f) != 0)
                        std::fprintf(stderr, "bare write of %s failed\n", path.c_str());
                });
}
} // namespace

int main()
{
    const fs::path dir = fs::temp_directory_path() / ("bench_vtk." + std::to_string(getpid()));
    fs::create_directories(dir);
    CVoxelGrid grid;
    std::string error;
    if (!grid.AllocateGrid(N, N, N, error))
    {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    for (int ix = 0; ix < N; ++ix)
        for (int iy = 0; iy < N; ++iy)
            for (int iz = 0; iz < N; ++iz)
                grid.m_Voxels[ix][iy][iz] = ix + 1e-3 * iy + 1e-6 * iz;
    grid.m_BinWidth[0] = grid.m_BinWidth[1] = grid.m_BinWidth[2] = 1;

    const std::string vti = (dir / "grid.vti").string();
    const double beforeExport = ResidentBytes("VmRSS");
    ResetPeak();
    bool ok = true;
    const double exportSeconds =
        Best(vti, [&] { ok = ok && WriteGridVtk(grid, {}, CVtkXmlWriter(), vti, error); });
    const double extra = ResidentBytes("VmHWM") - beforeExport;
    if (!ok)
    {
        std::fprintf(stderr, "export failed: %s\n", error.c_str());
        return 1;
    }
    const std::size_t bytes = fs::file_size(vti);
    const double bareSeconds = BareFwrite((dir / "bare.bin").string(), bytes);
    const double mb = bytes / 1e6;
    std::printf("200^3 grid to .vti: %.1f MB in %.3f s (%.0f MB/s)\n", mb, exportSeconds,
                mb / exportSeconds);
    std::printf("bare fwrite of the same bytes: %.3f s (%.0f MB/s)\n", bareSeconds,
                mb / bareSeconds);
    std::printf("speed ratio export / fwrite: %.2f (target >= 0.5)\n", bareSeconds / exportSeconds);
    std::printf("memory beyond the grid during the export: %.1f MB (grid %.1f MB)\n", extra / 1e6,
                N * N * N * 8 / 1e6);
    fs::remove_all(dir);
    return 0;
}
