#include "geometry/Section.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <tuple>

namespace
{
constexpr int BisectionSteps = 12;

struct CGrid
{
    const CSectionPlane& m_Plane;
    int m_Cells;

    CVector Point(double u, double v) const
    {
        CVector p;
        (&p.x)[m_Plane.m_Axis] = m_Plane.m_Position;
        (&p.x)[(m_Plane.m_Axis + 1) % 3] = u;
        (&p.x)[(m_Plane.m_Axis + 2) % 3] = v;
        return p;
    }
    double U(double i) const
    {
        return m_Plane.m_Lo[0] + (m_Plane.m_Hi[0] - m_Plane.m_Lo[0]) * i / m_Cells;
    }
    double V(double j) const
    {
        return m_Plane.m_Lo[1] + (m_Plane.m_Hi[1] - m_Plane.m_Lo[1]) * j / m_Cells;
    }
};

// Where between a (region ra) and b the region changes: the last point still in ra's region.
CVector Crossing(const CGeometry& g, CVector a, CVector b, int ra)
{
    for (int step = 0; step < BisectionSteps; ++step)
    {
        const CVector mid = (a + b) * 0.5;
        (g.RegionAt(mid) == ra ? a : b) = mid;
    }
    return (a + b) * 0.5;
}
using CKey = std::tuple<double, double, double>;

CKey Key(const CVector& p)
{
    return {p.x, p.y, p.z};
}

double DistanceToLine(const CVector& p, const CVector& a, const CVector& b)
{
    const CVector ab = b - a;
    const double length2 = CVector::Dot(ab, ab);
    if (length2 == 0) return (p - a).Length();
    const double t = std::clamp(CVector::Dot(p - a, ab) / length2, 0.0, 1.0);
    return (p - (a + ab * t)).Length();
}

// Douglas-Peucker: the points of the chain between first and last that must stay so that no
// point of it lies further than tolerance from the lines kept.
void Simplify(const std::vector<CVector>& chain, size_t first, size_t last, double tolerance,
              std::vector<bool>& keep)
{
    double worst = 0;
    size_t at = first;
    for (size_t i = first + 1; i < last; ++i)
        if (const double d = DistanceToLine(chain[i], chain[first], chain[last]); d > worst)
            worst = d, at = i;
    if (worst <= tolerance) return;
    keep[at] = true;
    Simplify(chain, first, at, tolerance, keep);
    Simplify(chain, at, last, tolerance, keep);
}

// Joins the segments between the same two regions that meet end to end into chains and
// replaces each chain by the fewest segments that stay within tolerance of it: a straight wall
// becomes one segment, a curve as many as its bending needs.
std::vector<CSectionSegment> Merge(const std::vector<CSectionSegment>& segments, double tolerance)
{
    std::multimap<CKey, size_t> ends;
    for (size_t i = 0; i < segments.size(); ++i)
    {
        ends.emplace(Key(segments[i].m_A), i);
        ends.emplace(Key(segments[i].m_B), i);
    }
    std::vector<bool> used(segments.size(), false);
    const auto samePair = [](const CSectionSegment& s, const CSectionSegment& t)
    {
        return std::minmax(s.m_Regions[0], s.m_Regions[1]) ==
               std::minmax(t.m_Regions[0], t.m_Regions[1]);
    };
    // The unused segment of the same pair that continues from p, and its far end.
    const auto next = [&](const CVector& p, size_t from, CVector& far) -> long
    {
        const auto [lo, hi] = ends.equal_range(Key(p));
        if (std::distance(lo, hi) != 2) return -1; // an end where three or more boundaries meet
        for (auto it = lo; it != hi; ++it)
        {
            const size_t j = it->second;
            if (j == from || used[j] || !samePair(segments[j], segments[from])) continue;
            far = Key(segments[j].m_A) == Key(p) ? segments[j].m_B : segments[j].m_A;
            return static_cast<long>(j);
        }
        return -1;
    };
    std::vector<CSectionSegment> merged;
    for (size_t i = 0; i < segments.size(); ++i)
    {
        if (used[i]) continue;
        used[i] = true;
        std::vector<CVector> chain = {segments[i].m_A, segments[i].m_B};
        for (int direction = 0; direction < 2; ++direction)
        {
            size_t from = i;
            CVector far;
            for (long j; (j = next(chain.back(), from, far)) >= 0;)
            {
                used[static_cast<size_t>(j)] = true;
                chain.push_back(far);
                from = static_cast<size_t>(j);
            }
            std::reverse(chain.begin(), chain.end());
        }
        std::vector<bool> keep(chain.size(), false);
        keep.front() = keep.back() = true;
        Simplify(chain, 0, chain.size() - 1, tolerance, keep);
        size_t last = 0;
        for (size_t k = 1; k < chain.size(); ++k)
            if (keep[k])
            {
                CSectionSegment s = segments[i];
                s.m_A = chain[last], s.m_B = chain[k];
                merged.push_back(s);
                last = k;
            }
    }
    return merged;
}
} // namespace

