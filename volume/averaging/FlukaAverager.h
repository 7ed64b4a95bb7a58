// Combines FLUKA USRBIN text files of one binning value by value, in lock-step, into one file of
// the same layout: their weighted average (with absolute and relative error files), sum,
// product, difference or ratio, or the relative error propagated from absolute-error files.
// Memory does not grow with the files. Every step goes to the log; failures are also message
// boxes, as the averaging tool shows them.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CWorkerThreads;

namespace volumira3d
{
class ILoadLog;
class CFLUKAAvgDataFile;

enum class EAverageOperation
{
    Average,
    Ratio,
    Sum,
    Difference,
    Multiply,
    ErrorPropagation,
};

struct CAverageInput
{
    std::string m_Path;
    double m_UserNormalization = 1.0;
};

struct CAverageOptions
{
    EAverageOperation m_Operation = EAverageOperation::Average;
    bool m_CalculateError = false;
    bool m_IndividualWeights = true;
    size_t m_ReadAhead = 10240;
    std::string m_AverageFile; // the averaged file, for the error propagation
};

class CFlukaAverager
{
public:
    // progress gets the share done, 0..1, about a hundred times per run.
    explicit CFlukaAverager(ILoadLog& log, std::function<void(double)> progress = {});
    ~CFlukaAverager();

    // False after the failure has been shown and logged; output written so far stays on disk.
    bool Run(const std::vector<CAverageInput>& inputs, const std::string& result,
             const CAverageOptions& options);

private:
    struct COutput;
    struct CRunText;
    bool Refused(const std::vector<CAverageInput>& inputs, const std::string& result);
    bool OpenInputs(const std::vector<CAverageInput>& inputs);
    bool OpenOutputs(const std::string& result);
    bool ProcessDataSets();
    bool ReadHeaders(bool& more);
    bool SameBinnings();
    void SumUpWeights();
    void WriteHeaders();
    std::vector<CFLUKAAvgDataFile*> Readers() const; // the inputs, then the averaged file
    void ReadAhead(std::vector<CFLUKAAvgDataFile*> readers);
    bool ProcessBins();
    // Writes the results of the next count bins; the index among them of the first result
    // beyond the range of numbers (nothing written then), or -1.
    std::int64_t WriteRun(size_t count);
    void FormatPart(CRunText& text, size_t begin, size_t end) const;
    void Results(const double* x, double average, double* results) const;
    double Combine(const double* x) const;
    bool Fail(const std::string& reason);
    int Inputs() const { return static_cast<int>(m_Files.size()); }
    bool UsesWeights() const;

    ILoadLog& m_Log;
    std::function<void(double)> m_Progress;
    CAverageOptions m_Options;
    std::vector<std::unique_ptr<CFLUKAAvgDataFile>> m_Files;
    std::unique_ptr<CFLUKAAvgDataFile> m_Average;    // error propagation only
    std::vector<std::unique_ptr<COutput>> m_Outputs; // result, then absolute and relative error
    std::vector<CRunText> m_Texts;                   // one per thread
    std::unique_ptr<CWorkerThreads> m_Workers;
    std::vector<double> m_Weights;
    double m_WeightSum = 0, m_WeightAsReadSum = 0;
    std::int64_t m_Particles = 0;
    int m_DataSets = 0;
    bool m_SingleFileNoted = false;
};
} // namespace volumira3d
