#include "common/LineReader.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(LineReader, LinesWithoutEndsAndCarriageReturns)
{
    std::istringstream in("one\r\ntwo\n\nthree");
    CLineReader reader(in);
    std::string line;
    std::vector<std::string> lines;
    while (reader.Next(line))
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "", "three"}));
}

TEST(LineReader, LongLinesAreCutAndNulBytesNoticed)
{
    std::string text(200000, 'x');
    text += "\nshort\n";
    text += std::string("a\0b", 3) + "\n";
    std::istringstream in(text);
    CLineReader reader(in, 1000);
    std::string line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line.size(), 1000u);
    EXPECT_TRUE(reader.Truncated());
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "short");
    EXPECT_FALSE(reader.Truncated());
    EXPECT_FALSE(reader.HadNul());
    ASSERT_TRUE(reader.Next(line));
    EXPECT_TRUE(reader.HadNul());
    EXPECT_FALSE(reader.Next(line));
    EXPECT_EQ(reader.BytesRead(), text.size());
}

TEST(LineReader, LinesAcrossTheBufferEndComeWhole)
{
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "line " + std::to_string(i) + "\n";
    std::istringstream in(text);
    CLineReader reader(in);
    std::string_view line;
    int n = 0;
    while (reader.Next(line))
        ASSERT_EQ(line, "line " + std::to_string(n++));
    EXPECT_EQ(n, 20000);
}
