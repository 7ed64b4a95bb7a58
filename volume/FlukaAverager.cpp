#include "volume/FlukaAverager.h"

#include "platform/Clock.h"
#include "platform/UiServices.h"
#include "volume/FlukaAvgDataFile.h"
#include "volume/LoadLog.h"
#include "volume/ScientificText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

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

// An output file in the FLUKA text layout: ten values to a line, each as "%.4E " writes it,
// collected in a buffer of fixed size (printf for every value, or a growing string, would cost more
// than reading the inputs).
struct CFlukaAverager::COutput
{
    static constexpr size_t FlushAt = size_t(1) << 16;
    std::string m_Path;
    std::ofstream m_Out;
    // Room for the longest value with its line's indent, blank and line end past FlushAt.
    std::vector<char> m_Buffer = std::vector<char>(FlushAt + Scientific4Chars + 16);
    size_t m_Used = 0;
    int m_OnLine = 0;
    void Write(double value)
    {
        char* out = m_Buffer.data() + m_Used;
        if (m_OnLine == 0) out = std::copy_n("       ", 7, out);
        out = WriteScientific4(out, value);
        *out++ = ' ';
        m_Used = static_cast<size_t>(out - m_Buffer.data());
        if (++m_OnLine == 10) EndLine();
        if (m_Used > FlushAt) Flush();
    }
    void EndLine()
    {
        if (m_OnLine > 0) m_Buffer[m_Used++] = '\n';
        m_OnLine = 0;
    }
    void Flush()
    {
        m_Out.write(m_Buffer.data(), static_cast<std::streamsize>(m_Used));
        m_Used = 0;
    }
};

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
    m_Average = std::make_unique<CFLUKAAvgDataFile>(m_Options.m_AverageFile, 1.0, 10240);
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
        auto output = std::make_unique<COutput>();
        output->m_Path = paths[i];
        output->m_Out.open(paths[i], std::ios::binary | std::ios::trunc);
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
        output->Flush();
        output->m_Out.close();
        if (output->m_Out.fail())
            return Fail(Format("Could not write %s completely.", output->m_Path.c_str()));
    }
    if (m_DataSets == 0) return Fail("No binning was found in " + m_Files[0]->m_Path + ".");
    return true;
}

bool CFlukaAverager::ReadHeaders(bool& more)
{
    more = m_Files[0]->ReadHeader();
    if (!more) return m_Files[0]->Error().empty() || Fail(m_Files[0]->Error());
    std::vector<CFLUKAAvgDataFile*> others;
    for (size_t i = 1; i < m_Files.size(); ++i)
        others.push_back(m_Files[i].get());
    if (m_Average) others.push_back(m_Average.get());
    for (CFLUKAAvgDataFile* file : others)
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
        output->Flush();
        for (const std::string& line : m_Files[0]->m_HeaderLines)
            if (line.find("weight") != std::string::npos)
                output->m_Out << "          Total number of particles followed " << particles
                              << ", for a total weight of  " << weightText << "\n";
            else
                output->m_Out << line << "\n";
    }
}

double CFlukaAverager::Combine(const std::vector<double>& x) const
{
    double r = 0;
    switch (m_Options.m_Operation)
    {
    case EAverageOperation::Sum:
        for (double v : x)
            r += v;
        return r;
    case EAverageOperation::Multiply:
        r = 1;
        for (double v : x)
            r *= v;
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

// The inputs are read in lock-step, so their runs of values end together: the next runs are read
// on every core at once, each input by one thread. Threads of their own, started per run: a
// thread pool's waiting threads spin and, on a busy machine, cost more than they save.
void CFlukaAverager::ReadAhead()
{
    if (!m_Files[0]->NeedsReadAhead()) return;
    const int n = Inputs();
    const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, n);
    auto read = [this, n, threads](int first)
    {
        for (int i = first; i < n; i += threads)
            m_Files[i]->ReadAhead();
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t)
        helpers.emplace_back(read, t);
    read(0);
    for (std::thread& helper : helpers)
        helper.join();
    for (auto& file : m_Files)
        file->ShowPendingWarning();
}

bool CFlukaAverager::ProcessBins()
{
    const std::int64_t bins = m_Files[0]->m_Bins;
    const int n = Inputs();
    const bool errors = m_Outputs.size() == 3;
    if (m_Options.m_Operation == EAverageOperation::Average && errors && n == 1 &&
        !m_SingleFileNoted)
    {
        m_SingleFileNoted = true;
        m_Log.AddLine("Only one file is averaged: its errors cannot be estimated and are written "
                      "as 0.",
                      ILoadLog::IconWarning);
    }
    std::vector<double> x(static_cast<size_t>(n));
    const std::int64_t step = std::max<std::int64_t>(bins / 100, 1);
    for (std::int64_t bin = 0; bin < bins; ++bin)
    {
        ReadAhead();
        for (int i = 0; i < n; ++i)
            if (!m_Files[i]->NextValue(x[i])) return Fail(m_Files[i]->Error());
        switch (m_Options.m_Operation)
        {
        case EAverageOperation::Average:
        {
            double s1 = 0, s2 = 0;
            for (int i = 0; i < n; ++i)
                s1 += m_Weights[i] * x[i], s2 += m_Weights[i] * x[i] * x[i];
            const double m = s1 / m_WeightSum;
            double s = 0;
            if (m != 0 && n > 1) s = std::sqrt(std::max(s2 / m_WeightSum - m * m, 0.0) / (n - 1));
            m_Outputs[0]->Write(m);
            if (errors) m_Outputs[1]->Write(s), m_Outputs[2]->Write(m != 0 ? s / m : 0);
            break;
        }
        case EAverageOperation::ErrorPropagation:
        {
            double e2 = 0, m = 0;
            for (double e : x)
                e2 += e * e;
            if (!m_Average->NextValue(m)) return Fail(m_Average->Error());
            // A relative error, so 0 where the mean is 0.
            const double e = m != 0 ? std::sqrt(e2) / std::abs(m) : 0;
            m_Outputs[0]->Write(std::min(e, 1.0));
            break;
        }
        default:
            m_Outputs[0]->Write(Combine(x));
        }
        if (m_Progress && bin % step == 0) m_Progress(m_Files[0]->Progress());
    }
    for (auto& output : m_Outputs)
        output->EndLine();
    if (m_Progress) m_Progress(m_Files[0]->Progress());
    return true;
}
} // namespace volumira3d
