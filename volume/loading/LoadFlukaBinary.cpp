#include "platform/Clock.h"
#include "platform/UiServices.h"
#include "volume/formats/FlukaBinaryReader.h"
#include "volume/loading/CartesianFill.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace volumira3d
{
namespace
{
enum class EBinaryMapping
{
    Cartesian,
    Cylindrical,
    Unknown,
};

EBinaryMapping MappingOf(std::int32_t type)
{
    switch (type)
    {
    case 0:
    case 3:
    case 4:
    case 5:
    case 6:
    case 10:
    case 13:
    case 14:
    case 15:
    case 16:
        return EBinaryMapping::Cartesian;
    case 1:
    case 7:
    case 11:
    case 17:
        return EBinaryMapping::Cylindrical;
    default:
        return EBinaryMapping::Unknown;
    }
}

// Native floats at any alignment (a mapped file's values need not be aligned).
float FloatAt(const unsigned char* bytes, std::size_t i)
{
    float value;
    std::memcpy(&value, bytes + 4 * i, 4);
    return value;
}

// Values times the normalisation, rounded to single precision as the file holds them. Built for
// AVX2 as well and taken where the processor has it: a binary load is little more than this.
__attribute__((target_clones("avx2", "default"))) void
NormalizeToFloat(const unsigned char* values, double* dst, std::size_t n, double normalization)
{
    for (std::size_t i = 0; i < n; ++i)
        dst[i] = static_cast<float>(FloatAt(values, i) * normalization);
}

// The values of the current value record in pieces, as the cartesian fill (normalised and
// rounded to single precision) and the cylindrical mappings (raw) want them. A piece is read in
// place from the mapped file where it can be, else copied into a buffer.
class CBinaryValueSource : public ICylinderSource
{
public:
    CBinaryValueSource(CFlukaBinaryReader& reader, double normalization)
        : m_Reader(reader), m_Normalization(normalization), m_Left(reader.ValueCount())
    {
    }
    // Up to n normalised values; fewer when the record ends or cannot be read.
    std::size_t Take(double* dst, std::size_t n)
    {
        std::size_t done = 0;
        while (done < n && (m_Next < m_PieceSize || Refill()))
        {
            const std::size_t k = std::min(n - done, m_PieceSize - m_Next);
            NormalizeToFloat(m_pPiece + 4 * m_Next, dst + done, k, m_Normalization);
            m_Next += k, m_Count += static_cast<std::int64_t>(k), done += k;
        }
        return done;
    }
    bool ReadValue(double& value) override
    {
        if (m_Next == m_PieceSize && !Refill()) return false;
        value = FloatAt(m_pPiece, m_Next++);
        ++m_Count;
        return true;
    }
    void Close() override { m_Left = 0, m_PieceSize = m_Next = 0; }
    bool Exhausted() const override { return m_Left == 0 && m_Next == m_PieceSize; }
    std::uint64_t MaxValuesLeft() const override
    {
        return static_cast<std::uint64_t>(m_Left) + (m_PieceSize - m_Next);
    }
    std::int64_t GetCount() const override { return m_Count; }

private:
    bool Refill()
    {
        const std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(m_Left, 1 << 16));
        m_Next = m_PieceSize = 0;
        m_pPiece = n > 0 ? m_Reader.ViewValues(n) : nullptr;
        if (n > 0 && !m_pPiece)
        {
            m_Buffer.resize(n);
            if (m_Reader.ReadValues(m_Buffer.data(), n))
                m_pPiece = reinterpret_cast<const unsigned char*>(m_Buffer.data());
        }
        if (!m_pPiece)
        {
            Close();
            return false;
        }
        m_PieceSize = n;
        m_Left -= static_cast<std::int64_t>(n);
        return true;
    }

    CFlukaBinaryReader& m_Reader;
    double m_Normalization;
    std::int64_t m_Left;
    std::vector<float> m_Buffer;
    const unsigned char* m_pPiece = nullptr; // native floats
    std::size_t m_PieceSize = 0, m_Next = 0;
    std::int64_t m_Count = 0;
};

CCylinderGeometry CylinderGeometryOf(const CFlukaBinaryHeader& header)
{
    CCylinderGeometry g;
    const CFlukaAxis &r = header.m_Axis[0], &phi = header.m_Axis[1], &z = header.m_Axis[2];
    g.m_RMin = r.m_Min, g.m_RMax = r.m_Max, g.m_DR = r.m_Width, g.m_NR = r.m_Bins;
    g.m_ZMin = z.m_Min, g.m_ZMax = z.m_Max, g.m_DZ = z.m_Width, g.m_NZ = z.m_Bins;
    g.m_NPhi = phi.m_Bins;
    g.m_TotalWeight = header.m_TotalWeight;
    g.m_GenParticle = header.m_GenParticle;
    g.m_NrOfParticles = header.m_NrOfParticles;
    return g;
}

std::string TypeName(std::int32_t type)
{
    switch (MappingOf(type))
    {
    case EBinaryMapping::Cartesian:
        return Format("cartesian (%d)", type);
    case EBinaryMapping::Cylindrical:
        return Format("cylindrical (%d)", type);
    case EBinaryMapping::Unknown:
        break;
    }
    return Format("type %d", type);
}

// The contradiction in a mapped binning's axes, empty when there is none: each axis must run
// upwards in bins of positive width that add up to its range (to the float's digits).
std::string AxisContradiction(const CFlukaBinaryHeader& header)
{
    static const char* const names[3] = {"first", "second", "third"};
    for (int a = 0; a < 3; ++a)
    {
        const CFlukaAxis& axis = header.m_Axis[a];
        const double span = axis.m_Max - axis.m_Min;
        if (!(span > 0) || !(axis.m_Width > 0) ||
            std::abs(axis.m_Width * axis.m_Bins - span) > 1e-4 * span)
            return Format("The %s axis of the binning runs from %g to %g in %d bins of %g: the "
                          "header contradicts itself.",
                          names[a], axis.m_Min, axis.m_Max, axis.m_Bins, axis.m_Width);
    }
    return "";
}

class CFlukaBinaryLoad : public CFormatLoad
{
public:
    using CFormatLoad::CFormatLoad;
    bool Load(const std::string& path);

private:
    bool ChooseBinning(CFlukaBinaryReader& reader);
    bool ChooseBinaryArray(CFlukaBinaryReader& reader);
    bool MapBinaryCartesian(CFlukaBinaryReader& reader);
};
} // namespace

