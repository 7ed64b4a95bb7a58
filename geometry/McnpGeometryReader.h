// Reads the geometry of an MCNP input into the model: the surfaces (with their TRn placement) and
// macrobody facets as bodies, the cells as regions named by their number with the material "m5"
// or "void". Cells whose importance is zero (the outside world) are left out, as are the cells
// of universes except where they fill a cell: there each is a region "3<1" clipped by the filling
// cell. LIKE n BUT, TRCL, #n and #(...) complements are resolved. A PHITS input, once its
// sections are read, is the same deck (its outer region is material -1).
#pragma once
#include "geometry/Geometry.h"
#include "geometry/McnpCards.h"

#include <functional>
#include <string>
#include <vector>

class CMcnpGeometryReader
{
public:
    // How the deck's numeric fields read: plain numbers for MCNP, expressions for PHITS.
    using CNumberReader = std::function<bool(const std::string& field, double& value)>;

    bool Read(const std::string& path, CGeometry& geometry);
    // A deck already split; path names the input in messages. outerMaterial: the material number
    // that marks the outside world (PHITS: -1), 0 for none.
    bool ReadDeck(const CMcnpDeck& deck, const std::string& path, CGeometry& geometry,
                  const CNumberReader& number, int outerMaterial);
    // "line 12: cell 10 uses surface 7, which is not defined", one per problem.
    const std::vector<std::string>& Errors() const { return m_Errors; }
    const std::vector<std::string>& Notes() const { return m_Notes; }
    // For the readers that prepare a deck (PHITS) and have notes of their own to tell.
    void AddNote(const std::string& text) { m_Notes.push_back(text); }

private:
    std::vector<std::string> m_Errors;
    std::vector<std::string> m_Notes;
};

// A plain number field.
bool ReadMcnpNumber(const std::string& field, double& value);
