#include "volume/FuzzEntry.h"

#include "platform/HeadlessBackend.h"
#include "volume/averaging/FlukaAverager.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

#include <sys/mman.h>
#include <unistd.h>

#include <string>

namespace volumira3d
{
namespace
{
// An in-memory file holding the bytes, named by a path every reader can open.
class CMemoryFile
{
public:
    CMemoryFile(const std::uint8_t* data, std::size_t size) : m_Fd(memfd_create("volume-input", 0))
    {
        for (std::size_t done = 0; m_Fd >= 0 && done < size;)
        {
            const ssize_t n = write(m_Fd, data + done, size - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
    }
    ~CMemoryFile()
    {
        if (m_Fd >= 0) close(m_Fd);
    }
    CMemoryFile(const CMemoryFile&) = delete;
    CMemoryFile& operator=(const CMemoryFile&) = delete;
    bool IsOpen() const { return m_Fd >= 0; }
    std::string Path() const { return "/proc/self/fd/" + std::to_string(m_Fd); }

private:
    int m_Fd;
};

void QuietBackend()
{
    CHeadlessBackend::Instance().Reset();
}
} // namespace

bool LoadVolumeBytes(std::string_view formatName, const std::uint8_t* data, std::size_t size)
{
    QuietBackend();
    CMemoryFile file(data, size);
    if (!file.IsOpen()) return false;
    CVoxelGrid grid;
    CStringLog log;
    return CVolumeLoader(grid, log).Load(formatName, file.Path());
}

bool AverageBytes(const std::uint8_t* data, std::size_t size)
{
    QuietBackend();
    CMemoryFile file(data, size);
    CStringLog log;
    CAverageOptions options;
    options.m_CalculateError = true;
    const std::string result = "/tmp/volume-fuzz-average-" + std::to_string(getpid()) + ".avg";
    const bool done =
        file.IsOpen() &&
        CFlukaAverager(log).Run({{file.Path(), 1.0}, {file.Path(), 2.0}}, result, options);
    for (const char* suffix : {"", ".abs.err", ".rel.err"})
        unlink((result + suffix).c_str());
    return done;
}
} // namespace volumira3d
