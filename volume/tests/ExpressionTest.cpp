#include "volume/expressions/PropTreeExpression.h"

#include <gtest/gtest.h>

#include <cmath>

namespace volumira3d
{
namespace
{
double Eval(const std::string& text)
{
    return EvaluateExpression(text);
}
} // namespace

TEST(PropTreeExpression, ExamplesOfTheNormalizationDialog)
{
    EXPECT_DOUBLE_EQ(Eval("(5.3 * 3600 / 24) - 500"), 295);
    EXPECT_EQ(Eval("2^3"), 8);
    EXPECT_EQ(Eval("2^3+1"), 16); // the exponent is a whole expression
    EXPECT_EQ(Eval("2**3"), 8);
    EXPECT_EQ(Eval("2*-3"), -3); // the factor after the asterisk is 0
    EXPECT_EQ(Eval("-4"), -4);
    EXPECT_EQ(Eval("1,5*2"), 3); // a comma is a decimal separator inside a number
    EXPECT_DOUBLE_EQ(Eval("ATAN2(1 ,2)"), std::atan2(1.0, 2.0));
    EXPECT_DOUBLE_EQ(Eval("pi"), 4 * std::atan(1.0));
    EXPECT_DOUBLE_EQ(Eval("Sqrt(16) + log10(1000) + Abs(0-2)"), 9);
    EXPECT_EQ(Eval("1.5e3"), 1500);
    EXPECT_EQ(Eval("2E-2"), 0.02);
    EXPECT_EQ(Eval("8 / 2 / 2 - 1 - 1"), 0); // left to right
}

TEST(PropTreeExpression, ComparisonsAndLogicalOperators)
{
    EXPECT_EQ(Eval("3 > 2"), 1);
    EXPECT_EQ(Eval("3 <= 2"), 0);
    EXPECT_EQ(Eval("2 <> 2"), 0);
    EXPECT_EQ(Eval("2 = 2"), 1);
    EXPECT_EQ(Eval("1 & 0"), 0);
    EXPECT_EQ(Eval("1 | 0"), 1);
    EXPECT_EQ(Eval("{3 > 2} & {1 >= 1}"), 1);
    EXPECT_EQ(Eval("0.6 & 0.6"), 1);
}

TEST(PropTreeExpression, UnknownNamesWarnAndCountZero)
{
    CPropTreeExpression e;
    EXPECT_EQ(e.Evaluate("dose * 2 + 1"), 1);
    ASSERT_EQ(e.Warnings().size(), 1u);
    EXPECT_EQ(e.Warnings()[0], "WARNING: Unknown variable DOSE while parsing expression!");
    EXPECT_FALSE(e.HasSyntaxError());
    CPropTreeExpression withVariable;
    withVariable.SetVariable("dose", 4);
    EXPECT_EQ(withVariable.Evaluate("Dose * 2"), 8);
}

TEST(PropTreeExpression, SyntaxErrorsGiveAValueAndAreReported)
{
    std::string error;
    EXPECT_NO_THROW(EvaluateExpression("(1 + 2", &error));
    EXPECT_EQ(error, "m_NextSymbol == tRPAREN");
    EXPECT_DOUBLE_EQ(EvaluateExpression("ATAN2(1,2)", &error), std::atan2(1.2, 0));
    EXPECT_EQ(error, "m_NextSymbol == tCOMMA");
    EvaluateExpression("SQRT 4", &error);
    EXPECT_EQ(error, "m_NextSymbol == tLPAREN");
    EvaluateExpression("{1 > 0", &error);
    EXPECT_EQ(error, "m_NextSymbol == tRBRACKET");
    for (const char* text : {"", ")", "$%;", "((((", "2^", "ATAN2(", "1e", "1,,2", "}}}"})
        EXPECT_NO_THROW(EvaluateExpression(text)) << text;
}

TEST(PropTreeExpression, DeepNestingIsRefusedInsteadOfExhaustingTheStack)
{
    std::string error;
    const std::string deep = std::string(100000, '(') + "1" + std::string(100000, ')');
    EXPECT_EQ(EvaluateExpression(deep, &error), 0);
    EXPECT_NE(error.find("nesting deeper than"), std::string::npos);
    EXPECT_EQ(EvaluateExpression(std::string(50, '(') + "7" + std::string(50, ')'), &error), 7);
    EXPECT_TRUE(error.empty());
    EvaluateExpression(std::string(100000, '{'), &error);
    EXPECT_FALSE(error.empty());
    std::string powers = "2";
    for (int i = 0; i < 5000; ++i)
        powers += "^1";
    EvaluateExpression(powers, &error);
    EXPECT_FALSE(error.empty());
}

TEST(PropTreeExpression, NumbersPrintedWithLeRoundTrip)
{
    for (double v : {5.9356e-4, 1.8145e-4, 123456.7, 1e-12, 3.0990e-04})
    {
        char text[32];
        std::snprintf(text, sizeof text, "%le", v);
        EXPECT_EQ(Eval(text), v) << text;
    }
}
} // namespace volumira3d
