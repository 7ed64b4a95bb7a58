#include "common/NumberScan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{
// The value strtod gives for the number's characters, with a Fortran D read as E.
double Reference(std::string text)
{
    for (char& c : text)
        if (c == 'd' || c == 'D') c = 'e';
    return std::strtod(text.c_str(), nullptr);
}

std::string Scanned(std::string_view text, EExponentLetter letters = EExponentLetter::E)
{
    const CNumberSpan span = ScanNumber(text, letters);
    return std::string(text.substr(0, span.m_End)) + (span.m_DanglingExponent ? "|dangling" : "");
}

// Same bits: +0 and -0 differ, and so would two NaNs.
void ExpectSameAsStrtod(const std::string& number)
{
    const double expected = Reference(number);
    const double got = NumberValue(number);
    EXPECT_EQ(std::signbit(got), std::signbit(expected)) << number;
    EXPECT_EQ(got, expected) << number;
}

class CRandom
{
public:
    std::uint64_t operator()()
    {
        m_Seed = m_Seed * 6364136223846793005ull + 1442695040888963407ull;
        return m_Seed >> 11;
    }

private:
    std::uint64_t m_Seed = 12345;
};

std::string RandomNumber(CRandom& next)
{
    std::string text;
    if (next() % 4 == 0) text += next() % 2 ? '-' : '+';
    const int digits = 1 + static_cast<int>(next() % 20);
    std::string mantissa;
    for (int d = 0; d < digits; ++d)
        mantissa += static_cast<char>('0' + next() % 10);
    const size_t point = next() % (mantissa.size() + 2);
    if (point <= mantissa.size())
        text += mantissa.substr(0, point) + "." + mantissa.substr(point);
    else
        text += mantissa;
    if (next() % 3)
    {
        text += "eEdD"[next() % 4];
        if (next() % 2) text += next() % 2 ? '-' : '+';
        // Mostly near the exact range, sometimes far beyond the range of a double.
        const int exponent = next() % 8 ? static_cast<int>(next() % 60) : 280 + next() % 80;
        text += std::to_string(exponent);
    }
    return text;
}
} // namespace

TEST(NumberScan, SpanFollowsStreamExtraction)
{
    EXPECT_EQ(Scanned("1.5x"), "1.5");
    EXPECT_EQ(Scanned("-2.5e-3,"), "-2.5e-3");
    EXPECT_EQ(Scanned("+.5"), "+.5");
    EXPECT_EQ(Scanned("5."), "5.");
    EXPECT_EQ(Scanned("1.5.25"), "1.5");
    EXPECT_EQ(Scanned("1.0-3"), "1.0") << "a sign ends the number";
    EXPECT_EQ(Scanned("1e5e2"), "1e5");
    EXPECT_EQ(Scanned("3e"), "3|dangling");
    EXPECT_EQ(Scanned("3E+ 1"), "3|dangling");
    EXPECT_EQ(Scanned("3e+x"), "3|dangling");
    for (const char* none : {"", "-", "+-5", ".", "-.e5", "e5", "inf", "nan", " 1"})
        EXPECT_FALSE(ScanNumber(none).Found()) << none;
    EXPECT_EQ(Scanned("0x1p3"), "0") << "no hexadecimal numbers";
}

TEST(NumberScan, FortranLetterOnlyWhenAsked)
{
    EXPECT_EQ(Scanned("1.5D+01"), "1.5") << "D is foreign to stream extraction";
    EXPECT_EQ(Scanned("1.5D+01", EExponentLetter::EOrD), "1.5D+01");
    EXPECT_EQ(Scanned("-3.0d-2 ", EExponentLetter::EOrD), "-3.0d-2");
    EXPECT_EQ(Scanned("2d", EExponentLetter::EOrD), "2|dangling");
    EXPECT_EQ(NumberValue("1.5D+01"), 15);
    EXPECT_EQ(NumberValue("-3.0d-2"), -0.03);
}

TEST(NumberScan, IntegersAreSignAndDigits)
{
    EXPECT_EQ(ScanInteger("-12.5").m_End, 3u);
    EXPECT_EQ(ScanInteger("+7x").m_End, 2u);
    EXPECT_FALSE(ScanInteger("-").Found());
    EXPECT_FALSE(ScanInteger(".5").Found());
    EXPECT_FALSE(ScanInteger("").Found());
}

TEST(NumberScan, EdgeCasesMatchStrtod)
{
    for (const char* number : {"0",
                               "-0",
                               "+0.0e-999",
                               "0.000000000000000000000000000001",
                               "1e22",
                               "1e23",
                               "-1e-22",
                               "9007199254740993",
                               "9007199254740992.5",
                               "123456789012345",
                               "1234567890123456",
                               "12345678901234567890123456789",
                               "0.1",
                               "0.3",
                               "2.2250738585072011e-308",
                               "2.2250738585072014e-308",
                               "4.9e-324",
                               "2.4e-324",
                               "2.5e-324",
                               "1e-400",
                               "-1e-400",
                               "1.7976931348623157e308",
                               "1.7976931348623159e308",
                               "1e309",
                               "-1e999",
                               "000000000000000000000001.5",
                               "1.000000000000000000000000000001",
                               "7.0E+00",
                               "1.0000E-03",
                               "6.02214076e23",
                               "1e0001",
                               "5e-0001",
                               "1D-3",
                               "1d308",
                               "1D999"})
        ExpectSameAsStrtod(number);
}

