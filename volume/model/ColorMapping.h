// From a data value to an entry of the colour table, through the display range and the scale.
#pragma once

namespace volumira3d
{
class CColorMapping
{
public:
    // entries: the size of the colour table. In logarithmic mode a bound of 0 or below cannot be
    // shown; the mapping is then invalid and rejects every value.
    CColorMapping(double rangeMin, double rangeMax, bool logarithmic, int entries);

    bool IsValid() const { return m_Valid; }
    bool IsLogarithmic() const { return m_Log; }
    // The transformed bounds.
    double Lo() const { return m_Lo; }
    double Hi() const { return m_Hi; }
    int Entries() const { return m_Entries; }

    // The value as the scale sees it; false when it is never drawn (0, not a number, the
    // logarithm of a negative value). A value of exactly 1 is 1e-5 in logarithmic mode, so that
    // it is still drawn.
    bool Transform(double v, double& t) const;
    // Rejects t below the range or above it by more than 1e-4 of the range's width.
    bool InRange(double t) const;
    // The entry of a transformed value, limited to 0 .. entries - 1 (below the range: 0).
    int IndexOfTransformed(double t) const;
    // ColorIndexForValue: the entry, or -1 when the value is not drawn.
    int IndexForValue(double v) const;

private:
    double m_Lo = 0, m_Hi = 0, m_Step = 0;
    int m_Entries = 0;
    bool m_Log = false;
    bool m_Valid = false;
};
} // namespace volumira3d
