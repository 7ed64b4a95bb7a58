#include "volume/averaging/FlukaAverager.h"

#include "common/FileSystem.h"
#include "common/WorkerThreads.h"
#include "platform/Clock.h"
#include "platform/SafeWrite.h"
#include "platform/UiServices.h"
#include "volume/averaging/FlukaAvgDataFile.h"
#include "volume/formats/ScientificText.h"
#include "volume/model/LoadLog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>

#include <omp.h>

namespace volumira3d
{
namespace
{
struct COperationTexts
{
    const char* m_Attention; // message box before the run (nullptr: none)
    const char* m_Excluded;  // "... Thus, it is excluded from the %s!"
    const char* m_End;       // "%d data sets were ..."
    const char* m_Finished;  // a last line (nullptr: none)
    const char* m_Failure;   // "Error calculating ... Abort required!"
    const char* m_TwoFiles;  // for operations of exactly two files
};

#define ATTENTION                                                                                  \
    "ATTENTION: This function will create 1 file with the same structure, but the values will "
const COperationTexts Texts[] = {
    {nullptr, "average", "%d data sets were averaged. Process finished!", nullptr,
     "Error calculating average. Abort required!", nullptr},
    {ATTENTION "be the ratio of their respective counterparts in the first over the second data "
               "set!!!",
     nullptr, "%d data sets were treated.",
     "Ratio of the first over the second file was calculated. Process finished!",
     "Error calculating ratio. Abort required!",
     "Sorry, but a ratio can be calculated only for two files!"},
    {ATTENTION "be the sum of their respective counterparts in all files!!!", "sum",
     "%d data sets were summed up. Process finished!", nullptr,
     "Error calculating sum. Abort required!", nullptr},
    {ATTENTION "be the difference of their respective counterparts in the first over the second "
               "data set!!!",
     nullptr, "%d data sets were treated.",
     "Difference of file1 - file2 was calculated. Process finished!",
     "Error calculating difference. Abort required!",
     "Sorry, but a difference can be calculated only for two files!"},
    {ATTENTION "be the product of their respective counterparts in all files!!!", "sum",
     "%d data sets were multiplied. Process finished!", nullptr,
     "Error calculating product. Abort required!", nullptr},
    {ATTENTION "represent the final error based on error propagation!!!", "sum",
     "%d data sets were treated.", "The error propagation was calculated. Process finished!",
     "Error calculating error propagation. Abort required!", nullptr},
};
#undef ATTENTION

const COperationTexts& TextsOf(EAverageOperation operation)
{
    return Texts[static_cast<int>(operation)];
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error)) return true;
    return std::filesystem::weakly_canonical(a, error) ==
           std::filesystem::weakly_canonical(b, error);
}
} // namespace

// An output file in the FLUKA text layout: ten values to a line, each as "%.4E " writes it.
// It is written under a temporary name and takes its own only when the whole run succeeded,
// so that a refused or failed run leaves an earlier result as it was.
struct CFlukaAverager::COutput
{
    explicit COutput(std::string path)
        : m_Path(std::move(path)), m_Temp(PartName(m_Path)),
          m_Out(m_Temp, std::ios::binary | std::ios::trunc)
    {
    }
    ~COutput()
    {
        if (m_Committed) return;
        m_Out.close();
        std::remove(m_Temp.c_str());
    }
    bool Commit(std::string& error) { return m_Committed = CommitFile(m_Temp, m_Path, error); }

    std::string m_Path, m_Temp;
    std::ofstream m_Out;
    bool m_Committed = false;
    int m_OnLine = 0; // values on the line being written
    void EndLine()
    {
        if (m_OnLine > 0) m_Out.put('\n');
        m_OnLine = 0;
    }
};

// The text of a run of values for every output, as one thread formats it (printf for every value,
// or a growing string, would cost more than reading the inputs).
struct CFlukaAverager::CRunText
{
    std::vector<char> m_Text[3];
    size_t m_Used[3] = {};
    // The first bin of the part whose result is beyond the range of numbers, or -1.
    std::int64_t m_Overflow = -1;
};

