// The track store as a VTK PolyData file: one polyline per track with its times as point data
// and its type, type name index, energy and energy group as cell data.
#pragma once
#include "common/VtkXmlWriter.h"

#include <string>

namespace trakor3d
{
class CParticleDataReader;
class CTrakor3DDlg;

enum class ETrackSelection
{
    All,   // every loaded track, whatever is switched on
    Shown, // the tracks of enabled groups whose type is checked
};

// Writes the selected tracks; false with the reason in message. Tracks of fewer than two points
// have no line to draw and are left out: message then says how many.
bool WriteTracksVtk(const CParticleDataReader& store, ETrackSelection selection,
                    const CVtkXmlWriter& writer, const std::string& path, std::string& message);

// The window-menu commands: asks for the file and writes the tracks.
void ExportTracksVtk(CTrakor3DDlg& dlg, const CParticleDataReader& store,
                     ETrackSelection selection);
} // namespace trakor3d
