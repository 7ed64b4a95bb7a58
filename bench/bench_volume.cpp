// Loading speed and memory of the volume plug-in:
//  1. a cartesian USRBIN text file of 200 x 200 x 200 values, loaded the way a user loads it (the
//     main dialog's "Load data", headless) with 1 and 2 OpenMP threads; MB/s, peak memory against
//     the grid's own size, and the ratio to a bare one-core in-memory pass that only splits and
//     converts the same numbers;
//  2. the R-Phi-Z mapping of a generated file with 1 and with 2 OpenMP threads.
#include "bench/BenchKit.h"
#include "platform/HeadlessBackend.h"
#include "platform/Profile.h"
#include "testkit/FakeHost.h"
#include "volume/Volumira3DDlg.h"
#include "volume/loading/CylinderResampling.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

#include <omp.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace volumira3d;
namespace fs = std::filesystem;

namespace
{
void WriteValues(std::FILE* f, long count, double (*value)(long))
{
    for (long i = 0; i < count; ++i)
    {
        std::fprintf(f, "%s %11.4E", i % 10 == 0 ? "     " : "", value(i));
        if (i % 10 == 9 || i + 1 == count) std::fputc('\n', f);
    }
}

double DoseLike(long i)
{
    return 1e-6 * double(1 + (i * 7919) % 100003);
}
double Sequence(long i)
{
    return double(1 + i % 9973);
}

std::string WriteCartesian(const fs::path& dir, int n)
{
    const std::string path = (dir / "bench.usrbin").string();
    std::FILE* f = std::fopen(path.c_str(), "w");
    std::fprintf(f,
                 "1\n   Cartesian binning n.   1  \"bench     \" , generalized particle n.  208\n");
    for (const char* axis : {"X", "Y", "Z"})
        std::fprintf(
            f,
            "      %s coordinate: from  0.0000E+00 to  %.4E cm, %5d bins ( 1.0000E+00 cm wide)\n",
            axis, double(n), n);
    std::fprintf(f,
                 "      Data follow in a matrix A(ix,iy,iz), format (1(5x,1p,10(1x,e11.4)))\n\n");
    WriteValues(f, long(n) * n * n, DoseLike);
    std::fclose(f);
    return path;
}

std::string WriteRPhiZ(const fs::path& dir, int nr, int nphi, int nz)
{
    const std::string path = (dir / "bench.rpz").string();
    std::FILE* f = std::fopen(path.c_str(), "w");
    std::fprintf(f,
                 "1\n   R-Phi-Z   binning n.   1  \"bench     \" , generalized particle n.  208\n");
    std::fprintf(
        f, "      R coordinate: from  0.0000E+00 to  %.4E cm, %5d bins ( 1.0000E+00 cm  wide)\n",
        double(nr), nr);
    std::fprintf(
        f, "      P coordinate: from -3.1416E+00 to  3.1416E+00 rad, %5d bins ( %.4E rad wide)\n",
        nphi, 6.2832 / nphi);
    std::fprintf(
        f, "      Z coordinate: from  0.0000E+00 to  %.4E cm, %5d bins ( 1.0000E+00 cm wide)\n",
        double(nz), nz);
    std::fprintf(f,
                 "      Data follow in a matrix A(ir,ip,iz), format (1(5x,1p,10(1x,e11.4)))\n\n");
    WriteValues(f, long(nr) * nphi * nz, Sequence);
    std::fclose(f);
    return path;
}

// Every voxel as one "ix iy iz value" record, x fastest.
std::string WriteXYZ(const fs::path& dir, int n)
{
    const std::string path = (dir / "bench.xyz").string();
    std::FILE* f = std::fopen(path.c_str(), "w");
    std::fprintf(f, "VOXEL-DATA @2007 Volumix3D\n");
    for (const char* axis : {"X", "Y", "Z"})
        std::fprintf(f, "%s-start: 0 %s-end: %d %s-steps: %d\n", axis, axis, n, axis, n);
    std::fprintf(f, "==========================================\nX Y Z Data\n");
    long i = 0;
    for (int iz = 0; iz < n; ++iz)
        for (int iy = 0; iy < n; ++iy)
            for (int ix = 0; ix < n; ++ix)
                std::fprintf(f, "%d %d %d %.6E\n", ix, iy, iz, DoseLike(i++));
    std::fclose(f);
    return path;
}

// A fresh main dialog, its input field set and "Load data" clicked: the normalization and data
// options dialogs take their defaults. Only the click is timed.
bool LoadThroughDialog(const std::string& path, long bins, benchkit::CBestTimes& timing)
{
    testkit::CFakeHost host;
    CProfile profile;
    profile.SetRegistryKey("Wendrik");
    profile.SetAppName("Volumira3DBench");
    CVolumira3DDlg dlg(&host, &profile);
    dlg.Create();
    dlg.UserSetText(IDC_INPUT_FILE, path);
    timing.Run([&] { dlg.UserClick(IDC_LOAD_DATA); });
    return dlg.m_DataLoaded && dlg.VoxelCount() == bins;
}

// Bare passes and loads take turns, so that a change of the machine's load hits both.
void BenchTextLoad(const std::string& name, const std::string& path, int n,
                   const std::vector<int>& threadCounts)
{
    const double mb = double(fs::file_size(path)) / 1e6;
    const std::string text = benchkit::ReadFile(path);
    const double gridBytes = GridBytes(n, n, n);
    std::printf("%s, %d x %d x %d values, %.1f MB file\n", name.c_str(), n, n, n, mb);
    benchkit::CBestTimes bare;
    long numbers = 0;
    for (int threads : threadCounts)
    {
        omp_set_num_threads(threads);
        const double before = double(benchkit::ResidentKiB()) * 1024;
        benchkit::ResetPeak();
        benchkit::CBestTimes load;
        double peak = 0;
        for (int run = 0; run < 3; ++run)
        {
            bare.Run(
                [&]
                {
                    double sum = 0;
                    numbers = 0;
                    benchkit::ForEachNumber(text, " ", [&](double v) { sum += v, ++numbers; });
                    volatile double sink = sum;
                    (void)sink;
                });
            if (!LoadThroughDialog(path, long(n) * n * n, load)) std::printf("  load FAILED\n");
            peak = std::max(peak, double(benchkit::PeakResidentKiB()) * 1024);
        }
        std::printf("  %d thread(s), dialog load %.3f s (%.1f MB/s), bare one-core split + convert "
                    "%.3f s (%ld numbers): ratio %.2f; CPU time ratio %.2f; peak %.2f x grid above "
                    "the start; ",
                    threads, load.m_Wall, mb / load.m_Wall, bare.m_Wall, numbers,
                    bare.m_Wall / load.m_Wall, bare.m_Cpu / load.m_Cpu,
                    (peak - before) / gridBytes);
        benchkit::PrintLoadAverage();
    }
}

double TimeRPhiZ(const std::string& path, int threads, VoxelArray& result)
{
    omp_set_num_threads(threads);
    double best = 1e30;
    for (int run = 0; run < 3; ++run)
    {
        CVoxelGrid grid;
        CStringLog log;
        best = std::min(best,
                        benchkit::TimeOnce(
                            [&] { CVolumeLoader(grid, log).Load("FLUKA R-Phi-Z USRBIN", path); }));
        result.swap(grid.m_Voxels);
    }
    return best;
}

// The resampling alone (the load above also parses the text, on one core): the same binning onto
// the same grid, best of three.
double TimeResampling(int nr, int nphi, int nz, int threads, VoxelArray& result)
{
    omp_set_num_threads(threads);
    CCylinderMesh mesh;
    mesh.m_R = EvenEdges(0, nr, nr);
    mesh.m_Phi = EvenEdges(-3.141592653589793, 3.141592653589793, nphi);
    mesh.m_T = EvenEdges(0, nz, nz);
    std::vector<double> values(size_t(nr) * nphi * nz);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = double(i % 997 + 1);
    CVoxelGrid grid;
    std::string error;
    if (!grid.AllocateGrid(2 * nr, 2 * nr, nz, error)) return 0;
    for (int a = 0; a < 3; ++a)
        grid.m_BinWidth[a] = 1;
    grid.m_GridMin[0] = grid.m_GridMin[1] = -nr;
    double best = 1e30;
    for (int run = 0; run < 3; ++run)
        best = std::min(
            best,
            benchkit::TimeOnce([&] { ResampleCylinder(mesh, values, long(values.size()), grid); }));
    result.swap(grid.m_Voxels);
    return best;
}

void BenchRPhiZ(const fs::path& dir)
{
    const int nr = 201, nphi = 36, nz = 30;
    const std::string path = WriteRPhiZ(dir, nr, nphi, nz);
    VoxelArray one, two;
    const double t1 = TimeRPhiZ(path, 1, one);
    const double t2 = TimeRPhiZ(path, 2, two);
    std::printf("R-Phi-Z mapping, %d rings x %d sectors x %d planes onto %d x %d x %d voxels\n", nr,
                nphi, nz, 2 * nr, 2 * nr, nz);
    std::printf("  1 thread %.3f s, 2 threads %.3f s: speed-up %.2f (target >= 1.6 on two cores; "
                "%d processors here)%s\n",
                t1, t2, t1 / t2, omp_get_num_procs(), one == two ? "" : " RESULTS DIFFER");
    VoxelArray r1, r2;
    const double m1 = TimeResampling(nr, nphi, nz, 1, r1), m2 = TimeResampling(nr, nphi, nz, 2, r2);
    std::printf("  the resampling alone: 1 thread %.3f s, 2 threads %.3f s: speed-up %.2f%s\n", m1,
                m2, m1 / m2, r1 == r2 ? "" : " RESULTS DIFFER");
}
} // namespace

// Arguments (for a profiler): an edge length, a thread count, "usrbin" or "xyz" to run that
// load alone.
int main(int argc, char** argv)
{
    // The compaction question never comes up here; message boxes would be answered by default.
    CHeadlessBackend::Instance().Reset();
    const fs::path dir = fs::temp_directory_path() / ("bench_volume_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const std::vector<int> threads =
        argc > 2 ? std::vector<int>{std::max(1, std::atoi(argv[2]))} : std::vector<int>{1, 2};
    const std::string only = argc > 3 ? argv[3] : "";
    if (only.empty() || only == "usrbin")
    {
        BenchTextLoad("cartesian USRBIN text (targets: ratio >= 0.8 on 1 thread, >= 1.0 on 2; "
                      "peak <= 1.5 x grid)",
                      WriteCartesian(dir, n), n, threads);
        fs::remove(dir / "bench.usrbin");
    }
    if (only.empty() || only == "xyz")
        BenchTextLoad("XYZ records (target: ratio >= 0.8 on 2 threads)", WriteXYZ(dir, n), n,
                      threads);
    if (argc == 1) BenchRPhiZ(dir);
    fs::remove_all(dir);
    return 0;
}
