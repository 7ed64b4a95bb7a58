#include "cloud/McplReader.h"

#include "cloud/McplFile.h"
#include "cloud/McplHeader.h"
#include "cloud/PdgCodes.h"
#include "common/FileSystem.h"
#include "common/WorkerThreads.h"
#include "platform/UiServices.h"

#include <cmath>
#include <fstream>

namespace nebulo3d
{
namespace
{
constexpr double MeVPerGeV = 1000.0;
constexpr double SecondsPerMs = 1e-3;

bool Finite(const double* v, int n)
{
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(v[i])) return false;
    return true;
}

bool FiniteParticle(const mcpl_particle_t& p)
{
    return Finite(p.position, 3) && Finite(p.direction, 3) && std::isfinite(p.ekin) &&
           std::isfinite(p.weight) && std::isfinite(p.time);
}

// The last code met and its type: lists hold long runs of one particle kind.
class CTypeCache
{
public:
    int Type(std::int32_t pdg)
    {
        if (pdg != m_Pdg) m_Type = TypeOfPdgCode(m_Pdg = pdg);
        return m_Type;
    }

private:
    std::int32_t m_Pdg = 0;
    int m_Type = TypeOfPdgCode(0);
};

std::unique_ptr<CParticle> MakeParticle(const mcpl_particle_t& m, int type)
{
    auto p = std::make_unique<CParticle>();
    p->m_Position = {m.position[0], m.position[1], m.position[2]};
    p->m_Direction = {m.direction[0], m.direction[1], m.direction[2]};
    p->m_Energy = m.ekin / MeVPerGeV;
    p->m_Weight = m.weight;
    p->m_Time = m.time * SecondsPerMs;
    p->m_Type = type;
    p->m_ExtentMin = p->m_Position;
    p->m_ExtentMax = p->m_Position + p->m_Direction;
    return p;
}

// The particles of a list in batches, every step-th of them up to wanted. The library's errors
// end the reading and are kept for the thread that stores.
class CBatchSource
{
public:
    static constexpr size_t BatchSize = 16384;

    CBatchSource(mcpl_file_t file, std::uint64_t wanted, std::uint64_t step)
        : m_File(file), m_Wanted(wanted), m_Step(step)
    {
    }
    // Empty at the end.
    void Fill(std::vector<mcpl_particle_t>& batch)
    {
        batch.clear();
        try
        {
            while (batch.size() < BatchSize && m_Read < m_Wanted && !m_Ended)
            {
                const bool there =
                    m_Read == 0 || m_Step == 1 || mcpl_skipforward(m_File, m_Step - 1);
                const mcpl_particle_t* m = there ? mcpl_read(m_File) : nullptr;
                m_Ended = m == nullptr;
                if (m) batch.push_back(*m), ++m_Read;
            }
        }
        catch (const CMcplError& e)
        {
            m_Error = e.what();
            m_Ended = true;
        }
    }
    std::uint64_t Read() const { return m_Read; }
    const std::string& Error() const { return m_Error; }

private:
    mcpl_file_t m_File;
    std::uint64_t m_Wanted, m_Step, m_Read = 0;
    bool m_Ended = false;
    std::string m_Error;
};

std::string Counted(std::uint64_t n, const char* what)
{
    return std::to_string(n) + " " + what;
}
} // namespace

std::uint64_t CMcplSampling::Selected(std::uint64_t count) const
{
    const std::uint64_t n = std::max<std::uint64_t>(m_N, 1);
    switch (m_Mode)
    {
    case EMode::EveryNth:
        return (count + n - 1) / n;
    case EMode::FirstN:
        return std::min(count, n);
    case EMode::All:
        break;
    }
    return count;
}

double CMcplReader::BytesPerParticle()
{
    // The particle, its pointer and the hash node that holds both.
    return double(sizeof(CParticle) + 4 * sizeof(void*));
}

bool CMcplReader::Fail(const std::string& fileName, const std::string& reason)
{
    AfxMessageBox("ERROR: " + fileName + " is not read as an MCPL file: " + reason + ".",
                  MB_ICONERROR);
    return false;
}

