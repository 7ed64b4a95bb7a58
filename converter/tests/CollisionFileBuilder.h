#pragma once

// Writes collision files for tests and benchmarks: sequential unformatted records, each framed
// by its length as a 4-byte little-endian integer, reals as 8-byte little-endian doubles.

#include "CollisionFile.h"

#include <bit>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace trakor::testing
{

class CRecordBytes
{
public:
    CRecordBytes& Int(int value) { return Put(static_cast<std::uint32_t>(value), 4); }
    CRecordBytes& Double(double value) { return Put(std::bit_cast<std::uint64_t>(value), 8); }
    const std::string& Bytes() const { return m_Bytes; }

private:
    CRecordBytes& Put(std::uint64_t value, int count)
    {
        for (int k = 0; k < count; ++k)
            m_Bytes += static_cast<char>((value >> (8 * k)) & 0xff);
        return *this;
    }
    std::string m_Bytes;
};

class CCollisionFileBuilder
{
public:
    // One record: its bytes between two length markers.
    CCollisionFileBuilder& Record(const CRecordBytes& payload)
    {
        return Marker(payload.Bytes().size()).Raw(payload.Bytes()).Marker(payload.Bytes().size());
    }
    CCollisionFileBuilder& Marker(std::size_t length)
    {
        return Raw(CRecordBytes().Int(static_cast<int>(length)).Bytes());
    }
    CCollisionFileBuilder& Raw(const std::string& bytes)
    {
        m_Bytes += bytes;
        return *this;
    }

    CCollisionFileBuilder& Trajectory(int jtrack, double etrack, int ncase,
                                      const std::vector<CPoint>& points, double atrack)
    {
        const int ntrack = static_cast<int>(points.size()) - 1;
        Record(CRecordBytes().Int(ntrack).Int(0).Int(jtrack).Double(etrack).Double(1.0).Int(ncase));
        CRecordBytes data;
        for (const CPoint& p : points)
            data.Double(p.x).Double(p.y).Double(p.z).Double(atrack);
        return Record(data);
    }

    CCollisionFileBuilder& Deposition(int icode, int jtrack, double etrack, const CPoint& p)
    {
        Record(CRecordBytes().Int(0).Int(icode).Int(jtrack).Double(etrack).Double(1.0));
        return Record(CRecordBytes().Double(p.x).Double(p.y).Double(p.z).Double(0.5));
    }

    CCollisionFileBuilder& Source(int ncase, int lstack)
    {
        Record(CRecordBytes().Int(-ncase).Int(lstack).Int(100000).Double(10.0).Double(1.0));
        CRecordBytes data;
        for (int k = 0; k < lstack; ++k)
            data.Int(1)
                .Double(1.0)
                .Double(1.0)
                .Double(0.0)
                .Double(0.0)
                .Double(0.0)
                .Double(0.0)
                .Double(0.0)
                .Double(1.0)
                .Double(0.0);
        return Record(data);
    }

    const std::string& Bytes() const { return m_Bytes; }

    void Save(const std::string& path) const { std::ofstream(path, std::ios::binary) << m_Bytes; }

private:
    std::string m_Bytes;
};

} // namespace trakor::testing
