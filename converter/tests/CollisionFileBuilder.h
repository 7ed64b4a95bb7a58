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
    CRecordBytes& Float(float value) { return Put(std::bit_cast<std::uint32_t>(value), 4); }
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

// Writes dumps as FLUKA's default mgdraw routine does: 20-byte headers, single precision.
class CMgdrawDumpBuilder
{
public:
    CMgdrawDumpBuilder& Track(int jtrack, float etrack, const std::vector<CPoint>& points,
                              const std::vector<float>& dtrack = {}, float ctrack = 0.5f)
    {
        const int ntrack = static_cast<int>(points.size()) - 1;
        const int mtrack = static_cast<int>(dtrack.size());
        m_File.Record(CRecordBytes().Int(ntrack).Int(mtrack).Int(jtrack).Float(etrack).Float(1));
        CRecordBytes data;
        for (const CPoint& p : points)
            data.Float(static_cast<float>(p.x))
                .Float(static_cast<float>(p.y))
                .Float(static_cast<float>(p.z));
        for (float d : dtrack)
            data.Float(d);
        m_File.Record(data.Float(ctrack));
        return *this;
    }

    CMgdrawDumpBuilder& Deposition(int icode, int jtrack, float etrack, const CPoint& p)
    {
        m_File.Record(CRecordBytes().Int(0).Int(icode).Int(jtrack).Float(etrack).Float(1));
        m_File.Record(CRecordBytes()
                          .Float(static_cast<float>(p.x))
                          .Float(static_cast<float>(p.y))
                          .Float(static_cast<float>(p.z))
                          .Float(0.003f));
        return *this;
    }

    CMgdrawDumpBuilder& Source(int ncase, int primaries)
    {
        m_File.Record(CRecordBytes().Int(-ncase).Int(primaries).Int(primaries).Float(20).Float(1));
        CRecordBytes data;
        for (int k = 0; k < primaries; ++k)
            data.Int(1)
                .Float(10.938272f)
                .Float(1)
                .Float(0)
                .Float(0)
                .Float(-50)
                .Float(0)
                .Float(0)
                .Float(1);
        m_File.Record(data);
        return *this;
    }

    // For hand-made damage.
    CCollisionFileBuilder& Records() { return m_File; }
    const std::string& Bytes() const { return m_File.Bytes(); }
    void Save(const std::string& path) const { m_File.Save(path); }

private:
    CCollisionFileBuilder m_File;
};

} // namespace trakor::testing
