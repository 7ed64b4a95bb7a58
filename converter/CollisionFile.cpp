#include "CollisionFile.h"

namespace trakor
{
namespace
{

constexpr std::size_t IntSize = 4;
constexpr std::size_t RealSize = 8;
constexpr std::size_t TrajectoryHeaderSize = 3 * IntSize + 2 * RealSize + IntSize;
constexpr std::size_t PairHeaderSize = 3 * IntSize + 2 * RealSize;
constexpr std::size_t PointSize = 4 * RealSize;
constexpr std::size_t DepositionDataSize = 4 * RealSize;
constexpr std::size_t SourceParticleSize = IntSize + 9 * RealSize;

} // namespace

bool CCollisionFile::ClaimsHeader(std::size_t length)
{
    return length >= PairHeaderSize;
}

const char* CCollisionFile::Description() const
{
    return "trakor collision file (double precision, with times)";
}

CCollisionFile::ERecord CCollisionFile::ReadPair(std::uint64_t headerAt)
{
    const int kind = LoadInt(m_Header.data());
    if (kind > 0) return ReadTrajectory(headerAt);
    if (kind == 0) return ReadDeposition(headerAt);
    return ReadSource(headerAt);
}

CCollisionFile::ERecord CCollisionFile::ReadTrajectory(std::uint64_t headerAt)
{
    if (m_Header.size() < TrajectoryHeaderSize)
        return Corrupt(headerAt, "trajectory header of " + Bytes(m_Header.size()) +
                                     " is shorter than " + Bytes(TrajectoryHeaderSize));
    const unsigned char* h = m_Header.data();
    CTrajectory& t = m_Trajectory;
    t.m_Ntrack = LoadInt(h);
    t.m_Mtrack = LoadInt(h + 4);
    t.m_Jtrack = LoadInt(h + 8);
    t.m_Etrack = LoadDouble(h + 12);
    t.m_Wtrack = LoadDouble(h + 20);
    t.m_Ncase = LoadInt(h + 28);
    if (!ReadData(headerAt, "trajectory")) return ERecord::Corrupt;
    const std::uint64_t pointCount = static_cast<std::uint64_t>(t.m_Ntrack) + 1;
    if (m_Data.size() / PointSize < pointCount)
        return Corrupt(m_DataAt, "trajectory header announces " + std::to_string(pointCount) +
                                     " points but its data record holds " +
                                     std::to_string(m_Data.size() / PointSize));
    t.m_Points.resize(static_cast<std::size_t>(pointCount));
    const unsigned char* d = m_Data.data();
    for (CPoint& p : t.m_Points)
    {
        p = {LoadDouble(d), LoadDouble(d + 8), LoadDouble(d + 16)};
        t.m_Atrack = LoadDouble(d + 24);
        d += PointSize;
    }
    return ERecord::Trajectory;
}

CCollisionFile::ERecord CCollisionFile::ReadDeposition(std::uint64_t headerAt)
{
    if (m_Header.size() < PairHeaderSize)
        return Corrupt(headerAt, "energy-deposition header of " + Bytes(m_Header.size()) +
                                     " is shorter than " + Bytes(PairHeaderSize));
    const unsigned char* h = m_Header.data();
    CDeposition& e = m_Deposition;
    e.m_Icode = LoadInt(h + 4);
    e.m_Jtrack = LoadInt(h + 8);
    e.m_Etrack = LoadDouble(h + 12);
    e.m_Wtrack = LoadDouble(h + 20);
    if (!ReadData(headerAt, "energy-deposition")) return ERecord::Corrupt;
    if (m_Data.size() < DepositionDataSize)
        return Corrupt(m_DataAt, "energy-deposition data record of " + Bytes(m_Data.size()) +
                                     " is shorter than " + Bytes(DepositionDataSize));
    const unsigned char* d = m_Data.data();
    e.m_Position = {LoadDouble(d), LoadDouble(d + 8), LoadDouble(d + 16)};
    e.m_Rull = LoadDouble(d + 24);
    return ERecord::Deposition;
}

CCollisionFile::ERecord CCollisionFile::ReadSource(std::uint64_t headerAt)
{
    if (m_Header.size() < PairHeaderSize)
        return Corrupt(headerAt, "source header of " + Bytes(m_Header.size()) +
                                     " is shorter than " + Bytes(PairHeaderSize));
    const int lstack = LoadInt(m_Header.data() + 4);
    if (lstack < 0)
        return Corrupt(headerAt,
                       "source header announces " + std::to_string(lstack) + " particles");
    if (!ReadData(headerAt, "source")) return ERecord::Corrupt;
    if (m_Data.size() / SourceParticleSize < static_cast<std::size_t>(lstack))
        return Corrupt(m_DataAt, "source header announces " + std::to_string(lstack) +
                                     " particles but its data record holds " +
                                     std::to_string(m_Data.size() / SourceParticleSize));
    return ERecord::Source;
}

} // namespace trakor