namespace
{
// A value with its line's indent, blank and line end.
constexpr size_t MaxValueChars = 7 + Scientific4Chars + 2;
// Runs are formatted on several threads only when long enough to pay for waking them, and are
// bounded so that the texts stay small whatever the read-ahead.
constexpr size_t ParallelRun = 2048, MaxRun = 16384;

char* WriteValue(char* out, double value, int& onLine)
{
    if (onLine == 0) out = std::copy_n("       ", 7, out);
    out = WriteScientific4(out, value);
    *out++ = ' ';
    if (++onLine == 10)
    {
        *out++ = '\n';
        onLine = 0;
    }
    return out;
}

int Threads()
{
    return std::max(1, omp_get_max_threads());
}
} // namespace

CFlukaAverager::CFlukaAverager(ILoadLog& log, std::function<void(double)> progress)
    : m_Log(log), m_Progress(std::move(progress))
{
}

CFlukaAverager::~CFlukaAverager() = default;

bool CFlukaAverager::UsesWeights() const
{
    return m_Options.m_Operation == EAverageOperation::Average && m_Options.m_IndividualWeights;
}

bool CFlukaAverager::Fail(const std::string& reason)
{
    if (!reason.empty()) m_Log.AddLine(reason, ILoadLog::IconError);
    const char* failure = TextsOf(m_Options.m_Operation).m_Failure;
    m_Log.AddLine(failure, ILoadLog::IconError);
    AfxMessageBox(failure, MB_ICONERROR);
    return false;
}

bool CFlukaAverager::Run(const std::vector<CAverageInput>& inputs, const std::string& result,
                         const CAverageOptions& options)
{
    m_Options = options;
    const COperationTexts& texts = TextsOf(options.m_Operation);
    if (inputs.empty())
    {
        AfxMessageBox("Nothing to do!", MB_ICONINFORMATION);
        return false;
    }
    if (texts.m_TwoFiles && inputs.size() != 2)
    {
        AfxMessageBox(texts.m_TwoFiles, MB_ICONERROR);
        return false;
    }
    if (texts.m_Attention) AfxMessageBox(texts.m_Attention, MB_ICONINFORMATION);
    if (options.m_Operation != EAverageOperation::Average &&
        options.m_Operation != EAverageOperation::ErrorPropagation)
        m_Log.AddLine("Individual weights in the data were ignored for this operation! Yet, user "
                      "defined normalization still applies!",
                      ILoadLog::IconWarning);
    if (!OpenInputs(inputs) || Refused(inputs, result) || !OpenOutputs(result)) return false;
    const DWORD start = GetTickCount();
    m_Workers = std::make_unique<CWorkerThreads>(Threads());
    if (!ProcessDataSets()) return false;
    m_Log.AddLine(Format(texts.m_End, m_DataSets));
    if (texts.m_Finished) m_Log.AddLine(texts.m_Finished);
    m_Log.AddLine(Format("Time elapsed %lf s", (GetTickCount() - start) / 1000.0));
    return true;
}

