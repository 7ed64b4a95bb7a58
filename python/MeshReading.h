// A volume file read for a script: the plug-in's own loader with its choices given as arguments,
// nothing shown and nothing asked. The values stay in the grid's one block for numpy to take.
#pragma once
#include "volume/averaging/FlukaAverager.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/VoxelGrid.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tessaron
{
struct CMeshRequest
{
    std::string m_Path;
    std::string m_Format; // a name of the format table; empty: by name, then by content
    volumira3d::CLoadChoices m_Choices;
    double m_Normalisation = 1.0;
};

struct CMeshResult
{
    bool m_Ok = false;
    std::string m_Error;  // the reader's text when not ok
    bool m_Large = false; // refused as a large grid (allow_large would load it)
    std::string m_Format; // the reader that read it
    bool m_Cylindrical = false;
    std::unique_ptr<volumira3d::CVoxelArray> m_Values; // cartesian values, x fastest
    std::vector<double> m_CylinderValues;              // r fastest, then phi, then z
    std::vector<double> m_Edges[3];                    // x y z, or r phi z
    volumira3d::CCylinderMesh m_Mesh; // the cylinder's frame (its edges are m_Edges)
    bool m_OfferedErrors = false;     // the file has relative errors
    std::vector<std::pair<std::string, std::string>> m_Header;
    std::vector<std::pair<std::string, int>> m_Log; // lines with their icon
    std::vector<std::string> m_Warnings;            // warning and error lines, message boxes
};

// The volume formats' names, in the table's order.
std::vector<std::string> MeshFormatNames();
// The format read_mesh would take for a file (by name, then content); empty when none.
std::string IdentifyMeshFormat(const std::string& path);
CMeshResult ReadMesh(const CMeshRequest& request);

// The averaging tool's run over FLUKA text files, writing result (and its error files).
struct CFileOperation
{
    bool m_Ok = false;
    std::string m_Error; // the last error line of the log
    std::vector<std::string> m_Log;
};
CFileOperation RunAverager(const std::vector<volumira3d::CAverageInput>& inputs,
                           const std::string& result, const volumira3d::CAverageOptions& options);
} // namespace tessaron
