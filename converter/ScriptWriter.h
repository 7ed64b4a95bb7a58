#pragma once

#include "RecordReader.h"

#include <optional>
#include <set>
#include <string>

namespace trakor
{

class CTextOutput;

// The digit inside layer names ("ALL07", "COLL07_10") and the radius of deposition spheres:
// the dialogue never asks for them.
inline constexpr char LayerDigit = '0';
inline constexpr double SphereRadius = 0.1; // cm

// Writes the CAD command script: each trajectory as a polyline on the layer of its particle,
// each energy deposition as a sphere on the layer of its particle and interaction code.
class CScriptWriter
{
public:
    explicit CScriptWriter(CTextOutput& out);

    // One selected trajectory; codes outside 1..42 write nothing. A trajectory that starts where
    // the previous one of the same particle ended continues the open line command.
    void collcad(const CTrajectory& trajectory);
    // One selected energy deposition; codes outside 1..42 write nothing.
    void collcad1(const CDeposition& deposition);
    // Closes the last line command when no sphere did.
    void Finish();

    int LineCommands() const { return m_LineCount; }
    int Spheres() const { return m_SphereCount; }

private:
    void StartLayer(const std::string& name, int colour);
    void CoordinateLine(const CPoint& point);
    void NumberLine(double value);

    CTextOutput& m_Out;
    std::set<std::string> m_Layers; // created so far
    int m_LineCount = 0;
    int m_SphereCount = 0;
    std::optional<CPoint> m_LastPoint;
    int m_LastCode = 0;
};

} // namespace trakor
