#include "volume/formats/ScientificText.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

namespace volumira3d
{
namespace
{
std::string Fast(double value)
{
    char text[Scientific4Chars];
    return std::string(text, WriteScientific4(text, value));
}

std::string Printf(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.4E", value);
    return text;
}
} // namespace

TEST(ScientificText, EdgeValuesAsPrintfWritesThem)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (double v : {0.0,
                     -0.0,
                     1.0,
                     -1.0,
                     9.99995,
                     9.999949999,
                     99999.5,
                     1e300,
                     1e-300,
                     1e308,
                     5e-324,
                     2.2250738585072014e-308,
                     1.7976931348623157e308,
                     0.1,
                     1e22,
                     1e23,
                     123456789.0,
                     -4.5e-7,
                     inf,
                     -inf})
        EXPECT_EQ(Fast(v), Printf(v)) << v;
}

// Values whose sixth significant digit is an exact 5: printf rounds the tie to even.
TEST(ScientificText, ExactTiesRoundToEven)
{
    for (double v : {100005.0, 100015.0, 100025.0, 999995.0, 12345.5, 1.00005e10, 3.00035e15, 0.5,
                     1.5, 2.5, 100000.5})
    {
        EXPECT_EQ(Fast(v), Printf(v)) << v;
        EXPECT_EQ(Fast(-v), Printf(-v)) << -v;
    }
    EXPECT_EQ(Fast(100005.0), "1.0000E+05");
    EXPECT_EQ(Fast(100015.0), "1.0002E+05");
}

TEST(ScientificText, RandomValuesOfEveryMagnitudeAsPrintfWritesThem)
{
    std::mt19937_64 rng(11);
    for (int i = 0; i < 200000; ++i)
    {
        const double v = std::bit_cast<double>(rng());
        if (std::isnan(v)) continue;
        ASSERT_EQ(Fast(v), Printf(v)) << std::hexfloat << v;
    }
    // The range dose values live in, with their five printed digits nearly ties.
    std::uniform_real_distribution<double> digits(10000, 99999);
    std::uniform_int_distribution<int> exponent(-40, 12);
    for (int i = 0; i < 200000; ++i)
    {
        const double v = (std::floor(digits(rng)) + 0.5) * std::pow(10.0, exponent(rng) - 4);
        ASSERT_EQ(Fast(v), Printf(v)) << std::hexfloat << v;
        const double w = std::nextafter(v, i % 2 ? 0.0 : 1e300);
        ASSERT_EQ(Fast(w), Printf(w)) << std::hexfloat << w;
    }
}
} // namespace volumira3d
