#include "cloud/Statistics.h"

#include "cloud/ParticleDataReader.h"
#include "cloud/ParticleTypes.h"
#include "platform/UiServices.h"

#include <algorithm>
#include <cmath>

namespace nebulo3d
{
namespace
{
double Percent(long part, long whole)
{
    return whole > 0 ? double(part) / double(whole) * 100.0 : 0.0;
}

const char* const Rule = "----------------------------------------------\r\n";

struct CBins
{
    std::vector<long> m_Counts;
    long m_Below = 0, m_Above = 0;
};

CBins Fill(const CParticleDataReader& reader, int type, const std::vector<double>& edges)
{
    CBins bins;
    bins.m_Counts.assign(edges.size() - 1, 0);
    auto [first, last] = reader.AllParticles().equal_range(type);
    for (auto it = first; it != last; ++it)
    {
        const double e = it->second->m_Energy;
        if (e < edges.front())
            ++bins.m_Below;
        else if (e >= edges.back())
            ++bins.m_Above;
        else
            ++bins.m_Counts[std::upper_bound(edges.begin(), edges.end(), e) - edges.begin() - 1];
    }
    return bins;
}
} // namespace

std::string TypeReport(const CParticleDataReader& reader)
{
    const long total = static_cast<long>(reader.Count());
    std::string text = "Particle statistics\r\n==========================================\r\n";
    text += Format("Total number of particles: %ld", total) + "\r\n\r\n";
    for (const std::string& note : reader.Notes())
        text += note + "\r\n";
    if (!reader.Notes().empty()) text += "\r\n";
    for (int type : reader.Types())
    {
        const long n = static_cast<long>(reader.CountOfType(type));
        const double p = std::round(Percent(n, total) * 100.0) / 100.0;
        text += Format("Particle - %s\t - occurence:\t\t%-.2f%% \t (%ld / %ld) \r\n",
                       PaddedTypeName(type).c_str(), p, n, total);
    }
    return text;
}

EHistogramCheck CheckHistogram(const CHistogramSettings& s)
{
    if (!(s.m_Max > s.m_Min) || s.m_Min < 0 || s.m_Max < 0) return EHistogramCheck::InvalidRange;
    if (s.m_Logarithmic && s.m_Min <= 0) return EHistogramCheck::LogMinimum;
    if (s.m_Bins < 1 || s.m_Bins > MaxHistogramBins) return EHistogramCheck::BinCount;
    return EHistogramCheck::Ok;
}

const char* HistogramMessage(EHistogramCheck check)
{
    switch (check)
    {
    case EHistogramCheck::Ok:
        return "";
    case EHistogramCheck::InvalidRange:
        return "Invalid energy values. Please check your input";
    case EHistogramCheck::LogMinimum:
        return "A logarithmic binning needs a minimum energy above 0. Please check your input";
    case EHistogramCheck::BinCount:
        break;
    }
    return "The number of bins must lie between 1 and 10000. Please check your input";
}

std::vector<double> HistogramEdges(const CHistogramSettings& s)
{
    std::vector<double> edges(s.m_Bins + 1);
    if (s.m_Logarithmic)
    {
        const double lo = std::log10(s.m_Min);
        const double width = (std::log10(s.m_Max) - lo) / s.m_Bins;
        for (unsigned i = 0; i <= s.m_Bins; ++i)
            edges[i] = std::pow(10.0, i * width + lo);
    }
    else
    {
        const double width = (s.m_Max - s.m_Min) / s.m_Bins;
        for (unsigned i = 0; i <= s.m_Bins; ++i)
            edges[i] = s.m_Min + i * width;
    }
    return edges;
}

std::string HistogramReport(const CParticleDataReader& reader, const CHistogramSettings& settings)
{
    const long total = static_cast<long>(reader.Count());
    const std::vector<double> edges = HistogramEdges(settings);
    std::string text = Rule;
    text += Format("TOTAL number of particles: %ld \r\n", total);
    text += Rule;
    text += "\r\n";
    for (int type : reader.Types())
    {
        const CBins bins = Fill(reader, type, edges);
        const long n = static_cast<long>(reader.CountOfType(type));
        const std::string name = PaddedTypeName(type);
        text += std::string("\r\n") + Rule;
        text += Format("Particle: %s -> %ld entries, percentage of the total nr. of particles "
                       "(%.2f)%%\r\n",
                       name.c_str(), n, Percent(n, total));
        text += Rule;
        for (size_t k = 0; k + 1 < edges.size(); ++k)
            text += Format("%E --> %E: %ld entries (%.2f)%% --> percentage of the total nr. of "
                           "particles (%.2f)%%\r\n",
                           edges[k], edges[k + 1], bins.m_Counts[k], Percent(bins.m_Counts[k], n),
                           Percent(bins.m_Counts[k], total));
        if (bins.m_Below != 0 || bins.m_Above != 0)
        {
            text += Format("\r\n%ld entries (%.2f)%% below the lower bin threshold --> percentage "
                           "of the total nr. of particles (%.2f)%%\r\n",
                           bins.m_Below, Percent(bins.m_Below, n), Percent(bins.m_Below, total));
            text += Format("%ld entries (%.2f)%% above the upper bin threshold --> percentage of "
                           "the total nr. of particles (%.2f)%%\r\n\r\n",
                           bins.m_Above, Percent(bins.m_Above, n), Percent(bins.m_Above, total));
        }
    }
    return text;
}
} // namespace nebulo3d
