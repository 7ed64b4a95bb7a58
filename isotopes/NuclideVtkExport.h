// The loaded emitters as a VTK PolyData file: one vertex per emitter with its atomic number Z,
// mass number A and weight as point data.
#pragma once
#include "common/VtkXmlWriter.h"

#include <string>

namespace nuclira3d
{
class CIsotopeDataReader;
class CNuclira3DDlg;

// Writes every emitter, shown or not; false with the reason in message.
bool WriteNuclideVtk(const CIsotopeDataReader& nuclides, const CVtkXmlWriter& writer,
                     const std::string& path, std::string& message);

// The window-menu command: asks for the file and writes the loaded emitters.
void ExportNuclideVtk(CNuclira3DDlg& dlg);
} // namespace nuclira3d
