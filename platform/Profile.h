// The application profile: values by section and key, kept in
// $XDG_CONFIG_HOME/<company>/<application>.ini (default ~/.config). Without a company key (as in
// a plug-in that keeps no settings) reads give the defaults and writes are refused.
#pragma once
#include <string>

class CProfile
{
public:
    void SetRegistryKey(const std::string& company) { m_Company = company; }
    void SetAppName(const std::string& name) { m_AppName = name; }
    std::string Path() const; // empty without a company key

    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& def = {}) const;
    int GetProfileInt(const std::string& section, const std::string& key, int def) const;
    bool WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value);
    bool WriteProfileInt(const std::string& section, const std::string& key, int value);

private:
    std::string m_Company;
    std::string m_AppName;
};
