#include "Dialogue.h"

#include "FortranInput.h"

#include <istream>
#include <ostream>

namespace trakor
{
namespace
{

constexpr std::size_t kRealColumns = 16;
constexpr std::size_t kBinColumns = 5;
constexpr int kMaxBins = 999;
// Fortran's REAL 1.0E-14: the lower bound stays the single-precision value.
const double kLogarithmicMinimum = static_cast<double>(1.0e-14f);

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

std::string collisionFileName(std::string_view answer)
{
    const std::string_view name = trimmed(answer);
    return name.empty() ? std::string("collfile") : std::string(name);
}

std::string trackFileName(std::string_view answer)
{
    const std::string name = collisionFileName(answer);
    return name.substr(0, name.find("   ")) + ".tracks";
}

CDialogue::CDialogue(std::istream& in, std::ostream& out) : m_In(in), m_Out(out) {}

// Prompts are list-directed lines: a leading blank, then the text.
void CDialogue::say(std::string_view text)
{
    m_Out << ' ' << text << '\n';
}

std::string CDialogue::answer()
{
    m_Out.flush();
    std::string line;
    if (!std::getline(m_In, line))
        throw CDialogueEnd("*** INPUT ERROR: the input ended before this question was answered");
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

int CDialogue::integerAnswer(std::size_t width)
{
    const std::string line = answer();
    const std::optional<int> value = readIntegerField(line, width);
    if (!value)
        throw CDialogueEnd("*** INPUT ERROR: \"" + line.substr(0, width) + "\" is not an integer");
    return *value;
}

double CDialogue::realAnswer()
{
    const std::string line = answer();
    const std::optional<double> value = readRealField(line, kRealColumns);
    if (!value)
        throw CDialogueEnd("*** INPUT ERROR: \"" + line.substr(0, kRealColumns) +
                           "\" is not a number");
    return *value;
}

void CDialogue::banner()
{
    say("**************************************************");
    say("*                                                *");
    say("*   TRAKOR  version 2.1.3                        *");
    say("*   FLUKA collision file to track file and       *");
    say("*   CAD script converter                         *");
    say("*                                                *");
    say("**************************************************");
    m_Out << '\n';
}

std::string CDialogue::askFileName()
{
    say("NAME OF FLUKA-COLLISIONFILE [collfile]???? ");
    const std::string line = answer();
    // Cutting a longer name would silently name another file.
    if (line.find_first_not_of(' ', kNameColumns) != std::string::npos)
        throw CDialogueEnd("*** INPUT ERROR: the file name is longer than 80 characters");
    m_Out << '\n';
    return readCharacterField(line, kNameColumns);
}

bool CDialogue::askKinetic()
{
    say("Total energy or kinetic energy");
    say("            *******           ");
    say("For total energy:   press return only");
    say("For kinetic energy: press 1 followed by return ");
    return integerAnswer(1) == 1;
}

std::pair<double, double> CDialogue::askBounds(bool kinetic)
{
    const auto ask = [&](std::string_view which)
    {
        if (kinetic)
        {
            say("ENTER THE WISHED " + std::string(which) + " KIN. ENERGY OF THE PARTICLES");
            say("IN GEV");
        }
        else
        {
            say("ENTER THE WISHED " + std::string(which) + " TOTAL ENERGY OF THE ");
            say("PARTICLES IN GEV");
        }
        return realAnswer();
    };
    const double lower = ask("MINIMUM");
    const double upper = ask("MAXIMUM");
    return {lower, upper == 0.0 ? kDefaultUpperBound : upper};
}

int CDialogue::askBinCount()
{
    say("ENTER THE NUMBER OF ENERGY BINS");
    int bins = integerAnswer(kBinColumns);
    while (bins < 1 || bins > kMaxBins)
    {
        say("BINNUMBER SHOULD BE BELOW 1000 AND ABOVE 0");
        say("ENTER THE NUMBER OF ENERGY BINS");
        bins = integerAnswer(kBinColumns);
    }
    return bins;
}

bool CDialogue::askLogarithmic()
{
    say("Lin. or log. BINNING? ");
    say("FOR LOG. BINNING: 1 FOLLOWED BY RETURN  ");
    say("FOR LIN. BINNING: RETURN ONLY ");
    return integerAnswer(1) == 1;
}

double CDialogue::logarithmicLowerBound(double lower)
{
    if (lower > 0.0) return lower;
    // A negative minimum would give undefined group bounds just like 0 does.
    say(lower == 0.0 ? "*** WARNING: Emin = 0.0 not allowed for logarithmic binning"
                     : "*** WARNING: Emin < 0.0 not allowed for logarithmic binning");
    say("***          default Emin = 1.0E-14 used");
    return kLogarithmicMinimum;
}

int CDialogue::askParticleType()
{
    say("Enter particle type number (ALL = RETURN ONLY):");
    return integerAnswer(1);
}

} // namespace trakor
