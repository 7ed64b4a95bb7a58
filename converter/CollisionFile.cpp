#include "CollisionFile.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace trakor
{
namespace
{

constexpr std::size_t kMarkerSize = 4;
constexpr std::size_t kIntSize = 4;
constexpr std::size_t kRealSize = 8;
constexpr std::size_t kTrajectoryHeaderSize = 3 * kIntSize + 2 * kRealSize + kIntSize;
constexpr std::size_t kPairHeaderSize = 3 * kIntSize + 2 * kRealSize;
constexpr std::size_t kPointSize = 4 * kRealSize;
constexpr std::size_t kDepositionDataSize = 4 * kRealSize;
constexpr std::size_t kSourceParticleSize = kIntSize + 9 * kRealSize;
constexpr std::size_t kReadBufferSize = 1 << 20;

// The file is little-endian whatever the host is.
std::uint64_t loadLittleEndian(const unsigned char* bytes, std::size_t count)
{
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = value << 8 | bytes[i];
    return value;
}

int loadInt(const unsigned char* bytes)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(loadLittleEndian(bytes, kIntSize)));
}

double loadReal(const unsigned char* bytes)
{
    return std::bit_cast<double>(loadLittleEndian(bytes, kRealSize));
}

std::string bytes(std::uint64_t count)
{
    return std::to_string(count) + " bytes";
}

} // namespace

CCollisionFile::~CCollisionFile()
{
    if (m_File) std::fclose(m_File);
}

bool CCollisionFile::open(const std::string& name)
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
    std::setvbuf(m_File, nullptr, _IOFBF, kReadBufferSize);
    m_Size = static_cast<std::uint64_t>(info.st_size);
    m_Offset = 0;
    return true;
}

bool CCollisionFile::rewind()
{
    m_Offset = 0;
    m_Error.clear();
    return m_File && std::fseek(m_File, 0, SEEK_SET) == 0;
}

CCollisionFile::ERecord CCollisionFile::next()
{
    if (!m_Error.empty()) return ERecord::Corrupt;
    return readPair();
}

CCollisionFile::ERecord CCollisionFile::corrupt(std::uint64_t at, const std::string& what)
{
    m_Error = what + " at byte offset " + std::to_string(at);
    return ERecord::Corrupt;
}

bool CCollisionFile::readBytes(void* data, std::size_t count)
{
    if (std::fread(data, 1, count, m_File) != count) return false;
    m_Offset += count;
    return true;
}

CCollisionFile::EFrame CCollisionFile::readRecord(std::vector<unsigned char>& record)
{
    const std::uint64_t at = m_Offset;
    if (at == m_Size) return EFrame::EndOfFile;
    unsigned char marker[kMarkerSize];
    if (m_Size - at < kMarkerSize || !readBytes(marker, kMarkerSize))
        return corrupt(at, "file ends inside a record length marker"), EFrame::Corrupt;
    const int length = loadInt(marker);
    if (length < 0)
        return corrupt(at, "negative record length " + std::to_string(length)), EFrame::Corrupt;
    const std::uint64_t left = m_Size - m_Offset;
    if (static_cast<std::uint64_t>(length) + kMarkerSize > left)
        return corrupt(at, "record of " + bytes(length) + " runs past the end of the file (" +
                               bytes(left) + " left)"),
               EFrame::Corrupt;
    record.resize(static_cast<std::size_t>(length));
    if (!readBytes(record.data(), record.size()) || !readBytes(marker, kMarkerSize))
        return corrupt(at, std::string("read error: ") +
                               (std::ferror(m_File) ? std::strerror(errno) : "file ended early")),
               EFrame::Corrupt;
    const int trailing = loadInt(marker);
    if (trailing != length)
        return corrupt(at, "record length markers disagree (" + std::to_string(length) +
                               " before, " + std::to_string(trailing) + " after)"),
               EFrame::Corrupt;
    return EFrame::Record;
}

CCollisionFile::ERecord CCollisionFile::readPair()
{
    const std::uint64_t headerAt = m_Offset;
    switch (readRecord(m_Header))
    {
    case EFrame::EndOfFile:
        return ERecord::End;
    case EFrame::Corrupt:
        return ERecord::Corrupt;
    case EFrame::Record:
        break;
    }
    if (m_Header.size() < kIntSize)
        return corrupt(headerAt, "header record of " + bytes(m_Header.size()) + " is too short");
    const int kind = loadInt(m_Header.data());
    if (kind > 0) return readTrajectory(headerAt);
    if (kind == 0) return readDeposition(headerAt);
    return readSource(headerAt);
}

