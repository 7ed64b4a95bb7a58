// What the benchmark programs share: a stopwatch, the median of repeated runs, resident and peak
// memory, the bare split-and-convert pass a text reader is measured against, and the load
// average, printed next to the figures because ratios taken on a busy machine say little.
#pragma once
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace benchkit
{
using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

template <class F> double TimeOnce(F&& run)
{
    const auto start = Clock::now();
    run();
    return Seconds(start);
}

// Processor time of the calling thread: what a single-threaded run costs whatever else the
// machine runs, so a ratio of two of them stays meaningful on a busy machine.
inline double ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}
// Processor time of the whole process, helper threads included.
inline double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}
template <class F> double CpuOnce(F&& run)
{
    const double start = ThreadCpuSeconds();
    run();
    return ThreadCpuSeconds() - start;
}

inline double Median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// The median of runs timings after warmup untimed runs: one slow run (another process took
// the core) moves a median less than a mean, and the warm-up fills caches and the heap.
template <class F> double MedianSeconds(int runs, F&& run, int warmup = 1)
{
    for (int i = 0; i < warmup; ++i)
        run();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(TimeOnce(run));
    return Median(times);
}

// Wall-clock and thread processor time of the same runs, each the median.
struct CTimes
{
    double m_Wall = 0;
    double m_Cpu = 0;
};
template <class F> CTimes MedianTimes(int runs, F&& run, int warmup = 1)
{
    for (int i = 0; i < warmup; ++i)
        run();
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i)
    {
        const double cpuStart = ThreadCpuSeconds();
        wall.push_back(TimeOnce(run));
        cpu.push_back(ThreadCpuSeconds() - cpuStart);
    }
    return {Median(wall), Median(cpu)};
}

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM"); 0 when it cannot be read.
inline long StatusKiB(const char* key)
{
    std::ifstream status("/proc/self/status");
    const std::string wanted = std::string(key) + ":";
    std::string field;
    long value = 0;
    while (status >> field)
        if (field == wanted && status >> value) return value;
    return 0;
}
inline long ResidentKiB()
{
    return StatusKiB("VmRSS");
}
inline long PeakResidentKiB()
{
    return StatusKiB("VmHWM");
}
// Starts the peak (VmHWM) again from the present resident size.
inline void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Calls f with every number of the text, tokens split at line ends and at the separators: the
// least any reader of a text format must do.
template <class F> void ForEachNumber(std::string_view text, std::string_view separators, F&& f)
{
    bool isSeparator[256] = {};
    for (char c : separators)
        isSeparator[static_cast<unsigned char>(c)] = true;
    isSeparator[static_cast<unsigned char>('\n')] = isSeparator[static_cast<unsigned char>('\r')] =
        true;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end)
    {
        while (p < end && isSeparator[static_cast<unsigned char>(*p)])
            ++p;
        const char* const start = p;
        while (p < end && !isSeparator[static_cast<unsigned char>(*p)])
            ++p;
        double value = 0;
        if (p > start && std::from_chars(start, p, value).ec == std::errc()) f(value);
    }
}

// The bare parse kept in a flat array (reserve it beforehand); returns its seconds.
inline double BareParse(std::string_view text, std::string_view separators,
                        std::vector<double>& values)
{
    return TimeOnce([&]
                    { ForEachNumber(text, separators, [&](double v) { values.push_back(v); }); });
}

// "load average 1.23 0.98 0.50 on 2 processors": figures taken beside a high load are not
// the program's own.
inline void PrintLoadAverage()
{
    double load[3] = {-1, -1, -1};
    if (std::FILE* f = std::fopen("/proc/loadavg", "r"))
    {
        if (std::fscanf(f, "%lf %lf %lf", &load[0], &load[1], &load[2]) != 3) load[0] = -1;
        std::fclose(f);
    }
    std::printf("load average %.2f %.2f %.2f on %u processors\n", load[0], load[1], load[2],
                std::thread::hardware_concurrency());
}

// The best wall-clock and process processor time of the runs a caller makes one by one (taking
// turns with another measurement, so that a change of the machine's load hits both).
struct CBestTimes
{
    double m_Wall = 1e30, m_Cpu = 1e30;
    template <class F> void Run(F&& run)
    {
        const double cpu = ProcessCpuSeconds();
        m_Wall = std::min(m_Wall, TimeOnce(run));
        m_Cpu = std::min(m_Cpu, ProcessCpuSeconds() - cpu);
    }
};
} // namespace benchkit
