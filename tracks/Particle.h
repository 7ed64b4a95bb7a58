// One track: a polyline of points with times, its type, energy and drawing state.
#pragma once
#include "common/Vector.h"

#include <ostream>
#include <string>
#include <vector>

class CLineReader;

namespace trakor3d
{
// One point of a track and the time (s) the particle passes it.
class CSegment : public CVector
{
public:
    CSegment() = default;
    CSegment(double x, double y, double z, double t) : CVector(x, y, z), t(t) {}
    double t = 0;
};

class CParticle
{
public:
    static constexpr int NoType = -1000;
    static constexpr double NoEnergy = -1000.0;

    CParticle() = default;
    CParticle(const CParticle&) = default;
    CParticle& operator=(const CParticle&) = default;
    // Declared, as the copies above would hide them: a particle moves its points, not copies.
    CParticle(CParticle&&) noexcept = default;
    CParticle& operator=(CParticle&&) noexcept = default;
    virtual ~CParticle() = default;

    // VRML line writer: mode 1 indents one level more before writing, 2 one less, 3 keeps it.
    virtual void WriteIndent(std::ostream& os) const;
    virtual void WriteLine(std::ostream& os, const std::string& line, int mode);
    virtual void WriteVRML(std::ostream& os);
    // Reads one particle block up to its end line (or the end of the file). Problems of single
    // lines go to err; reading goes on.
    virtual void Read(CLineReader& in, std::ostream& err);

    void AddPoint(const CSegment& point);
    double FirstTime() const { return m_Points.empty() ? 0.0 : m_Points.front().t; }
    double LastTime() const { return m_Points.empty() ? 0.0 : m_Points.back().t; }

    std::vector<CSegment> m_Points;
    int m_Refused = 0; // point lines whose numbers are not finite, left out
    double m_Radius = 1.0;
    int m_Type = NoType;
    double m_Energy = NoEnergy;
    bool m_Visible = true;
    CVector m_Lower{1e15, 1e15, 1e15};
    CVector m_Upper{-1e15, -1e15, -1e15};
    int m_IndentLevel = 0;
    double m_Transparency = 0.0;

private:
    void ReadLine(const std::vector<std::string_view>& tokens, std::ostream& err);
    bool ReadPointLine(std::string_view line, std::ostream& err);
    void TakeSegment(const CSegment& point, std::ostream& err);
    double NextTime() const { return (m_Points.empty() ? 0.0 : m_Points.back().t) + 1.0; }
};
} // namespace trakor3d
