#include "platform/Profile.h"

#include "platform/SafeWrite.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace
{
// The settings file: "[Section]" lines, then "key=value" lines, kept in file order.
struct CIniFile
{
    using Entries = std::vector<std::pair<std::string, std::string>>;
    std::vector<std::pair<std::string, Entries>> m_Sections;

    static bool Same(const std::string& a, const std::string& b)
    {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(),
                          [](char x, char y)
                          {
                              return std::tolower(static_cast<unsigned char>(x)) ==
                                     std::tolower(static_cast<unsigned char>(y));
                          });
    }

    Entries* Section(const std::string& name, bool create)
    {
        for (auto& [section, entries] : m_Sections)
            if (Same(section, name)) return &entries;
        if (!create) return nullptr;
        m_Sections.emplace_back(name, Entries{});
        return &m_Sections.back().second;
    }

    const std::string* Find(const std::string& section, const std::string& key)
    {
        Entries* entries = Section(section, false);
        if (entries)
            for (const auto& [k, v] : *entries)
                if (Same(k, key)) return &v;
        return nullptr;
    }

    void Set(const std::string& section, const std::string& key, const std::string& value)
    {
        Entries& entries = *Section(section, true);
        for (auto& [k, v] : entries)
            if (Same(k, key))
            {
                v = value;
                return;
            }
        entries.emplace_back(key, value);
    }

    void Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        Entries* current = nullptr;
        for (std::string line; std::getline(in, line);)
        {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
                current = Section(line.substr(1, line.size() - 2), true);
            else if (const size_t eq = line.find('='); current && eq != std::string::npos)
                current->emplace_back(line.substr(0, eq), Unescape(line.substr(eq + 1)));
        }
    }

    bool Write(const std::string& path) const
    {
        // Written beside and renamed over, so that a failed write never loses the old settings.
        CSafeOutput out(path);
        for (const auto& [section, entries] : m_Sections)
        {
            out.Stream() << '[' << section << "]\n";
            for (const auto& [k, v] : entries)
                out.Stream() << k << '=' << Escape(v) << '\n';
        }
        return out.Commit();
    }

    // Line ends and backslashes inside values.
    static std::string Escape(const std::string& value)
    {
        std::string out;
        for (char c : value)
            out += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
        return out;
    }
    static std::string Unescape(const std::string& value)
    {
        std::string out;
        for (size_t i = 0; i < value.size(); ++i)
        {
            if (value[i] != '\\' || i + 1 == value.size())
            {
                out += value[i];
                continue;
            }
            const char c = value[++i];
            out += c == 'n' ? '\n' : c == 'r' ? '\r' : c;
        }
        return out;
    }
};

std::filesystem::path ConfigHome()
{
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return xdg;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : ".") / ".config";
}
} // namespace

std::string CProfile::Path() const
{
    if (m_Company.empty() || m_AppName.empty()) return {};
    return (ConfigHome() / m_Company / (m_AppName + ".ini")).string();
}

std::string CProfile::GetProfileString(const std::string& section, const std::string& key,
                                       const std::string& def) const
{
    const std::string path = Path();
    if (path.empty()) return def;
    CIniFile ini;
    ini.Read(path);
    const std::string* value = ini.Find(section, key);
    return value ? *value : def;
}

int CProfile::GetProfileInt(const std::string& section, const std::string& key, int def) const
{
    const std::string text = GetProfileString(section, key, "");
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    return end == text.c_str() ? def : static_cast<int>(value);
}

bool CProfile::WriteProfileString(const std::string& section, const std::string& key,
                                  const std::string& value)
{
    const std::string path = Path();
    if (path.empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    CIniFile ini;
    ini.Read(path);
    ini.Set(section, key, value);
    return ini.Write(path);
}

bool CProfile::WriteProfileInt(const std::string& section, const std::string& key, int value)
{
    return WriteProfileString(section, key, std::to_string(value));
}