bool CFlukaBinaryLoad::Load(const std::string& path)
{
    m_Log.AddLine("Preparing voxel structure...");
    CFlukaBinaryReader reader;
    if (!reader.Open(path))
    {
        m_Loader.LogError(reader.Error());
        return false;
    }
    if (!ChooseBinning(reader)) return false;
    const EBinaryMapping mapping = MappingOf(reader.Header().m_Type);
    if (mapping == EBinaryMapping::Unknown)
    {
        m_Loader.ReportProblem("Sorry, but the binning type could not be determined", MB_ICONERROR);
        return false;
    }
    if (const std::string contradiction = AxisContradiction(reader.Header());
        !contradiction.empty())
    {
        m_Loader.LogError(contradiction);
        return false;
    }
    if (!ChooseBinaryArray(reader)) return false;
    if (mapping == EBinaryMapping::Cartesian) return MapBinaryCartesian(reader);
    CBinaryValueSource source(reader, m_Loader.Factor());
    return m_Loader.MapCylinderFile(source, CylinderGeometryOf(reader.Header()));
}

// Looks past the first binning and, with several, asks which one to read.
bool CFlukaBinaryLoad::ChooseBinning(CFlukaBinaryReader& reader)
{
    if (!reader.ScanTail())
        m_Log.AddLine("What follows binning " + std::to_string(reader.Binnings().size()) +
                          " cannot be read and was ignored: " + reader.Error(),
                      ILoadLog::IconWarning);
    std::vector<CVolumeLoader::CBinningRow> rows;
    for (const CFlukaBinaryHeader& h : reader.Binnings())
        rows.push_back(
            {h.m_Number, h.m_Name, TypeName(h.m_Type), BinCounts(h.m_Axis), h.m_GenParticle});
    int index = 0;
    if (!m_Loader.ChooseFlukaBinning(rows, index)) return false;
    if (index == 0 || reader.SelectBinning(index)) return true;
    m_Loader.LogError(reader.Error());
    return false;
}

// For a sum file, asks whether its errors are shown instead of its values. Leaves the chosen
// array ready to read.
bool CFlukaBinaryLoad::ChooseBinaryArray(CFlukaBinaryReader& reader)
{
    const bool errors = reader.HasStatistics() && m_Loader.AskStatistics();
    if (errors) m_Loader.ReadRelativeErrors();
    if (errors ? reader.BeginErrors() : reader.BeginValues()) return true;
    m_Loader.LogError(reader.Error());
    return false;
}

bool CFlukaBinaryLoad::MapBinaryCartesian(CFlukaBinaryReader& reader)
{
    const CFlukaBinaryHeader& header = reader.Header();
    m_Grid.ClearDataSet();
    m_Grid.ResetStatistics();
    // The fill writes every voxel, zeros after a short file included.
    if (!m_Loader.PrepareGrid(header.m_Axis[0].m_Bins, header.m_Axis[1].m_Bins,
                              header.m_Axis[2].m_Bins, 0, EVoxelStart::Unset))
        return false;
    const long bins = static_cast<long>(m_Grid.VoxelCount());
    CProgressLine progress(m_Log, Format("Mapping %ld bins to XYZ... %d%%", bins, 0));
    const DWORD start = GetTickCount();
    CBinaryValueSource source(reader, m_Loader.Factor());
    const CFillResult fill = FillCartesian(source, m_Grid, progress);
    if (!fill.Complete(m_Grid))
    {
        m_Loader.LogError(
            fill.m_Overflow
                ? Format("Value %lld times the normalization factor exceeds the range of "
                         "numbers.",
                         fill.m_Consumed + 1)
                : reader.Error());
        return false;
    }
    m_Loader.LogElapsed(start);
    for (int a = 0; a < 3; ++a)
    {
        m_Grid.m_GridMin[a] = header.m_Axis[a].m_Min;
        m_Grid.m_BinWidth[a] = header.m_Axis[a].m_Width;
    }
    m_Grid.m_TotalWeight = header.m_TotalWeight;
    m_Grid.m_GenParticle = header.m_GenParticle;
    m_Grid.m_NrOfParticles = header.m_NrOfParticles;
    return true;
}

bool LoadFlukaBinary(CVolumeLoader& loader, const std::string& path)
{
    return CFlukaBinaryLoad(loader).Load(path);
}
} // namespace volumira3d
