// Decimal numbers in text, read as stream extraction reads them: an optional sign, digits with at
// most one decimal point (at least one digit), then an optional exponent (letter, optional sign,
// digits). Reading stops at the first character that does not belong to the number. The readers
// decide what an exponent letter without digits means: the track reader ends the number in front
// of it, stream extraction fails there.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

enum class EExponentLetter
{
    E,    // e or E
    EOrD, // also d or D, as Fortran writes double precision
};

struct CNumberSpan
{
    size_t m_End = 0; // one past the number; 0 when no number starts the text
    // An exponent letter follows the mantissa without digits of its own; m_End stops before it.
    bool m_DanglingExponent = false;

    bool Found() const { return m_End > 0; }
};

// The powers of ten that a double holds exactly.
inline constexpr double ExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The number at the start of text (no white space skipped).
CNumberSpan ScanNumber(std::string_view text, EExponentLetter letters = EExponentLetter::E);
// The common number at the start of text, delimited and converted in one pass: at most 15
// significant digits and a power of ten within 22, where one multiplication or division rounds
// correctly. span ends where ScanNumber ends it; false, with nothing set, for any other number,
// for an exponent letter without digits and when no number starts the text (the general way
// then decides).
bool ScanShortNumber(std::string_view text, EExponentLetter letters, CNumberSpan& span,
                     double& value);
// An integer at the start of text: optional sign and at least one digit.
CNumberSpan ScanInteger(std::string_view text);

// The value of a number exactly as ScanNumber delimited it (sign and either exponent letter
// included), correctly rounded as strtod rounds it: overflow gives an infinity, underflow the
// nearest representable value. Independent of the locale.
double NumberValue(std::string_view number);

// Why a text field is not the one number it must be.
enum class EFieldProblem
{
    None,
    NotANumber, // empty, "0x10", "1.5.3", "*********", "nan", "inf": anything but one number
    OutOfRange, // "1e400": beyond a double (or an int), never read as infinity or a saturated value
};

// A whole field read as one decimal number; value is set only when the answer is None. With
// EOrD, the exponent that Fortran writes without its letter when it has three digits
// ("2.987-103") is read too, as no other number has that shape.
EFieldProblem ReadNumberField(std::string_view field, double& value,
                              EExponentLetter letters = EExponentLetter::E);
EFieldProblem ReadIntegerField(std::string_view field, long long& value);
EFieldProblem ReadIntegerField(std::string_view field, int& value);
// The problem named with the field, for messages: "\"1.5.3\" is not a number".
std::string FieldProblemText(std::string_view field, EFieldProblem problem);
// The same reads for a reader that reports: nothing, with problem set to the text above, when the
// field is not the number it must be.
std::optional<double> CheckedNumber(std::string_view field, std::string& problem,
                                    EExponentLetter letters = EExponentLetter::E);
std::optional<int> CheckedInteger(std::string_view field, std::string& problem);

// strtod in the "C" locale, whatever locale a host has set (one may expect a decimal comma).
double StrtodC(const char* text);
