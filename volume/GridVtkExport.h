// The voxel grid as a VTK ImageData file (a RectilinearGrid ".vtr" when its bins are uneven): one
// cell per voxel, the values as a cell array named after the unit text, the relative errors as a
// second array when the load kept them, and the settings transformation as the image's direction
// and origin.
#pragma once
#include "common/VtkXmlWriter.h"
#include "volume/model/Matrix.h"
#include "volume/model/VoxelGrid.h"

#include <string>

class CDialog;

namespace volumira3d
{
class ILoadLog;

// What an export writes besides the grid itself.
struct CGridExportInfo
{
    std::string m_ValueName = "value";
    const VoxelArray* m_pRelativeErrors = nullptr; // laid out like the grid; null: none
    // A point q relative to the grid's lower corner is shown at corner + R q + t (R row-major,
    // acting on column vectors), as the display side draws it.
    double m_Rotation[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    double m_Translation[3] = {0, 0, 0};

    bool IsIdentity() const;
};

// The values of a grid in VTK's cell order (x fastest), handed to the writer in pieces of at most
// slabBytes.
inline constexpr std::size_t GridSlabBytes = 4 << 20;
CVtkArray GridCellArray(const std::string& name, const VoxelArray& values, int nx, int ny, int nz,
                        std::size_t slabBytes = GridSlabBytes);

// Writes the grid; false with the reason in error (no grid, an error array of another shape,
// the file not written).
bool WriteGridVtk(const CVoxelGrid& grid, const CGridExportInfo& info, const CVtkXmlWriter& writer,
                  const std::string& path, std::string& error);

// What the dialog holds for an export: its unit text and the settings transformation (the
// relative errors of the load once the loaders keep them).
CGridExportInfo GridExportInfo(const std::string& unitText, const CMatrix& transform);

// The window-menu command: asks for the file (owned by parent) and writes the loaded grid; a line
// in the message log says where it went.
void ExportGridVtk(CDialog* parent, const CVoxelGrid& grid, const CGridExportInfo& info,
                   ILoadLog& log);
} // namespace volumira3d
