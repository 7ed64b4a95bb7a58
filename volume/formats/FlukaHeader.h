// The header grammar of FLUKA USRBIN text files (cartesian, R-Z and R-Phi-Z binnings), shared by
// the cartesian reader and the streaming cylindrical readers.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace volumira3d
{
class CTextScanner;

enum class EFlukaBinning
{
    Cartesian,
    RZ,
    RPhiZ,
};

struct CFlukaAxis
{
    double m_Min = 0, m_Max = 0, m_Width = 0;
    std::int32_t m_Bins = 0;
};

struct CFlukaHeader
{
    std::int32_t m_NrOfParticles = 0;
    double m_TotalWeight = 0;
    std::int32_t m_GenParticle = 0;
    // Cartesian: x, y, z. R-Z: r, (unused), z. R-Phi-Z: r, phi (only the bin count), z.
    CFlukaAxis m_Axis[3];
    double m_AxisX = 0, m_AxisY = 0; // cylindrical binnings
    std::int32_t m_Number = 0;       // of the binning line ("binning n.   1")
    std::string m_Name;              // between its quotes, trimmed
};

// The bin counts of three axes as "nx x ny x nz".
std::string BinCounts(const CFlukaAxis (&axes)[3]);

// The phrase of a binning line, as FLUKA writes it.
std::string_view BinningPhrase(EFlukaBinning binning);

// Reads lines up to and including the coordinate lines of the binning of this kind numbered
// `index` in file order (0: the first), then skips to the first value. False with a reason in
// error when the file ends before that binning line or a coordinate line is missing, unreadable
// or out of range.
bool ReadFlukaHeader(CTextScanner& in, EFlukaBinning binning, CFlukaHeader& header,
                     std::string& error, int index = 0);

// The headers of every binning of this kind in the file, in file order, up to the first one
// whose header cannot be read.
std::vector<CFlukaHeader> ScanFlukaBinnings(const std::string& path, EFlukaBinning binning);

// Skips white space and every line that starts with a letter, "+" or "-"; stops in front of the
// first other character (the first value). An "axis coordinates" line among them, when a header
// is given, sets its axis (an R-Phi-Z header may carry one).
void SkipToFlukaData(CTextScanner& in, CFlukaHeader* header = nullptr);
} // namespace volumira3d
