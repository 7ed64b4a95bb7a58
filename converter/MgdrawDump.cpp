#include "MgdrawDump.h"

#include <limits>

namespace trakor
{
namespace
{

constexpr std::size_t WordSize = 4;
constexpr std::size_t DepositionDataSize = 4 * WordSize;
constexpr std::size_t PrimarySize = 9 * WordSize;

double Real(const unsigned char* bytes)
{
    return static_cast<double>(LoadFloat(bytes));
}

CPoint PointAt(const unsigned char* bytes)
{
    return {Real(bytes), Real(bytes + WordSize), Real(bytes + 2 * WordSize)};
}

} // namespace

const char* CMgdrawDump::Description() const
{
    return "standard FLUKA mgdraw dump (single precision, no times)";
}

void CMgdrawDump::StartPass()
{
    m_Event = 0;
}

CMgdrawDump::ERecord CMgdrawDump::ReadPair(std::uint64_t headerAt)
{
    if (m_Header.size() != HeaderSize)
        return Corrupt(headerAt, "header record of " + Bytes(m_Header.size()) +
                                     " where a standard dump has " + Bytes(HeaderSize));
    const int kind = LoadInt(m_Header.data());
    if (kind > 0) return ReadTrack(headerAt);
    if (kind == 0) return ReadDeposition(headerAt);
    return ReadSource(headerAt);
}

CMgdrawDump::ERecord CMgdrawDump::WrongDataLength(std::uint64_t expected,
                                                  const std::string& announced)
{
    return Corrupt(m_DataAt, announced + " (" + Bytes(expected) +
                                 " of data) but its data record holds " + Bytes(m_Data.size()));
}

// Header NTRACK, MTRACK, JTRACK, ETRACK, WTRACK; data the NTRACK + 1 points, MTRACK energy
// deposits along the track and CTRACK, which the converter does not use.
CMgdrawDump::ERecord CMgdrawDump::ReadTrack(std::uint64_t headerAt)
{
    const unsigned char* h = m_Header.data();
    CTrajectory& t = m_Trajectory;
    t.m_Ntrack = LoadInt(h);
    t.m_Mtrack = LoadInt(h + 4);
    t.m_Jtrack = LoadInt(h + 8);
    t.m_Etrack = Real(h + 12);
    t.m_Wtrack = Real(h + 16);
    t.m_Ncase = m_Event;
    t.m_Atrack = 0.0;
    if (t.m_Ntrack > MaxSteps || t.m_Mtrack < 0 || t.m_Mtrack > MaxSteps)
        return Corrupt(headerAt, "track header announces NTRACK " + std::to_string(t.m_Ntrack) +
                                     " and MTRACK " + std::to_string(t.m_Mtrack) + ", outside 0.." +
                                     std::to_string(MaxSteps));
    if (!ReadData(headerAt, "track")) return ERecord::Corrupt;
    const std::size_t points = static_cast<std::size_t>(t.m_Ntrack) + 1;
    const std::uint64_t expected =
        (3 * points + static_cast<std::size_t>(t.m_Mtrack) + 1) * WordSize;
    if (m_Data.size() != expected)
        return WrongDataLength(expected, "track header announces NTRACK " +
                                             std::to_string(t.m_Ntrack) + " and MTRACK " +
                                             std::to_string(t.m_Mtrack));
    t.m_Points.resize(points);
    const unsigned char* d = m_Data.data();
    for (CPoint& p : t.m_Points)
    {
        p = PointAt(d);
        d += 3 * WordSize;
    }
    return ERecord::Trajectory;
}

// Header 0, ICODE, JTRACK, ETRACK, WTRACK; data XSCO, YSCO, ZSCO, RULL.
CMgdrawDump::ERecord CMgdrawDump::ReadDeposition(std::uint64_t headerAt)
{
    const unsigned char* h = m_Header.data();
    CDeposition& e = m_Deposition;
    e.m_Icode = LoadInt(h + 4);
    e.m_Jtrack = LoadInt(h + 8);
    e.m_Etrack = Real(h + 12);
    e.m_Wtrack = Real(h + 16);
    if (!ReadData(headerAt, "energy-deposition")) return ERecord::Corrupt;
    if (m_Data.size() != DepositionDataSize)
        return WrongDataLength(DepositionDataSize, "energy-deposition header");
    e.m_Position = PointAt(m_Data.data());
    e.m_Rull = Real(m_Data.data() + 3 * WordSize);
    return ERecord::Deposition;
}

// Header -NCASE, NPFLKA, NSTMAX, TKESUM, WEIPRI; data per primary ILOFLK and eight reals.
CMgdrawDump::ERecord CMgdrawDump::ReadSource(std::uint64_t headerAt)
{
    const int ncase = LoadInt(m_Header.data());
    const int primaries = LoadInt(m_Header.data() + 4);
    if (primaries < 0 || primaries > MaxPrimaries)
        return Corrupt(headerAt, "source header announces NPFLKA " + std::to_string(primaries) +
                                     ", outside 0.." + std::to_string(MaxPrimaries));
    if (!ReadData(headerAt, "source")) return ERecord::Corrupt;
    const std::uint64_t expected = static_cast<std::uint64_t>(primaries) * PrimarySize;
    if (m_Data.size() != expected)
        return WrongDataLength(expected,
                               "source header announces NPFLKA " + std::to_string(primaries));
    // -NCASE of the most negative int has no positive counterpart; it is kept as read.
    m_Event = ncase == std::numeric_limits<int>::min() ? ncase : -ncase;
    return ERecord::Source;
}

} // namespace trakor
