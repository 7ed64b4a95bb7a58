// Reading a large track file through the dialog's code path, against a bare in-memory pass that
// only splits the same bytes into lines and tokens and converts the numbers.
#include "platform/Controls.h"
#include "tracks/ParticleDataReader.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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
} // namespace

int main()
{
    const int particles = 10000, points = 100;
    const std::string text = MakeTrackFile(particles, points);
    const auto path = std::filesystem::temp_directory_path() / "bench_tracks.tracks";
    std::ofstream(path, std::ios::binary) << text;
    const double mb = text.size() / 1e6;

    double best = 1e9, bestBare = 1e9;
    volatile double sink = 0;
    for (int run = 0; run < 3; ++run)
    {
        auto t0 = Clock::now();
        sink = sink + BarePass(text);
        bestBare = std::min(bestBare, std::chrono::duration<double>(Clock::now() - t0).count());

        CBenchDlg dlg;
        CProgressCtrl progress(&dlg, 1);
        trakor3d::CParticleDataReader store;
        t0 = Clock::now();
        const bool ok = store.ReadFile(path.string(), &progress);
        best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
        if (!ok || store.m_Particles.size() != 2)
        {
            std::fprintf(stderr, "reading failed\n");
            return 1;
        }
    }
    std::filesystem::remove(path);
    std::printf("track file: %d particles, %d points, %.1f MB\n", particles, particles * points,
                mb);
    std::printf("ReadFile:   %.3f s, %.1f MB/s\n", best, mb / best);
    std::printf("bare pass:  %.3f s, %.1f MB/s\n", bestBare, mb / bestBare);
    std::printf("ratio (reader throughput / bare throughput): %.2f (target >= 0.5)\n",
                bestBare / best);
    return 0;
}
