// The header grammar of FLUKA USRBIN text files (cartesian, R-Z and R-Phi-Z binnings), shared by
// the cartesian reader and the streaming cylindrical readers.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

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
};

// The phrase of a binning line, as FLUKA writes it.
std::string_view BinningPhrase(EFlukaBinning binning);

// Reads lines up to and including the coordinate lines of the first binning of this kind, then
// skips to the first value. False with a reason in error when the file ends before a binning line
// or a coordinate line is missing, unreadable or out of range.
bool ReadFlukaHeader(CTextScanner& in, EFlukaBinning binning, CFlukaHeader& header,
                     std::string& error);

// Skips white space and every line that starts with a letter, "+" or "-"; stops in front of the
// first other character (the first value). An "axis coordinates" line among them, when a header
// is given, sets its axis (an R-Phi-Z header may carry one).
void SkipToFlukaData(CTextScanner& in, CFlukaHeader* header = nullptr);
} // namespace volumira3d
