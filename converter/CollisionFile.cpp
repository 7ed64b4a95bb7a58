#include "CollisionFile.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace trakor
{
namespace
{

constexpr std::size_t MarkerSize = 4;
constexpr std::size_t IntSize = 4;
constexpr std::size_t RealSize = 8;
constexpr std::size_t TrajectoryHeaderSize = 3 * IntSize + 2 * RealSize + IntSize;
constexpr std::size_t PairHeaderSize = 3 * IntSize + 2 * RealSize;
constexpr std::size_t PointSize = 4 * RealSize;
constexpr std::size_t DepositionDataSize = 4 * RealSize;
constexpr std::size_t SourceParticleSize = IntSize + 9 * RealSize;
constexpr std::size_t ReadBufferSize = 1 << 20;

// The file is little-endian whatever the host is.
std::uint64_t LoadLittleEndian(const unsigned char* bytes, std::size_t count)
{
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = value << 8 | bytes[i];
    return value;
}

int LoadInt(const unsigned char* bytes)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(LoadLittleEndian(bytes, IntSize)));
}

double LoadReal(const unsigned char* bytes)
{
    return std::bit_cast<double>(LoadLittleEndian(bytes, RealSize));
}

std::string Bytes(std::uint64_t count)
{
    return std::to_string(count) + " bytes";
}

} // namespace

CCollisionFile::~CCollisionFile()
{
    if (m_File) std::fclose(m_File);
}

bool CCollisionFile::Open(const std::string& name)
{
    m_File = std::fopen(name.c_str(), "rb");
    struct stat info = {};
    if (!m_File || fstat(fileno(m_File), &info) != 0)
    {
        m_Error = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode))
    {
        m_Error = "not a regular file";
        return false;
    }
    std::setvbuf(m_File, nullptr, _IOFBF, ReadBufferSize);
    m_Size = static_cast<std::uint64_t>(info.st_size);
    m_Offset = 0;
    return true;
}

bool CCollisionFile::Rewind()
{
    m_Offset = 0;
    m_Error.clear();
    return m_File && std::fseek(m_File, 0, SEEK_SET) == 0;
}

CCollisionFile::ERecord CCollisionFile::Next()
{
    if (!m_Error.empty()) return ERecord::Corrupt;
    return ReadPair();
}

CCollisionFile::ERecord CCollisionFile::Corrupt(std::uint64_t at, const std::string& what)
{
    m_Error = what + " at byte offset " + std::to_string(at);
    return ERecord::Corrupt;
}

bool CCollisionFile::ReadBytes(void* data, std::size_t count)
{
    if (std::fread(data, 1, count, m_File) != count) return false;
    m_Offset += count;
    return true;
}

CCollisionFile::EFrame CCollisionFile::ReadRecord(std::vector<unsigned char>& record)
{
    const std::uint64_t at = m_Offset;
    if (at == m_Size) return EFrame::EndOfFile;
    unsigned char marker[MarkerSize];
    if (m_Size - at < MarkerSize || !ReadBytes(marker, MarkerSize))
        return Corrupt(at, "file ends inside a record length marker"), EFrame::Corrupt;
    const int length = LoadInt(marker);
    if (length < 0)
        return Corrupt(at, "negative record length " + std::to_string(length)), EFrame::Corrupt;
    const std::uint64_t left = m_Size - m_Offset;
    if (static_cast<std::uint64_t>(length) + MarkerSize > left)
        return Corrupt(at, "record of " + Bytes(length) + " runs past the end of the file (" +
                               Bytes(left) + " left)"),
               EFrame::Corrupt;
    record.resize(static_cast<std::size_t>(length));
    if (!ReadBytes(record.data(), record.size()) || !ReadBytes(marker, MarkerSize))
        return Corrupt(at, std::string("read error: ") +
                               (std::ferror(m_File) ? std::strerror(errno) : "file ended early")),
               EFrame::Corrupt;
    const int trailing = LoadInt(marker);
    if (trailing != length)
        return Corrupt(at, "record length markers disagree (" + std::to_string(length) +
                               " before, " + std::to_string(trailing) + " after)"),
               EFrame::Corrupt;
    return EFrame::Record;
}

CCollisionFile::ERecord CCollisionFile::ReadPair()
{
    const std::uint64_t headerAt = m_Offset;
    switch (ReadRecord(m_Header))
    {
    case EFrame::EndOfFile:
        return ERecord::End;
    case EFrame::Corrupt:
        return ERecord::Corrupt;
    case EFrame::Record:
        break;
    }
    if (m_Header.size() < IntSize)
        return Corrupt(headerAt, "header record of " + Bytes(m_Header.size()) + " is too short");
    const int kind = LoadInt(m_Header.data());
    if (kind > 0) return ReadTrajectory(headerAt);
    if (kind == 0) return ReadDeposition(headerAt);
    return ReadSource(headerAt);
}

// Reads the data record that follows a header; false when reading has to stop.
bool CCollisionFile::ReadData(std::uint64_t headerAt, const char* kind)
{
    m_DataAt = m_Offset;
    switch (ReadRecord(m_Data))
    {
    case EFrame::Record:
        return true;
    case EFrame::EndOfFile:
        Corrupt(headerAt, std::string("file ends after the header of a ") + kind +
                              " record, without its data record");
        return false;
    case EFrame::Corrupt:
        return false;
    }
    return false;
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
    t.m_Etrack = LoadReal(h + 12);
    t.m_Wtrack = LoadReal(h + 20);
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
        p = {LoadReal(d), LoadReal(d + 8), LoadReal(d + 16)};
        t.m_Atrack = LoadReal(d + 24);
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
    e.m_Etrack = LoadReal(h + 12);
    e.m_Wtrack = LoadReal(h + 20);
    if (!ReadData(headerAt, "energy-deposition")) return ERecord::Corrupt;
    if (m_Data.size() < DepositionDataSize)
        return Corrupt(m_DataAt, "energy-deposition data record of " + Bytes(m_Data.size()) +
                                     " is shorter than " + Bytes(DepositionDataSize));
    const unsigned char* d = m_Data.data();
    e.m_Position = {LoadReal(d), LoadReal(d + 8), LoadReal(d + 16)};
    e.m_Rull = LoadReal(d + 24);
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
