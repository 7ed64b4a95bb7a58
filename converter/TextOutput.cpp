#include "TextOutput.h"

#include <cerrno>
#include <cstring>

namespace trakor
{
namespace
{
constexpr std::size_t kBufferSize = 1 << 20;
}

CTextOutput::CTextOutput() : m_Buffer(kBufferSize) {}

char* CTextOutput::room(std::size_t count)
{
    if (m_Used + count > m_Buffer.size())
    {
        finish();
        if (count > m_Buffer.size()) m_Buffer.resize(count);
    }
    return m_Buffer.data() + m_Used;
}

void CTextOutput::write(std::string_view text)
{
    std::memcpy(room(text.size()), text.data(), text.size());
    commit(text.size());
}

bool CTextOutput::finish()
{
    if (m_Used > 0 && !m_Failed) m_Failed = !deliver(m_Buffer.data(), m_Used);
    m_Used = 0;
    return !m_Failed;
}

CFileOutput::~CFileOutput()
{
    if (m_File) std::fclose(m_File);
}

bool CFileOutput::open(const std::string& name)
{
    m_Name = name;
    m_File = std::fopen(name.c_str(), "wb");
    if (!m_File) m_Error = "cannot create " + name + ": " + std::strerror(errno);
    return m_File != nullptr;
}

bool CFileOutput::deliver(const char* data, std::size_t size)
{
    if (!m_File || std::fwrite(data, 1, size, m_File) == size) return m_File != nullptr;
    m_Error = "cannot write " + m_Name + ": " + std::strerror(errno);
    return false;
}

bool CFileOutput::close()
{
    bool ok = finish();
    if (m_File && std::fclose(m_File) != 0 && ok)
    {
        m_Error = "cannot write " + m_Name + ": " + std::strerror(errno);
        ok = false;
    }
    m_File = nullptr;
    return ok;
}

bool CStringOutput::deliver(const char* data, std::size_t size)
{
    m_Text.append(data, size);
    return true;
}

} // namespace trakor