std::vector<CSectionSegment> TraceSection(const CGeometry& geometry, const CSectionPlane& plane,
                                          int cells)
{
    cells = std::max(cells, 2);
    const CGrid grid{plane, cells};
    const int n = cells + 1;
    std::vector<int> labels(static_cast<size_t>(n) * n);
#pragma omp parallel for schedule(dynamic, 8)
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            labels[static_cast<size_t>(j) * n + i] =
                geometry.RegionAt(grid.Point(grid.U(i), grid.V(j)));
    const auto label = [&](int i, int j) { return labels[static_cast<size_t>(j) * n + i]; };
    std::vector<std::vector<CSectionSegment>> rows(static_cast<size_t>(cells));
#pragma omp parallel for schedule(dynamic, 8)
    for (int j = 0; j < cells; ++j)
        for (int i = 0; i < cells; ++i)
        {
            // The cell's corners counter-clockwise and the crossings on its four sides.
            const std::array<std::pair<int, int>, 4> c = {
                {{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j + 1}}};
            struct CCross
            {
                CVector m_At;
                int m_A, m_B;
            };
            std::array<CCross, 4> cross;
            int count = 0;
            for (int s = 0; s < 4; ++s)
            {
                const auto [i0, j0] = c[static_cast<size_t>(s)];
                const auto [i1, j1] = c[static_cast<size_t>((s + 1) % 4)];
                const int a = label(i0, j0), b = label(i1, j1);
                if (a == b) continue;
                const CVector pa = grid.Point(grid.U(i0), grid.V(j0));
                const CVector pb = grid.Point(grid.U(i1), grid.V(j1));
                cross[static_cast<size_t>(count++)] = {Crossing(geometry, pa, pb, a), a, b};
            }
            auto& out = rows[static_cast<size_t>(j)];
            if (count == 2)
                out.push_back({cross[0].m_At, cross[1].m_At, {cross[0].m_A, cross[0].m_B}});
            else if (count > 2)
            {
                // Three regions or a saddle: each crossing to the cell's centre.
                const CVector centre = grid.Point(grid.U(i + 0.5), grid.V(j + 0.5));
                for (int k = 0; k < count; ++k)
                    out.push_back(
                        {cross[static_cast<size_t>(k)].m_At,
                         centre,
                         {cross[static_cast<size_t>(k)].m_A, cross[static_cast<size_t>(k)].m_B}});
            }
        }
    std::vector<CSectionSegment> segments;
    for (const auto& row : rows)
        segments.insert(segments.end(), row.begin(), row.end());
    // A hundredth of a cell: the merged lines are the traced ones to the eye at any zoom that
    // the grid itself serves.
    const double cell =
        std::max(plane.m_Hi[0] - plane.m_Lo[0], plane.m_Hi[1] - plane.m_Lo[1]) / cells;
    return Merge(segments, cell / 100);
}