TEST(NumberScan, GeneratedNumbersMatchStrtod)
{
    CRandom next;
    for (int i = 0; i < 300000; ++i)
    {
        const std::string number = RandomNumber(next);
        ASSERT_EQ(ScanNumber(number, EExponentLetter::EOrD).m_End, number.size()) << number;
        const double expected = Reference(number);
        ASSERT_EQ(NumberValue(number), expected) << number;
    }
}

// The one-pass short number ends where ScanNumber ends and gives the value NumberValue gives,
// bit for bit; whatever it declines the general way still reads.
TEST(NumberScan, ShortNumbersAreTheGeneralWayInOnePass)
{
    CRandom next;
    int taken = 0;
    for (int i = 0; i < 300000; ++i)
    {
        std::string text = RandomNumber(next);
        // Followed by what may end a number: a letter without exponent digits, a blank, a sign.
        const char* tails[] = {"", " 1", "E", "d+", "x", "-2"};
        text += tails[i % 6];
        for (EExponentLetter letters : {EExponentLetter::E, EExponentLetter::EOrD})
        {
            CNumberSpan span;
            double value = 0;
            if (!ScanShortNumber(text, letters, span, value)) continue;
            ++taken;
            const CNumberSpan general = ScanNumber(text, letters);
            ASSERT_FALSE(general.m_DanglingExponent) << text;
            ASSERT_EQ(span.m_End, general.m_End) << text;
            const double expected = NumberValue(std::string_view(text).substr(0, general.m_End));
            ASSERT_EQ(std::signbit(value), std::signbit(expected)) << text;
            ASSERT_EQ(value, expected) << text;
        }
    }
    EXPECT_GT(taken, 100000); // the common numbers do take the short way
    CNumberSpan span;
    double value = 0;
    EXPECT_FALSE(ScanShortNumber("1.5E", EExponentLetter::E, span, value));
    EXPECT_FALSE(ScanShortNumber("1.5D-3", EExponentLetter::E, span, value) && span.m_End != 3);
    EXPECT_FALSE(ScanShortNumber("-.", EExponentLetter::E, span, value));
    EXPECT_FALSE(ScanShortNumber("1234567890123456", EExponentLetter::E, span, value));
    EXPECT_FALSE(ScanShortNumber("1.000000000000000", EExponentLetter::E, span, value))
        << "trailing zeros are significant digits";
    // Leading zeros are not: these are short numbers, read to the bit.
    for (const char* text : {"0000000000000000000001.5", "-0.000000000000000000012345e+10",
                             "000.000", "0.", ".0e-400", "-00012.50000000000D-2"})
    {
        ASSERT_TRUE(ScanShortNumber(text, EExponentLetter::EOrD, span, value)) << text;
        EXPECT_EQ(span.m_End, std::string_view(text).size()) << text;
        const double expected = NumberValue(text);
        EXPECT_EQ(value, expected) << text;
        EXPECT_EQ(std::signbit(value), std::signbit(expected)) << text;
    }
}

TEST(NumberScan, AFieldIsOneNumberOrANamedProblem)
{
    double v = -7;
    for (const char* bad : {"", "0x10", "1.5.3", "*********", "nan", "inf", "-Infinity", "1e",
                            "1,5", "12abc", "+", ".", "2.987-103"})
    {
        EXPECT_EQ(ReadNumberField(bad, v), EFieldProblem::NotANumber) << bad;
        EXPECT_EQ(v, -7) << bad; // nothing is written on a refusal
    }
    EXPECT_EQ(ReadNumberField("1e400", v), EFieldProblem::OutOfRange);
    EXPECT_EQ(ReadNumberField("-1e400", v), EFieldProblem::OutOfRange);
    EXPECT_EQ(v, -7);
    ASSERT_EQ(ReadNumberField("-1.5E+02", v), EFieldProblem::None);
    EXPECT_EQ(v, -150);
    ASSERT_EQ(ReadNumberField("1e-400", v), EFieldProblem::None); // underflow is a value
    EXPECT_EQ(v, 0);
    // Fortran forms only where asked for.
    EXPECT_EQ(ReadNumberField("1.0D+01", v), EFieldProblem::NotANumber);
    ASSERT_EQ(ReadNumberField("1.0D+01", v, EExponentLetter::EOrD), EFieldProblem::None);
    EXPECT_EQ(v, 10);
    ASSERT_EQ(ReadNumberField("2.987-103", v, EExponentLetter::EOrD), EFieldProblem::None);
    EXPECT_DOUBLE_EQ(v, 2.987e-103);
    ASSERT_EQ(ReadNumberField("-4.5+120", v, EExponentLetter::EOrD), EFieldProblem::None);
    EXPECT_DOUBLE_EQ(v, -4.5e120);
    EXPECT_EQ(ReadNumberField("1-2-3", v, EExponentLetter::EOrD), EFieldProblem::NotANumber);

    int i = -7;
    long long l = 0;
    EXPECT_EQ(ReadIntegerField("1.0", i), EFieldProblem::NotANumber);
    EXPECT_EQ(ReadIntegerField("3000000000", i), EFieldProblem::OutOfRange);
    EXPECT_EQ(ReadIntegerField("99999999999999999999", l), EFieldProblem::OutOfRange);
    EXPECT_EQ(i, -7);
    ASSERT_EQ(ReadIntegerField("+42", i), EFieldProblem::None);
    EXPECT_EQ(i, 42);
    EXPECT_EQ(FieldProblemText("1.5.3", EFieldProblem::NotANumber), "\"1.5.3\" is not a number");
    EXPECT_EQ(FieldProblemText("1e400", EFieldProblem::OutOfRange), "\"1e400\" is out of range");
}
