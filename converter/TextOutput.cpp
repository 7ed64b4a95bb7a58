#include "TextOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace trakor
{
namespace
{
constexpr std::size_t BufferSize = 1 << 20;
}

CTextOutput::CTextOutput() : m_Buffer(BufferSize) {}

char* CTextOutput::Room(std::size_t count)
{
    if (m_Used + count > m_Buffer.size())
    {
        Finish();
        if (count > m_Buffer.size()) m_Buffer.resize(count);
    }
    return m_Buffer.data() + m_Used;
}

void CTextOutput::Write(std::string_view text)
{
    std::memcpy(Room(text.size()), text.data(), text.size());
    Commit(text.size());
}

bool CTextOutput::Finish()
{
    if (m_Used > 0 && !m_Failed) m_Failed = !Deliver(m_Buffer.data(), m_Used);
    m_Used = 0;
    return !m_Failed;
}

// An output is written under a temporary name and renamed when complete, so that a failed or
// interrupted run leaves an earlier file of the name as it was.
CFileOutput::~CFileOutput()
{
    if (!m_File) return;
    std::fclose(m_File);
    std::remove(m_Temp.c_str());
}

bool CFileOutput::Open(const std::string& name)
{
    m_Name = name;
    m_Temp = name + ".part";
    m_File = std::fopen(m_Temp.c_str(), "wb");
    if (!m_File) m_Error = "cannot create " + name + ": " + std::strerror(errno);
    return m_File != nullptr;
}

bool CFileOutput::Deliver(const char* data, std::size_t size)
{
    if (!m_File || std::fwrite(data, 1, size, m_File) == size) return m_File != nullptr;
    m_Error = "cannot write " + m_Name + ": " + std::strerror(errno);
    return false;
}

bool CFileOutput::Close()
{
    if (!m_File) return false;
    bool ok = Finish();
    const auto fail = [&]
    {
        if (ok) m_Error = "cannot write " + m_Name + ": " + std::strerror(errno);
        ok = false;
    };
    if (std::fflush(m_File) != 0 || fsync(fileno(m_File)) != 0) fail();
    if (std::fclose(m_File) != 0) fail();
    m_File = nullptr;
    if (ok && std::rename(m_Temp.c_str(), m_Name.c_str()) != 0) fail();
    if (!ok) std::remove(m_Temp.c_str());
    return ok;
}

bool CStringOutput::Deliver(const char* data, std::size_t size)
{
    m_Text.append(data, size);
    return true;
}

} // namespace trakor
