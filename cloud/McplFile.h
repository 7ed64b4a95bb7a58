// The mcpl library behind a small face: its errors become exceptions (its own handler ends the
// process), and a gzipped list is unpacked to a temporary file first, since the packaged
// library reads no compressed files.
#pragma once
#include <mcpl.h>

#include <stdexcept>
#include <string>

namespace nebulo3d
{
struct CMcplError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

// Routes the library's errors to CMcplError from now on (its own handler ends the process); call
// before the library, and catch CMcplError around the calls.
void RouteMcplErrors();

// An MCPL list to read: the file itself, or its unpacked copy when it is gzipped (by content,
// whatever its name).
class CMcplInput
{
public:
    CMcplInput() = default;
    ~CMcplInput();
    CMcplInput(const CMcplInput&) = delete;
    CMcplInput& operator=(const CMcplInput&) = delete;

    // False with the reason in error.
    bool Open(const std::string& path, std::string& error);
    // The plain file to give to the library.
    const std::string& Path() const { return m_Path; }
    bool Compressed() const { return !m_Temporary.empty(); }
    // The compressed stream ended before its end mark: the copy holds what came before.
    bool CutShort() const { return m_CutShort; }

private:
    bool Unpack(const std::string& path, std::string& error);

    std::string m_Path, m_Temporary;
    bool m_CutShort = false;
};

// An opened list, closed on destruction. Open after RouteMcplErrors.
class CMcplFile
{
public:
    explicit CMcplFile(const std::string& path) : m_File(mcpl_open_file(path.c_str())) {}
    ~CMcplFile() { mcpl_close_file(m_File); }
    CMcplFile(const CMcplFile&) = delete;
    CMcplFile& operator=(const CMcplFile&) = delete;
    mcpl_file_t Get() const { return m_File; }

private:
    mcpl_file_t m_File;
};

// True when the file starts with the gzip signature.
bool IsGzipFile(const std::string& path);
} // namespace nebulo3d
