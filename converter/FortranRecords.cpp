#include "FortranRecords.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace trakor
{
namespace
{

constexpr std::size_t MarkerSize = 4;
constexpr std::size_t ReadBufferSize = 1 << 20;

std::uint64_t LoadLittleEndian(const unsigned char* bytes, std::size_t count)
{
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = value << 8 | bytes[i];
    return value;
}

} // namespace

int LoadInt(const unsigned char* bytes)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(LoadLittleEndian(bytes, 4)));
}

float LoadFloat(const unsigned char* bytes)
{
    return std::bit_cast<float>(static_cast<std::uint32_t>(LoadLittleEndian(bytes, 4)));
}

double LoadDouble(const unsigned char* bytes)
{
    return std::bit_cast<double>(LoadLittleEndian(bytes, 8));
}

std::string Bytes(std::uint64_t count)
{
    return std::to_string(count) + " bytes";
}

CFortranRecords::~CFortranRecords()
{
    if (m_File) std::fclose(m_File);
}

bool CFortranRecords::Open(const std::string& name)
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

bool CFortranRecords::Rewind()
{
    m_Offset = 0;
    m_Error.clear();
    return m_File && std::fseek(m_File, 0, SEEK_SET) == 0;
}

CFortranRecords::EFrame CFortranRecords::Fail(std::uint64_t at, const std::string& what)
{
    m_Error = what + " at byte offset " + std::to_string(at);
    return EFrame::Corrupt;
}

bool CFortranRecords::ReadBytes(void* data, std::size_t count)
{
    if (std::fread(data, 1, count, m_File) != count) return false;
    m_Offset += count;
    return true;
}

CFortranRecords::EFrame CFortranRecords::Read(std::vector<unsigned char>& record)
{
    const std::uint64_t at = m_Offset;
    if (at == m_Size) return EFrame::EndOfFile;
    unsigned char marker[MarkerSize];
    if (m_Size - at < MarkerSize || !ReadBytes(marker, MarkerSize))
        return Fail(at, "file ends inside a record length marker");
    const int length = LoadInt(marker);
    if (length < 0) return Fail(at, "negative record length " + std::to_string(length));
    const std::uint64_t left = m_Size - m_Offset;
    if (static_cast<std::uint64_t>(length) + MarkerSize > left)
        return Fail(at, "record of " + Bytes(length) + " runs past the end of the file (" +
                            Bytes(left) + " left)");
    record.resize(static_cast<std::size_t>(length));
    if (!ReadBytes(record.data(), record.size()) || !ReadBytes(marker, MarkerSize))
        return Fail(at, std::string("read error: ") +
                            (std::ferror(m_File) ? std::strerror(errno) : "file ended early"));
    const int trailing = LoadInt(marker);
    if (trailing != length)
        return Fail(at, "record length markers disagree (" + std::to_string(length) + " before, " +
                            std::to_string(trailing) + " after)");
    return EFrame::Record;
}

} // namespace trakor
