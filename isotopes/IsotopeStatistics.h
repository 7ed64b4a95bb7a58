// The four evaluations of loaded emitters: the weighted abundance of each nuclide and the
// distribution of the weights, each as a report text and as chart bars. Weights that are not
// numbers are left out; totals of 0 give shares of 0.
#pragma once
#include "isotopes/BarObject.h"
#include "isotopes/Histogram.h"

#include <string>
#include <vector>

namespace nuclira3d
{
class CIsotopeDataReader;

// w / total × 100 rounded half away from zero to two decimals; 0 for a total of 0.
double WeightedAbundance(double weight, double total);

std::string IsotopeTable(const CIsotopeDataReader& reader);
// One red bar per nuclide whose abundance is above 0, in the order of the table.
std::vector<CBarObject> IsotopeBars(const CIsotopeDataReader& reader);

struct CWeightStatSettings
{
    double m_Min = 0, m_Max = 0;
    unsigned m_Bins = 1;
    int m_Binning = LinearBinning;
};

enum class EWeightCheck
{
    Ok,
    LogMinimumRaised, // a logarithmic minimum <= 0 became 1e-12; the histogram can be made
    EmptyRange,       // maximum <= minimum: refused
    BinCount,         // refused
};
// Checks the settings, raising a logarithmic minimum <= 0 to 1e-12 first.
EWeightCheck CheckWeightSettings(CWeightStatSettings& settings);
const char* WeightCheckMessage(EWeightCheck check);

// The histogram of every counted weight; the settings must have passed the check.
CWeightHistogram WeightHistogram(const CIsotopeDataReader& reader,
                                 const CWeightStatSettings& settings);
std::string WeightTable(const CWeightHistogram& histogram, const CWeightStatSettings& settings);
// One dark blue bar per bin, labelled with its lower edge, valued content / total × 100.
std::vector<CBarObject> WeightBars(const CWeightHistogram& histogram);
} // namespace nuclira3d
