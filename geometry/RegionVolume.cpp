#include "geometry/RegionVolume.h"

#include "platform/UiServices.h"

#include <cmath>
#include <map>
#include <random>

bool EstimateRegionVolume(const CGeometry& geometry, int region, std::int64_t points,
                          std::uint64_t seed, CVolumeEstimate& estimate)
{
    const CBox& box = geometry.m_Regions[static_cast<size_t>(region)].m_Box;
    if (points <= 0 || !box.IsFinite()) return false;
    estimate = CVolumeEstimate();
    estimate.m_Points = points;
    if (box.IsEmpty()) return true;
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(0, 1);
    const CVector lo = box.Lo(), size = box.Hi() - lo;
    std::int64_t hits = 0;
    for (std::int64_t n = 0; n < points; ++n)
    {
        const CVector p(lo.x + size.x * unit(random), lo.y + size.y * unit(random),
                        lo.z + size.z * unit(random));
        hits += geometry.InRegion(region, p) ? 1 : 0;
    }
    const double fraction = double(hits) / double(points), volume = box.Volume();
    estimate.m_Volume = fraction * volume;
    estimate.m_Error = volume * std::sqrt(fraction * (1 - fraction) / double(points));
    return true;
}

std::vector<CGeometryProblem> CheckGeometry(const CGeometry& geometry, const CBox& box, int cells)
{
    std::map<std::pair<int, int>, CGeometryProblem> found;
    if (box.IsEmpty() || !box.IsFinite()) return {};
    const CVector lo = box.Lo(), step = (box.Hi() - lo) / std::max(cells, 1);
    for (int k = 0; k < cells; ++k)
        for (int j = 0; j < cells; ++j)
            for (int i = 0; i < cells; ++i)
            {
                const CVector p(lo.x + step.x * (i + 0.5), lo.y + step.y * (j + 0.5),
                                lo.z + step.z * (k + 0.5));
                int regions[2];
                const int n = geometry.RegionsAt(p, regions, 2);
                if (n == 1 || (n == 0 && geometry.IsOutside(p))) continue;
                const auto key =
                    n == 0 ? std::make_pair(-1, -1) : std::make_pair(regions[0], regions[1]);
                CGeometryProblem& problem = found[key];
                if (problem.m_Points++ == 0)
                {
                    problem.m_Regions[0] = key.first, problem.m_Regions[1] = key.second;
                    problem.m_Example = p;
                }
            }
    std::vector<CGeometryProblem> problems;
    for (const auto& [key, problem] : found)
        problems.push_back(problem);
    return problems;
}

std::string VolumeText(const CVolumeEstimate& estimate)
{
    return Format("%g cm3 +- %g (%lld points)", estimate.m_Volume, estimate.m_Error,
                  static_cast<long long>(estimate.m_Points));
}

std::string ProblemText(const CGeometry& geometry, const CGeometryProblem& problem)
{
    const auto name = [&](int r) { return geometry.m_Regions[static_cast<size_t>(r)].m_Name; };
    const std::string what = problem.m_Regions[0] < 0 ? std::string("undefined")
                                                      : "overlap " + name(problem.m_Regions[0]) +
                                                            " " + name(problem.m_Regions[1]);
    return what + Format(" at %lld points, e.g. (%g, %g, %g)",
                         static_cast<long long>(problem.m_Points), problem.m_Example.x,
                         problem.m_Example.y, problem.m_Example.z);
}

std::string NoProblemText(int cells)
{
    return Format("no undefined point and no overlap in %lld points",
                  static_cast<long long>(cells) * cells * cells);
}
