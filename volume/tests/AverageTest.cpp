// Averaging and file arithmetic of FLUKA USRBIN text files.
#include "LoaderTest.h"
#include "testkit/ThreadCount.h"
#include "volume/averaging/FlukaAverager.h"
#include "volume/averaging/FlukaAvgDataFile.h"

#include <cmath>
#include <random>
#include <sstream>

namespace volumira3d
{
using namespace test;

namespace
{
std::string WeightLine(double weight, long long particles = 100)
{
    char line[160];
    std::snprintf(line, sizeof line,
                  "          Total number of particles followed %lld, for a total weight of  "
                  "%.4E\n",
                  particles, weight);
    return line;
}

// A run of n x 1 x 1 bins with the given values and weight line (none when weight < 0).
std::string RunFile(const std::vector<double>& values, double weight, long long particles = 100)
{
    const int n = static_cast<int>(values.size());
    return (weight >= 0 ? WeightLine(weight, particles) : std::string()) +
           FlukaCartesian(n, 1, 1, FlukaValues(values));
}

// The values of a written file, read independently: every number after "Data follow".
std::vector<double> Values(const std::string& path)
{
    std::istringstream in(ReadText(path));
    std::string line;
    std::vector<double> values;
    bool data = false;
    while (std::getline(in, line))
    {
        if (line.find("Data follow") != std::string::npos)
            data = true;
        else if (!line.empty() && line[0] != ' ')
            data = false; // the "1" that starts a binning
        else if (data)
        {
            std::istringstream numbers(line);
            for (double v; numbers >> v;)
                values.push_back(v);
        }
    }
    return values;
}
} // namespace

class AverageTest : public CFormatTest
{
protected:
    void SetUp() override
    {
        CFormatTest::SetUp();
        ResetAverageNotationWarning();
    }
    bool RunOp(const std::vector<std::string>& paths, EAverageOperation op, bool weights = true,
               bool errors = false)
    {
        std::vector<CAverageInput> inputs;
        for (const auto& p : paths)
            inputs.push_back({p, 1.0});
        return RunInputs(inputs, op, weights, errors);
    }
    bool RunInputs(const std::vector<CAverageInput>& inputs, EAverageOperation op,
                   bool weights = true, bool errors = false, const std::string& average = "")
    {
        CAverageOptions options;
        options.m_Operation = op;
        options.m_IndividualWeights = weights;
        options.m_CalculateError = errors;
        options.m_ReadAhead = 3; // several refills even for small files
        options.m_AverageFile = average;
        return CFlukaAverager(m_Log).Run(inputs, m_Result, options);
    }
    std::string m_Result = (TestDir() / "result.avg").string();
};

TEST_F(AverageTest, WeightsOneAndThreeAverageTwoAndSixToFiveOrFour)
{
    const std::string a = WriteScratch("a.usrbin", RunFile({2}, 1));
    const std::string b = WriteScratch("b.usrbin", RunFile({6}, 3));
    ASSERT_TRUE(RunOp({a, b}, EAverageOperation::Average, true)) << LogText();
    EXPECT_EQ(Values(m_Result), std::vector<double>{5});
    EXPECT_TRUE(Logged("Found files with inconsistent weight. Average calculated according"));
    EXPECT_TRUE(Logged("1 data sets were averaged. Process finished!"));
    ASSERT_TRUE(RunOp({a, b}, EAverageOperation::Average, false)) << LogText();
    EXPECT_EQ(Values(m_Result), std::vector<double>{4});
    // The warning compares the weights as read, though both count as 1 here.
    EXPECT_TRUE(Logged("Found files with inconsistent weight but individual weights are disabled!",
                       ILoadLog::IconError));
    EXPECT_TRUE(Logged("Please keep in mind that equal weight is assumed as it was selected!"));
}

TEST_F(AverageTest, TheResultKeepsTheHeaderAndReloadsThroughTheCartesianLoader)
{
    const std::string a = WriteScratch(
        "a.usrbin", WeightLine(1, 2000000000) + FlukaCartesian(3, 2, 2, FlukaValues(Sequence(12))));
    const std::string b =
        WriteScratch("b.usrbin", WeightLine(1, 2000000000) +
                                     FlukaCartesian(3, 2, 2, FlukaValues(Sequence(12, 3))));
    ASSERT_TRUE(RunOp({a, b}, EAverageOperation::Average)) << LogText();
    const std::string text = ReadText(m_Result);
    // The particle total does not fit 32 bits.
    EXPECT_NE(text.find("Total number of particles followed 4000000000, for a total weight of  "
                        "2.000000E+00\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\n       2.0000E+00 3.0000E+00 "), std::string::npos) << text;
    ASSERT_TRUE(Loader().Load("FLUKA cartesian USRBIN", m_Result)) << LogText();
    EXPECT_EQ(m_Grid.m_NrXBins, 3);
    EXPECT_EQ(V(0, 0, 0), 2);
    EXPECT_EQ(V(2, 1, 1), 13);
    EXPECT_EQ(m_Grid.m_TotalWeight, 2);
}

TEST_F(AverageTest, ErrorFilesAgreeWithAnIndependentComputation)
{
    // Two runs of 20 x 20 x 20 bins, values spread over decades, some bins 0 in both.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> spread(-3, 3);
    std::vector<double> x[2];
    for (auto& run : x)
        for (int i = 0; i < 8000; ++i)
            run.push_back(i % 97 == 0 ? 0 : std::pow(10.0, spread(random)));
    std::vector<std::string> paths;
    for (int r = 0; r < 2; ++r)
    {
        // The files carry the values as printed (five digits), so compute from those.
        paths.push_back(
            WriteScratch("run" + std::to_string(r) + ".usrbin",
                         WeightLine(1) + FlukaCartesian(20, 20, 20, FlukaValues(x[r]))));
        x[r] = Values(paths.back());
    }
    ASSERT_TRUE(RunOp(paths, EAverageOperation::Average, true, true)) << LogText();
    const auto mean = Values(m_Result), abs = Values(m_Result + ".abs.err"),
               rel = Values(m_Result + ".rel.err");
    ASSERT_EQ(mean.size(), 8000u);
    ASSERT_EQ(abs.size(), 8000u);
    ASSERT_EQ(rel.size(), 8000u);
    for (size_t i = 0; i < 8000; ++i)
    {
        const double m = (x[0][i] + x[1][i]) / 2;
        // Standard error of the mean of two: |a - b| / 2.
        const double s = std::abs(x[0][i] - x[1][i]) / 2;
        ASSERT_NEAR(mean[i], m, 1e-4 * m) << i;
        ASSERT_NEAR(abs[i], s, 1e-4 * s + 1e-300) << i;
        ASSERT_NEAR(rel[i], m != 0 ? s / m : 0, 1e-4 * (m != 0 ? s / m : 0) + 1e-300) << i;
    }
}

TEST_F(AverageTest, AverageOfOneFileWritesErrorZeroWithALogLine)
{
    const std::string a = WriteScratch("a.usrbin", RunFile({2, 0, 4}, 1));
    ASSERT_TRUE(RunOp({a}, EAverageOperation::Average, true, true)) << LogText();
    EXPECT_EQ(Values(m_Result), (std::vector<double>{2, 0, 4}));
    EXPECT_EQ(Values(m_Result + ".abs.err"), (std::vector<double>{0, 0, 0}));
    EXPECT_TRUE(Logged("Only one file is averaged: its errors cannot be estimated and are written "
                       "as 0.",
                       ILoadLog::IconWarning));
}

TEST_F(AverageTest, ArithmeticOperations)
{
    const std::string a = WriteScratch("a.usrbin", RunFile({6, 4, 3}, 1));
    const std::string b = WriteScratch("b.usrbin", RunFile({2, 0, -1}, 5));
    ASSERT_TRUE(RunOp({a, b}, EAverageOperation::Ratio)) << LogText();
    EXPECT_EQ(Values(m_Result), (std::vector<double>{3, 0, -3})); // 4 / 0 is written as 0
    EXPECT_TRUE(Logged("Individual weights in the data were ignored for this operation!",
                       ILoadLog::IconWarning));
    EXPECT_TRUE(Shown("ATTENTION: This function will create 1 file with the same structure, but "
                      "the values will be the ratio"));
    // The mean weight (5 + 1) / 2 and particles in the header of a ratio.
    EXPECT_NE(ReadText(m_Result).find("followed 100, for a total weight of  3.000000E+00"),
              std::string::npos);
    ASSERT_TRUE(RunOp({a, b}, EAverageOperation::Difference));
    EXPECT_EQ(Values(m_Result), (std::vector<double>{4, 4, 4}));
    EXPECT_TRUE(Logged("Difference of file1 - file2 was calculated. Process finished!"));
    ASSERT_TRUE(RunOp({a, b, a}, EAverageOperation::Sum));
    EXPECT_EQ(Values(m_Result), (std::vector<double>{14, 8, 5}));
    ASSERT_TRUE(RunOp({a, b}, EAverageOperation::Multiply));
    EXPECT_EQ(Values(m_Result), (std::vector<double>{12, 0, -3}));
    EXPECT_TRUE(Logged("1 data sets were multiplied. Process finished!"));
    // User normalisations scale each file before the operation.
    ASSERT_TRUE(RunInputs({{a, 0.5}, {b, 2}}, EAverageOperation::Sum));
    EXPECT_EQ(Values(m_Result), (std::vector<double>{7, 2, -0.5}));
    Ui().Reset();
    EXPECT_FALSE(RunOp({a, b, a}, EAverageOperation::Difference));
    EXPECT_TRUE(Shown("Sorry, but a difference can be calculated only for two files!"));
}

TEST_F(AverageTest, ErrorPropagationWritesRelativeErrors)
{
    const std::string mean = WriteScratch("mean.avg", RunFile({10, 0, -2, 0.1}, 1));
    const std::string e1 = WriteScratch("e1.err", RunFile({3, 1, 0.6, 5}, 1));
    const std::string e2 = WriteScratch("e2.err", RunFile({4, 1, 0.8, 5}, 1));
    ASSERT_TRUE(
        RunInputs({{e1, 1}, {e2, 1}}, EAverageOperation::ErrorPropagation, true, false, mean))
        << LogText();
    // sqrt(3^2 + 4^2) / 10; 0 where the mean is 0; 1 / |-2|; capped at 1.
    EXPECT_EQ(Values(m_Result), (std::vector<double>{0.5, 0, 0.5, 1}));
    Ui().Reset();
    EXPECT_FALSE(RunInputs({{e1, 1}}, EAverageOperation::ErrorPropagation));
    EXPECT_TRUE(Shown("No averaged file was chosen", "error"));
}

TEST_F(AverageTest, InputsThatCannotBeCombinedAreRefused)
{
    const std::string a = WriteScratch("a.usrbin", RunFile({1, 2}, 1));
    const std::string b = WriteScratch("b.usrbin", RunFile({1, 2, 3}, 1));
    EXPECT_FALSE(RunOp({a, b}, EAverageOperation::Average));
    EXPECT_TRUE(Logged("The binning of " + b + " (3 values) differs from that of " + a));
    EXPECT_TRUE(Shown("Error calculating average. Abort required!", "error"));

    Ui().Reset();
    const std::string missing = (TestDir() / "none.usrbin").string();
    EXPECT_FALSE(RunOp({missing, missing}, EAverageOperation::Sum));
    EXPECT_TRUE(Logged("Error: File named " + missing +
                       " does not exist. Thus, it is excluded from the sum!"));
    EXPECT_TRUE(Shown("Nothing to do!", "information"));
    Ui().Reset();
    EXPECT_FALSE(RunOp({}, EAverageOperation::Average));
    EXPECT_TRUE(Shown("Nothing to do!"));

    // A result that is an input would be emptied before it is read.
    Ui().Reset();
    m_Result = a;
    EXPECT_FALSE(RunOp({a, a}, EAverageOperation::Average));
    EXPECT_TRUE(Shown("The output file " + a + " is also an input file"));
    EXPECT_EQ(Values(a), (std::vector<double>{1, 2}));
    m_Result = (TestDir() / "x").string();
    const std::string clash = WriteScratch("x.abs.err", RunFile({1, 2}, 1));
    EXPECT_FALSE(RunOp({a, clash}, EAverageOperation::Average, true, true));
    EXPECT_TRUE(Shown("The output file " + clash + " is also an input file"));

    // Too few values for the binning.
    Ui().Reset();
    m_Result = (TestDir() / "r.avg").string();
    const std::string shortFile =
        WriteScratch("short.usrbin", WeightLine(1) + FlukaCartesian(3, 1, 1, FlukaValues({1, 2})));
    EXPECT_FALSE(RunOp({a, shortFile}, EAverageOperation::Average));
    EXPECT_TRUE(Shown("Error calculating average. Abort required!"));
}

TEST_F(AverageTest, ARefusedOrFailedRunLeavesTheEarlierResultsAsTheyWere)
{
    const std::string a = WriteScratch("a.usrbin", RunFile({2, 4}, 1));
    const std::string b = WriteScratch("b.usrbin", RunFile({6, 8}, 1));
    ASSERT_TRUE(RunOp({a, b}, EAverageOperation::Average, true, true)) << LogText();
    const std::string files[] = {m_Result, m_Result + ".abs.err", m_Result + ".rel.err"};
    std::vector<std::string> before;
    for (const std::string& f : files)
        before.push_back(ReadText(f));
    // Binnings that differ, then an input too short for its binning: both refused after the
    // outputs were opened, which used to empty the earlier files.
    const std::string other = WriteScratch("c.usrbin", RunFile({1, 2, 3}, 1));
    EXPECT_FALSE(RunOp({a, other}, EAverageOperation::Average, true, true));
    const std::string shortFile =
        WriteScratch("short.usrbin", WeightLine(1) + FlukaCartesian(2, 1, 1, FlukaValues({1})));
    EXPECT_FALSE(RunOp({a, shortFile}, EAverageOperation::Average, true, true));
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(ReadText(files[i]), before[i]) << files[i];
        EXPECT_FALSE(std::filesystem::exists(files[i] + ".part")) << files[i];
    }
    EXPECT_EQ(Values(m_Result), (std::vector<double>{4, 6}));
}

