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

inline constexpr std::size_t kNameColumns = 80;
inline constexpr double kDefaultUpperBound = 100000.0; // GeV, for an answer of 0 or blank

// The collision file named by the 80-column answer (leading and trailing blanks dropped;
// "collfile" when blank).
std::string collisionFileName(std::string_view answer);
// The track file: the name up to its first run of three blanks, followed by ".tracks".
std::string trackFileName(std::string_view answer);

// The questions on the terminal, one answer line each, read like Fortran formatted input.
// Every ask... throws CDialogueEnd when the answer cannot be read.
class CDialogue
{
public:
    CDialogue(std::istream& in, std::ostream& out);

    void banner();
    std::string askFileName();                         // the 80-column answer; no longer
    bool askKinetic();                                 // true: kinetic energy
    std::pair<double, double> askBounds(bool kinetic); // GeV; an upper bound of 0 is the default
    int askBinCount();                                 // asks again until 1..999
    bool askLogarithmic();
    // The lower bound to use for logarithmic binning, with a warning when it cannot be used.
    double logarithmicLowerBound(double lower);
    int askParticleType(); // 0 = all; only the first column counts

private:
    void say(std::string_view text);
    std::string answer();
    int integerAnswer(std::size_t width);
    double realAnswer();

    std::istream& m_In;
    std::ostream& m_Out;
};

} // namespace trakor
