// The places of generated and real files, and a loader fixture for the format tests.
#pragma once
#include "TestHelpers.h"

#include <cstdint>
#include <cstring>
#include <filesystem>

namespace volumira3d::test
{
// The real output files of the transport codes, beside the source tree.
inline std::string RealData(const std::string& name)
{
    return SourcePath("../shared/realdata/" + name);
}

#define SKIP_WITHOUT_REAL_DATA()                                                                   \
    if (!std::filesystem::is_directory(RealData("")))                                              \
    GTEST_SKIP() << "the real files are not here: " << RealData("")

// Files written by the Fortran fixture writer at build time (empty without gfortran).
inline std::string FortranFile(const std::string& name)
{
#ifdef VOLUME_FORTRAN_DIR
    return std::string(VOLUME_FORTRAN_DIR) + "/" + name;
#else
    (void)name;
    return "";
#endif
}

#define SKIP_WITHOUT_FORTRAN()                                                                     \
    if (FortranFile("x").empty()) GTEST_SKIP() << "gfortran was not found: no Fortran fixtures"

// A loader test of the formats: voxel access, and log lines matched by their start and icon.
class CFormatTest : public CLoaderTest
{
protected:
    double V(int ix, int iy, int iz) const { return m_Grid.m_Voxels[ix][iy][iz]; }
    bool Logged(const std::string& prefix, int icon = -1) const
    {
        for (const auto& line : m_Log.m_Lines)
            if (line.first.rfind(prefix, 0) == 0 && (icon < 0 || line.second == icon)) return true;
        return false;
    }
    std::string LogText() const
    {
        std::string text;
        for (const auto& line : m_Log.m_Lines)
            text += line.first + "\n";
        return text;
    }
};

// The bytes of a file, and a copy of them changed or cut, written to a scratch file.
inline std::string Bytes(const std::string& path)
{
    return ReadText(path);
}

inline void PutInt32(std::string& bytes, size_t at, std::int32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xff);
}
// Writes a float or double in place, in native (little-endian) byte order.
template <class T> void PutReal(std::string& bytes, size_t at, T v)
{
    std::memcpy(&bytes[at], &v, sizeof v);
}
} // namespace volumira3d::test
