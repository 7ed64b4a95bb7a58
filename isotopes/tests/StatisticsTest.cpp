// The weight histogram and the four statistics' numbers and texts.
#include "isotopes/Histogram.h"
#include "isotopes/IsotopeDataReader.h"
#include "isotopes/IsotopeStatistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using namespace nuclira3d;

namespace
{
void AddEmitter(CIsotopeDataReader& reader, int z, int a, double weight)
{
    auto e = std::make_unique<CIsotope>();
    e->m_Z = z;
    e->m_A = a;
    e->m_Weight = weight;
    reader.Add(std::move(e));
}

std::vector<double> Contents(const CWeightHistogram& h)
{
    std::vector<double> c;
    for (const auto& b : h.Bins())
        c.push_back(b.m_Content);
    return c;
}
} // namespace

TEST(Histogram, MaximumLandsInTheLastBin)
{
    CWeightHistogram h(1, 4, 1, LinearBinning);
    for (double w : {1, 2, 3, 4})
        h.Fill(w);
    EXPECT_EQ(Contents(h), (std::vector<double>{4}));
    EXPECT_EQ(h.Entries(), 4u);
}

TEST(Histogram, LinearBins)
{
    CWeightHistogram h(0, 10, 5, LinearBinning);
    h.Fill(2);
    EXPECT_EQ(Contents(h), (std::vector<double>{0, 1, 0, 0, 0}));
    EXPECT_EQ(h.Bins()[1].m_Lower, 2);
    EXPECT_EQ(h.Bins()[1].m_Upper, 4);
    EXPECT_EQ(h.BinSize(), 2);
}

TEST(Histogram, LogarithmicEdges)
{
    CWeightHistogram h(0.01, 100, 4, LogarithmicBinning);
    const double edges[] = {0.01, 0.1, 1, 10, 100};
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_NEAR(h.Bins()[i].m_Lower, edges[i], edges[i] * 1e-12);
        EXPECT_NEAR(h.Bins()[i].m_Upper, edges[i + 1], edges[i + 1] * 1e-12);
    }
    EXPECT_NEAR(h.BinSize(), 10, 1e-12);
    h.Fill(5);
    EXPECT_EQ(Contents(h), (std::vector<double>{0, 0, 1, 0}));
}

TEST(Histogram, OutsideTheRangeAndNaNStayOutOfTheBins)
{
    CWeightHistogram h(1, 2, 2, LinearBinning);
    for (double w : {0.5, 3.0, std::nan(""), 1.5})
        h.Fill(w);
    EXPECT_EQ(h.Underflow(), 1u);
    EXPECT_EQ(h.Overflow(), 1u);
    EXPECT_EQ(h.Sum(), 1);
}

TEST(Histogram, RefusedSettings)
{
    using C = CWeightHistogram::ECheck;
    EXPECT_EQ(CWeightHistogram::Check(5, 5, 1, LinearBinning), C::EmptyRange);
    EXPECT_EQ(CWeightHistogram::Check(5, 4, 1, LinearBinning), C::EmptyRange);
    EXPECT_EQ(CWeightHistogram::Check(std::nan(""), 4, 1, LinearBinning), C::EmptyRange);
    EXPECT_EQ(CWeightHistogram::Check(0, 4, 1, LogarithmicBinning), C::LogMinimum);
    EXPECT_EQ(CWeightHistogram::Check(0, 4, 0, LinearBinning), C::BinCount);
    EXPECT_EQ(CWeightHistogram::Check(0, 4, MaxHistogramBins + 1, LinearBinning), C::BinCount);
    // A histogram made anyway has no bins and takes values without harm.
    CWeightHistogram h(5, 5, 1000000000, LinearBinning);
    h.Fill(5);
    EXPECT_TRUE(h.Bins().empty());
}

TEST(Histogram, PrintedReport)
{
    CWeightHistogram h(0, 2, 2, LinearBinning);
    h.Fill(0.5);
    h.Fill(3);
    std::ostringstream os;
    h.Print(os);
    EXPECT_EQ(os.str(), "2 bins, from 0 to 2, linear binning\nBin size 1\n\n"
                        "Bin #0 (0, 1)\t\t1\t\t[N = 1 => 100%]\n"
                        "Bin #1 (1, 2)\t\t0\t\t[N = 0 => 0%]\n"
                        "0 underflow entries\n1 overflow entries\n\nTotal entries: 1\n");
}

