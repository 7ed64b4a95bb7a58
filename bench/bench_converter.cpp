// Converts a generated collision file of at least 100 MB (or the size in MB given as the first
// argument) and compares the conversion time with the time of only formatting the same
// numbers with snprintf into a buffer.
#include "CollisionFile.h"
#include "CollisionFileBuilder.h"
#include "Converter.h"

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

constexpr int kPointsPerTrack = 40;
constexpr int kTracksPerDeposition = 10;
constexpr std::size_t kTrackRecordBytes = 48 + 32 * kPointsPerTrack;
constexpr std::size_t kDepositionRecordBytes = 36 + 40;

struct CTrack
{
    int code;
    double energy;
    int event;
    std::vector<CPoint> points;
    double age;
};

// The same tracks, in the same order, every time it is called.
void forEachTrack(std::size_t count, const std::function<void(const CTrack&)>& use)
{
    std::mt19937_64 random(2024);
    std::uniform_real_distribution<double> step(-2.0, 2.0);
    const int codes[] = {1, 3, 7, 8, 13};
    CTrack track{0, 0.0, 0, std::vector<CPoint>(kPointsPerTrack), 0.0};
    for (std::size_t k = 0; k < count; ++k)
    {
        track.code = codes[k % 5];
        track.energy = 1.0 + 0.001 * static_cast<double>(k % 997);
        track.event = static_cast<int>(k / 50) + 1;
        CPoint p{step(random) * 50, step(random) * 50, step(random) * 50};
        for (CPoint& point : track.points)
        {
            point = p;
            p = {p.x + step(random), p.y + step(random), p.z + step(random)};
        }
        track.age = 1.0e-9 * static_cast<double>(k % 113 + 1);
        use(track);
    }
}

double seconds(const std::function<void()>& work)
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

std::uint64_t writeCollisionFile(const fs::path& path, std::size_t tracks)
{
    trakor::testing::CCollisionFileBuilder builder;
    std::size_t k = 0;
    forEachTrack(tracks,
                 [&](const CTrack& t)
                 {
                     builder.trajectory(t.code, t.energy, t.event, t.points, t.age);
                     if (++k % kTracksPerDeposition == 0)
                         builder.deposition(10 + static_cast<int>(k % 40), t.code, t.energy,
                                            t.points.back());
                 });
    builder.save(path.string());
    return fs::file_size(path);
}

// What the converter formats, formatted with snprintf alone: per point the track line's four
// numbers and the script line's three, per track its energy, per deposition centre and radius.
void formatWithSnprintf(std::size_t tracks, std::vector<char>& buffer)
{
    std::size_t used = 0;
    const auto put = [&](const char* format, double value)
    {
        if (used + 64 > buffer.size()) used = 0;
        used += static_cast<std::size_t>(std::snprintf(buffer.data() + used, 64, format, value));
    };
    std::size_t k = 0;
    forEachTrack(
        tracks,
        [&](const CTrack& t)
        {
            for (const CPoint& p : t.points)
            {
                for (double value : {p.x, p.y, p.z, t.age})
                    put("%+.15E", value);
                for (double value : {p.x, p.y, p.z})
                    put("%+.9E", value);
            }
            put("%+.15E", t.energy);
            if (++k % kTracksPerDeposition == 0)
                for (double value : {t.points.back().x, t.points.back().y, t.points.back().z, 0.1})
                    put("%+.9E", value);
        });
}

} // namespace

int main(int argc, char** argv)
{
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 100.0;
    const std::size_t tracks =
        static_cast<std::size_t>(
            megabytes * 1e6 / (kTrackRecordBytes + kDepositionRecordBytes / kTracksPerDeposition)) +
        1;
    const fs::path folder =
        fs::temp_directory_path() / ("trakor-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);

    const std::uint64_t inputBytes = writeCollisionFile(folder / "collfile", tracks);
    trakor::CSettings settings;
    settings.collisionFile = (folder / "collfile").string();
    settings.trackFile = (folder / "collfile.tracks").string();
    settings.scriptFile = (folder / "collfile.scr").string();
    bool converted = true;
    const double convertTime = seconds(
        [&]
        {
            trakor::CCollisionFile file;
            converted = converted && file.open(settings.collisionFile) &&
                        trakor::CConverter(settings, std::cout, std::cerr).run(file) ==
                            trakor::EConversion::Done;
        });
    std::vector<char> buffer(1 << 20);
    const double formatTime = seconds([&] { formatWithSnprintf(tracks, buffer); });
    const std::uint64_t outputBytes =
        fs::file_size(settings.trackFile) + fs::file_size(settings.scriptFile);
    fs::remove_all(folder);

    if (!converted)
    {
        std::cerr << "conversion failed\n";
        return 1;
    }
    std::printf("input            %.1f MB (%zu trajectories of %d points), output %.1f MB\n",
                inputBytes / 1e6, tracks, kPointsPerTrack, outputBytes / 1e6);
    std::printf("conversion       %.3f s, %.1f MB/s of input\n", convertTime,
                inputBytes / 1e6 / convertTime);
    std::printf("snprintf only    %.3f s\n", formatTime);
    std::printf("ratio            %.2f (conversion / snprintf formatting; target <= 1.5)\n",
                convertTime / formatTime);
    return 0;
}
