#include "volume/loading/CylinderResampling.h"

#include "platform/UiServices.h"
#include "volume/loading/CartesianFill.h"
#include "volume/model/VoxelGrid.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace volumira3d
{
namespace
{
constexpr double TwoPi = 2 * std::numbers::pi;

double Component(const CVector& v, int a)
{
    return a == 0 ? v.x : a == 1 ? v.y : v.z;
}

// The bin of edges that holds x (lower edge inclusive), or -1.
long long BinOf(const std::vector<double>& edges, double x)
{
    if (!(x >= edges.front()) || !(x < edges.back())) return -1;
    return std::upper_bound(edges.begin(), edges.end(), x) - edges.begin() - 1;
}

// The world axis the cylinder's axis runs along (either way), or -1 for an oblique one.
int WorldAxisOf(const CVector& axis)
{
    for (int a = 0; a < 3; ++a)
        if (std::abs(Component(axis, a)) > 1 - 1e-12) return a;
    return -1;
}

bool Ascending(const std::vector<double>& edges)
{
    if (edges.size() < 2) return false;
    for (size_t i = 0; i < edges.size(); ++i)
        if (!std::isfinite(edges[i]) || (i > 0 && !(edges[i] > edges[i - 1]))) return false;
    return true;
}

// The part of a point's position (relative to the origin, along-axis part removed) that decides
// its ring and sector: ir + nr * iphi, or -1.
class CCrossSection
{
public:
    explicit CCrossSection(const CCylinderMesh& mesh)
        : m_Mesh(mesh), m_Normal(CVector::Cross(mesh.m_Axis, mesh.m_Reference)),
          m_FullTurn(mesh.m_Phi.size() == 2 && mesh.m_Phi.back() - mesh.m_Phi.front() >= TwoPi)
    {
    }
    long long BinOf(const CVector& radial) const
    {
        const long long ir = volumira3d::BinOf(m_Mesh.m_R, radial.Length());
        if (ir < 0) return -1;
        const long long nr = static_cast<long long>(m_Mesh.m_R.size()) - 1;
        if (m_FullTurn) return ir;
        const double lo = m_Mesh.m_Phi.front();
        double phi =
            std::atan2(CVector::Dot(radial, m_Normal), CVector::Dot(radial, m_Mesh.m_Reference));
        phi = lo + std::fmod(phi - lo, TwoPi);
        if (phi < lo) phi += TwoPi;
        const long long iphi = volumira3d::BinOf(m_Mesh.m_Phi, phi);
        return iphi < 0 ? -1 : ir + nr * iphi;
    }

private:
    const CCylinderMesh& m_Mesh;
    CVector m_Normal;
    bool m_FullTurn;
};

long long Combined(const CCylinderMesh& mesh, long long along, long long cross)
{
    if (along < 0 || cross < 0) return -1;
    return along * static_cast<long long>((mesh.m_R.size() - 1) * (mesh.m_Phi.size() - 1)) + cross;
}

long long BinAtPoint(const CCylinderMesh& mesh, const CCrossSection& section, const CVector& p)
{
    const CVector d = p - mesh.m_Origin;
    const double t = CVector::Dot(d, mesh.m_Axis);
    return Combined(mesh, BinOf(mesh.m_T, t), section.BinOf(d - mesh.m_Axis * t));
}
} // namespace

long long CCylinderMesh::BinAt(const CVector& p) const
{
    return BinAtPoint(*this, CCrossSection(*this), p);
}

double EvenWidth(const std::vector<double>& edges)
{
    const double width = (edges.back() - edges.front()) / double(edges.size() - 1);
    for (size_t i = 1; i < edges.size(); ++i)
        if (std::abs(edges[i] - edges[i - 1] - width) > 1e-3 * width) return 0;
    return width;
}

double NarrowestBin(const std::vector<double>& edges)
{
    double width = edges[1] - edges[0];
    for (size_t i = 2; i < edges.size(); ++i)
        width = std::min(width, edges[i] - edges[i - 1]);
    return width;
}

std::vector<double> EvenEdges(double lo, double hi, long long count, long long keep)
{
    const long long bins = keep < 0 ? count : std::min(keep, count);
    std::vector<double> edges(static_cast<size_t>(bins + 1));
    for (long long i = 0; i <= bins; ++i)
        edges[static_cast<size_t>(i)] =
            i == count ? hi : lo + (hi - lo) * double(i) / double(count);
    return edges;
}

bool PlanCylinderGrid(const CCylinderMesh& mesh, double resolution, double maxPerAxis,
                      CCylinderGridPlan& plan, std::string& error)
{
    if (!Ascending(mesh.m_R) || !Ascending(mesh.m_Phi) || !Ascending(mesh.m_T) ||
        mesh.m_R.front() < 0 || mesh.m_Phi.back() - mesh.m_Phi.front() > TwoPi * (1 + 1e-9))
    {
        error = "The cylinder's bins do not run upwards from a radius of 0 or more within one "
                "turn: it cannot be mapped onto a grid.";
        return false;
    }
    if (!(resolution > 0) || !std::isfinite(resolution))
    {
        error = Format("A voxel size of %g cm cannot be used for the cylinder.", resolution);
        return false;
    }
    const double radius = mesh.m_R.back();
    const int along = WorldAxisOf(mesh.m_Axis);
    for (int a = 0; a < 3; ++a)
    {
        const double o = Component(mesh.m_Origin, a), s = Component(mesh.m_Axis, a);
        const double p0 = o + s * mesh.m_T.front(), p1 = o + s * mesh.m_T.back();
        double count = 0, min = 0, width = resolution;
        if (a == along)
        {
            // The t bins are the voxels: their edges in world coordinates, upwards.
            min = std::min(p0, p1);
            count = double(mesh.m_T.size() - 1);
            width = (std::max(p0, p1) - min) / count;
            if (EvenWidth(mesh.m_T) == 0)
            {
                for (const double t : mesh.m_T)
                    plan.m_Edges[a].push_back(o + s * t);
                if (s < 0) std::reverse(plan.m_Edges[a].begin(), plan.m_Edges[a].end());
            }
        }
        else if (along >= 0)
        {
            // Centred on the axis, so that the rings lie symmetric in the voxels.
            const double half = std::ceil(radius / resolution - 1e-9);
            count = 2 * half;
            min = o - half * resolution;
        }
        else
        {
            const double extent = radius * std::sqrt(std::max(0.0, 1 - s * s));
            min = std::min(p0, p1) - extent;
            count = std::max(1.0, std::ceil((std::max(p0, p1) + extent - min) / width - 1e-9));
        }
        if (!(count <= maxPerAxis) || !std::isfinite(min))
        {
            error = Format("The cylinder would need %g voxels of %g cm along the %c axis, more "
                           "than a grid can hold.",
                           count, width, "xyz"[a]);
            return false;
        }
        plan.m_Count[a] = static_cast<std::int64_t>(count);
        plan.m_Min[a] = min;
        plan.m_Width[a] = width;
    }
    return true;
}

void ResampleCylinder(const CCylinderMesh& mesh, const std::vector<double>& values, long long count,
                      CVoxelGrid& grid, const std::function<void(int)>& progress)
{
    const std::int64_t n[3] = {grid.m_NrXBins, grid.m_NrYBins, grid.m_NrZBins};
    const auto centre = [&](int a, std::int64_t i)
    { return grid.m_GridMin[a] + grid.Offset(a, double(i) + 0.5); };
    const CCrossSection section(mesh);
    // Along a world axis the along-axis bin depends on one index and the cross-section bin on
    // the other two: both are tabled once.
    const int along = WorldAxisOf(mesh.m_Axis);
    const int p = along == 0 ? 1 : 0, q = along == 2 ? 1 : 2;
    std::vector<long long> alongBins, crossBins;
    if (along >= 0)
    {
        const double o = Component(mesh.m_Origin, along), s = Component(mesh.m_Axis, along);
        for (std::int64_t i = 0; i < n[along]; ++i)
            alongBins.push_back(BinOf(mesh.m_T, (centre(along, i) - o) * s));
        crossBins.resize(static_cast<size_t>(n[p] * n[q]));
        for (std::int64_t j = 0; j < n[q]; ++j)
            for (std::int64_t i = 0; i < n[p]; ++i)
            {
                double d[3] = {0, 0, 0};
                d[p] = centre(p, i) - Component(mesh.m_Origin, p);
                d[q] = centre(q, j) - Component(mesh.m_Origin, q);
                crossBins[static_cast<size_t>(i + n[p] * j)] = section.BinOf({d[0], d[1], d[2]});
            }
    }
    const auto binAt = [&](std::int64_t ix, std::int64_t iy, std::int64_t iz)
    {
        if (along < 0)
            return BinAtPoint(mesh, section, {centre(0, ix), centre(1, iy), centre(2, iz)});
        const std::int64_t i[3] = {ix, iy, iz};
        return Combined(mesh, alongBins[static_cast<size_t>(i[along])],
                        crossBins[static_cast<size_t>(i[p] + n[p] * i[q])]);
    };
    double* data = grid.m_Voxels.data();
    const std::int64_t slab = std::max<std::int64_t>(1, n[2] / 50);
    for (std::int64_t z0 = 0; z0 < n[2]; z0 += slab)
    {
        const std::int64_t z1 = std::min(n[2], z0 + slab);
#pragma omp parallel for collapse(2) schedule(dynamic, 16)
        for (std::int64_t iz = z0; iz < z1; ++iz)
            for (std::int64_t iy = 0; iy < n[1]; ++iy)
                for (std::int64_t ix = 0; ix < n[0]; ++ix)
                {
                    const long long bin = binAt(ix, iy, iz);
                    data[grid.m_Voxels.Index(size_t(ix), size_t(iy), size_t(iz))] =
                        bin >= 0 && bin < count ? values[static_cast<size_t>(bin)] : 0.0;
                }
        if (progress) progress(static_cast<int>(z1 * 100 / n[2]));
    }
    TakeStatistics(grid, 0, grid.VoxelCount());
}
} // namespace volumira3d