TEST_F(AverageTest, ValuesNearTheTopOfTheRangeGiveFiniteErrorsOrARefusal)
{
    // Squares of 1.79E+308 once wrote -NAN into the error files under "Process finished!".
    const std::string a = WriteScratch("a.usrbin", RunFile({1.79e308, 1}, 1));
    const std::string b = WriteScratch("b.usrbin", RunFile({1.79e308, 3}, 1));
    ASSERT_TRUE(RunOp({a, b}, EAverageOperation::Average, true, true)) << LogText();
    EXPECT_EQ(Values(m_Result), (std::vector<double>{1.79e308, 2}));
    EXPECT_EQ(Values(m_Result + ".abs.err"), (std::vector<double>{0, 1}));
    EXPECT_EQ(Values(m_Result + ".rel.err"), (std::vector<double>{0, 0.5}));
    for (const std::string& f : {m_Result + ".abs.err", m_Result + ".rel.err"})
        EXPECT_EQ(ReadText(f).find("NAN"), std::string::npos) << f;
    // Their sum is no number at all: refused, nothing written.
    m_Result = (TestDir() / "sum.avg").string();
    std::filesystem::remove(m_Result);
    EXPECT_FALSE(RunOp({a, b}, EAverageOperation::Sum));
    EXPECT_TRUE(Logged("The result for bin 1 is beyond the range of numbers", ILoadLog::IconError))
        << LogText();
    EXPECT_FALSE(std::filesystem::exists(m_Result));
    EXPECT_FALSE(std::filesystem::exists(m_Result + ".part"));
}