bool CMcplReader::Read(const std::string& fileName, CProgressCtrl* pProgress)
{
    m_Loaded = false;
    m_ExtentMin = {1e15, 1e15, 1e15};
    m_ExtentMax = {-1e15, -1e15, -1e15};
    if (fileName.empty())
    {
        AfxMessageBox("ERROR: No filename specified!", MB_ICONERROR);
        return false;
    }
    if (!IsRegularFile(fileName)) return false;
    std::string error;
    CMcplInput input;
    if (!input.Open(fileName, error)) return Fail(fileName, error);
    std::uint64_t bytes = 0;
    CMcplHeader header;
    std::ifstream in(input.Path(), std::ios::binary);
    if (!RegularFileSize(input.Path(), bytes) || !in) return Fail(fileName, "it cannot be opened");
    if (!header.Read(in, bytes, error)) return Fail(fileName, error);
    in.close();
    const std::uint64_t available = Available(header, bytes, input.CutShort());
    CMcplSampling sampling;
    if (available > m_LargeList && m_Question &&
        !m_Question(available, double(available) * BytesPerParticle() / 1e6, sampling))
        return false;
    try
    {
        RouteMcplErrors();
        CMcplFile file(input.Path());
        NoteHeader(header, input.Compressed());
        ReadParticles(file.Get(), available, sampling, pProgress);
    }
    catch (const CMcplError& e)
    {
        return Fail(fileName, e.what());
    }
    m_Loaded = true;
    return true;
}

std::uint64_t CMcplReader::Available(const CMcplHeader& header, std::uint64_t fileBytes,
                                     bool cutShort)
{
    const std::uint64_t announced = header.m_Particles;
    const std::uint64_t held = header.ParticlesInFile(fileBytes);
    if (held == 0 && announced == 0) Warn("the file holds no particles");
    if (cutShort) Warn("the compressed file ends early: its unpacked part was read");
    if (announced == 0 && held > 0)
        Warn("the header announces no particles (the file was not closed by its writer); " +
             Counted(held, "particles were recovered from its size"));
    else if (held < announced)
        Warn("the header announces " + Counted(announced, "particles") + ", the file holds " +
             Counted(held, "whole ones") + ": " + Counted(held, "were read"));
    else if (held > announced)
        Warn("the header announces " + Counted(announced, "particles") +
             ", the file holds data for " + std::to_string(held) + ": the " +
             Counted(announced, "announced were read"));
    const std::uint64_t used = header.m_HeaderBytes + held * header.m_ParticleBytes;
    if (held <= announced && fileBytes > used && announced > 0)
        Warn(Counted(fileBytes - used, "bytes after the last whole particle were ignored"));
    return announced == 0 ? held : std::min(announced, held);
}

void CMcplReader::NoteHeader(const CMcplHeader& header, bool compressed)
{
    Note("MCPL list from \"" + header.m_Source + "\"" + (compressed ? " (gzipped)" : "") + ", " +
         (header.m_DoublePrecision ? "double" : "single") + " precision");
    Note("Energies converted from MeV to GeV, times from ms to s");
    if (header.m_Polarisation) Note("Polarisation vectors are stored in the file and ignored");
    if (header.m_UserFlags) Note("User flags are stored in the file and ignored");
}

void CMcplReader::ReadParticles(mcpl_file_t file, std::uint64_t available,
                                const CMcplSampling& sampling, CProgressCtrl* pProgress)
{
    const std::uint64_t wanted = sampling.Selected(available);
    const std::uint64_t step = sampling.m_Mode == CMcplSampling::EMode::EveryNth
                                   ? std::max<std::uint64_t>(sampling.m_N, 1)
                                   : 1;
    m_Particles.reserve(wanted);
    CLoadProgress progress(pProgress, wanted);
    CBatchSource source(file, wanted, step);
    CTypeCache types;
    std::uint64_t stored = 0, other = 0, skipped = 0;
    auto store = [&](const std::vector<mcpl_particle_t>& batch)
    {
        for (const mcpl_particle_t& m : batch)
        {
            if (!FiniteParticle(m))
            {
                ++skipped;
                continue;
            }
            auto p = MakeParticle(m, types.Type(m.pdgcode));
            other += p->m_Type == OtherType;
            Add(std::move(p));
        }
        progress.Update(stored += batch.size());
    };
    // The library unpacks the next batch on a second thread while this one stores the last:
    // each takes about half the time of a load.
    std::vector<mcpl_particle_t> batches[2];
    source.Fill(batches[0]);
    CWorkerThreads threads(2);
    for (int current = 0; !batches[current].empty(); current = 1 - current)
        threads.Run([&](int t)
                    { t == 0 ? store(batches[current]) : source.Fill(batches[1 - current]); });
    if (!source.Error().empty()) throw CMcplError(source.Error());
    if (source.Read() < wanted)
        Warn(Counted(wanted - source.Read(), "particles could not be read"));
    if (skipped > 0)
        Warn(Counted(skipped, "particles with a coordinate, energy, weight or time that is not a "
                              "finite number were skipped"));
    if (other > 0)
        Note(Counted(other, "particles of codes without a FLUKA type (ions, unknown) "
                            "are listed as \"Other\""));
    Note("Read " + Counted(Count(), "") + "of the " + Counted(available, "particles in the file") +
         (step > 1 ? " (every " + std::to_string(step) + "-th)" : ""));
}
} // namespace nebulo3d
