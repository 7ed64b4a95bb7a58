#include "Dialogue.h"

#include "FortranInput.h"

#include <istream>
#include <ostream>

namespace trakor
{
namespace
{

constexpr std::size_t RealColumns = 16;
constexpr std::size_t BinColumns = 5;
constexpr int MaxBins = 999;
// Fortran's REAL 1.0E-14: the lower bound stays the single-precision value.
const double LogarithmicMinimum = static_cast<double>(1.0e-14f);

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

std::string CollisionFileName(std::string_view answer)
{
    const std::string_view name = Trimmed(answer);
    return name.empty() ? std::string("collfile") : std::string(name);
}

std::string TrackFileName(std::string_view answer)
{
    const std::string name = CollisionFileName(answer);
    return name.substr(0, name.find("   ")) + ".tracks";
}

CDialogue::CDialogue(std::istream& in, std::ostream& out) : m_In(in), m_Out(out) {}

// Prompts are list-directed lines: a leading blank, then the text.
void CDialogue::Say(std::string_view text)
{
    m_Out << ' ' << text << '\n';
}

std::string CDialogue::Answer()
{
    m_Out.flush();
    std::string line;
    if (!std::getline(m_In, line))
        throw CDialogueEnd("*** INPUT ERROR: the input ended before this question was answered");
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

int CDialogue::IntegerAnswer(std::size_t width)
{
    const std::string line = Answer();
    const std::optional<int> value = ReadIntegerField(line, width);
    if (!value)
        throw CDialogueEnd("*** INPUT ERROR: \"" + line.substr(0, width) + "\" is not an integer");
    return *value;
}

double CDialogue::RealAnswer()
{
    const std::string line = Answer();
    const std::optional<double> value = ReadRealField(line, RealColumns);
    if (!value)
        throw CDialogueEnd("*** INPUT ERROR: \"" + line.substr(0, RealColumns) +
                           "\" is not a number");
    return *value;
}

void CDialogue::Banner()
{
    Say("**************************************************");
    Say("*                                                *");
    Say("*   TRAKOR  version 2.1.3                        *");
    Say("*   FLUKA collision file to track file and       *");
    Say("*   CAD script converter                         *");
    Say("*                                                *");
    Say("**************************************************");
    m_Out << '\n';
}

std::string CDialogue::AskFileName()
{
    Say("NAME OF FLUKA-COLLISIONFILE [collfile]???? ");
    const std::string line = Answer();
    // Cutting a longer name would silently name another file.
    if (line.find_first_not_of(' ', NameColumns) != std::string::npos)
        throw CDialogueEnd("*** INPUT ERROR: the file name is longer than 80 characters");
    m_Out << '\n';
    return ReadCharacterField(line, NameColumns);
}

bool CDialogue::AskKinetic()
{
    Say("Total energy or kinetic energy");
    Say("            *******           ");
    Say("For total energy:   press return only");
    Say("For kinetic energy: press 1 followed by return ");
    return IntegerAnswer(1) == 1;
}

std::pair<double, double> CDialogue::AskBounds(bool kinetic)
{
    const auto ask = [&](std::string_view which)
    {
        if (kinetic)
        {
            Say("ENTER THE WISHED " + std::string(which) + " KIN. ENERGY OF THE PARTICLES");
            Say("IN GEV");
        }
        else
        {
            Say("ENTER THE WISHED " + std::string(which) + " TOTAL ENERGY OF THE ");
            Say("PARTICLES IN GEV");
        }
        return RealAnswer();
    };
    const double lower = ask("MINIMUM");
    const double upper = ask("MAXIMUM");
    return {lower, upper == 0.0 ? DefaultUpperBound : upper};
}

int CDialogue::AskBinCount()
{
    Say("ENTER THE NUMBER OF ENERGY BINS");
    int bins = IntegerAnswer(BinColumns);
    while (bins < 1 || bins > MaxBins)
    {
        Say("BINNUMBER SHOULD BE BELOW 1000 AND ABOVE 0");
        Say("ENTER THE NUMBER OF ENERGY BINS");
        bins = IntegerAnswer(BinColumns);
    }
    return bins;
}

bool CDialogue::AskLogarithmic()
{
    Say("Lin. or log. BINNING? ");
    Say("FOR LOG. BINNING: 1 FOLLOWED BY RETURN  ");
    Say("FOR LIN. BINNING: RETURN ONLY ");
    return IntegerAnswer(1) == 1;
}

double CDialogue::LogarithmicLowerBound(double lower)
{
    if (lower > 0.0) return lower;
    // A negative minimum would give undefined group bounds just like 0 does.
    Say(lower == 0.0 ? "*** WARNING: Emin = 0.0 not allowed for logarithmic binning"
                     : "*** WARNING: Emin < 0.0 not allowed for logarithmic binning");
    Say("***          default Emin = 1.0E-14 used");
    return LogarithmicMinimum;
}

int CDialogue::AskParticleType()
{
    Say("Enter particle type number (ALL = RETURN ONLY):");
    return IntegerAnswer(1);
}

} // namespace trakor