TEST_F(AverageTest, AMissingWeightIsOneWithAWarning)
{
    const std::string a = WriteScratch("a.usrbin", RunFile({2}, -1));
    const std::string b = WriteScratch("b.usrbin", RunFile({6}, 1));
    ASSERT_TRUE(RunOp({a, b}, EAverageOperation::Average)) << LogText();
    EXPECT_EQ(Values(m_Result), std::vector<double>{4});
    EXPECT_TRUE(
        Logged(a + ": no weight info was found. Assuming a weight of 1.0", ILoadLog::IconWarning));
    EXPECT_FALSE(Logged(b + ": no weight info"));
}

TEST_F(AverageTest, EveryBinningOfARealFileIsAveragedInTurn)
{
    const std::string a = DataPath("pyne_fluka_usrbin_multiple.lis");
    const std::string b = WriteScratch("copy.lis", ReadText(a));
    ASSERT_TRUE(RunOp({a, b}, EAverageOperation::Average, true, true)) << LogText();
    EXPECT_TRUE(Logged("2 data sets were averaged. Process finished!"));
    EXPECT_TRUE(Logged("One data set of 2 files processed. Total number of bins: 2 * 27 = 54"));
    const auto values = Values(m_Result);
    EXPECT_EQ(values.size(), 27u * 2); // the inputs' error blocks are not copied
    EXPECT_EQ(ReadText(m_Result).find("Percentage errors"), std::string::npos);
}

