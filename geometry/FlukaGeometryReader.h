// Reads the geometry of a FLUKA input: the block between GEOBEGIN and GEOEND, name-based
// (COMBNAME, free format) or numbered (fixed 10-column fields), with the $start_translat,
// $start_expansion and $start_transform directives, the ROT-DEFI cards wherever they stand, the
// materials of the ASSIGNMA cards and the LATTICE regions. A broken geometry is refused with
// every error by line, and the geometry given is left as it was.
#pragma once
#include "geometry/Geometry.h"

#include <string>
#include <vector>

class CFlukaGeometryReader
{
public:
    bool Read(const std::string& path, CGeometry& geometry);
    // "line 12: RCC needs 7 parameters, not 6", one per problem.
    const std::vector<std::string>& Errors() const { return m_Errors; }
    // What the load should say beside success (lattices, unassigned regions).
    const std::vector<std::string>& Notes() const { return m_Notes; }

private:
    std::vector<std::string> m_Errors;
    std::vector<std::string> m_Notes;
};

// Whether the text (the start of a file) holds a FLUKA geometry block.
bool LooksLikeFlukaInput(const std::string& text);
