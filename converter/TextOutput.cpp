#include "TextOutput.h"

#include <cerrno>
#include <cstring>

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

CFileOutput::~CFileOutput()
{
    if (m_File) std::fclose(m_File);
}

bool CFileOutput::Open(const std::string& name)
{
    m_Name = name;
    m_File = std::fopen(name.c_str(), "wb");
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
    bool ok = Finish();
    if (m_File && std::fclose(m_File) != 0 && ok)
    {
        m_Error = "cannot write " + m_Name + ": " + std::strerror(errno);
        ok = false;
    }
    m_File = nullptr;
    return ok;
}

bool CStringOutput::Deliver(const char* data, std::size_t size)
{
    m_Text.append(data, size);
    return true;
}

} // namespace trakor
