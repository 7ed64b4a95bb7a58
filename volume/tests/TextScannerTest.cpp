#include "volume/formats/TextScanner.h"
#include "TestHelpers.h"

#include <sstream>

namespace volumira3d
{
using namespace test;

namespace
{
// What stream extraction makes of text: the values it reads until it fails.
std::vector<double> StreamValues(const std::string& text)
{
    std::istringstream in(text);
    std::vector<double> values;
    double v;
    while (in >> v)
        values.push_back(v);
    return values;
}

std::vector<double> ScannerValues(const std::string& text)
{
    CTextScanner scanner;
    EXPECT_TRUE(scanner.Open(WriteScratch("numbers.txt", text)));
    std::vector<double> values;
    double v;
    while (scanner.Extract(v))
        values.push_back(v);
    return values;
}
} // namespace

TEST(TextScanner, NumbersAsStreamExtractionReadsThem)
{
    const char* cases[] = {
        "1 2.5 -3 +4 .5 5. 1e3 1E-3 -1.25E+02",
        "1.0-3 7", // the sign ends the number
        "1.5e 3",  // exponent letter without digits fails
        "1.5e+ 3",
        "12abc 3", // reading stops at the letter and fails there
        "- 1",
        ". 1",
        "0x1p3",
        "nan inf",
        "1e400 2",  // overflow fails
        "1e-400 2", // underflow gives 0
        "4.9e-324 1.4013E-45",
        "  \t\r\n 42\r\n",
        "1,5",
        "1e5e 2", // a second exponent letter is where the next number fails
        "1.5.25",
        "-.5 +.5e1",
        "+-5",
    };
    for (const char* text : cases)
        EXPECT_EQ(ScannerValues(text), StreamValues(text)) << text;
}

TEST(TextScanner, IntegersStopAtAPointAndFailOnOverflow)
{
    CTextScanner scanner;
    ASSERT_TRUE(scanner.Open(WriteScratch("ints.txt", "12 -7 +3 4.5 2147483648")));
    std::int32_t v = 0;
    EXPECT_TRUE(scanner.Extract(v) && v == 12);
    EXPECT_TRUE(scanner.Extract(v) && v == -7);
    EXPECT_TRUE(scanner.Extract(v) && v == 3);
    EXPECT_TRUE(scanner.Extract(v) && v == 4);
    EXPECT_FALSE(scanner.Extract(v)); // ".5"
    EXPECT_TRUE(scanner.Failed());
    EXPECT_FALSE(scanner.Extract(v)); // a failure sticks
    ASSERT_TRUE(scanner.Open(WriteScratch("big.txt", "2147483648")));
    EXPECT_FALSE(scanner.Extract(v));
}

TEST(TextScanner, LongLinesAreBoundedAndLongNumbersRefused)
{
    std::string text(3u << 20, 'x');
    text += "\nsecond\r\n";
    CTextScanner scanner;
    ASSERT_TRUE(scanner.Open(WriteScratch("long.txt", text)));
    std::string line;
    ASSERT_TRUE(scanner.ReadLine(line, 100));
    EXPECT_EQ(line.size(), 100u);
    EXPECT_TRUE(scanner.LineTruncated());
    ASSERT_TRUE(scanner.ReadLine(line));
    EXPECT_EQ(line, "second");
    EXPECT_FALSE(scanner.ReadLine(line));

    ASSERT_TRUE(scanner.Open(WriteScratch("digits.txt", std::string(3000, '7') + " 1")));
    double v = 0;
    EXPECT_FALSE(scanner.Extract(v));
}

TEST(TextScanner, NumbersAcrossBufferBoundaries)
{
    // Enough values that several refills cut through numbers.
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += std::to_string(i) + ".25 ";
    CTextScanner scanner;
    ASSERT_TRUE(scanner.Open(WriteScratch("many.txt", text)));
    double v = 0;
    int count = 0;
    bool exact = true;
    while (scanner.Extract(v))
        exact = exact && v == count++ + 0.25;
    EXPECT_EQ(count, 200000);
    EXPECT_TRUE(exact);
    EXPECT_EQ(scanner.Position(), scanner.Size());
}

// Runs of plain numbers taken at once read what one extraction after the other reads: the same
// values, across refills and up to the end, and the same place and line count at the end;
// whatever is not a plain number (a broken exponent, a long number, a letter) is left to Extract.
TEST(TextScanner, RunsOfPlainNumbersReadAsSingleExtractions)
{
    std::string text;
    for (int i = 0; i < 150000; ++i)
    {
        char value[40];
        std::snprintf(value, sizeof value, "%.4E", (i % 3 ? 1 : -1) * 1.0e-5 * (i + 1));
        text += i % 10 == 0 ? "      " : " ";
        text += value;
        if (i % 10 == 9) text += i % 20 == 19 ? "\r\n" : "\n";
        if (i % 9973 == 0) text += " 2.0000+03";            // a broken exponent
        if (i % 31111 == 0) text += " 1.23456789012345678"; // more digits than a short number
    }
    text += " 7.5 8 x 9"; // a letter, then no line end
    const std::string path = WriteScratch("numbers.txt", text);
    CTextScanner single, runs;
    ASSERT_TRUE(single.Open(path));
    ASSERT_TRUE(runs.Open(path));
    std::vector<double> one, many;
    for (double v = 0; single.Extract(v);)
        one.push_back(v);
    for (size_t length = 1;; length = length % 97 + 1) // runs of every length up to 97
    {
        std::vector<double> run(length);
        const size_t got = runs.ExtractPlainRun(run.data(), length);
        ASSERT_LE(got, length);
        many.insert(many.end(), run.begin(), run.begin() + long(got));
        double v = 0;
        if (got == length) continue;
        if (!runs.Extract(v)) break;
        many.push_back(v);
    }
    ASSERT_EQ(many.size(), one.size());
    EXPECT_EQ(many, one);
    EXPECT_GT(one.size(), 150000u);
    EXPECT_EQ(runs.Position(), single.Position());
    EXPECT_EQ(runs.LineNumber(), single.LineNumber());
    EXPECT_TRUE(runs.Failed());
    EXPECT_EQ(runs.ExtractPlainRun(one.data(), 1), 0u); // a failure sticks
}

TEST(TextScanner, SplitDropsEmptyTokensAndLeadingNumbersParse)
{
    const auto tokens = SplitTokens("  X coordinate: from -1.0E+01 to 1.0E+01 cm,  100 bins",
                                    CSeparators(" ,;:\t"));
    ASSERT_EQ(tokens.size(), 9u);
    EXPECT_EQ(tokens[3], "-1.0E+01");
    EXPECT_EQ(tokens[7], "100");
    double d = 0;
    EXPECT_TRUE(ParseLeadingNumber("2.5cm", d));
    EXPECT_EQ(d, 2.5);
    EXPECT_FALSE(ParseLeadingNumber("*****", d));
    std::int32_t i = 0;
    EXPECT_TRUE(ParseLeadingNumber("1000000", i));
    EXPECT_EQ(i, 1000000);
}
} // namespace volumira3d
