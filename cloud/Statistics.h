// The reports of a loaded cloud: particles by type, and energy histograms per type.
#pragma once
#include <string>
#include <vector>

namespace nebulo3d
{
class CParticleDataReader;

std::string TypeReport(const CParticleDataReader& reader);

struct CHistogramSettings
{
    double m_Min = 0, m_Max = 0;
    bool m_Logarithmic = true;
    unsigned m_Bins = 10;
};

constexpr unsigned MaxHistogramBins = 10000;

enum class EHistogramCheck
{
    Ok,
    InvalidRange, // max <= min, or either negative
    LogMinimum,   // a logarithmic binning from 0 would make every edge 0
    BinCount,     // outside 1..MaxHistogramBins
};
EHistogramCheck CheckHistogram(const CHistogramSettings& settings);
// The message for a failed check.
const char* HistogramMessage(EHistogramCheck check);

// bins + 1 edges; the settings must have passed CheckHistogram.
std::vector<double> HistogramEdges(const CHistogramSettings& settings);
std::string HistogramReport(const CParticleDataReader& reader, const CHistogramSettings& settings);
} // namespace nebulo3d
