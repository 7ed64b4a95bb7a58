// Converts a generated collision file of at least 100 MB (or the size in MB given as the first
// argument) and compares the conversion time with the time of only formatting the same
// numbers with snprintf into a buffer. Then converts a standard mgdraw dump of a million
// one-step tracks (or the count given as the second argument) and the same tracks as a
// collision file, and compares the time per record.
#include "CollisionFile.h"
#include "CollisionFileBuilder.h"
#include "Converter.h"
#include "MgdrawDump.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <random>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using trakor::CPoint;

namespace
{

constexpr int PointsPerTrack = 40;
constexpr int TracksPerDeposition = 10;
constexpr std::size_t TrackRecordBytes = 48 + 32 * PointsPerTrack;
constexpr std::size_t DepositionRecordBytes = 36 + 40;

struct CTrack
{
    int m_Code;
    double m_Energy;
    int m_Event;
    std::vector<CPoint> m_Points;
    double m_Age;
};

// The same tracks, in the same order, every time it is called.
void ForEachTrack(std::size_t count, const std::function<void(const CTrack&)>& use)
{
    std::mt19937_64 random(2024);
    std::uniform_real_distribution<double> step(-2.0, 2.0);
    const int codes[] = {1, 3, 7, 8, 13};
    CTrack track{0, 0.0, 0, std::vector<CPoint>(PointsPerTrack), 0.0};
    for (std::size_t k = 0; k < count; ++k)
    {
        track.m_Code = codes[k % 5];
        track.m_Energy = 1.0 + 0.001 * static_cast<double>(k % 997);
        track.m_Event = static_cast<int>(k / 50) + 1;
        CPoint p{step(random) * 50, step(random) * 50, step(random) * 50};
        for (CPoint& point : track.m_Points)
        {
            point = p;
            p = {p.x + step(random), p.y + step(random), p.z + step(random)};
        }
        track.m_Age = 1.0e-9 * static_cast<double>(k % 113 + 1);
        use(track);
    }
}

double Seconds(const std::function<void()>& work)
{
    double best = 1e30;
    for (int run = 0; run < 3; ++run)
    {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

std::uint64_t WriteCollisionFile(const fs::path& path, std::size_t tracks)
{
    trakor::testing::CCollisionFileBuilder builder;
    std::size_t k = 0;
    ForEachTrack(tracks,
                 [&](const CTrack& t)
                 {
                     builder.Trajectory(t.m_Code, t.m_Energy, t.m_Event, t.m_Points, t.m_Age);
                     if (++k % TracksPerDeposition == 0)
                         builder.Deposition(10 + static_cast<int>(k % 40), t.m_Code, t.m_Energy,
                                            t.m_Points.back());
                 });
    builder.Save(path.string());
    return fs::file_size(path);
}

// What the converter formats, formatted with snprintf alone: per point the track line's four
// numbers and the script line's three, per track its energy, per deposition centre and radius.
void FormatWithSnprintf(std::size_t tracks, std::vector<char>& buffer)
{
    std::size_t used = 0;
    const auto put = [&](const char* format, double value)
    {
        if (used + 64 > buffer.size()) used = 0;
        used += static_cast<std::size_t>(std::snprintf(buffer.data() + used, 64, format, value));
    };
    std::size_t k = 0;
    ForEachTrack(tracks,
                 [&](const CTrack& t)
                 {
                     for (const CPoint& p : t.m_Points)
                     {
                         for (double value : {p.x, p.y, p.z, t.m_Age})
                             put("%+.15E", value);
                         for (double value : {p.x, p.y, p.z})
                             put("%+.9E", value);
                     }
                     put("%+.15E", t.m_Energy);
                     if (++k % TracksPerDeposition == 0)
                         for (double value :
                              {t.m_Points.back().x, t.m_Points.back().y, t.m_Points.back().z, 0.1})
                             put("%+.9E", value);
                 });
}

// Best-of-three seconds to convert `path` read by a `TReader`; negative when it failed.
template <class TReader> double ConversionSeconds(const fs::path& path)
{
    trakor::CSettings settings;
    settings.m_CollisionFile = path.string();
    settings.m_TrackFile = path.string() + ".tracks";
    settings.m_ScriptFile = path.string() + ".scr";
    bool converted = true;
    const double time = Seconds(
        [&]
        {
            TReader file;
            converted = converted && file.Open(settings.m_CollisionFile) &&
                        trakor::CConverter(settings, std::cout, std::cerr).Run(file) ==
                            trakor::EConversion::Done;
        });
    return converted ? time : -1.0;
}

// The same one-step tracks in both formats, a source record starting every fiftieth event.
void WriteOneStepTracks(const fs::path& collisionFile, const fs::path& dump, std::size_t count)
{
    trakor::testing::CCollisionFileBuilder own;
    trakor::testing::CMgdrawDumpBuilder standard;
    const int codes[] = {1, 3, 7, 8, 13};
    for (std::size_t k = 0; k < count; ++k)
    {
        const int code = codes[k % 5];
        const float energy = 1.0f + 0.001f * static_cast<float>(k % 997);
        const double x = static_cast<double>(k % 1000) * 0.25;
        const std::vector<CPoint> points = {{x, -x, 0.5 * x}, {x + 1.0, 1.5 - x, 0.5 * x + 2.0}};
        if (k % 50 == 0) standard.Source(static_cast<int>(k / 50) + 1, 1);
        standard.Track(code, energy, points);
        own.Trajectory(code, energy, static_cast<int>(k / 50) + 1, points, 0.0);
    }
    own.Save(collisionFile.string());
    standard.Save(dump.string());
}

int CompareDumpWithCollisionFile(const fs::path& folder, std::size_t records)
{
    WriteOneStepTracks(folder / "own", folder / "dump", records);
    const double ownTime = ConversionSeconds<trakor::CCollisionFile>(folder / "own");
    const double dumpTime = ConversionSeconds<trakor::CMgdrawDump>(folder / "dump");
    if (ownTime < 0 || dumpTime < 0)
    {
        std::cerr << "conversion of one-step tracks failed\n";
        return 1;
    }
    const double n = static_cast<double>(records);
    std::printf("one-step tracks  %zu records in each format\n", records);
    std::printf("collision file   %.3f s, %.3f us per record\n", ownTime, ownTime / n * 1e6);
    std::printf("mgdraw dump      %.3f s, %.3f us per record\n", dumpTime, dumpTime / n * 1e6);
    std::printf("ratio            %.2f (dump / collision file per record; target <= 1.0)\n",
                dumpTime / ownTime);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 100.0;
    const std::size_t tracks =
        static_cast<std::size_t>(megabytes * 1e6 /
                                 (TrackRecordBytes + DepositionRecordBytes / TracksPerDeposition)) +
        1;
    const fs::path folder =
        fs::temp_directory_path() / ("trakor-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);

    const std::uint64_t inputBytes = WriteCollisionFile(folder / "collfile", tracks);
    trakor::CSettings settings;
    settings.m_CollisionFile = (folder / "collfile").string();
    settings.m_TrackFile = (folder / "collfile.tracks").string();
    settings.m_ScriptFile = (folder / "collfile.scr").string();
    bool converted = true;
    const double convertTime = Seconds(
        [&]
        {
            trakor::CCollisionFile file;
            converted = converted && file.Open(settings.m_CollisionFile) &&
                        trakor::CConverter(settings, std::cout, std::cerr).Run(file) ==
                            trakor::EConversion::Done;
        });
    std::vector<char> buffer(1 << 20);
    const double formatTime = Seconds([&] { FormatWithSnprintf(tracks, buffer); });
    const std::uint64_t outputBytes =
        fs::file_size(settings.m_TrackFile) + fs::file_size(settings.m_ScriptFile);
    fs::remove_all(folder);

    if (!converted)
    {
        std::cerr << "conversion failed\n";
        return 1;
    }
    std::printf("input            %.1f MB (%zu trajectories of %d points), output %.1f MB\n",
                inputBytes / 1e6, tracks, PointsPerTrack, outputBytes / 1e6);
    std::printf("conversion       %.3f s, %.1f MB/s of input\n", convertTime,
                inputBytes / 1e6 / convertTime);
    std::printf("snprintf only    %.3f s\n", formatTime);
    std::printf("ratio            %.2f (conversion / snprintf formatting; target <= 1.5)\n",
                convertTime / formatTime);

    const std::size_t records = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1000000;
    fs::create_directories(folder);
    const int status = CompareDumpWithCollisionFile(folder, records);
    fs::remove_all(folder);
    return status;
}