TEST_F(AverageTest, BrokenExponentsAreRepairedWithOneWarning)
{
    const std::string a = WriteScratch(
        "a.usrbin", WeightLine(1) + FlukaCartesian(2, 1, 1, "  1.0000-03  2.0000+02\n"));
    ASSERT_TRUE(RunOp({a, a}, EAverageOperation::Sum)) << LogText();
    EXPECT_EQ(Values(m_Result), (std::vector<double>{2e-3, 4e2}));
    int warnings = 0;
    for (const auto& m : Ui().Messages())
        warnings += m.m_Text.rfind("WARNING: In ", 0) == 0;
    EXPECT_EQ(warnings, 1);
}

// Inputs read ahead together on several threads: each value lands in its own bin, and a broken
// exponent met on a helper thread is told once, naming its file, from the thread that shows
// messages.
TEST_F(AverageTest, InputsReadTogetherKeepTheirValuesAndTheirWarning)
{
    std::vector<std::string> paths;
    std::vector<double> expected(30, 0.0);
    for (int r = 0; r < 5; ++r)
    {
        std::vector<double> v;
        for (int i = 0; i < 30; ++i)
            v.push_back((r + 1) * 1000 + i);
        for (int i = 0; i < 30; ++i)
            expected[i] += v[i];
        std::string values = FlukaValues(v);
        if (r == 3) // the last value of the fourth input with its exponent letter lost
            values.replace(values.rfind("4.0290E+03"), 10, "4.0290+03 ");
        paths.push_back(WriteScratch("in" + std::to_string(r) + ".usrbin",
                                     WeightLine(1) + FlukaCartesian(30, 1, 1, values)));
    }
    ASSERT_TRUE(RunOp(paths, EAverageOperation::Sum)) << LogText();
    EXPECT_EQ(Values(m_Result), expected);
    std::vector<std::string> warnings;
    for (const auto& m : Ui().Messages())
        if (m.m_Text.rfind("WARNING: In ", 0) == 0) warnings.push_back(m.m_Text);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("in3.usrbin"), std::string::npos) << warnings[0];
}
// Work shared between threads in runs of values: every operation writes the same bytes on one
// thread and on two, whatever the runs' length, across data sets and with a value count that is
// no multiple of the runs or of the ten values of a line.
TEST_F(AverageTest, OneThreadAndTwoWriteTheSameFiles)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> spread(-30, 30);
    std::vector<CAverageInput> inputs;
    for (int r = 0; r < 3; ++r)
    {
        std::vector<double> big, small;
        for (int i = 0; i < 30 * 25 * 21; ++i)
            big.push_back(i % 89 == 0 ? 0 : (i % 7 ? 1 : -1) * std::pow(10.0, spread(random)));
        for (int i = 0; i < 7 * 3; ++i)
            small.push_back(r + i * 0.25);
        const std::string text = WeightLine(r + 1) + FlukaCartesian(30, 25, 21, FlukaValues(big)) +
                                 WeightLine(r + 1) + FlukaCartesian(7, 3, 1, FlukaValues(small));
        inputs.push_back({WriteScratch("run" + std::to_string(r) + ".usrbin", text), 1.0 + r});
    }
    const std::string average = WriteScratch("mean.avg", ReadText(inputs[0].m_Path));
    auto files = [&](EAverageOperation op, bool errors, size_t readAhead, int threads)
    {
        testkit::CThreadCount count(threads);
        CAverageOptions options;
        options.m_Operation = op;
        options.m_CalculateError = errors;
        options.m_ReadAhead = readAhead;
        options.m_AverageFile = average;
        const auto& used = op == EAverageOperation::Ratio || op == EAverageOperation::Difference
                               ? std::vector<CAverageInput>(inputs.begin(), inputs.begin() + 2)
                               : inputs;
        EXPECT_TRUE(CFlukaAverager(m_Log).Run(used, m_Result, options)) << LogText();
        std::vector<std::string> texts = {ReadText(m_Result)};
        if (errors)
            texts.insert(texts.end(),
                         {ReadText(m_Result + ".abs.err"), ReadText(m_Result + ".rel.err")});
        return texts;
    };
    const struct
    {
        EAverageOperation m_Op;
        bool m_Errors;
    } cases[] = {{EAverageOperation::Average, true},
                 {EAverageOperation::Average, false},
                 {EAverageOperation::Sum, false},
                 {EAverageOperation::Ratio, false},
                 {EAverageOperation::Difference, false},
                 {EAverageOperation::Multiply, false},
                 {EAverageOperation::ErrorPropagation, false}};
    for (const auto& c : cases)
        for (size_t readAhead : {size_t(10240), size_t(777), size_t(100000)})
        {
            const auto one = files(c.m_Op, c.m_Errors, readAhead, 1);
            ASSERT_EQ(one, files(c.m_Op, c.m_Errors, readAhead, 2))
                << int(c.m_Op) << " " << readAhead;
            EXPECT_EQ(Values(m_Result).size(), 30u * 25 * 21 + 21);
        }
}
} // namespace volumira3d
