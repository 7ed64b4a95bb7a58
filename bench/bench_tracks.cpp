// Reading a track file of 1 M points through the dialog's code path (ReadFile with its progress
// bar) with 1 and 2 OpenMP threads, against a bare one-core in-memory pass that only splits the
// same bytes into lines and tokens and converts the numbers. Target: ratio >= 1.0 on 2 threads.
#include "bench/BenchKit.h"
#include "platform/Controls.h"
#include "tracks/ParticleDataReader.h"

#include <omp.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace
{

std::string MakeTrackFile(int particles, int pointsPerParticle)
{
    std::string text = "EnergyGroup_Tot 1.0E-03 1.0E+00\nEnergyGroup_Tot 1.0E+00 1.0E+02\n";
    char line[160];
    for (int p = 0; p < particles; ++p)
    {
        text += "PARTICLE\n";
        std::snprintf(line, sizeof line, "Type %d\nEnergy %.6E\n", 1 + p % 20,
                      0.01 + (p % 97) * 0.5);
        text += line;
        for (int i = 0; i < pointsPerParticle; ++i)
        {
            std::snprintf(line, sizeof line, "s %.6E %.6E %.6E %.6E\n", p * 0.01 + i * 0.5,
                          -3.25 + i * 0.125, 100.0 - i * 0.75, (i + 1) * 3.3e-11);
            text += line;
        }
        text += "END PARTICLE\n";
    }
    return text;
}

class CBenchDlg : public CDialog
{
public:
    CBenchDlg() : CDialog(Template()) { Create(); }
    static CDlgTemplate Template()
    {
        CDlgTemplate t;
        t.Add(ECtrlKind::Progress, 1, "", 0, 0, 10, 10);
        return t;
    }
};

} // namespace

// Arguments (for a profiler): a thread count to run with that many threads only, then a
// particle count for a smaller file.
int main(int argc, char** argv)
{
    const int particles = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10000, points = 100;
    const std::string text = MakeTrackFile(particles, points);
    const auto path = std::filesystem::temp_directory_path() /
                      ("bench_tracks_" + std::to_string(::getpid()) + ".tracks");
    std::ofstream(path, std::ios::binary) << text;
    const double mb = double(text.size()) / 1e6;
    std::printf("track file: %d particles, %d points, %.1f MB\n", particles, particles * points,
                mb);
    const std::vector<int> threadCounts =
        argc > 1 ? std::vector<int>{std::max(1, std::atoi(argv[1]))} : std::vector<int>{1, 2};
    benchkit::CBestTimes bare;
    volatile double sink = 0;
    for (int threads : threadCounts)
    {
        omp_set_num_threads(threads);
        benchkit::CBestTimes read;
        for (int run = 0; run < 3; ++run)
        {
            bare.Run([&]
                     { benchkit::ForEachNumber(text, " ", [&](double v) { sink = sink + v; }); });
            CBenchDlg dlg;
            CProgressCtrl progress(&dlg, 1);
            trakor3d::CParticleDataReader store;
            bool ok = false;
            read.Run([&] { ok = store.ReadFile(path.string(), &progress); });
            if (!ok || store.m_Particles.size() != 2)
            {
                std::fprintf(stderr, "reading failed\n");
                return 1;
            }
        }
        std::printf("  %d thread(s): ReadFile %.3f s (%.1f MB/s), bare pass %.3f s: ratio %.2f "
                    "(target >= 1.0 on 2 threads); CPU time ratio %.2f; ",
                    threads, read.m_Wall, mb / read.m_Wall, bare.m_Wall, bare.m_Wall / read.m_Wall,
                    bare.m_Cpu / read.m_Cpu);
        benchkit::PrintLoadAverage();
    }
    std::filesystem::remove(path);
    return 0;
}
