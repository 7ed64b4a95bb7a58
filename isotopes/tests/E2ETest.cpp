// The plug-in driven through the batch host as a user would: the script's output, and the files
// it saved read back.
#include "testkit/BatchRun.h"
#include "testkit/Scratch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace
{
std::uint32_t Le32(const std::string& b, size_t at)
{
    std::uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

// The pixel at column x, row y from the top, of a 24-bit bottom-up bitmap, as 0xRRGGBB.
unsigned Pixel(const std::string& b, int x, int y)
{
    const int w = static_cast<int>(Le32(b, 18)), h = static_cast<int>(Le32(b, 22));
    const size_t row = (static_cast<size_t>(w) * 3 + 3) / 4 * 4;
    const size_t at = Le32(b, 10) + row * static_cast<size_t>(h - 1 - y) + 3 * x;
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(b[at + i]); };
    return byte(2) << 16 | byte(1) << 8 | byte(0);
}
} // namespace

TEST(Nuclira3DSession, LoadFilterStatisticsAndCharts)
{
    const auto run = testkit::RunBatch(
        testkit::ReadText(testkit::SourcePath("isotopes/tests/e2e/nuclides.batch")));
    ASSERT_EQ(run.m_ExitCode, 0) << run.m_Out << run.m_Err;
    const std::string work = testkit::TestDir().string() + "/";

    const std::string table = testkit::ReadText(work + "isotopes.txt");
    EXPECT_EQ(table.rfind("# Date : ", 0), 0u);
    EXPECT_NE(table.find("Cs-137\t - weighted abundance:\t\t40.00%"), std::string::npos);
    EXPECT_NE(testkit::ReadText(work + "weights.txt").find("accumulated rel. contribution"),
              std::string::npos);

    const std::string bmp = testkit::ReadText(work + "isotopes.bmp");
    ASSERT_GT(bmp.size(), 54u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(Le32(bmp, 2), bmp.size());
    EXPECT_EQ(Le32(bmp, 18), 960u);
    EXPECT_EQ(Le32(bmp, 22), 553u);
    // Three red bars, the first two (40 each) full height, the third (20) half of it.
    const int start = (960 - 3 * 28) / 2, base = 553 - 30, usable = 553 - 40;
    EXPECT_EQ(Pixel(bmp, start + 18, base - usable + 3), 0xff0000u);
    EXPECT_EQ(Pixel(bmp, start + 28 + 18, base - usable + 3), 0xff0000u);
    EXPECT_EQ(Pixel(bmp, start + 56 + 18, base - usable / 2 + 3), 0xff0000u);
    EXPECT_EQ(Pixel(bmp, start + 56 + 18, base - usable / 2 - 14), 0xfffff0u);

    const std::string weights = testkit::ReadText(work + "weights.bmp");
    ASSERT_GT(weights.size(), 54u);
    // Weights 1, 2, 3, 4 in three bins from 0 to 4: the last bin holds two of them.
    const int wstart = (960 - 3 * 28) / 2;
    EXPECT_EQ(Pixel(weights, wstart + 56 + 18, base - usable + 3), 0x000080u);
}
