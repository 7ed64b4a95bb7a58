// The particle cloud as a VTK PolyData file: one vertex per particle with its type, type name
// index, energy, weight and direction as point data.
#pragma once
#include "common/VtkXmlWriter.h"

#include <string>

namespace nebulo3d
{
class CParticleDataReader;
class CNebulo3DDlg;

// Writes every particle, shown or not; false with the reason in message.
bool WriteCloudVtk(const CParticleDataReader& cloud, const CVtkXmlWriter& writer,
                   const std::string& path, std::string& message);

// The window-menu command: asks for the file and writes the loaded cloud.
void ExportCloudVtk(CNebulo3DDlg& dlg);
} // namespace nebulo3d
