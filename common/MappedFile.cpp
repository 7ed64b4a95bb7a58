#include "common/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

CMappedFile::~CMappedFile()
{
    Close();
}

bool CMappedFile::Open(const std::string& path)
{
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info
    {
    };
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok && info.st_size > 0)
    {
        void* data = ::mmap(nullptr, size_t(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        ok = data != MAP_FAILED;
        if (ok)
        {
            ::madvise(data, size_t(info.st_size), MADV_SEQUENTIAL);
            m_pData = static_cast<const char*>(data);
            m_Size = size_t(info.st_size);
        }
    }
    ::close(fd);
    return ok;
}

void CMappedFile::Close()
{
    if (m_pData) ::munmap(const_cast<char*>(m_pData), m_Size);
    m_pData = nullptr;
    m_Size = m_Released = 0;
}

void CMappedFile::Release(size_t offset)
{
    const size_t page = size_t(::sysconf(_SC_PAGESIZE));
    const size_t end = std::min(offset, m_Size) / page * page;
    if (!m_pData || end <= m_Released) return;
    ::madvise(const_cast<char*>(m_pData) + m_Released, end - m_Released, MADV_DONTNEED);
    m_Released = end;
}
