#include "platform/Profile.h"

#include <wx/fileconf.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace
{
std::filesystem::path ConfigHome()
{
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return xdg;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : ".") / ".config";
}

std::unique_ptr<wxFileConfig> Open(const std::string& path)
{
    const wxString file = wxString::FromUTF8(path);
    return std::make_unique<wxFileConfig>(wxEmptyString, wxEmptyString, file, wxEmptyString,
                                          wxCONFIG_USE_LOCAL_FILE);
}

wxString Key(const std::string& section, const std::string& key)
{
    return "/" + wxString::FromUTF8(section) + "/" + wxString::FromUTF8(key);
}
} // namespace

std::string CProfile::Path() const
{
    if (m_Company.empty() || m_AppName.empty())
        return {};
    return (ConfigHome() / m_Company / (m_AppName + ".ini")).string();
}

std::string CProfile::GetProfileString(const std::string& section, const std::string& key,
                                       const std::string& def) const
{
    const std::string path = Path();
    if (path.empty() || !std::filesystem::exists(path))
        return def;
    wxString value;
    if (!Open(path)->Read(Key(section, key), &value))
        return def;
    return value.ToStdString(wxConvUTF8);
}

int CProfile::GetProfileInt(const std::string& section, const std::string& key, int def) const
{
    const std::string path = Path();
    if (path.empty() || !std::filesystem::exists(path))
        return def;
    long value = def;
    if (!Open(path)->Read(Key(section, key), &value))
        return def;
    return static_cast<int>(value);
}

bool CProfile::WriteProfileString(const std::string& section, const std::string& key,
                                  const std::string& value)
{
    const std::string path = Path();
    if (path.empty())
        return false;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    auto config = Open(path);
    return config->Write(Key(section, key), wxString::FromUTF8(value)) && config->Flush();
}

bool CProfile::WriteProfileInt(const std::string& section, const std::string& key, int value)
{
    const std::string path = Path();
    if (path.empty())
        return false;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    auto config = Open(path);
    return config->Write(Key(section, key), static_cast<long>(value)) && config->Flush();
}
