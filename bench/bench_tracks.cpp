// Reading a track file of 1 M points through the dialog's code path (ReadFile with its progress
// bar) with 1 and 2 OpenMP threads, against a bare one-core in-memory pass that only splits the
// same bytes into lines and tokens and converts the numbers. Target: ratio >= 1.0 on 2 threads.
#include "platform/Controls.h"
#include "tracks/ParticleDataReader.h"

#include <omp.h>
#include <time.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace
{
using Clock = std::chrono::steady_clock;

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

// Lines, tokens at blanks, and every token that starts like a number converted.
double BarePass(const std::string& text)
{
    double sum = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end)
    {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', end - p));
        const char* lineEnd = nl ? nl : end;
        const char* t = p;
        while (t < lineEnd)
        {
            while (t < lineEnd && *t == ' ')
                ++t;
            const char* tokEnd = t;
            while (tokEnd < lineEnd && *tokEnd != ' ')
                ++tokEnd;
            double v = 0;
            if (t < tokEnd && (std::isdigit(static_cast<unsigned char>(*t)) || *t == '-'))
                std::from_chars(t, tokEnd, v);
            sum += v;
            t = tokEnd;
        }
        p = lineEnd + 1;
    }
    return sum;
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

using Seconds = std::chrono::duration<double>;

// Wall-clock and process CPU seconds of one piece of work; the best of several runs.
struct CTiming
{
    double m_Wall = 1e30, m_Cpu = 1e30;
    template <class TWork> void Run(TWork work)
    {
        timespec cpu0{}, cpu1{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu0);
        const auto start = Clock::now();
        work();
        m_Wall = std::min(m_Wall, Seconds(Clock::now() - start).count());
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu1);
        m_Cpu = std::min(m_Cpu, double(cpu1.tv_sec - cpu0.tv_sec) +
                                    double(cpu1.tv_nsec - cpu0.tv_nsec) * 1e-9);
    }
};

std::string LoadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string one, five;
    in >> one >> five;
    return one + " " + five;
}
} // namespace

// Arguments (for a profiler): a thread count to run with that many threads only.
int main(int argc, char** argv)
{
    const int particles = 10000, points = 100;
    const std::string text = MakeTrackFile(particles, points);
    const auto path = std::filesystem::temp_directory_path() /
                      ("bench_tracks_" + std::to_string(::getpid()) + ".tracks");
    std::ofstream(path, std::ios::binary) << text;
    const double mb = double(text.size()) / 1e6;
    std::printf("track file: %d particles, %d points, %.1f MB, %d processors\n", particles,
                particles * points, mb, omp_get_num_procs());
    const std::vector<int> threadCounts =
        argc > 1 ? std::vector<int>{std::max(1, std::atoi(argv[1]))} : std::vector<int>{1, 2};
    CTiming bare;
    volatile double sink = 0;
    for (int threads : threadCounts)
    {
        omp_set_num_threads(threads);
        CTiming read;
        for (int run = 0; run < 3; ++run)
        {
            bare.Run([&] { sink = sink + BarePass(text); });
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
                    "(target >= 1.0 on 2 threads); CPU time ratio %.2f; load average %s\n",
                    threads, read.m_Wall, mb / read.m_Wall, bare.m_Wall, bare.m_Wall / read.m_Wall,
                    bare.m_Cpu / read.m_Cpu, LoadAverage().c_str());
    }
    std::filesystem::remove(path);
    return 0;
}