bool CFlukaAverager::OpenInputs(const std::vector<CAverageInput>& inputs)
{
    const COperationTexts& texts = TextsOf(m_Options.m_Operation);
    for (size_t i = 0; i < inputs.size(); ++i)
    {
        const CAverageInput& input = inputs[i];
        if (texts.m_TwoFiles)
            m_Log.AddLine(Format("File %d: %s", int(i + 1), input.m_Path.c_str()));
        if (!IsRegularFile(input.m_Path))
        {
            if (texts.m_TwoFiles)
            {
                m_Log.AddLine(Format("Error: File named %s does not exist!", input.m_Path.c_str()),
                              ILoadLog::IconError);
                return false;
            }
            m_Log.AddLine(Format("Error: File named %s does not exist. Thus, it is excluded from "
                                 "the %s!",
                                 input.m_Path.c_str(), texts.m_Excluded),
                          ILoadLog::IconError);
            continue;
        }
        auto file = std::make_unique<CFLUKAAvgDataFile>(input.m_Path, input.m_UserNormalization,
                                                        m_Options.m_ReadAhead);
        if (!file->Open()) return Fail(file->Error());
        m_Files.push_back(std::move(file));
    }
    if (m_Files.empty())
    {
        AfxMessageBox("Nothing to do!", MB_ICONINFORMATION);
        return false;
    }
    if (m_Options.m_Operation != EAverageOperation::ErrorPropagation) return true;
    // The averaged file is read with normalisation 1.0, beside the error files.
    m_Average =
        std::make_unique<CFLUKAAvgDataFile>(m_Options.m_AverageFile, 1.0, m_Options.m_ReadAhead);
    if (m_Options.m_AverageFile.empty() || !m_Average->Open())
    {
        AfxMessageBox("No averaged file was chosen: the error propagation needs one.",
                      MB_ICONERROR);
        return false;
    }
    return true;
}

// An output that is also an input would be emptied before it is read.
bool CFlukaAverager::Refused(const std::vector<CAverageInput>& inputs, const std::string& result)
{
    std::vector<std::string> outputs = {result};
    if (m_Options.m_Operation == EAverageOperation::Average && m_Options.m_CalculateError)
        outputs.insert(outputs.end(), {result + ".abs.err", result + ".rel.err"});
    std::vector<std::string> sources;
    for (const CAverageInput& input : inputs)
        sources.push_back(input.m_Path);
    if (m_Average) sources.push_back(m_Options.m_AverageFile);
    for (const std::string& output : outputs)
        for (const std::string& source : sources)
            if (SameFile(output, source))
            {
                const std::string text = Format("The output file %s is also an input file: it "
                                                "would be overwritten before it is read. Please "
                                                "choose another result file.",
                                                output.c_str());
                m_Log.AddLine(text, ILoadLog::IconError);
                AfxMessageBox(text, MB_ICONERROR);
                return true;
            }
    return false;
}

bool CFlukaAverager::OpenOutputs(const std::string& result)
{
    const bool errors =
        m_Options.m_Operation == EAverageOperation::Average && m_Options.m_CalculateError;
    const std::string paths[] = {result, result + ".abs.err", result + ".rel.err"};
    const char* failures[] = {"Could not open result file for writing",
                              "Could not open file for writing the absolute error",
                              "Could not open file for writing the relative error"};
    for (int i = 0; i < (errors ? 3 : 1); ++i)
    {
        auto output = std::make_unique<COutput>(paths[i]);
        if (!output->m_Out)
        {
            const std::string text =
                m_Options.m_Operation == EAverageOperation::ErrorPropagation
                    ? Format("Could not open %s for writing. Operation aborted", result.c_str())
                    : failures[i];
            m_Log.AddLine(text, ILoadLog::IconError);
            AfxMessageBox(text, MB_ICONERROR);
            return false;
        }
        m_Outputs.push_back(std::move(output));
    }
    return true;
}

bool CFlukaAverager::ProcessDataSets()
{
    for (;;)
    {
        bool more = false;
        if (!ReadHeaders(more)) return false;
        if (!more) break;
        if (!SameBinnings()) return false;
        SumUpWeights();
        WriteHeaders();
        if (!ProcessBins()) return false;
        ++m_DataSets;
        m_Log.AddLine(Format("One data set of %d files processed. Total number of bins: %d * %ld "
                             "= %ld",
                             Inputs(), Inputs(), long(m_Files[0]->m_Bins),
                             long(m_Files[0]->m_Bins * Inputs())));
    }
    for (auto& output : m_Outputs)
    {
        output->m_Out.close();
        if (output->m_Out.fail())
            return Fail(Format("Could not write %s completely.", output->m_Path.c_str()));
    }
    if (m_DataSets == 0) return Fail("No binning was found in " + m_Files[0]->m_Path + ".");
    std::string error;
    for (auto& output : m_Outputs)
        if (!output->Commit(error)) return Fail(error);
    return true;
}

