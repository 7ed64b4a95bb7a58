#include "isotopes/IsotopeStatistics.h"

#include "isotopes/Elements.h"
#include "isotopes/IsotopeDataReader.h"
#include "platform/UiServices.h"

#include <cmath>

namespace nuclira3d
{
namespace
{
const char* const Rule = "==========================================\r\n";

double Share(double part, double whole)
{
    return whole != 0 && std::isfinite(whole) ? part / whole * 100.0 : 0.0;
}

template <class F> void ForEachNuclide(const CIsotopeDataReader& reader, F f)
{
    for (const auto& [z, masses] : reader.Masses())
        for (const auto& [a, shown] : masses)
            f(z, a, WeightedAbundance(reader.NuclideWeight(z, a), reader.m_TotalWeight));
}
} // namespace

double WeightedAbundance(double weight, double total)
{
    return std::round(Share(weight, total) * 100.0) / 100.0;
}

std::string IsotopeTable(const CIsotopeDataReader& reader)
{
    std::string text = std::string("Isotope statistics (weights are taken into account!)\r\n") +
                       Rule +
                       Format("Total number of read emitters: %ld with a total weight of %lf",
                              static_cast<long>(reader.Count()), reader.m_TotalWeight) +
                       "\r\n\r\n";
    ForEachNuclide(reader,
                   [&](int z, int a, double p) {
                       text += Format("%s\t - weighted abundance:\t\t%-.2f%%\r\n",
                                      NuclideName(z, a).c_str(), p);
                   });
    return text;
}

std::vector<CBarObject> IsotopeBars(const CIsotopeDataReader& reader)
{
    std::vector<CBarObject> bars;
    ForEachNuclide(
        reader,
        [&](int z, int a, double p)
        {
            if (p > 0) bars.push_back({NuclideName(z, a), static_cast<float>(p), IsotopeBarColor});
        });
    return bars;
}

EWeightCheck CheckWeightSettings(CWeightStatSettings& s)
{
    EWeightCheck result = EWeightCheck::Ok;
    if (s.m_Binning == LogarithmicBinning && s.m_Min <= 0)
    {
        s.m_Min = 1e-12;
        result = EWeightCheck::LogMinimumRaised;
    }
    switch (CWeightHistogram::Check(s.m_Min, s.m_Max, s.m_Bins, s.m_Binning))
    {
    case CWeightHistogram::ECheck::Ok:
        return result;
    case CWeightHistogram::ECheck::BinCount:
        return EWeightCheck::BinCount;
    default:
        return EWeightCheck::EmptyRange;
    }
}

const char* WeightCheckMessage(EWeightCheck check)
{
    switch (check)
    {
    case EWeightCheck::Ok:
        return "";
    case EWeightCheck::LogMinimumRaised:
        return "A minimum range of <= 0.0 is not possible for logarithmic binnings. Thus, a "
               "default of 1e-12 will be used!";
    case EWeightCheck::EmptyRange:
        return "The maximum weight must be greater than the minimum weight. Please check your "
               "input";
    case EWeightCheck::BinCount:
        break;
    }
    return "The number of bins must lie between 1 and 1000000. Please check your input";
}

CWeightHistogram WeightHistogram(const CIsotopeDataReader& reader, const CWeightStatSettings& s)
{
    CWeightHistogram histogram(s.m_Min, s.m_Max, s.m_Bins, s.m_Binning);
    for (const auto& [z, emitter] : reader.AllEmitters())
        if (CountedWeight(emitter->m_Weight)) histogram.Fill(emitter->m_Weight);
    return histogram;
}

std::string WeightTable(const CWeightHistogram& histogram, const CWeightStatSettings& s)
{
    const double total = histogram.Sum();
    std::string text = std::string("Weight statistics \r\n") + Rule +
                       Format("From %lf to %lf; %ld %s bins\r\n", s.m_Min, s.m_Max,
                              static_cast<long>(s.m_Bins), histogram.BinningName().c_str()) +
                       Format("Total number of entries: %lf", total) + "\r\n\r\n" +
                       "        BinMin     -     Bin Max \t      rel. contribution\t       "
                       "accumulated rel. contribution\r\n";
    double accumulated = 0;
    for (const auto& bin : histogram.Bins())
    {
        const double c = Share(bin.m_Content, total);
        accumulated += c;
        text += Format("%le - %le:\t%.2lf %%\t\t\t%.2lf%%\r\n", bin.m_Lower, bin.m_Upper, c,
                       accumulated);
    }
    return text;
}

std::vector<CBarObject> WeightBars(const CWeightHistogram& histogram)
{
    const double total = histogram.Sum();
    std::vector<CBarObject> bars;
    bars.reserve(histogram.Bins().size());
    for (const auto& bin : histogram.Bins())
        bars.push_back({Format(">=%.1le", bin.m_Lower),
                        static_cast<float>(Share(bin.m_Content, total)), WeightBarColor});
    return bars;
}
} // namespace nuclira3d
