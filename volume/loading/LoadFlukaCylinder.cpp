#include "platform/Clock.h"
#include "platform/UiServices.h"
#include "volume/formats/FlukaRZAsciiReader.h"
#include "volume/loading/CylinderMapping.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

#include <omp.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace volumira3d
{
namespace
{
// Beyond this many bins per half axis no grid fits into any memory.
constexpr double MaxHalfBins = 1e7;

int Percent(long long taken, long long total)
{
    return total > 0 ? static_cast<int>(std::min<long long>(taken * 100 / total, 100)) : 100;
}

// The streaming text reader as a source of ring values.
class CTextCylinderSource : public ICylinderSource
{
public:
    explicit CTextCylinderSource(CFlukaRZAsciiReader& reader) : m_Reader(reader) {}
    bool ReadValue(double& value) override { return m_Reader.ReadValue(value); }
    void Close() override { m_Reader.Close(); }
    bool Exhausted() const override { return m_Reader.Exhausted(); }
    std::uint64_t MaxValuesLeft() const override { return m_Reader.MaxValuesLeft(); }
    std::int64_t GetCount() const override { return m_Reader.GetCount(); }

private:
    CFlukaRZAsciiReader& m_Reader;
};

CCylinderGeometry GeometryOf(const CFlukaRZAsciiReader& reader)
{
    CCylinderGeometry g;
    reader.GetRRange(g.m_RMin, g.m_RMax);
    g.m_DR = reader.GetDR();
    g.m_NR = reader.GetNR();
    reader.GetZRange(g.m_ZMin, g.m_ZMax);
    g.m_DZ = reader.GetDZ();
    g.m_NZ = reader.GetNZ();
    g.m_AxisX = reader.GetAxisX();
    g.m_AxisY = reader.GetAxisY();
    g.m_TotalWeight = reader.GetTotalWeight();
    g.m_GenParticle = reader.GetGenParticle();
    g.m_NrOfParticles = reader.GetNrOfParticles();
    return g;
}

// A refused header: no value has been read, whatever its notation.
bool OpenCylinderFile(CVolumeLoader& loader, CFlukaRZAsciiReader& reader)
{
    if (reader.Open()) return true;
    loader.LogError(reader.Error());
    return false;
}
} // namespace

bool CVolumeLoader::PlanRadialLayout(const CCylinderGeometry& geometry, CRadialLayout& layout)
{
    const double rmin = geometry.m_RMin, rmax = geometry.m_RMax, dr = geometry.m_DR;
    // Rmax must be where the bins end (within the rounding of printed numbers): a header that
    // disagrees with itself cannot say which of the two the grid should follow.
    const bool consistent = std::abs(rmin + geometry.m_NR * dr - rmax) <= 0.5 * dr;
    if (!(rmin >= 0) || !(rmax > rmin) || !(dr > 0) || geometry.m_NR < 1 || !consistent ||
        rmin / dr + geometry.m_NR > MaxHalfBins)
    {
        ReportProblem(Format("The radial binning from %g to %g cm in bins of %g cm cannot be "
                             "mapped onto a grid.",
                             rmin, rmax, dr),
                      MB_ICONERROR);
        return false;
    }
    // From the bin count, not from Rmax / DR truncated: 10 / 0.1 in single precision is 99.99999.
    layout.m_Off = std::llround(rmin / dr);
    layout.m_N = layout.m_Off + geometry.m_NR;
    layout.m_DR = dr;
    layout.m_NR = geometry.m_NR;
    if (layout.m_N > 100 && layout.m_N % 2 == 0 &&
        AfxMessageBox("More than 100 radial bins have been detected. Do you want to compact these "
                      "by a factor of 2 to save memory?",
                      MB_YESNO | MB_ICONQUESTION) == IDYES)
    {
        layout.m_Compact = true;
        layout.m_DR *= 2;
        layout.m_OddLeftover = layout.m_NR % 2 != 0;
        layout.m_NR /= 2;
        layout.m_N /= 2;
        layout.m_Off /= 2;
    }
    return true;
}

bool CVolumeLoader::ReadRingValue(ICylinderSource& reader, const CRadialLayout& layout,
                                  double& value)
{
    double first = 0, second = 0;
    if (!reader.ReadValue(first) || (layout.m_Compact && !reader.ReadValue(second))) return false;
    double a = 0, b = 0;
    if (Normalised(first, a) && Normalised(second, b))
    {
        value = layout.m_Compact ? (a + b) / 2 : a;
        return true;
    }
    // A value beyond the range of numbers ends the reading as an unreadable one does.
    reader.Close();
    return false;
}

// A compacted row of an odd number of rings leaves one value; reading it keeps the next row in
// step with the file.
void CVolumeLoader::FinishRow(ICylinderSource& reader, const CRadialLayout& layout)
{
    double leftover = 0;
    if (layout.m_OddLeftover) reader.ReadValue(leftover);
}

void CVolumeLoader::ReportShortCylinderFile(const ICylinderSource& reader, long long expected)
{
    if (reader.GetCount() >= expected) return;
    m_Log.AddLine(Format("Only %lld of %lld values could be read; the remaining voxels were left "
                         "at 0.",
                         static_cast<long long>(reader.GetCount()), expected),
                  ILoadLog::IconWarning);
}

void CVolumeLoader::SetCylinderGeometry(const CCylinderGeometry& geometry,
                                        const CRadialLayout& layout)
{
    m_Grid.m_GridMin[0] = geometry.m_AxisX - layout.m_N * layout.m_DR;
    m_Grid.m_GridMin[1] = geometry.m_AxisY - layout.m_N * layout.m_DR;
    m_Grid.m_GridMin[2] = geometry.m_ZMin;
    m_Grid.m_BinWidth[0] = m_Grid.m_BinWidth[1] = layout.m_DR;
    m_Grid.m_BinWidth[2] = geometry.m_DZ;
    m_Grid.m_TotalWeight = geometry.m_TotalWeight;
    m_Grid.m_GenParticle = geometry.m_GenParticle;
    m_Grid.m_NrOfParticles = geometry.m_NrOfParticles;
}

bool LoadFlukaRZ(CVolumeLoader& loader, const std::string& path)
{
    CFlukaRZAsciiReader reader(path);
    if (!OpenCylinderFile(loader, reader)) return false;
    CTextCylinderSource source(reader);
    return loader.MapRZ(source, GeometryOf(reader));
}

bool CVolumeLoader::MapRZ(ICylinderSource& reader, const CCylinderGeometry& geometry)
{
    CRadialLayout layout;
    if (!PlanRadialLayout(geometry, layout)) return false;
    const long long n = layout.m_N, nz = geometry.m_NZ;
    m_Grid.ClearDataSet();
    m_Grid.ResetStatistics();
    m_Log.AddLine("Preparing voxel structure...");
    m_Log.AddLine(Format("Requesting %.2lf MB of memory...", 32.0 * n * n * nz / 1e6));
    if (!PrepareGrid(2 * n, 2 * n, nz)) return false;
    m_Log.AddLine("...successful");
    SetCylinderGeometry(geometry, layout);

    CProgressLine progress(m_Log, Format("Mapping %ld bins to XYZ...", long(4 * n * n * nz)));
    m_Log.AddLine(Format("Using %d cores", omp_get_num_procs()));
    const DWORD start = GetTickCount();
    long long taken = 0;
    for (int iz = 0; iz < nz && !reader.Exhausted(); ++iz)
    {
        for (int ir = 0; ir < layout.m_NR; ++ir, ++taken)
        {
            double value = 0;
            if (!ReadRingValue(reader, layout, value)) break;
            FillRing(m_Grid, static_cast<int>(layout.m_Off + ir), iz, value);
        }
        FinishRow(reader, layout);
        progress.Update(long(n * nz), Percent(taken, n * nz));
    }
    ReportShortCylinderFile(reader, static_cast<long long>(geometry.m_NR) * nz);
    LogElapsed(start);
    return true;
}

// Reads the values of one R-Phi-Z plane, sector after sector, ring after ring, until the file
// runs out; returns how many were read.
long CVolumeLoader::ReadSectorPlane(ICylinderSource& reader, const CRadialLayout& layout,
                                    long long nphi, std::vector<double>& values)
{
    long count = 0;
    for (long long iphi = 0; iphi < nphi && !reader.Exhausted(); ++iphi)
    {
        for (int ir = 0; ir < layout.m_NR && count < static_cast<long>(values.size()); ++ir)
        {
            if (!ReadRingValue(reader, layout, values[static_cast<size_t>(count)])) return count;
            ++count;
        }
        FinishRow(reader, layout);
    }
    return count;
}

bool LoadFlukaRPhiZ(CVolumeLoader& loader, const std::string& path)
{
    CFlukaRPhiZAsciiReader reader(path);
    if (!OpenCylinderFile(loader, reader)) return false;
    CTextCylinderSource source(reader);
    CCylinderGeometry geometry = GeometryOf(reader);
    geometry.m_NPhi = reader.GetNPhi();
    return loader.MapRPhiZ(source, geometry);
}

bool CVolumeLoader::MapRPhiZ(ICylinderSource& reader, const CCylinderGeometry& geometry)
{
    CRadialLayout layout;
    if (!PlanRadialLayout(geometry, layout)) return false;
    const long long n = layout.m_N, nz = geometry.m_NZ, nphi = geometry.m_NPhi;
    // A plane's values and sectors, no more than the file can hold however large the header's
    // counts are; the fill keeps two integers per value and thread besides.
    const long long perPlane = std::min<long long>(
        layout.m_NR * nphi,
        static_cast<long long>(std::min<std::uint64_t>(reader.MaxValuesLeft(), 1ULL << 40)));
    const double planeBytes = double(perPlane) * (8.0 + 8.0 * omp_get_max_threads() + 8.0);
    if (planeBytes > double(AvailableMemory()))
    {
        ReportProblem(Format("The %lld values of an R-Phi-Z plane would need %.1f MB of memory, "
                             "more than is available.",
                             perPlane, planeBytes / 1e6),
                      MB_ICONERROR);
        return false;
    }
    m_Grid.ClearDataSet();
    m_Grid.ResetStatistics();
    m_Log.AddLine("Preparing voxel structure...");
    if (!PrepareGrid(2 * n + 1, 2 * n + 1, nz)) return false;
    SetCylinderGeometry(geometry, layout);

    CProgressLine progress(m_Log, Format("Mapping %ld bins to XYZ...", long(m_Grid.VoxelCount())));
    m_Log.AddLine(Format("Using %d cores", omp_get_num_procs()));
    const DWORD start = GetTickCount();
    const long long sectors =
        layout.m_NR > 0 ? std::min<long long>(nphi, (perPlane + layout.m_NR - 1) / layout.m_NR) : 0;
    const auto windows =
        SectorWindows(m_Grid.m_NrXBins, static_cast<int>(nphi), static_cast<int>(sectors));
    std::vector<double> values(static_cast<size_t>(perPlane));
    const long long total = n * nphi * nz;
    long long taken = 0;
    for (int iz = 0; iz < nz && !reader.Exhausted(); ++iz)
    {
        const long count = ReadSectorPlane(reader, layout, nphi, values);
        FillSectorPlane(m_Grid, values, count, layout.m_NR, static_cast<int>(layout.m_Off),
                        static_cast<int>(nphi), iz, windows);
        taken += count;
        progress.Update(long(m_Grid.VoxelCount()), Percent(taken, total));
    }
    ReportShortCylinderFile(reader, static_cast<long long>(geometry.m_NR) * nphi * nz);
    LogElapsed(start);
    return true;
}
} // namespace volumira3d
