// A histogram over a range with linear or logarithmic bins: values below or above the range are
// counted apart, values that are not numbers are skipped. The range and bin count must have
// passed Check.
#pragma once
#include <algorithm>
#include <cmath>
#include <iostream>
#include <ostream>
#include <string>
#include <vector>

namespace nuclira3d
{
enum EBinning : int
{
    LinearBinning = 0,
    LogarithmicBinning = 1,
};

// More bins than this are refused: each costs memory and a bar in the chart.
constexpr unsigned MaxHistogramBins = 1000000;

template <class V, class C> class CHistogram
{
public:
    struct CBin
    {
        V m_Lower, m_Upper;
        C m_Content;
        int m_Count;
    };

    enum class ECheck
    {
        Ok,
        EmptyRange, // maximum not above minimum, or not numbers
        LogMinimum, // a logarithmic binning from 0 or below
        BinCount,   // outside 1..MaxHistogramBins
    };
    static ECheck Check(V minimum, V maximum, unsigned n, int binning)
    {
        if (!(maximum > minimum) || !std::isfinite(minimum) || !std::isfinite(maximum))
            return ECheck::EmptyRange;
        if (binning == LogarithmicBinning && !(minimum > 0)) return ECheck::LogMinimum;
        if (n < 1 || n > MaxHistogramBins) return ECheck::BinCount;
        return ECheck::Ok;
    }

    CHistogram(V minimum, V maximum, unsigned n, int binning, bool verbose = false)
        : m_Minimum(minimum), m_Maximum(maximum), m_NrBins(n), m_Binning(binning),
          m_Verbose(verbose)
    {
        if (Check(minimum, maximum, n, binning) != ECheck::Ok) m_NrBins = 0;
        if (m_Binning == LogarithmicBinning)
        {
            m_Step = (std::log10(maximum) - std::log10(minimum)) / m_NrBins;
            m_BinSize = std::pow(10.0, m_Step);
        }
        else
            m_Step = m_BinSize = (maximum - minimum) / m_NrBins;
        m_Bins.reserve(m_NrBins);
        for (unsigned i = 0; i < m_NrBins; ++i)
            m_Bins.push_back({Edge(i), Edge(i + 1), C{}, 0});
    }
    virtual ~CHistogram() = default;

    void Fill(V x)
    {
        if (std::isnan(x)) return;
        if (x < m_Minimum)
        {
            ++m_Underflow;
            if (m_Verbose)
                std::cout << x << " below the lower histo limit of " << m_Minimum << "\n";
            return;
        }
        if (x > m_Maximum)
        {
            ++m_Overflow;
            if (m_Verbose)
                std::cout << x << " above the upper histo limit of " << m_Maximum << "\n";
            return;
        }
        if (m_NrBins == 0) return;
        CBin& bin = m_Bins[Index(x)];
        ++bin.m_Count;
        bin.m_Content += C(1);
        ++m_Entries;
    }

    C Sum() const
    {
        C sum{};
        for (const CBin& b : m_Bins)
            sum += b.m_Content;
        return sum;
    }
    std::string BinningName() const
    {
        return m_Binning == LogarithmicBinning ? "logarithmic" : "linear";
    }
    virtual void Print(std::ostream& os) const
    {
        os << m_NrBins << " bins, from " << m_Minimum << " to " << m_Maximum << ", "
           << BinningName() << " binning\n";
        os << "Bin size " << m_BinSize << "\n\n";
        for (unsigned i = 0; i < m_NrBins; ++i)
        {
            const CBin& b = m_Bins[i];
            const double share = m_Entries ? double(b.m_Count) / m_Entries * 100 : 0.0;
            os << "Bin #" << i << " (" << b.m_Lower << ", " << b.m_Upper << ")\t\t" << b.m_Content
               << "\t\t[N = " << b.m_Count << " => " << share << "%]\n";
        }
        if (m_Underflow || m_Overflow)
            os << m_Underflow << " underflow entries\n" << m_Overflow << " overflow entries\n";
        os << "\nTotal entries: " << m_Entries << "\n";
    }

    const std::vector<CBin>& Bins() const { return m_Bins; }
    unsigned Underflow() const { return m_Underflow; }
    unsigned Overflow() const { return m_Overflow; }
    unsigned Entries() const { return m_Entries; }
    V BinSize() const { return m_BinSize; }

private:
    V Edge(unsigned i) const
    {
        if (m_Binning == LogarithmicBinning)
            return std::pow(10.0, std::log10(m_Minimum) + i * m_Step);
        return m_Minimum + i * m_Step;
    }
    // x lies in the range; the maximum itself lands in the last bin.
    size_t Index(V x) const
    {
        const double at = m_Binning == LogarithmicBinning
                              ? (std::log10(x) - std::log10(m_Minimum)) / m_Step
                              : (x - m_Minimum) / m_Step;
        if (!(at > 0)) return 0;
        return static_cast<size_t>(std::min<double>(at, m_NrBins - 1));
    }

    std::vector<CBin> m_Bins;
    V m_Minimum, m_Maximum;
    unsigned m_NrBins;
    int m_Binning;
    bool m_Verbose;
    unsigned m_Underflow = 0, m_Overflow = 0, m_Entries = 0;
    V m_BinSize = 0, m_Step = 0;
};

using CWeightHistogram = CHistogram<double, double>;
} // namespace nuclira3d
