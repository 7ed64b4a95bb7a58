#include "volume/GridVtkExport.h"

#include "common/VtkExport.h"
#include "platform/UiServices.h"
#include "volume/model/LoadLog.h"

#include <algorithm>
#include <vector>

namespace volumira3d
{
namespace
{
bool HasShape(const VoxelArray& values, int nx, int ny, int nz)
{
    return values.size() == std::size_t(nx) && !values.empty() &&
           values[0].size() == std::size_t(ny) && values[0][0].size() == std::size_t(nz);
}

// Field data stating the transformation: nine rotation entries then the shift.
CVtkArray PlacementArray(const CGridExportInfo& info)
{
    return {"placement", EVtkScalar::Float64, 12, 1,
            [&info](CVtkSink& sink)
            {
                sink.Put(info.m_Rotation, 9);
                sink.Put(info.m_Translation, 3);
            }};
}

void SetPlacement(const CVoxelGrid& grid, const CGridExportInfo& info, CVtkImageData& image)
{
    // The image's origin is where the grid's corner lands, its axes are R's columns.
    for (int a = 0; a < 3; ++a)
        image.m_Origin[a] = grid.m_GridMin[a] + info.m_Translation[a];
    std::copy(info.m_Rotation, info.m_Rotation + 9, image.m_Direction);
}
} // namespace

bool CGridExportInfo::IsIdentity() const
{
    const CGridExportInfo identity;
    return std::equal(m_Rotation, m_Rotation + 9, identity.m_Rotation) &&
           std::equal(m_Translation, m_Translation + 3, identity.m_Translation);
}

// The grid is stored in VTK's order already: it goes out as it is, in pieces of slabBytes.
CVtkArray GridCellArray(const std::string& name, const VoxelArray& values, int nx, int ny, int nz,
                        std::size_t slabBytes)
{
    const std::uint64_t cells = std::uint64_t(nx) * ny * nz;
    return {name, EVtkScalar::Float64, 1, cells,
            [&values, cells, slabBytes](CVtkSink& sink)
            {
                const std::size_t piece = std::max<std::size_t>(1, slabBytes / sizeof(double));
                for (std::size_t at = 0; at < cells; at += piece)
                    sink.Put(values.data() + at, std::min<std::size_t>(piece, cells - at));
            }};
}

namespace
{
// A grid of uneven bins: its own edges as coordinates, shifted by the translation when there is
// no rotation (a rectilinear grid has no direction; the placement field then says where it is
// shown).
bool WriteRectilinear(const CVoxelGrid& grid, const CGridExportInfo& info, const std::string& name,
                      const CVtkXmlWriter& writer, const std::string& path, std::string& error)
{
    CGridExportInfo shift;
    std::copy(info.m_Translation, info.m_Translation + 3, shift.m_Translation);
    const bool rotated = !std::equal(info.m_Rotation, info.m_Rotation + 9, shift.m_Rotation);
    const int n[3] = {grid.m_NrXBins, grid.m_NrYBins, grid.m_NrZBins};
    CVtkRectilinearGrid out;
    for (int a = 0; a < 3; ++a)
        for (int i = 0; i <= n[a]; ++i)
            out.m_Coordinates[a].push_back(grid.Edge(a, i) + (rotated ? 0 : info.m_Translation[a]));
    out.m_CellData.push_back(GridCellArray(name, grid.m_Voxels, n[0], n[1], n[2]));
    if (info.m_pRelativeErrors)
        out.m_CellData.push_back(
            GridCellArray("relative error", *info.m_pRelativeErrors, n[0], n[1], n[2]));
    if (rotated) out.m_FieldData.push_back(PlacementArray(info));
    return writer.Write(path, out, error);
}
} // namespace

bool WriteGridVtk(const CVoxelGrid& grid, const CGridExportInfo& info, const CVtkXmlWriter& writer,
                  const std::string& path, std::string& error)
{
    const int nx = grid.m_NrXBins, ny = grid.m_NrYBins, nz = grid.m_NrZBins;
    if (!grid.HasGrid() || !HasShape(grid.m_Voxels, nx, ny, nz))
    {
        error = "There is no data set to export.";
        return false;
    }
    if (info.m_pRelativeErrors && !HasShape(*info.m_pRelativeErrors, nx, ny, nz))
    {
        error = "The relative errors do not match the grid; nothing was exported.";
        return false;
    }
    const std::string name = info.m_ValueName.empty() ? "value" : info.m_ValueName;
    if (grid.Uneven()) return WriteRectilinear(grid, info, name, writer, path, error);
    CVtkImageData image;
    const std::int64_t cells[3] = {nx, ny, nz};
    std::copy(cells, cells + 3, image.m_Cells);
    std::copy(grid.m_BinWidth, grid.m_BinWidth + 3, image.m_Spacing);
    SetPlacement(grid, info, image);
    image.m_CellData.push_back(GridCellArray(name, grid.m_Voxels, nx, ny, nz));
    if (info.m_pRelativeErrors)
        image.m_CellData.push_back(
            GridCellArray("relative error", *info.m_pRelativeErrors, nx, ny, nz));
    if (!info.IsIdentity()) image.m_FieldData.push_back(PlacementArray(info));
    return writer.Write(path, image, error);
}

CGridExportInfo GridExportInfo(const std::string& unitText, const CMatrix& transform)
{
    CGridExportInfo info;
    if (!unitText.empty()) info.m_ValueName = unitText;
    // Hook: the loaders keep no relative errors yet (FLUKA STATISTICS, meshtal errors); point
    // m_pRelativeErrors at them once they do.
    // The display's matrix works on row vectors (p M): its rotation block is R transposed and
    // its shift is row 3.
    const CMatrix& m = transform;
    for (int r = 0; r < 3; ++r)
    {
        for (int c = 0; c < 3; ++c)
            info.m_Rotation[r * 3 + c] = m(c, r);
        info.m_Translation[r] = m(3, r);
    }
    return info;
}

void ExportGridVtk(CDialog* parent, const CVoxelGrid& grid, const CGridExportInfo& info,
                   ILoadLog& log)
{
    if (!grid.m_DataLoaded)
    {
        AfxMessageBox("There is no data set to export.", MB_ICONINFORMATION);
        return;
    }
    std::string written;
    const bool ok = ExportVtkWithDialog(
        parent, grid.Uneven() ? "vtr" : "vti",
        grid.Uneven() ? VtkRectilinearFilter : VtkImageFilter,
        [&](const std::string& path, const CVtkXmlWriter& writer, std::string& message)
        {
            written = path;
            return WriteGridVtk(grid, info, writer, path, message);
        });
    if (ok) log.AddLine("Grid exported to " + written);
}
} // namespace volumira3d
