#include "common/SafeWrite.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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
    return path + ".part";
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
