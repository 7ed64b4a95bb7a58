// The plug-in's entries in the application profile, each key next to its default.
#pragma once
#include <string>

class CProfile;

namespace volumira3d
{
class CVolumeSettings
{
public:
    explicit CVolumeSettings(CProfile* pProfile) : m_pProfile(pProfile) {}

    // Remembered folders and files, section "Volumix3DPath".
    enum class EPath
    {
        Input,
        Data,
        AverageInput,
        AverageResult,
        RebinnedUSRBIN,
        ColorLUT,
        Image,
    };
    std::string GetPath(EPath key) const;
    void SetPath(EPath key, const std::string& value);

    bool GetExpNotation() const; // "Legend" / "ExpNotation", default 1
    void SetExpNotation(bool exp);
    // Widths of a list's columns: section ("MCNPX", "UserWeightEdit"), keys "Col0", "Col1", ...
    int GetColumnWidth(const char* section, int column, int def) const;
    void SetColumnWidth(const char* section, int column, int width);
    int GetReadAheadBuffer() const; // "Cache" / "ReadAheadBuffer", default 10240, at least 1
    void SetReadAheadBuffer(int size);
    // "Cylinder" / "VoxelSize" in cm, default 0 (the ring width); never negative.
    double GetCylinderVoxel() const;
    void SetCylinderVoxel(double cm);

private:
    CProfile* m_pProfile;
};
} // namespace volumira3d
