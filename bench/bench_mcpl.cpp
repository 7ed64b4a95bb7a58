// Loading a million particles from an MCPL list: the viewer's load against the mcpl library's
// own reading loop walking the same file without storing anything (target ratio >= 0.5), and
// the memory per particle.
#include "bench/BenchKit.h"
#include "cloud/McplReader.h"

#include <mcpl.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

namespace
{
using namespace benchkit;

void WriteList(const std::string& path, int n)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-100, 100);
    const int codes[] = {2112, 22, 2212, 11, 211};
    mcpl_outfile_t f = mcpl_create_outfile(path.c_str());
    mcpl_particle_t* p = mcpl_get_empty_particle(f);
    for (int i = 0; i < n; ++i)
    {
        p->pdgcode = codes[i % 5];
        p->position[0] = u(rng), p->position[1] = u(rng), p->position[2] = u(rng);
        p->direction[0] = 0, p->direction[1] = 0, p->direction[2] = 1;
        p->ekin = 0.5 + i % 11;
        p->weight = 1.0 + i % 7;
        mcpl_add_particle(f, p);
    }
    mcpl_close_outfile(f);
}

// What the library's loop costs alone: every particle unpacked, nothing kept.
double Walk(const std::string& path)
{
    mcpl_file_t f = mcpl_open_file(path.c_str());
    double sum = 0;
    while (const mcpl_particle_t* p = mcpl_read(f))
        sum += p->position[0] + p->ekin;
    mcpl_close_file(f);
    return sum;
}
} // namespace

int main()
{
    PrintLoadAverage();
    const int n = 1000000;
    const std::string path =
        (std::filesystem::temp_directory_path() / "bench_mcpl_list.mcpl").string();
    WriteList(path, n);
    double sink = 0;
    const CTimes bare = MedianTimes(3, [&] { sink += Walk(path); });

    nebulo3d::CMcplReader reader;
    std::vector<double> wall, cpu;
    long before = 0, after = 0;
    for (int run = 0; run < 3; ++run)
    {
        reader.Clear();
        if (run == 0) before = ResidentKiB();
        const double cpuStart = ThreadCpuSeconds();
        wall.push_back(TimeOnce([&] { reader.Read(path, nullptr); }));
        cpu.push_back(ThreadCpuSeconds() - cpuStart);
        if (run == 0) after = ResidentKiB();
    }
    const CTimes load{Median(wall), Median(cpu)};
    std::printf("MCPL load of %zu particles: %.3f s, library walk %.3f s, ratio %.2f (target >= "
                "0.5); processor time %.3f s, bare %.3f s, ratio %.2f (checksum %.0f)\n",
                reader.Count(), load.m_Wall, bare.m_Wall, bare.m_Wall / load.m_Wall, load.m_Cpu,
                bare.m_Cpu, bare.m_Cpu / load.m_Cpu, sink);
    std::printf("memory per particle: %.0f bytes\n", (after - before) * 1024.0 / n);
    std::filesystem::remove(path);
    return 0;
}
