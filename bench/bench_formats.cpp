// Speed and memory of the volume formats and the averaging tool:
//  1. averaging 8 generated cartesian USRBIN text files of 100^3 values (with error files):
//     throughput against a bare split-and-convert pass over the same bytes, and the peak memory
//     above the start for 50^3 and 100^3 inputs, which must not grow with the files;
//  2. loading a FLUKA binary USRBIN file of 100^3 values against a bare fread of it.
#include "bench/BenchKit.h"
#include "platform/HeadlessBackend.h"
#include "volume/averaging/FlukaAverager.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace volumira3d;
namespace fs = std::filesystem;

namespace
{
using namespace benchkit;

std::string WriteRun(const fs::path& dir, int n, int run)
{
    const std::string path = (dir / ("run" + std::to_string(run) + ".usrbin")).string();
    std::FILE* f = std::fopen(path.c_str(), "w");
    std::fprintf(f, "1\n          Total number of particles followed 100000, for a total weight "
                    "of  1.0000E+05\n");
    std::fprintf(f, "1\n   Cartesian binning n.   1  \"bench     \" , generalized particle n.  "
                    "208\n");
    for (const char* axis : {"X", "Y", "Z"})
        std::fprintf(
            f,
            "      %s coordinate: from  0.0000E+00 to  %.4E cm, %5d bins ( 1.0000E+00 cm wide)\n",
            axis, double(n), n);
    std::fprintf(f,
                 "      Data follow in a matrix A(ix,iy,iz), format (1(5x,1p,10(1x,e11.4)))\n\n");
    const long count = long(n) * n * n;
    for (long i = 0; i < count; ++i)
    {
        const double value = 1e-6 * double(1 + (i * 7919 + run * 104729) % 100003);
        std::fprintf(f, "%s %11.4E", i % 10 == 0 ? "     " : "", value);
        if (i % 10 == 9 || i + 1 == count) std::fputc('\n', f);
    }
    std::fclose(f);
    return path;
}

struct CAverageRun
{
    bool m_Ok = false;
    double m_Wall = 0, m_Cpu = 0, m_PeakAbove = 0;
};

// One averaging run in a child of its own, so that what this process allocated before (the
// files' text) does not hide or inflate its peak.
CAverageRun RunAverage(const std::vector<CAverageInput>& inputs, const fs::path& dir, bool errors)
{
    int channel[2];
    if (pipe(channel) != 0) return {};
    const auto start = Clock::now();
    if (fork() == 0)
    {
        const double before = ResidentKiB() * 1024.0;
        ResetPeak();
        CStringLog log;
        CAverageOptions options;
        options.m_CalculateError = errors;
        bool ok = false;
        // The averaging reads its inputs on helper threads: all of the child's time counts.
        const double cpuStart = ProcessCpuSeconds();
        ok = CFlukaAverager(log).Run(inputs, (dir / "mean.avg").string(), options);
        const double cpu = ProcessCpuSeconds() - cpuStart;
        const double result[3] = {ok ? 1.0 : 0.0, cpu, PeakResidentKiB() * 1024.0 - before};
        const ssize_t written = write(channel[1], result, sizeof result);
        _exit(written == sizeof result ? 0 : 1);
    }
    double result[3] = {0, 0, 0};
    const bool read = ::read(channel[0], result, sizeof result) == sizeof result;
    wait(nullptr);
    CAverageRun run{read && result[0] == 1.0, Seconds(start), result[1], result[2]};
    close(channel[0]);
    close(channel[1]);
    return run;
}

// One bare split-and-convert pass over every input's text.
CTimes BarePass(const std::vector<std::string>& texts)
{
    double sum = 0;
    const double cpu = ThreadCpuSeconds();
    const double wall = TimeOnce(
        [&]
        {
            for (const std::string& text : texts)
                ForEachNumber(text, " ", [&](double v) { sum += v; });
        });
    volatile double sink = sum;
    (void)sink;
    return {wall, ThreadCpuSeconds() - cpu};
}

// The median of the runs and the spread of the ratios bare / average, each ratio taken within
// one round: the machine's speed drifts between rounds, much less within one.
void ReportAverage(const char* what, const std::vector<CAverageRun>& runs,
                   const std::vector<CTimes>& bare, double mb)
{
    std::vector<double> wall, cpu, ratio, cpuRatio;
    bool ok = true;
    for (size_t i = 0; i < runs.size(); ++i)
    {
        ok &= runs[i].m_Ok;
        wall.push_back(runs[i].m_Wall);
        cpu.push_back(runs[i].m_Cpu);
        ratio.push_back(bare[i].m_Wall / runs[i].m_Wall);
        cpuRatio.push_back(bare[i].m_Cpu / runs[i].m_Cpu);
    }
    std::printf("  %s: %.3f s, %.1f MB/s%s; ratio bare / average: %.2f (rounds %.2f-%.2f; target "
                ">= 0.5); processor time %.3f s, ratio %.2f\n",
                what, Median(wall), mb / Median(wall), ok ? "" : " FAILED", Median(ratio),
                *std::min_element(ratio.begin(), ratio.end()),
                *std::max_element(ratio.begin(), ratio.end()), Median(cpu), Median(cpuRatio));
}

// Averages 8 runs of n^3 values; returns the peak memory above the start in bytes. Reported,
// the bare pass and the two averagings are taken in turns, five rounds.
double BenchAverage(const fs::path& dir, int n, bool report)
{
    std::vector<CAverageInput> inputs;
    double mb = 0;
    for (int run = 0; run < 8; ++run)
    {
        inputs.push_back({WriteRun(dir, n, run), 1.0});
        mb += double(fs::file_size(inputs.back().m_Path)) / 1e6;
    }
    // Taken before this process holds the texts, the same way for every size.
    const double peak = RunAverage(inputs, dir, true).m_PeakAbove;
    if (report)
    {
        std::vector<std::string> texts;
        for (const auto& input : inputs)
            texts.push_back(ReadFile(input.m_Path));
        BarePass(texts);
        std::vector<CTimes> bare;
        std::vector<CAverageRun> withErrors, valuesOnly;
        for (int round = 0; round < 5; ++round)
        {
            bare.push_back(BarePass(texts));
            withErrors.push_back(RunAverage(inputs, dir, true));
            valuesOnly.push_back(RunAverage(inputs, dir, false));
        }
        std::printf("averaging 8 cartesian USRBIN text files of %d^3 values (%.1f MB)\n", n, mb);
        std::vector<double> bareWall, bareCpu;
        for (const CTimes& t : bare)
            bareWall.push_back(t.m_Wall), bareCpu.push_back(t.m_Cpu);
        std::printf("  bare split + convert: %.3f s, %.1f MB/s (processor time %.3f s)\n",
                    Median(bareWall), mb / Median(bareWall), Median(bareCpu));
        ReportAverage("with error files", withErrors, bare, mb);
        ReportAverage("values only", valuesOnly, bare, mb);
    }
    for (const auto& input : inputs)
        fs::remove(input.m_Path);
    return peak;
}

std::string WriteBinary(const fs::path& dir, int n)
{
    const std::string path = (dir / "bench.bin").string();
    std::ofstream out(path, std::ios::binary);
    auto record = [&](const std::vector<unsigned char>& payload)
    {
        const std::int32_t length = static_cast<std::int32_t>(payload.size());
        out.write(reinterpret_cast<const char*>(&length), 4);
        out.write(reinterpret_cast<const char*>(payload.data()), length);
        out.write(reinterpret_cast<const char*>(&length), 4);
    };
    std::vector<unsigned char> run(128, ' ');
    const float weight = 1000;
    std::memcpy(&run[112], &weight, 4);
    record(run);
    std::vector<unsigned char> binning(86, 0);
    std::memcpy(&binning[4], "bench     ", 10);
    for (int a = 0; a < 3; ++a)
    {
        const float lo = 0, hi = float(n), width = 1;
        std::memcpy(&binning[22 + 16 * a], &lo, 4);
        std::memcpy(&binning[26 + 16 * a], &hi, 4);
        std::memcpy(&binning[30 + 16 * a], &n, 4);
        std::memcpy(&binning[34 + 16 * a], &width, 4);
    }
    record(binning);
    std::vector<unsigned char> values(size_t(n) * n * n * 4);
    for (size_t i = 0; i < values.size() / 4; ++i)
    {
        const float v = 1e-6f * float(1 + (i * 7919) % 100003);
        std::memcpy(&values[4 * i], &v, 4);
    }
    record(values);
    return path;
}

void BenchBinary(const fs::path& dir)
{
    const int n = 100;
    const std::string path = WriteBinary(dir, n);
    const double mb = double(fs::file_size(path)) / 1e6;
    std::vector<char> bytes(fs::file_size(path));
    bool ok = true;
    auto bareRead = [&]
    {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        ok &= f && std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
        if (f) std::fclose(f);
    };
    auto load = [&]
    {
        CVoxelGrid grid;
        CStringLog log;
        ok &= CVolumeLoader(grid, log).Load("FLUKA binary USRBIN", path);
    };
    // Taken in turns, so that both find the caches as the other left them: fread alone in a
    // loop rereads a buffer that stays in the cache and runs several times faster than once.
    std::vector<double> bareWall, bareCpu, loadWall, loadCpu;
    load();
    for (int run = 0; run < 15; ++run)
    {
        double cpu = ThreadCpuSeconds();
        bareWall.push_back(TimeOnce(bareRead));
        bareCpu.push_back(ThreadCpuSeconds() - cpu);
        cpu = ThreadCpuSeconds();
        loadWall.push_back(TimeOnce(load));
        loadCpu.push_back(ThreadCpuSeconds() - cpu);
    }
    const CTimes bare{Median(bareWall), Median(bareCpu)};
    const CTimes loaded{Median(loadWall), Median(loadCpu)};
    std::printf("FLUKA binary USRBIN, %d^3 values, %.1f MB%s (medians of 15)\n", n, mb,
                ok ? "" : " FAILED");
    std::printf("  load: %.3f ms; bare fread: %.3f ms; ratio fread / load: %.2f (target >= 0.3)\n",
                1e3 * loaded.m_Wall, 1e3 * bare.m_Wall, bare.m_Wall / loaded.m_Wall);
    std::printf("  processor time: load %.3f ms, fread %.3f ms, ratio %.2f\n", 1e3 * loaded.m_Cpu,
                1e3 * bare.m_Cpu, bare.m_Cpu / loaded.m_Cpu);
}
} // namespace

// "average" or "binary" as argument runs that part alone (for a profiler); "average N" averages
// N^3 values only, small enough for an instruction-counting profiler.
int main(int argc, char** argv)
{
    CHeadlessBackend::Instance().Reset();
    const std::string part = argc > 1 ? argv[1] : "";
    const fs::path dir = fs::temp_directory_path() / ("bench_formats_" + std::to_string(getpid()));
    fs::create_directories(dir);
    PrintLoadAverage();
    if (part == "average" && argc > 2)
        BenchAverage(dir, std::clamp(std::atoi(argv[2]), 2, 200), true);
    else if (part.empty() || part == "average")
    {
        const double small = BenchAverage(dir, 50, false);
        const double large = BenchAverage(dir, 100, true);
        std::printf("  peak memory above the start: %.2f MB for 50^3, %.2f MB for 100^3 (%.0f %% "
                    "apart; target <= 10 %%)\n",
                    small / 1e6, large / 1e6, 100 * std::abs(large - small) / std::max(small, 1.0));
    }
    if (part.empty() || part == "binary") BenchBinary(dir);
    PrintLoadAverage();
    fs::remove_all(dir);
    return 0;
}