TEST(WeightSettings, LogarithmicMinimumIsRaisedAndEmptyRangesRefused)
{
    CWeightStatSettings s{0, 10, 3, LogarithmicBinning};
    EXPECT_EQ(CheckWeightSettings(s), EWeightCheck::LogMinimumRaised);
    EXPECT_EQ(s.m_Min, 1e-12);
    CWeightStatSettings flat{2, 2, 3, LinearBinning};
    EXPECT_EQ(CheckWeightSettings(flat), EWeightCheck::EmptyRange);
    CWeightStatSettings logFlat{-1, 1e-13, 3, LogarithmicBinning};
    EXPECT_EQ(CheckWeightSettings(logFlat), EWeightCheck::EmptyRange);
    CWeightStatSettings many{0, 1, 1000000000, LinearBinning};
    EXPECT_EQ(CheckWeightSettings(many), EWeightCheck::BinCount);
}

TEST(IsotopeStatistics, TwoNuclidesOfEqualWeightAreFiftyPercentEach)
{
    CIsotopeDataReader reader;
    AddEmitter(reader, 27, 60, 1);
    AddEmitter(reader, 27, 60, 3);
    AddEmitter(reader, 55, 137, 4);
    EXPECT_EQ(IsotopeTable(reader),
              "Isotope statistics (weights are taken into account!)\r\n"
              "==========================================\r\n"
              "Total number of read emitters: 3 with a total weight of 8.000000\r\n\r\n"
              "Co-60\t - weighted abundance:\t\t50.00%\r\n"
              "Cs-137\t - weighted abundance:\t\t50.00%\r\n");
    const auto bars = IsotopeBars(reader);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].m_Label, "Co-60");
    EXPECT_EQ(bars[0].m_Value, 50.0f);
    EXPECT_EQ(bars[0].m_Color, RGB(255, 0, 0));
}

TEST(IsotopeStatistics, ZeroWeightNuclideListedButNotCharted)
{
    CIsotopeDataReader reader;
    AddEmitter(reader, 27, 60, 0);
    AddEmitter(reader, 26, 56, 2);
    AddEmitter(reader, 26, 55, std::nan(""));
    EXPECT_NE(IsotopeTable(reader).find("Co-60\t - weighted abundance:\t\t0.00%"),
              std::string::npos);
    EXPECT_NE(IsotopeTable(reader).find("Fe-55\t - weighted abundance:\t\t0.00%"),
              std::string::npos);
    const auto bars = IsotopeBars(reader);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].m_Label, "Fe-56");
}

TEST(IsotopeStatistics, TotalOfZeroGivesZeroNotNaN)
{
    CIsotopeDataReader reader;
    AddEmitter(reader, 27, 60, 0);
    EXPECT_EQ(WeightedAbundance(0, 0), 0);
    EXPECT_NE(IsotopeTable(reader).find("0.00%"), std::string::npos);
    EXPECT_EQ(IsotopeTable(reader).find("nan"), std::string::npos);
    EXPECT_TRUE(IsotopeBars(reader).empty());
}

TEST(IsotopeStatistics, RoundingHalfAwayFromZero)
{
    EXPECT_EQ(WeightedAbundance(1, 8), 12.5);
    EXPECT_EQ(WeightedAbundance(1, 3), 33.33);
    EXPECT_EQ(WeightedAbundance(2, 3), 66.67);
}

TEST(WeightStatistics, UnderflowStaysOutOfTheTotalSoSharesAddUp)
{
    CIsotopeDataReader reader;
    for (double w : {0.5, 1.0, 2.0, 3.0, std::nan("")})
        AddEmitter(reader, 27, 60, w);
    CWeightStatSettings s{1, 3, 2, LinearBinning};
    const CWeightHistogram h = WeightHistogram(reader, s);
    EXPECT_EQ(h.Sum(), 3);
    const std::string text = WeightTable(h, s);
    EXPECT_EQ(text, "Weight statistics \r\n==========================================\r\n"
                    "From 1.000000 to 3.000000; 2 linear bins\r\n"
                    "Total number of entries: 3.000000\r\n\r\n"
                    "        BinMin     -     Bin Max \t      rel. contribution\t       "
                    "accumulated rel. contribution\r\n"
                    "1.000000e+00 - 2.000000e+00:\t33.33 %\t\t\t33.33%\r\n"
                    "2.000000e+00 - 3.000000e+00:\t66.67 %\t\t\t100.00%\r\n");
    const auto bars = WeightBars(h);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[1].m_Label, ">=2.0e+00");
    EXPECT_NEAR(bars[1].m_Value, 66.6667, 1e-3);
    EXPECT_EQ(bars[1].m_Color, RGB(0, 0, 128));
}

TEST(WeightStatistics, EmptyHistogramGivesZeroShares)
{
    CIsotopeDataReader reader;
    AddEmitter(reader, 27, 60, 50);
    CWeightStatSettings s{1, 3, 1, LinearBinning};
    const CWeightHistogram h = WeightHistogram(reader, s);
    EXPECT_NE(WeightTable(h, s).find("0.00 %"), std::string::npos);
    EXPECT_EQ(WeightBars(h)[0].m_Value, 0.0f);
}
