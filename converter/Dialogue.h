#pragma once

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace trakor
{

// Thrown when the dialogue cannot go on: an answer that is not a number, or the end of input.
class CDialogueEnd : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::size_t NameColumns = 80;
inline constexpr double DefaultUpperBound = 100000.0; // GeV, for an answer of 0 or blank

// The collision file named by the 80-column answer (leading and trailing blanks dropped;
// "collfile" when blank).
std::string CollisionFileName(std::string_view answer);
// The track file: the name up to its first run of three blanks, followed by ".tracks".
std::string TrackFileName(std::string_view answer);

// The questions on the terminal, one answer line each, read like Fortran formatted input.
// Every ask... throws CDialogueEnd when the answer cannot be read.
class CDialogue
{
public:
    CDialogue(std::istream& in, std::ostream& out);

    void Banner();
    std::string AskFileName();                         // the 80-column answer; no longer
    bool AskKinetic();                                 // true: kinetic energy
    std::pair<double, double> AskBounds(bool kinetic); // GeV; an upper bound of 0 is the default
    int AskBinCount();                                 // asks again until 1..999
    bool AskLogarithmic();
    // The lower bound to use for logarithmic binning, with a warning when it cannot be used.
    double LogarithmicLowerBound(double lower);
    int AskParticleType(); // 0 = all; only the first column counts

    // A list-directed line: a leading blank, then the text.
    void Say(std::string_view text);

private:
    std::string Answer();
    int IntegerAnswer(std::size_t width);
    double RealAnswer();

    std::istream& m_In;
    std::ostream& m_Out;
};

} // namespace trakor
