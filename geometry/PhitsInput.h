// The geometry of a PHITS input: its [Cell], [Surface], [Transform] and [Material] sections (a
// section switched off by "off" after its name is skipped, [End] ends the input) read into the
// deck the MCNP reader takes. Comments ("$", "!", "%" and "#" except where "#" is a complement in
// [Cell]) are dropped, "set: c1[2.5]" defines constants, "infl:{file}[n1-n2]" includes lines of
// another file, and every numeric field may be an expression of numbers, constants, pi and the
// Fortran functions.
#pragma once
#include "geometry/Geometry.h"
#include "geometry/McnpCards.h"

#include <map>
#include <string>
#include <vector>

class CPhitsInput
{
public:
    // False with the errors when the input cannot be read or a constant does not evaluate.
    bool Read(const std::string& path);
    const CMcnpDeck& Deck() const { return m_Deck; }
    // A field with the constants of the input.
    bool Number(const std::string& field, double& value) const;
    const std::vector<std::string>& Errors() const { return m_Errors; }
    const std::vector<std::string>& Notes() const { return m_Notes; }

private:
    void Lines(const std::vector<CInputLine>& lines, int first, int last, int depth);
    void Line(const CInputLine& line, const std::string& folder, int depth);
    void Set(const CInputLine& line, const std::string& text);
    void Include(const CInputLine& line, std::string spec, const std::string& folder, int depth);

    CMcnpDeck m_Deck;
    std::map<int, double> m_Constants;
    std::string m_Section; // the section being read, lower case without blanks; "" before any
    bool m_Off = false;
    bool m_Ended = false;
    std::string m_Path;
    std::vector<CInputLine> m_CellLines, m_SurfaceLines, m_TransformLines;
    std::vector<std::string> m_Errors, m_Notes;
};

// The value of an expression ("2*pi*c1", "c91-0.1*c95", "sqrt(2.0)**3"); false, with the problem
// in error, when it is not one.
bool EvaluateExpression(const std::string& text, const std::map<int, double>& constants,
                        double& value, std::string& error);

// Whether the text (the start of a file) has a [Cell] or [Surface] section header.
bool LooksLikePhitsInput(const std::string& text);

// Reads a PHITS input's geometry (left as it was on failure), with the errors or notes.
bool ReadPhitsGeometry(const std::string& path, CGeometry& geometry,
                       std::vector<std::string>& errors, std::vector<std::string>& notes);
