#include "volume/averaging/FlukaAvgDataFile.h"

#include "common/Tokens.h"
#include "platform/UiServices.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace volumira3d
{
namespace
{
const CSeparators Separators(" ,;:\t");
bool NotationWarned = false;

bool Contains(const std::string& line, const char* text)
{
    return line.find(text) != std::string::npos;
}
} // namespace

void ResetAverageNotationWarning()
{
    NotationWarned = false;
}

CFLUKAAvgDataFile::CFLUKAAvgDataFile(std::string path, double userNormalization, size_t readAhead)
    : m_UserNormalization(userNormalization), m_Path(std::move(path)),
      m_Capacity(std::max<size_t>(readAhead, 1))
{
}

bool CFLUKAAvgDataFile::Open()
{
    if (m_In.Open(m_Path)) return true;
    m_Error = "Cannot open " + m_Path;
    return false;
}

double CFLUKAAvgDataFile::Progress() const
{
    return m_In.Size() ? double(m_In.Position()) / double(m_In.Size()) : 1.0;
}

void CFLUKAAvgDataFile::TakeWeightLine(const std::string& line)
{
    m_HasWeight = true;
    const auto tokens = SplitTokens(line, Separators);
    double particles = 0, weight = 1;
    if (tokens.size() > 5 && ParseLeadingNumber(tokens[5], particles) && particles >= 0 &&
        particles < 9.2e18)
        m_NrOfParticles = static_cast<std::int64_t>(particles);
    // The weight may carry a broken exponent as the values do (1.0000+06).
    if (tokens.size() > 11 && ParseLeadingNumber(tokens[11], weight))
    {
        const std::string_view token = tokens[11];
        const size_t sign = token.find_first_of("+-", 1);
        double exponent = 0;
        if (sign != std::string_view::npos && std::toupper(token[sign - 1]) != 'E' &&
            ParseLeadingNumber(token.substr(sign), exponent))
            weight *= std::pow(10.0, exponent);
        m_Weight = m_WeightAsRead = static_cast<float>(weight);
    }
}

void CFLUKAAvgDataFile::TakeCoordinateLine(const std::string& line)
{
    const auto tokens = SplitTokens(line, Separators);
    double bins = 0;
    if (tokens.size() > 7 && ParseLeadingNumber(tokens[7], bins) && bins >= 1 && bins < 2.2e9)
        m_Bins =
            m_Bins > 0 ? m_Bins * static_cast<std::int64_t>(bins) : static_cast<std::int64_t>(bins);
    else
        m_Bins = -1;
    m_Binning += line.substr(0, line.find("bins")) + "\n";
}

bool CFLUKAAvgDataFile::ReadHeader()
{
    m_HeaderLines.clear();
    m_Binning.clear();
    m_Error.clear();
    const std::int64_t previousBins = m_Bins;
    m_Bins = 0;
    m_HasWeight = false;
    m_NrOfParticles = 0;
    m_Weight = m_WeightAsRead = 1.0f;
    std::string line;
    bool binning = false;
    while (!binning && m_In.ReadLine(line))
    {
        // The errors of the previous binning belong to its input, not to the output.
        if (Contains(line, "errors follow") && previousBins > 0)
        {
            SkipNumbers(previousBins);
            continue;
        }
        m_HeaderLines.push_back(line);
        if (Contains(line, "weight")) TakeWeightLine(line);
        binning = Contains(line, "binning");
    }
    if (!binning) return false; // no further data set
    for (bool data = false; !data;)
    {
        if (!m_In.ReadLine(line))
        {
            m_Error = "The header of a binning in " + m_Path + " ends without \"Data follow\".";
            return false;
        }
        m_HeaderLines.push_back(line);
        if (Contains(line, "coordinate:") && m_Bins >= 0) TakeCoordinateLine(line);
        data = Contains(line, "Data follow");
    }
    if (m_Bins < 1)
    {
        m_Error = "The number of bins of a binning in " + m_Path + " cannot be read.";
        return false;
    }
    m_Left = m_Bins;
    m_ReadAhead.clear();
    m_Next = 0;
    return ReadRemarkLines();
}

// Lines that start with a letter (after blanks) before the first value are kept as header.
bool CFLUKAAvgDataFile::ReadRemarkLines()
{
    for (;;)
    {
        std::string blanks;
        while (m_In.Peek() == ' ' || m_In.Peek() == '\t')
            blanks += static_cast<char>(m_In.Get());
        const int c = m_In.Peek();
        std::string line;
        if (c == '\n' || c == '\r' || std::isalpha(c))
        {
            m_In.ReadLine(line);
            m_HeaderLines.push_back(blanks + line);
            continue;
        }
        return true;
    }
}

bool CFLUKAAvgDataFile::ExtractRepaired(double& value)
{
    if (!m_In.Extract(value)) return false;
    const int next = m_In.Peek();
    if (next != '-' && next != '+') return true;
    std::int32_t exponent = 0;
    if (!m_In.Extract(exponent)) return false;
    if (!NotationWarned && m_PendingWarning.empty())
        m_PendingWarning =
            Format("WARNING: In %s we encountered a value with the format %lf%lf which "
                   "is NOT a valid scientific notation!\nPlease report this to the "
                   "authors of the data!\nVolumix3D is correcting the notation to allow "
                   "for further processing. Similar problems in the averaged files will "
                   "be fixed without further notification!",
                   m_Path.c_str(), value, double(exponent));
    value *= std::pow(10.0, exponent);
    return true;
}

void CFLUKAAvgDataFile::ShowPendingWarning()
{
    if (m_PendingWarning.empty()) return;
    if (!NotationWarned)
    {
        NotationWarned = true;
        AfxMessageBox(m_PendingWarning, MB_ICONWARNING);
    }
    m_PendingWarning.clear();
}

void CFLUKAAvgDataFile::SkipNumbers(std::int64_t count)
{
    double value = 0;
    for (std::int64_t i = 0; i < count && ExtractRepaired(value); ++i)
    {
    }
    ShowPendingWarning();
    std::string rest;
    m_In.ReadLine(rest);
}

// Plain numbers in runs; any other (a broken exponent, the end of the values) one by one.
void CFLUKAAvgDataFile::Refill()
{
    const size_t n = static_cast<size_t>(std::min<std::int64_t>(m_Left, std::int64_t(m_Capacity)));
    m_ReadAhead.resize(n);
    m_Next = 0;
    for (size_t i = 0;;)
    {
        i += m_In.ExtractPlainRun(m_ReadAhead.data() + i, n - i);
        if (i == n) break;
        if (!ExtractRepaired(m_ReadAhead[i]))
        {
            const auto held = m_Bins - m_Left + i;
            m_Error =
                Format("%s holds only %lld of the %lld values of its binning.", m_Path.c_str(),
                       static_cast<long long>(held), static_cast<long long>(m_Bins));
            m_Left = 0;
            m_ReadAhead.resize(i);
            return;
        }
        ++i;
    }
    m_Left -= static_cast<std::int64_t>(n);
}

void CFLUKAAvgDataFile::ReadAhead()
{
    if (NeedsReadAhead()) Refill();
}
} // namespace volumira3d