bool CFlukaAverager::ReadHeaders(bool& more)
{
    more = m_Files[0]->ReadHeader();
    if (!more) return m_Files[0]->Error().empty() || Fail(m_Files[0]->Error());
    const std::vector<CFLUKAAvgDataFile*> readers = Readers();
    for (CFLUKAAvgDataFile* file : std::span(readers).subspan(1))
        if (!file->ReadHeader())
            return Fail(!file->Error().empty()
                            ? file->Error()
                            : Format("%s holds fewer binnings than %s.", file->m_Path.c_str(),
                                     m_Files[0]->m_Path.c_str()));
    return true;
}

bool CFlukaAverager::SameBinnings()
{
    const CFLUKAAvgDataFile& first = *m_Files[0];
    auto differs = [&](const CFLUKAAvgDataFile& file)
    { return file.m_Bins != first.m_Bins || file.m_Binning != first.m_Binning; };
    for (const auto& file : m_Files)
        if (differs(*file))
            return Fail(Format("The binning of %s (%lld values) differs from that of %s (%lld "
                               "values).",
                               file->m_Path.c_str(), static_cast<long long>(file->m_Bins),
                               first.m_Path.c_str(), static_cast<long long>(first.m_Bins)));
    if (m_Average && differs(*m_Average))
        return Fail(Format("The binning of %s differs from that of %s.", m_Average->m_Path.c_str(),
                           first.m_Path.c_str()));
    return true;
}

void CFlukaAverager::SumUpWeights()
{
    m_Weights.clear();
    m_WeightSum = m_WeightAsReadSum = 0;
    m_Particles = 0;
    bool inconsistent = false;
    for (size_t i = 0; i < m_Files.size(); ++i)
    {
        CFLUKAAvgDataFile& file = *m_Files[i];
        m_Particles += file.m_NrOfParticles;
        if (!file.m_HasWeight)
            m_Log.AddLine(Format("%s: no weight info was found. Assuming a weight of 1.0",
                                 file.m_Path.c_str()),
                          ILoadLog::IconWarning);
        if (!UsesWeights()) file.m_Weight = 1.0f;
        m_Weights.push_back(file.m_Weight);
        m_WeightSum += file.m_Weight;
        m_WeightAsReadSum += file.m_WeightAsRead;
        inconsistent |= i > 0 && file.m_WeightAsRead != m_Files[i - 1]->m_WeightAsRead;
    }
    if (inconsistent && !UsesWeights())
    {
        m_Log.AddLine("Found files with inconsistent weight but individual weights are disabled!",
                      ILoadLog::IconError);
        m_Log.AddLine("Please keep in mind that equal weight is assumed as it was selected!",
                      ILoadLog::IconError);
    }
    else if (inconsistent)
        m_Log.AddLine("Found files with inconsistent weight. Average calculated according to their "
                      "weight");
    m_Log.AddLine(Format("Total weight: %lf, total nr. of particles: %lld", m_WeightSum,
                         static_cast<long long>(m_Particles)));
}

void CFlukaAverager::WriteHeaders()
{
    const bool mean = m_Options.m_Operation == EAverageOperation::Difference ||
                      m_Options.m_Operation == EAverageOperation::Ratio;
    const std::int64_t particles = mean ? m_Particles / Inputs() : m_Particles;
    const double weight = mean ? m_WeightAsReadSum / Inputs() : m_WeightAsReadSum;
    char weightText[32];
    std::snprintf(weightText, sizeof weightText, "%E", weight);
    for (auto& output : m_Outputs)
    {
        output->EndLine();
        for (const std::string& line : m_Files[0]->m_HeaderLines)
            if (line.find("weight") != std::string::npos)
                output->m_Out << "          Total number of particles followed " << particles
                              << ", for a total weight of  " << weightText << "\n";
            else
                output->m_Out << line << "\n";
    }
}

