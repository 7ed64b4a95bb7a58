// The library-wide colour table: one colour (red, green, blue, 0..1) per particle type 0..70.
// Changes take effect at once everywhere the table is read (drawing, VRML).
#pragma once
#include "common/Vector.h"

#include <array>

class CColorTable
{
public:
    static constexpr int Size = 71;
    using Colors = std::array<CVector, Size>;

    // The plug-in library's one table, starting with the default colours.
    static CColorTable& Instance();

    static bool ValidIndex(int index) { return index >= 0 && index < Size; }
    const CVector& Get(int index) const { return m_Colors.at(index); }
    void Set(int index, const CVector& color) { m_Colors.at(index) = color; }
    const Colors& All() const { return m_Colors; }
    void ResetToDefaults();
    static const Colors& Defaults();

private:
    CColorTable() { ResetToDefaults(); }
    Colors m_Colors;
};
