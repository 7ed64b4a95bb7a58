#include "volume/formats/FlukaHeader.h"

#include "platform/UiServices.h"
#include "volume/formats/TextScanner.h"

#include <cctype>
#include <cmath>
#include <vector>

namespace volumira3d
{
namespace
{
constexpr CSeparators CoordinateSeparators(" ,;:\t");

std::string_view Token(const std::vector<std::string_view>& tokens, size_t index)
{
    return index < tokens.size() ? tokens[index] : std::string_view();
}

// Later lines of the same kind override earlier ones; an unreadable number is left as it was.
void ParseParticlesLine(std::string_view line, CFlukaHeader& header)
{
    const auto tokens = SplitTokens(line, CSeparators(" ,\t"));
    std::int32_t primaries = 0;
    double weight = 0;
    if (ParseLeadingNumber(Token(tokens, 5), primaries)) header.m_NrOfParticles = primaries;
    if (ParseLeadingNumber(Token(tokens, 11), weight)) header.m_TotalWeight = weight;
}

void ParseBinningLine(std::string_view line, EFlukaBinning binning, CFlukaHeader& header)
{
    const auto tokens = SplitTokens(line, CSeparators(" \t"));
    std::int32_t particle = 0;
    if (ParseLeadingNumber(Token(tokens, binning == EFlukaBinning::RZ ? 12 : 10), particle))
        header.m_GenParticle = particle;
    const size_t n = line.find("n.");
    const size_t digits = n == std::string_view::npos ? n : line.find_first_not_of(' ', n + 2);
    std::int32_t number = 0;
    if (digits != std::string_view::npos && ParseLeadingNumber(line.substr(digits), number))
        header.m_Number = number;
    const size_t open = line.find('"'), close = line.find('"', open + 1);
    if (open != std::string_view::npos && close != std::string_view::npos)
    {
        const std::string_view name = line.substr(open + 1, close - open - 1);
        const size_t last = name.find_last_not_of(' ');
        header.m_Name = std::string(name.substr(0, last == std::string_view::npos ? 0 : last + 1));
    }
}

bool NextNonEmptyLine(CTextScanner& in, std::string& line)
{
    while (in.ReadLine(line))
        if (line.find_first_not_of(" \t") != std::string::npos) return true;
    return false;
}

bool Number(const std::vector<std::string_view>& tokens, size_t index, double& value)
{
    return ParseLeadingNumber(Token(tokens, index), value) && std::isfinite(value);
}

// Half a unit in the last printed digit of a number token ("2.0000E-01": 5e-6).
double HalfLastDigit(std::string_view token)
{
    const size_t e = token.find_first_of("eEdD");
    int exponent = 0;
    if (e != std::string_view::npos)
    {
        std::int32_t value = 0;
        if (ParseLeadingNumber(token.substr(e + 1), value)) exponent = value;
    }
    const std::string_view mantissa = token.substr(0, e);
    const size_t point = mantissa.find('.');
    const int decimals =
        point == std::string_view::npos ? 0 : static_cast<int>(mantissa.size() - point - 1);
    return 0.5 * std::pow(10.0, exponent - decimals);
}

// How far (to - from) / width may lie from the true bin count through the rounding of the three
// printed numbers (tokens 3, 5 and 10 of a coordinate line).
double PrintedRatioError(const std::vector<std::string_view>& tokens, double ratio)
{
    double width = 0;
    ParseLeadingNumber(Token(tokens, 10), width);
    const double span = HalfLastDigit(Token(tokens, 3)) + HalfLastDigit(Token(tokens, 5));
    return (span + ratio * HalfLastDigit(Token(tokens, 10))) / width + 1e-9 * ratio;
}

bool BinCountAgrees(double ratio, std::int32_t bins, double tolerance)
{
    return std::abs(ratio - bins) <= tolerance;
}

// "X coordinate: from -1.0E+01 to 1.0E+01 cm, 100 bins ( 2.0E-01 cm wide)"
bool ParseCoordinateLine(std::string_view line, bool binsOnly, CFlukaAxis& axis, std::string& error)
{
    const auto tokens = SplitTokens(line, CoordinateSeparators);
    std::int32_t bins = 0;
    if (!ParseLeadingNumber(Token(tokens, 7), bins) || bins < 1)
    {
        error = "the number of bins is missing or below 1 in \"" + std::string(line) + "\"";
        return false;
    }
    axis.m_Bins = bins;
    if (binsOnly) return true;
    if (!Number(tokens, 3, axis.m_Min) || !Number(tokens, 5, axis.m_Max) ||
        !Number(tokens, 10, axis.m_Width))
    {
        error = "unreadable coordinate line \"" + std::string(line) + "\"";
        return false;
    }
    if (!(axis.m_Width > 0))
    {
        error = "the bin width must be above 0 in \"" + std::string(line) + "\"";
        return false;
    }
    const double ratio = (axis.m_Max - axis.m_Min) / axis.m_Width;
    if (!BinCountAgrees(ratio, bins, PrintedRatioError(tokens, ratio)))
    {
        error = Format("the header line \"%s\" announces %d bins, but (to - from) / width gives %g",
                       std::string(line).c_str(), bins, ratio);
        return false;
    }
    return true;
}

// "axis coordinates: X = 0.0000E+00, Y = 0.0000E+00 cm"
bool ParseAxisLine(std::string_view line, CFlukaHeader& header, std::string& error)
{
    const auto tokens = SplitTokens(line, CoordinateSeparators);
    if (!Number(tokens, 4, header.m_AxisX) || !Number(tokens, 7, header.m_AxisY))
    {
        error = "unreadable axis line \"" + std::string(line) + "\"";
        return false;
    }
    return true;
}

bool ReadCoordinateLines(CTextScanner& in, EFlukaBinning binning, CFlukaHeader& header,
                         std::string& error)
{
    std::string lines[3];
    for (std::string& line : lines)
        if (!NextNonEmptyLine(in, line))
        {
            error = "the file ends inside the binning header";
            return false;
        }
    switch (binning)
    {
    case EFlukaBinning::Cartesian:
        return ParseCoordinateLine(lines[0], false, header.m_Axis[0], error) &&
               ParseCoordinateLine(lines[1], false, header.m_Axis[1], error) &&
               ParseCoordinateLine(lines[2], false, header.m_Axis[2], error);
    case EFlukaBinning::RZ:
        return ParseCoordinateLine(lines[0], false, header.m_Axis[0], error) &&
               ParseCoordinateLine(lines[1], false, header.m_Axis[2], error) &&
               ParseAxisLine(lines[2], header, error);
    case EFlukaBinning::RPhiZ:
        return ParseCoordinateLine(lines[0], false, header.m_Axis[0], error) &&
               ParseCoordinateLine(lines[1], true, header.m_Axis[1], error) &&
               ParseCoordinateLine(lines[2], false, header.m_Axis[2], error);
    }
    return false;
}
} // namespace

std::string BinCounts(const CFlukaAxis (&axes)[3])
{
    return Format("%d x %d x %d", axes[0].m_Bins, axes[1].m_Bins, axes[2].m_Bins);
}

std::string_view BinningPhrase(EFlukaBinning binning)
{
    switch (binning)
    {
    case EFlukaBinning::Cartesian:
        return "Cartesian binning";
    case EFlukaBinning::RZ:
        return "R - Z     binning";
    case EFlukaBinning::RPhiZ:
        return "R-Phi-Z   binning";
    }
    return {};
}

namespace
{
// The next line that starts (after blanks) with a letter, without them; lines of numbers are
// passed over uncopied, since a file of a million data lines has a few header lines among them.
bool NextWordLine(CTextScanner& in, std::string& line)
{
    for (;;)
    {
        int c = in.Peek();
        while (c == ' ' || c == '\t')
        {
            in.Get();
            c = in.Peek();
        }
        if (c < 0) return false;
        if (std::isalpha(c)) return in.ReadLine(line);
        in.SkipLine();
    }
}
} // namespace

bool ReadFlukaHeader(CTextScanner& in, EFlukaBinning binning, CFlukaHeader& header,
                     std::string& error, int index)
{
    const std::string_view phrase = BinningPhrase(binning);
    std::string line;
    int seen = 0;
    while (NextWordLine(in, line))
    {
        if (line.find("Total number of particles") != std::string::npos)
            ParseParticlesLine(line, header);
        else if (line.find(phrase) != std::string::npos && seen++ == index)
        {
            ParseBinningLine(line, binning, header);
            if (!ReadCoordinateLines(in, binning, header, error)) return false;
            SkipToFlukaData(in, &header);
            return true;
        }
    }
    error =
        Format("no line with \"%.*s\" was found", static_cast<int>(phrase.size()), phrase.data());
    return false;
}

std::vector<CFlukaHeader> ScanFlukaBinnings(const std::string& path, EFlukaBinning binning)
{
    std::vector<CFlukaHeader> binnings;
    CTextScanner in;
    if (!in.Open(path)) return binnings;
    // Each read goes on from the data of the binning before to the next binning line.
    std::string error;
    for (CFlukaHeader header; ReadFlukaHeader(in, binning, header, error); header = CFlukaHeader())
        binnings.push_back(header);
    return binnings;
}

void SkipToFlukaData(CTextScanner& in, CFlukaHeader* header)
{
    for (;;)
    {
        int c = in.Peek();
        while (c == ' ' || c == '\n' || c == '\r' || c == '\t')
        {
            in.Get();
            c = in.Peek();
        }
        if (c < 0) return;
        if (std::isalpha(c) || c == '+' || c == '-')
        {
            std::string line;
            in.ReadLine(line);
            std::string ignored;
            if (header && line.find("axis coordinates") != std::string::npos)
                ParseAxisLine(line, *header, ignored);
            continue;
        }
        return;
    }
}
} // namespace volumira3d
