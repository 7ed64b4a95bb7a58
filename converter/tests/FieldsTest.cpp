// Answer fields read like Fortran formatted input, and the number fields of the output files.
#include "FortranInput.h"
#include "NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

using namespace trakor;

TEST(AnswerFields, IntegerReadsOnlyItsColumnsAndIgnoresBlanks)
{
    EXPECT_EQ(ReadIntegerField("13", 1), 1);
    EXPECT_EQ(ReadIntegerField("", 1), 0);
    EXPECT_EQ(ReadIntegerField(" 7", 1), 0); // the digit is in column 2
    EXPECT_EQ(ReadIntegerField("  1 2   ", 5), 12);
    EXPECT_EQ(ReadIntegerField("123456", 5), 12345);
    EXPECT_EQ(ReadIntegerField("-5", 5), -5);
    EXPECT_EQ(ReadIntegerField("+5", 5), 5);
}

TEST(AnswerFields, IntegerRejectsWhatIsNoInteger)
{
    for (const char* bad : {"x", "-", "+-5", "1.5", "5a", "--1"})
        EXPECT_FALSE(ReadIntegerField(bad, 5)) << bad;
}

TEST(AnswerFields, RealTakesFortranForms)
{
    EXPECT_EQ(ReadRealField("1.5D+01", 16), 15.0);
    EXPECT_EQ(ReadRealField("1.5d1", 16), 15.0);
    EXPECT_EQ(ReadRealField("2.5E-3", 16), 2.5e-3);
    EXPECT_EQ(ReadRealField("1.5-3", 16), 1.5e-3);
    EXPECT_EQ(ReadRealField("+.5", 16), 0.5);
    EXPECT_EQ(ReadRealField("-3.", 16), -3.0);
    EXPECT_EQ(ReadRealField("100000", 16), 100000.0);
    EXPECT_EQ(ReadRealField(" 1 . 0 E - 2 ", 16), 1.0e-2);
    EXPECT_EQ(ReadRealField("   ", 16), 0.0);
    EXPECT_EQ(ReadRealField("", 16), 0.0);
    // Columns past 16 are not read.
    EXPECT_EQ(ReadRealField("1234567890123456789", 16), 1234567890123456.0);
}

TEST(AnswerFields, RealRejectsWhatIsNoNumber)
{
    for (const char* bad : {"abc", ".", "-", "1.0E", "1.0E+", "1x", "1.0.0", "inf", "nan", "1E999"})
        EXPECT_FALSE(ReadRealField(bad, 16)) << bad;
}

TEST(AnswerFields, CharacterFieldIsPaddedAndCut)
{
    EXPECT_EQ(ReadCharacterField("ab", 4), "ab  ");
    EXPECT_EQ(ReadCharacterField("abcdef", 4), "abcd");
}

namespace
{

std::string ExponentField(double value, int decimals, char letter = 'D')
{
    std::string text(ExponentWidth(decimals), '?');
    EXPECT_EQ(FormatExponent(text.data(), value, decimals, letter), text.size());
    return text;
}

// The same field built from printf's %+.*E.
std::string PrintfField(double value, int decimals, char letter)
{
    char text[64];
    std::snprintf(text, sizeof text, "%+.*E", decimals, value);
    std::string field(text);
    const std::size_t e = field.find('E');
    if (field.size() - e == 4)
        field[e] = letter;
    else
        field.erase(e, 1);
    return field;
}

} // namespace

TEST(NumberFields, TrackAndGroupForms)
{
    EXPECT_EQ(ExponentField(12.5, TrackDecimals), "+1.250000000000000D+01");
    EXPECT_EQ(ExponentField(-1e-9, TrackDecimals), "-1.000000000000000D-09");
    EXPECT_EQ(ExponentField(0.0, TrackDecimals), "+0.000000000000000D+00");
    EXPECT_EQ(ExponentField(1e-3, GroupDecimals, 'E'), "+1.000000000E-03");
    EXPECT_EQ(ExponentField(9.9999999996, GroupDecimals, 'E'), "+1.000000000E+01");
}

TEST(NumberFields, ThreeDigitExponentReplacesTheLetter)
{
    EXPECT_EQ(ExponentField(1e100, TrackDecimals), "+1.000000000000000+100");
    EXPECT_EQ(ExponentField(-2.5e-150, TrackDecimals), "-2.500000000000000-150");
    EXPECT_EQ(ExponentField(1e-300, GroupDecimals, 'E'), "+1.000000000-300");
    EXPECT_EQ(ExponentField(std::nan(""), GroupDecimals, 'E'), "             NaN");
}

TEST(NumberFields, AgreeWithPrintfRounding)
{
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-320, 300);
    for (int k = 0; k < 20000; ++k)
    {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        ASSERT_EQ(ExponentField(value, TrackDecimals), PrintfField(value, TrackDecimals, 'D'))
            << value;
        ASSERT_EQ(ExponentField(value, GroupDecimals, 'E'), PrintfField(value, GroupDecimals, 'E'))
            << value;
    }
}

TEST(NumberFields, TypeIsSignedAndRightAligned)
{
    const auto field = [](int value)
    {
        std::string text(3, '?');
        FormatSignedInteger(text.data(), value, 3);
        return text;
    };
    EXPECT_EQ(field(7), " +7");
    EXPECT_EQ(field(13), "+13");
    EXPECT_EQ(field(-6), " -6");
    EXPECT_EQ(field(0), " +0");
    EXPECT_EQ(field(100), "***");
}