std::vector<CFLUKAAvgDataFile*> CFlukaAverager::Readers() const
{
    std::vector<CFLUKAAvgDataFile*> readers;
    for (const auto& file : m_Files)
        readers.push_back(file.get());
    if (m_Average) readers.push_back(m_Average.get());
    return readers;
}

double CFlukaAverager::Combine(const double* x) const
{
    const int n = Inputs();
    double r = 0;
    switch (m_Options.m_Operation)
    {
    case EAverageOperation::Sum:
        for (int i = 0; i < n; ++i)
            r += x[i];
        return r;
    case EAverageOperation::Multiply:
        r = 1;
        for (int i = 0; i < n; ++i)
            r *= x[i];
        return r;
    case EAverageOperation::Difference:
        r = x[0] - x[1];
        return std::isfinite(r) ? r : 0;
    case EAverageOperation::Ratio:
        r = x[0] / x[1];
        return std::isfinite(r) ? r : 0;
    default:
        return 0;
    }
}

namespace
{
double LargestMagnitude(const double* x, int n)
{
    double largest = 0;
    for (int i = 0; i < n; ++i)
        largest = std::max(largest, std::abs(x[i]));
    return largest;
}
} // namespace

// What one bin contributes to each output, from the inputs' values x (and, for the error
// propagation, the averaged file's value).
void CFlukaAverager::Results(const double* x, double average, double* results) const
{
    const int n = Inputs();
    switch (m_Options.m_Operation)
    {
    case EAverageOperation::Average:
    {
        // In units of the largest value, so that squares of values near the top of the range
        // do not overflow (1.79E+308 once gave NaN errors).
        const double scale = LargestMagnitude(x, n);
        double s1 = 0, s2 = 0;
        for (int i = 0; i < n; ++i)
        {
            const double y = scale > 0 ? x[i] / scale : 0;
            s1 += m_Weights[i] * y, s2 += m_Weights[i] * y * y;
        }
        const double m = s1 / m_WeightSum;
        double s = 0;
        if (m != 0 && n > 1) s = std::sqrt(std::max(s2 / m_WeightSum - m * m, 0.0) / (n - 1));
        results[0] = m * scale, results[1] = s * scale, results[2] = m != 0 ? s / m : 0;
        return;
    }
    case EAverageOperation::ErrorPropagation:
    {
        const double scale = LargestMagnitude(x, n);
        double e2 = 0;
        for (int i = 0; i < n; ++i)
        {
            const double y = scale > 0 ? x[i] / scale : 0;
            e2 += y * y;
        }
        // A relative error, so 0 where the mean is 0.
        const double e = average != 0 ? std::sqrt(e2) * scale / std::abs(average) : 0;
        results[0] = std::min(e, 1.0);
        return;
    }
    default:
        results[0] = Combine(x);
    }
}

// The inputs are read in lock-step, so their runs of values end together: the next runs are read
// on every core at once, each input by one thread.
void CFlukaAverager::ReadAhead(std::vector<CFLUKAAvgDataFile*> readers)
{
    std::erase_if(readers, [](CFLUKAAvgDataFile* r) { return !r->NeedsReadAhead(); });
    const size_t n = readers.size(), threads = size_t(m_Workers->Count());
    if (n == 0) return;
    m_Workers->Run(
        [&](int first)
        {
            for (size_t i = size_t(first); i < n; i += threads)
                readers[i]->ReadAhead();
        });
    for (CFLUKAAvgDataFile* reader : readers)
        reader->ShowPendingWarning();
}

