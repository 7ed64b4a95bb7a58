#include "cloud/McplFile.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>
#include <vector>

namespace nebulo3d
{
namespace
{
[[noreturn]] void ThrowMcplError(const char* message)
{
    throw CMcplError(message ? message : "error in the mcpl library");
}

struct CGzClose
{
    void operator()(gzFile f) const { gzclose(f); }
};
} // namespace

void RouteMcplErrors()
{
    mcpl_set_error_handler(ThrowMcplError);
}

bool IsGzipFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    unsigned char magic[2] = {};
    return in.read(reinterpret_cast<char*>(magic), 2) && magic[0] == 0x1f && magic[1] == 0x8b;
}

CMcplInput::~CMcplInput()
{
    if (!m_Temporary.empty()) std::remove(m_Temporary.c_str());
}

bool CMcplInput::Open(const std::string& path, std::string& error)
{
    m_Path = path;
    return !IsGzipFile(path) || Unpack(path, error);
}

bool CMcplInput::Unpack(const std::string& path, std::string& error)
{
    std::error_code ec;
    std::string pattern =
        (std::filesystem::temp_directory_path(ec) / "nebulo3d-XXXXXX.mcpl").string();
    const int fd = mkstemps(pattern.data(), 5);
    if (fd < 0)
    {
        error = "cannot make a temporary file to unpack it: " + std::string(std::strerror(errno));
        return false;
    }
    m_Temporary = m_Path = pattern;
    std::unique_ptr<gzFile_s, CGzClose> in(gzopen(path.c_str(), "rb"));
    std::FILE* out = fdopen(fd, "wb");
    if (!in || !out)
    {
        if (out)
            std::fclose(out);
        else
            close(fd);
        error = "cannot open it for unpacking";
        return false;
    }
    std::vector<char> buffer(1 << 20);
    bool written = true;
    int n = 0;
    while (written && (n = gzread(in.get(), buffer.data(), unsigned(buffer.size()))) > 0)
        written = std::fwrite(buffer.data(), 1, size_t(n), out) == size_t(n);
    const int saved = errno;
    written = std::fclose(out) == 0 && written;
    if (!written)
    {
        error = "cannot unpack it into " + m_Temporary + ": " + std::strerror(saved);
        return false;
    }
    // A damaged or cut stream keeps what came before the damage; the reader says so.
    int state = Z_OK;
    gzerror(in.get(), &state);
    m_CutShort = n < 0 || state != Z_OK;
    return true;
}
} // namespace nebulo3d
