// Every file reader of the project, fed one fuzz input at a time. A reader that joins the
// project adds its entry here; `./run fuzz` and the smoke run of `./run test` find it.
#include "fuzz/FuzzTarget.h"

#include "cloud/IsodumpReader.h"
#include "cloud/MCNPXReader.h"
#include "cloud/McplReader.h"
#include "cloud/ParticleDataReader.h"
#include "common/ColorLUTFile.h"
#include "common/ColorTable.h"
#include "converter/RecordFormats.h"
#include "geometry/FlukaGeometryReader.h"
#include "geometry/McnpGeometryReader.h"
#include "geometry/PhitsInput.h"
#include "geometry/Section.h"
#include "isotopes/IsodumpReader.h"
#include "isotopes/Isotope.h"
#include "isotopes/NucVecCollectorReader.h"
#include "tracks/ParticleDataReader.h"
#include "volume/FuzzEntry.h"
#include "volume/expressions/PropTreeExpression.h"
#include "volume/loading/FormatDispatch.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>

namespace
{
using volumira3d::CVolumeLoader;

// Whatever was read, the VRML written from it must be readable: every number a finite float.
void CheckVrml(const std::string& vrml)
{
    std::istringstream in(vrml);
    for (std::string token; in >> token;)
    {
        char* end = nullptr;
        const double v = std::strtod(token.c_str(), &end);
        const bool number = end != token.c_str() && (*end == '\0' || *end == ',');
        if (number && !(std::abs(v) <= std::numeric_limits<float>::max())) std::abort();
        if (token.find("nan") != std::string::npos || token.find("inf") != std::string::npos)
            std::abort();
    }
}

bool Finite(const CVector& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// A load that reports success has stored what the header announced and nothing invented: a
// grid of the announced shape, finite values, finite positive widths at a finite origin.
void CheckLoadedGrid(const volumira3d::CVoxelGrid& grid)
{
    if (!grid.HasGrid()) std::abort();
    if (grid.VoxelCount() != std::int64_t(grid.m_NrXBins) * grid.m_NrYBins * grid.m_NrZBins)
        std::abort();
    for (int axis = 0; axis < 3; ++axis)
        if (!std::isfinite(grid.m_GridMin[axis]) || !(grid.m_BinWidth[axis] > 0) ||
            !std::isfinite(grid.m_BinWidth[axis]))
            std::abort();
    const double* values = grid.m_Voxels.data();
    for (std::int64_t i = 0; i < grid.VoxelCount(); ++i)
        if (!std::isfinite(values[i])) std::abort();
}

// A few bytes may announce a grid of a gigabyte, which the loaders rightly allocate when asked;
// here the question (answered No) comes above 4 MiB, so that an input's time goes to reading.
constexpr double FuzzLargeGridBytes = 4.0 * 1024 * 1024;

// A format's name as a template argument, so that each target is a plain function.
template <size_t N> struct CFormatName
{
    constexpr CFormatName(const char (&name)[N]) { std::copy_n(name, N, m_Text); }
    char m_Text[N];
};

template <CFormatName Name> void LoadVolume(const CFuzzInput& in)
{
    volumira3d::CVoxelGrid grid;
    volumira3d::CStringLog log;
    CVolumeLoader loader(grid, log);
    loader.SetLargeGridBytes(FuzzLargeGridBytes);
    if (loader.Load(Name.m_Text, in.m_Path)) CheckLoadedGrid(grid);
}

void ReadTracks(const CFuzzInput& in)
{
    std::ostringstream err;
    trakor3d::CParticleDataReader store;
    store.SetErrorStream(err);
    store.ReadFile(in.m_Path, nullptr);
    std::ostringstream vrml;
    store.ExportVRML(vrml);
    CheckVrml(vrml.str());
}

void ReadColorTable(const CFuzzInput& in)
{
    ColorLUTFile::Load(in.m_Path, CColorTable::Instance());
    CColorTable::Instance().ResetToDefaults();
}

// Both passes of the converter read the file from its start.
void ReadCollisionFile(const CFuzzInput& in)
{
    trakor::CRecognition recognition = trakor::RecogniseRecordFile(in.m_Path);
    if (!recognition.m_Reader) return;
    for (int pass = 0; pass < 2 && recognition.m_Reader->Rewind(); ++pass)
    {
        using ERecord = trakor::CRecordReader::ERecord;
        ERecord record;
        do
            record = recognition.m_Reader->Next();
        while (record != ERecord::End && record != ERecord::Corrupt);
    }
}

template <class TReader> void ReadCloud(const CFuzzInput& in)
{
    TReader reader;
    if (reader.Read(in.m_Path, nullptr))
        for (const auto& [type, particle] : reader.AllParticles())
            if (!Finite(particle->m_Position) || !Finite(particle->m_Direction) ||
                !std::isfinite(particle->m_Energy) || !std::isfinite(particle->m_Weight))
                std::abort();
    std::ostringstream vrml;
    reader.ExportVRML(vrml);
    CheckVrml(vrml.str());
}

// Emitters stand at finite places; a weight is finite or, in the collector format, the missing
// weight "?" (NaN), never infinite.
template <class TReader> void ReadNuclides(const CFuzzInput& in)
{
    std::istringstream stream{std::string(in.m_Bytes)};
    TReader reader;
    if (!reader.ReadStream(stream, in.m_Bytes.size(), nullptr)) return;
    for (const auto& [za, emitter] : reader.AllEmitters())
        if (!Finite(emitter->m_Position) || std::isinf(emitter->m_Weight)) std::abort();
}

void EvaluateExpression(const CFuzzInput& in)
{
    std::string error;
    volumira3d::EvaluateExpression(std::string(in.m_Bytes), &error);
}
// A geometry that loads must classify and trace without fault; its boxes hold no NaN.
void ExerciseGeometry(const CGeometry& geometry)
{
    for (const CRegion& r : geometry.m_Regions)
        for (int a = 0; a < 3; ++a)
            if (std::isnan(r.m_Box.m_Lo[a]) || std::isnan(r.m_Box.m_Hi[a])) std::abort();
    int regions[2];
    for (const CVector& p : {CVector(0, 0, 0), CVector(1, -2, 3), CVector(1e6, 0, -1e6)})
        geometry.RegionsAt(p, regions, 2);
    CSectionPlane plane;
    plane.m_Lo[0] = plane.m_Lo[1] = -10;
    plane.m_Hi[0] = plane.m_Hi[1] = 10;
    TraceSection(geometry, plane, 8);
}

template <typename TReader> void ReadGeometryWith(const CFuzzInput& in)
{
    CGeometry geometry;
    TReader reader;
    if (reader.Read(in.m_Path, geometry)) ExerciseGeometry(geometry);
}

void ReadPhits(const CFuzzInput& in)
{
    CGeometry geometry;
    std::vector<std::string> errors, notes;
    if (ReadPhitsGeometry(in.m_Path, geometry, errors, notes)) ExerciseGeometry(geometry);
}
} // namespace

const CFuzzTarget FuzzTargets[] = {
    {"tracks", "tracks/tests/e2e/*.tracks examples/*.tracks", ReadTracks},
    {"colortable", "fuzz/seeds/colortable/*", ReadColorTable},
    {"xyz", "volume/tests/data/*.xyz volume/tests/data/bad/*.xyz", LoadVolume<"XYZ voxel">},
    {"fluka_cartesian",
     "volume/tests/data/*.usrbin volume/tests/data/*.avg volume/tests/data/*.lis "
     "volume/tests/data/*.txt volume/tests/data/*.ascii volume/tests/data/bad/*.usrbin "
     "$REALDATA/fluka_usrbin_ascii/*",
     LoadVolume<"FLUKA cartesian USRBIN">},
    {"fluka_rz", "volume/tests/data/*.rz volume/tests/data/bad/*.rz",
     LoadVolume<"FLUKA R-Z USRBIN">},
    {"fluka_rphiz", "volume/tests/data/*.rpz", LoadVolume<"FLUKA R-Phi-Z USRBIN">},
    {"fluka_binary", "fuzz/seeds/fluka_binary/* $REALDATA/fluka_usrbin_binary/*fort*",
     LoadVolume<"FLUKA binary USRBIN">},
    {"fluka_voxel", "fuzz/seeds/fluka_voxel/*", LoadVolume<"FLUKA voxel">},
    {"mcnpx_gridconv", "volume/tests/data/*.mcnpx", LoadVolume<"MCNPX gridconv">},
    {"phits", "$REALDATA/phits/*.out", LoadVolume<"PHITS">},
    {"meshtal", "volume/tests/data/*.meshtal $REALDATA/mcnp_meshtal/*meshtal*",
     LoadVolume<"MCNP meshtal">},
    {"fluka_average", "volume/tests/data/*.usrbin volume/tests/data/*.lis",
     [](const CFuzzInput& in)
     {
         volumira3d::AverageBytes(reinterpret_cast<const std::uint8_t*>(in.m_Bytes.data()),
                                  in.m_Bytes.size());
     }},
    {"volume_identify",
     "volume/tests/data/*.avg volume/tests/data/*.rz volume/tests/data/*.rpz "
     "$REALDATA/fluka_usrbin_ascii/* $REALDATA/fluka_usrbin_binary/* $REALDATA/phits/*.out "
     "$REALDATA/mcnp_meshtal/pyne_r2s_meshtal_2x2x1",
     [](const CFuzzInput& in) { volumira3d::IdentifyContent(in.m_Path); }},
    {"collision_file", "fuzz/seeds/collision/*", ReadCollisionFile},
    {"expression", "fuzz/seeds/expression/*", EvaluateExpression},
    {"cloud_own", "cloud/tests/data/*.dat cloud/tests/bad/*.dat",
     ReadCloud<nebulo3d::CParticleDataReader>},
    {"cloud_mcnpx", "cloud/tests/data/*.mout cloud/tests/bad/*.mout",
     ReadCloud<nebulo3d::CMCNPXReader>},
    {"cloud_isodump", "cloud/tests/data/*.out cloud/tests/bad/*.out",
     ReadCloud<nebulo3d::CIsodumpReader>},
    {"cloud_mcpl", "cloud/tests/data/*.mcpl cloud/tests/data/*.mcpl.gz fuzz/seeds/cloud_mcpl/*",
     ReadCloud<nebulo3d::CMcplReader>},
    {"nuclide_collector",
     "isotopes/tests/data/*.dat isotopes/tests/bad/*.dat isotopes/tests/e2e/*.dat",
     ReadNuclides<nuclira3d::CNucVecCollectorReader>},
    {"nuclide_isodump", "isotopes/tests/data/*.out isotopes/tests/bad/*.out",
     ReadNuclides<nuclira3d::CIsodumpReader>},
    {"fluka_geometry",
     "geometry/tests/data/*.inp $REALDATA/geometry/*.inp $REALDATA/fluka_usrbin_binary/*.inp",
     ReadGeometryWith<CFlukaGeometryReader>},
    {"mcnp_geometry",
     "geometry/tests/data/*.i $REALDATA/mcnp_meshtal/*inp* $REALDATA/mcnp_meshtal/mcnptools_inpgen",
     ReadGeometryWith<CMcnpGeometryReader>},
    {"phits_geometry", "geometry/tests/data/phits*.inp $REALDATA/phits/*.inp", ReadPhits},
    {nullptr, nullptr, nullptr},
};