// Reads the data record that follows a header; false when reading has to stop.
bool CCollisionFile::readData(std::uint64_t headerAt, const char* kind)
{
    m_DataAt = m_Offset;
    switch (readRecord(m_Data))
    {
    case EFrame::Record:
        return true;
    case EFrame::EndOfFile:
        corrupt(headerAt, std::string("file ends after the header of a ") + kind +
                              " record, without its data record");
        return false;
    case EFrame::Corrupt:
        return false;
    }
    return false;
}

CCollisionFile::ERecord CCollisionFile::readTrajectory(std::uint64_t headerAt)
{
    if (m_Header.size() < kTrajectoryHeaderSize)
        return corrupt(headerAt, "trajectory header of " + bytes(m_Header.size()) +
                                     " is shorter than " + bytes(kTrajectoryHeaderSize));
    const unsigned char* h = m_Header.data();
    CTrajectory& t = m_Trajectory;
    t.ntrack = loadInt(h);
    t.mtrack = loadInt(h + 4);
    t.jtrack = loadInt(h + 8);
    t.etrack = loadReal(h + 12);
    t.wtrack = loadReal(h + 20);
    t.ncase = loadInt(h + 28);
    if (!readData(headerAt, "trajectory")) return ERecord::Corrupt;
    const std::uint64_t pointCount = static_cast<std::uint64_t>(t.ntrack) + 1;
    if (m_Data.size() / kPointSize < pointCount)
        return corrupt(m_DataAt, "trajectory header announces " + std::to_string(pointCount) +
                                     " points but its data record holds " +
                                     std::to_string(m_Data.size() / kPointSize));
    t.points.resize(static_cast<std::size_t>(pointCount));
    const unsigned char* d = m_Data.data();
    for (CPoint& p : t.points)
    {
        p = {loadReal(d), loadReal(d + 8), loadReal(d + 16)};
        t.atrack = loadReal(d + 24);
        d += kPointSize;
    }
    return ERecord::Trajectory;
}

CCollisionFile::ERecord CCollisionFile::readDeposition(std::uint64_t headerAt)
{
    if (m_Header.size() < kPairHeaderSize)
        return corrupt(headerAt, "energy-deposition header of " + bytes(m_Header.size()) +
                                     " is shorter than " + bytes(kPairHeaderSize));
    const unsigned char* h = m_Header.data();
    CDeposition& e = m_Deposition;
    e.icode = loadInt(h + 4);
    e.jtrack = loadInt(h + 8);
    e.etrack = loadReal(h + 12);
    e.wtrack = loadReal(h + 20);
    if (!readData(headerAt, "energy-deposition")) return ERecord::Corrupt;
    if (m_Data.size() < kDepositionDataSize)
        return corrupt(m_DataAt, "energy-deposition data record of " + bytes(m_Data.size()) +
                                     " is shorter than " + bytes(kDepositionDataSize));
    const unsigned char* d = m_Data.data();
    e.position = {loadReal(d), loadReal(d + 8), loadReal(d + 16)};
    e.rull = loadReal(d + 24);
    return ERecord::Deposition;
}

CCollisionFile::ERecord CCollisionFile::readSource(std::uint64_t headerAt)
{
    if (m_Header.size() < kPairHeaderSize)
        return corrupt(headerAt, "source header of " + bytes(m_Header.size()) +
                                     " is shorter than " + bytes(kPairHeaderSize));
    const int lstack = loadInt(m_Header.data() + 4);
    if (lstack < 0)
        return corrupt(headerAt,
                       "source header announces " + std::to_string(lstack) + " particles");
    if (!readData(headerAt, "source")) return ERecord::Corrupt;
    if (m_Data.size() / kSourceParticleSize < static_cast<std::size_t>(lstack))
        return corrupt(m_DataAt, "source header announces " + std::to_string(lstack) +
                                     " particles but its data record holds " +
                                     std::to_string(m_Data.size() / kSourceParticleSize));
    return ERecord::Source;
}

} // namespace trakor
