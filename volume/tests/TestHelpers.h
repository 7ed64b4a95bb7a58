// Helpers of the volume tests: paths, scratch files, FLUKA text made to measure, message boxes.
#pragma once
#include "platform/HeadlessBackend.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace volumira3d::test
{
inline std::string DataPath(const std::string& name)
{
    return std::string(TESSARON_SOURCE_DIR) + "/volume/tests/data/" + name;
}

// A folder of its own for the running test.
inline std::filesystem::path ScratchDir()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    auto dir = std::filesystem::path(TESSARON_BINARY_DIR) / "volume-scratch" /
               (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::create_directories(dir);
    return dir;
}

inline std::string WriteScratch(const std::string& name, const std::string& content)
{
    const std::string path = (ScratchDir() / name).string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Values as FLUKA prints them, ten to a line.
inline std::string FlukaValues(const std::vector<double>& values)
{
    std::string out;
    char buf[32];
    for (size_t i = 0; i < values.size(); ++i)
    {
        std::snprintf(buf, sizeof buf, " %11.4E", values[i]);
        out += (i % 10 == 0 ? "     " : "") + std::string(buf) +
               (i % 10 == 9 || i + 1 == values.size() ? "\n" : "");
    }
    return out;
}

inline std::string CoordinateLine(const char* axis, double min, double max, int bins, double width,
                                  const char* unit = "cm")
{
    char buf[160];
    std::snprintf(buf, sizeof buf,
                  "      %s coordinate: from %11.4E to %11.4E %s, %5d bins (%11.4E %s wide)\n",
                  axis, min, max, unit, bins, width, unit);
    return buf;
}

inline std::string FlukaCartesian(int nx, int ny, int nz, const std::string& values)
{
    return "1\n   Cartesian binning n.   1  \"test      \" , generalized particle n.  208\n" +
           CoordinateLine("X", 0, nx, nx, 1) + CoordinateLine("Y", 0, ny, ny, 1) +
           CoordinateLine("Z", 0, nz, nz, 1) +
           "      Data follow in a matrix A(ix,iy,iz), format (1(5x,1p,10(1x,e11.4)))\n\n" + values;
}

inline std::string FlukaRZ(double rmin, double rmax, int nr, double dr, int nz,
                           const std::string& values)
{
    return "1\n   R - Z     binning n.   1  \"rz        \" , generalized particle n.  208\n" +
           CoordinateLine("R", rmin, rmax, nr, dr) + CoordinateLine("Z", 0, nz, nz, 1) +
           "      axis coordinates: X =  0.0000E+00, Y =  0.0000E+00 cm\n"
           "      Data follow in a matrix A(ir,iz), format (1(5x,1p,10(1x,e11.4)))\n\n" +
           values;
}

inline std::string FlukaRPhiZ(double rmin, double rmax, int nr, double dr, int nphi, int nz,
                              const std::string& values)
{
    return "1\n   R-Phi-Z   binning n.   1  \"rpz       \" , generalized particle n.  208\n" +
           CoordinateLine("R", rmin, rmax, nr, dr) +
           CoordinateLine("P", -3.1416, 3.1416, nphi, 6.2832 / nphi, "rad") +
           CoordinateLine("Z", 0, nz, nz, 1) +
           "      Data follow in a matrix A(ir,ip,iz), format (1(5x,1p,10(1x,e11.4)))\n\n" + values;
}

inline std::vector<double> Sequence(size_t count, double first = 1)
{
    std::vector<double> values(count);
    for (size_t i = 0; i < count; ++i)
        values[i] = first + double(i);
    return values;
}

inline CHeadlessBackend& Ui()
{
    return CHeadlessBackend::Instance();
}

inline std::vector<std::string> MessageTexts()
{
    return Ui().MessageTexts();
}

// True when a message box whose text starts with prefix was shown with that icon.
inline bool Shown(const std::string& prefix, const std::string& icon = "")
{
    for (const auto& m : Ui().Messages())
        if (m.m_Text.rfind(prefix, 0) == 0 && (icon.empty() || m.Icon() == icon)) return true;
    return false;
}

// Every test starts with empty queues and no recorded message boxes.
class CHeadlessTest : public ::testing::Test
{
protected:
    void SetUp() override { Ui().Reset(); }
};
} // namespace volumira3d::test
