#include "volume/formats/FortranRecords.h"

#include "common/FileSystem.h"

#include <bit>
#include <cstring>

namespace volumira3d
{
std::int32_t LittleInt32(const unsigned char* p)
{
    return static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                     std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
}

float LittleFloat32(const unsigned char* p)
{
    return std::bit_cast<float>(static_cast<std::uint32_t>(LittleInt32(p)));
}

double LittleFloat64(const unsigned char* p)
{
    const std::uint64_t low = static_cast<std::uint32_t>(LittleInt32(p));
    const std::uint64_t high = static_cast<std::uint32_t>(LittleInt32(p + 4));
    return std::bit_cast<double>(low | high << 32);
}

std::int16_t LittleInt16(const unsigned char* p)
{
    return static_cast<std::int16_t>(std::uint16_t(p[0]) | std::uint16_t(p[1]) << 8);
}

CFortranRecordFile::~CFortranRecordFile()
{
    if (m_pFile) std::fclose(m_pFile);
}

bool CFortranRecordFile::Fail(const std::string& text)
{
    m_Error = text;
    return false;
}

bool CFortranRecordFile::Open(const std::string& path)
{
    m_Path = path;
    if (!IsRegularFile(path) || !(m_pFile = std::fopen(path.c_str(), "rb")))
        return Fail("Cannot open " + path);
    if (fseeko(m_pFile, 0, SEEK_END) != 0) return Fail("Cannot read " + path);
    m_Size = static_cast<std::uint64_t>(ftello(m_pFile));
    m_Map.Open(path); // reading goes on through the stream where the file cannot be mapped
    return Seek(0);
}

bool CFortranRecordFile::Seek(std::uint64_t offset)
{
    if (fseeko(m_pFile, static_cast<off_t>(offset), SEEK_SET) != 0)
        return Fail("Cannot read " + m_Path);
    return true;
}

bool CFortranRecordFile::BeginRecord(std::uint32_t& length)
{
    m_Left = 0;
    m_StreamBehind = false; // every record starts with a seek
    m_Start = m_Next;
    const std::string where = " at byte " + std::to_string(m_Start);
    const std::string file = " (" + m_Path + ")";
    if (!m_pFile || m_Start + 8 > m_Size)
        return Fail("The file ends before a record" + where + file);
    unsigned char marker[4];
    if (!Seek(m_Start) || std::fread(marker, 1, 4, m_pFile) != 4)
        return Fail("Cannot read the record" + where + file);
    const std::int32_t lead = LittleInt32(marker);
    if (lead < 0 || m_Start + 8 + std::uint64_t(lead) > m_Size)
        return Fail("The record length " + std::to_string(lead) + where +
                    " does not fit the file of " + std::to_string(m_Size) + " bytes" + file);
    if (!Seek(m_Start + 4 + std::uint64_t(lead)) || std::fread(marker, 1, 4, m_pFile) != 4 ||
        LittleInt32(marker) != lead)
        return Fail("The record" + where + " does not end with its length" + file);
    length = static_cast<std::uint32_t>(lead);
    m_Left = m_Length = length;
    m_Next = m_Start + 8 + length;
    return Seek(m_Start + 4);
}

bool CFortranRecordFile::Read(void* dst, std::size_t n)
{
    if (n > m_Left)
        return Fail("The record at byte " + std::to_string(m_Start) +
                    " holds fewer bytes than it must (" + m_Path + ")");
    if (m_StreamBehind && !Seek(m_Start + 4 + (m_Length - m_Left))) return false;
    m_StreamBehind = false;
    if (std::fread(dst, 1, n, m_pFile) != n) return Fail("Cannot read " + m_Path);
    m_Left -= n;
    return true;
}

const unsigned char* CFortranRecordFile::View(std::size_t n)
{
    if (n > m_Left)
    {
        Fail("The record at byte " + std::to_string(m_Start) + " holds fewer bytes than it must (" +
             m_Path + ")");
        return nullptr;
    }
    const std::uint64_t at = m_Start + 4 + (m_Length - m_Left);
    // The mapping is the file as it was opened; one that has changed since is read as a stream.
    if (m_Map.Text().size() != m_Size) return nullptr;
    m_Left -= n;
    m_StreamBehind = true;
    return reinterpret_cast<const unsigned char*>(m_Map.Text().data()) + at;
}
} // namespace volumira3d
