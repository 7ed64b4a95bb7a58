// The entries of the point-cloud plug-ins in their application profile, each key next to its
// default. A missing profile reads the defaults and keeps nothing.
#pragma once
#include <string>

class CProfile;

namespace isodump
{
class CIsodumpSettings
{
public:
    explicit CIsodumpSettings(CProfile* pProfile) : m_pProfile(pProfile) {}

    // The folder the input file is browsed from: section (the plug-in's) / "ImportPath", "".
    std::string GetImportPath(const char* section) const;
    void SetImportPath(const char* section, const std::string& folder);
    // The folder results are saved to: "Result" / "ResultPath", "".
    std::string GetResultPath() const;
    void SetResultPath(const std::string& folder);

private:
    CProfile* m_pProfile;
};
} // namespace isodump