void CFlukaAverager::FormatPart(CRunText& text, size_t begin, size_t end) const
{
    const int n = Inputs();
    const int outputs = static_cast<int>(m_Outputs.size());
    char* out[3] = {};
    int onLine[3] = {};
    for (int o = 0; o < outputs; ++o)
    {
        text.m_Text[o].resize(std::max(text.m_Text[o].size(), (end - begin) * MaxValueChars));
        out[o] = text.m_Text[o].data();
        onLine[o] = static_cast<int>((size_t(m_Outputs[o]->m_OnLine) + begin) % 10);
    }
    std::vector<double> x(static_cast<size_t>(n));
    double results[3] = {};
    for (size_t k = begin; k < end; ++k)
    {
        for (int i = 0; i < n; ++i)
            x[i] = m_Files[i]->Value(k);
        Results(x.data(), m_Average ? m_Average->Value(k) : 0.0, results);
        for (int o = 0; o < outputs; ++o)
        {
            if (!std::isfinite(results[o]) && text.m_Overflow < 0)
                text.m_Overflow = static_cast<std::int64_t>(k);
            out[o] = WriteValue(out[o], results[o], onLine[o]);
        }
    }
    for (int o = 0; o < outputs; ++o)
        text.m_Used[o] = static_cast<size_t>(out[o] - text.m_Text[o].data());
}

// Formats the next count bins, every thread a part of them, and writes the parts in order.
std::int64_t CFlukaAverager::WriteRun(size_t count)
{
    const int threads = count >= ParallelRun ? m_Workers->Count() : 1;
    m_Texts.resize(std::max(m_Texts.size(), size_t(threads)));
    const size_t part = (count + threads - 1) / threads;
    auto format = [this, count, part](int t)
    {
        m_Texts[t].m_Overflow = -1;
        FormatPart(m_Texts[t], std::min(count, t * part), std::min(count, (t + 1) * part));
    };
    if (threads > 1)
        m_Workers->Run(format);
    else
        format(0);
    for (int t = 0; t < threads; ++t)
        if (m_Texts[t].m_Overflow >= 0) return m_Texts[t].m_Overflow;
    for (size_t o = 0; o < m_Outputs.size(); ++o)
    {
        COutput& output = *m_Outputs[o];
        for (int t = 0; t < threads; ++t)
            output.m_Out.write(m_Texts[t].m_Text[o].data(),
                               static_cast<std::streamsize>(m_Texts[t].m_Used[o]));
        output.m_OnLine = static_cast<int>((size_t(output.m_OnLine) + count) % 10);
    }
    return -1;
}

bool CFlukaAverager::ProcessBins()
{
    const std::int64_t bins = m_Files[0]->m_Bins;
    const bool errors = m_Outputs.size() == 3;
    if (m_Options.m_Operation == EAverageOperation::Average && errors && Inputs() == 1 &&
        !m_SingleFileNoted)
    {
        m_SingleFileNoted = true;
        m_Log.AddLine("Only one file is averaged: its errors cannot be estimated and are written "
                      "as 0.",
                      ILoadLog::IconWarning);
    }
    const std::int64_t step = std::max<std::int64_t>(bins / 100, 1);
    const std::vector<CFLUKAAvgDataFile*> readers = Readers();
    for (std::int64_t done = 0, report = 0; done < bins;)
    {
        if (m_Progress && done >= report)
        {
            m_Progress(m_Files[0]->Progress());
            report = done + step;
        }
        ReadAhead(readers);
        size_t count = static_cast<size_t>(std::min<std::int64_t>(bins - done, MaxRun));
        for (CFLUKAAvgDataFile* reader : readers)
            count = std::min(count, reader->Buffered());
        // The bins every input holds are written before a short input's failure is told.
        if (count == 0)
            for (CFLUKAAvgDataFile* reader : readers)
                if (reader->Buffered() == 0) return Fail(reader->Error());
        if (const std::int64_t bad = WriteRun(count); bad >= 0)
            return Fail(Format("The result for bin %lld is beyond the range of numbers (a value "
                               "of an input is too large for this operation).",
                               static_cast<long long>(done + bad + 1)));
        for (CFLUKAAvgDataFile* reader : readers)
            reader->Consume(count);
        done += static_cast<std::int64_t>(count);
    }
    for (auto& output : m_Outputs)
        output->EndLine();
    if (m_Progress) m_Progress(m_Files[0]->Progress());
    return true;
}
} // namespace volumira3d
