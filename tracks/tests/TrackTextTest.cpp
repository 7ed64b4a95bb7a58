#include "tracks/TrackText.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trakor3d;

TEST(TrackText, NumbersStopAtTheFirstForeignCharacter)
{
    EXPECT_DOUBLE_EQ(ReadNumber("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(ReadNumber("-2.5e-3x"), -2.5e-3);
    EXPECT_DOUBLE_EQ(ReadNumber("+7"), 7);
    EXPECT_DOUBLE_EQ(ReadNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(ReadNumber("3e"), 3) << "an exponent letter without digits ends the number";
    EXPECT_DOUBLE_EQ(ReadNumber("3e+"), 3);
    EXPECT_DOUBLE_EQ(ReadNumber("12abc"), 12);
    EXPECT_DOUBLE_EQ(ReadNumber("abc"), 0);
    EXPECT_DOUBLE_EQ(ReadNumber("-"), 0);
    EXPECT_DOUBLE_EQ(ReadNumber("inf"), 0) << "only decimal numbers";
    EXPECT_DOUBLE_EQ(ReadNumber("nan"), 0);
    EXPECT_DOUBLE_EQ(ReadNumber("0x10"), 0);
}

TEST(TrackText, FortranExponentLetterIsAnExponent)
{
    EXPECT_DOUBLE_EQ(ReadNumber("1.5D+01"), 15);
    EXPECT_DOUBLE_EQ(ReadNumber("+1.250000000000000D+01"), 12.5);
    EXPECT_DOUBLE_EQ(ReadNumber("-3.0d-2"), -0.03);
    EXPECT_DOUBLE_EQ(ReadNumber("+1.0000000000000000-100"), 1.0) << "three-digit form: no letter";
}

TEST(TrackText, ExtremeExponentsSaturateLikeStrtod)
{
    EXPECT_TRUE(std::isinf(ReadNumber("1e999")));
    EXPECT_EQ(ReadNumber("1e-999"), 0.0);
    EXPECT_GT(ReadNumber("1e-310"), 0.0) << "subnormals stay";
}

TEST(TrackText, IntegersReadSignAndDigitsOnly)
{
    EXPECT_EQ(ReadInteger("7"), 7);
    EXPECT_EQ(ReadInteger("-2"), -2);
    EXPECT_EQ(ReadInteger("7.9"), 7);
    EXPECT_EQ(ReadInteger("x"), 0);
    EXPECT_EQ(ReadInteger("99999999999"), 2147483647);
    EXPECT_EQ(ReadInteger("-99999999999"), -2147483647 - 1);
}

TEST(TrackText, TokensSplitAtRunsOfSeparators)
{
    std::vector<std::string_view> tokens;
    const CSeparators separators(" \t;,:");
    SplitTokens("  s 1,2;;3:\t4  ", separators, tokens);
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[0], "s");
    EXPECT_EQ(tokens[4], "4");
    SplitTokens(" ,;", separators, tokens);
    EXPECT_TRUE(tokens.empty());
}
