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
    CRecordBytes& i(int value) { return put(static_cast<std::uint32_t>(value), 4); }
    CRecordBytes& r(double value) { return put(std::bit_cast<std::uint64_t>(value), 8); }
    const std::string& bytes() const { return m_Bytes; }

private:
    CRecordBytes& put(std::uint64_t value, int count)
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
    CCollisionFileBuilder& record(const CRecordBytes& payload)
    {
        return marker(payload.bytes().size()).raw(payload.bytes()).marker(payload.bytes().size());
    }
    CCollisionFileBuilder& marker(std::size_t length)
    {
        return raw(CRecordBytes().i(static_cast<int>(length)).bytes());
    }
    CCollisionFileBuilder& raw(const std::string& bytes)
    {
        m_Bytes += bytes;
        return *this;
    }

    CCollisionFileBuilder& trajectory(int jtrack, double etrack, int ncase,
                                      const std::vector<CPoint>& points, double atrack)
    {
        const int ntrack = static_cast<int>(points.size()) - 1;
        record(CRecordBytes().i(ntrack).i(0).i(jtrack).r(etrack).r(1.0).i(ncase));
        CRecordBytes data;
        for (const CPoint& p : points)
            data.r(p.x).r(p.y).r(p.z).r(atrack);
        return record(data);
    }

    CCollisionFileBuilder& deposition(int icode, int jtrack, double etrack, const CPoint& p)
    {
        record(CRecordBytes().i(0).i(icode).i(jtrack).r(etrack).r(1.0));
        return record(CRecordBytes().r(p.x).r(p.y).r(p.z).r(0.5));
    }

    CCollisionFileBuilder& source(int ncase, int lstack)
    {
        record(CRecordBytes().i(-ncase).i(lstack).i(100000).r(10.0).r(1.0));
        CRecordBytes data;
        for (int k = 0; k < lstack; ++k)
            data.i(1).r(1.0).r(1.0).r(0.0).r(0.0).r(0.0).r(0.0).r(0.0).r(1.0).r(0.0);
        return record(data);
    }

    const std::string& bytes() const { return m_Bytes; }

    void save(const std::string& path) const { std::ofstream(path, std::ios::binary) << m_Bytes; }

private:
    std::string m_Bytes;
};

} // namespace trakor::testing
