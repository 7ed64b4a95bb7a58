#include "platform/SafeWrite.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace
{
// 0, or the error number of the failure.
int SyncToDisk(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int failure = fsync(fd) == 0 ? 0 : errno;
    close(fd);
    return failure;
}
} // namespace

std::string PartName(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string folder = path.substr(0, nameStart);
    const long longest = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    const size_t limit = longest > 0 ? size_t(longest) : 255;
    if (path.size() - nameStart + 5 <= limit) return path + ".part";
    // The same short name for the same path, so that the next write reuses a leftover.
    const size_t hash = std::hash<std::string>()(path.substr(nameStart));
    char name[32];
    std::snprintf(name, sizeof name, ".%016zx.part", hash);
    return folder + name;
}

bool AbandonFile(const std::string& temp, const std::string& path, const std::string& reason,
                 std::string& error)
{
    std::remove(temp.c_str());
    error = "Cannot write " + path + ": " + reason;
    return false;
}

bool CommitFile(const std::string& temp, const std::string& path, std::string& error)
{
    if (const int failure = SyncToDisk(temp))
        return AbandonFile(temp, path, std::strerror(failure), error);
    if (std::rename(temp.c_str(), path.c_str()) != 0)
        return AbandonFile(temp, path, std::strerror(errno), error);
    return true;
}

CSafeOutput::CSafeOutput(const std::string& path, std::ios::openmode mode)
    : m_Path(path), m_Temp(PartName(path))
{
    m_Out.open(m_Temp, mode | std::ios::out);
    if (!m_Out.is_open()) m_Error = "Cannot write " + path + ": " + std::strerror(errno);
    errno = 0; // a failed write below leaves its reason here
}

CSafeOutput::~CSafeOutput()
{
    if (m_Done) return;
    m_Out.close();
    std::remove(m_Temp.c_str());
}

bool CSafeOutput::Commit()
{
    if (m_Done) return m_Error.empty();
    m_Done = true;
    if (!m_Out.is_open()) return false;
    m_Out.flush();
    const bool written = m_Out.good();
    const int failure = errno;
    m_Out.close();
    if (!written || m_Out.fail())
        return AbandonFile(m_Temp, m_Path,
                           failure != 0 ? std::strerror(failure) : "the data could not be written",
                           m_Error);
    return CommitFile(m_Temp, m_Path, m_Error);
}
