#include "tracks/TrackVtkExport.h"

#include "common/VtkExport.h"
#include "platform/UiServices.h"
#include "tracks/ParticleDataReader.h"
#include "tracks/Trakor3DDlg.h"

#include <vector>

namespace trakor3d
{
namespace
{
struct CTrackRef
{
    const CParticle* m_pParticle;
    std::int32_t m_Group;
};

// The tracks to write in group and type order, as they are drawn; counts those left out for
// having fewer than two points (no line; VTK refuses such polylines).
std::vector<CTrackRef> SelectTracks(const CParticleDataReader& store, ETrackSelection selection,
                                    std::size_t& empty)
{
    std::vector<CTrackRef> tracks;
    empty = 0;
    for (std::size_t g = 0; g < store.m_Particles.size(); ++g)
    {
        const bool groupShown =
            g < store.m_EnergyGroups.size() && store.m_EnergyGroups[g].m_Enabled;
        for (const auto& [type, particle] : store.m_Particles[g])
        {
            if (selection == ETrackSelection::Shown && !(groupShown && particle.m_Visible))
                continue;
            if (particle.m_Points.size() < 2)
                ++empty;
            else
                tracks.push_back({&particle, std::int32_t(g)});
        }
    }
    return tracks;
}

std::string NothingMessage(ETrackSelection selection)
{
    return selection == ETrackSelection::Shown ? "No tracks are shown; nothing was exported."
                                               : "No tracks are loaded; nothing was exported.";
}

// The bounds of every energy group (GeV), so the group numbers of the cells can be read.
CVtkArray GroupBounds(const CParticleDataReader& store)
{
    return {"energy group bounds", EVtkScalar::Float64, 2, store.m_EnergyGroups.size(),
            [&store](CVtkSink& sink)
            {
                for (const CEnergyGroup& group : store.m_EnergyGroups)
                {
                    const double bounds[2] = {group.m_Lower, group.m_Upper};
                    sink.Put(bounds, 2);
                }
            }};
}

// A cell array with one value per track.
template <class T, class F>
CVtkArray PerTrack(const std::string& name, EVtkScalar type, const std::vector<CTrackRef>& tracks,
                   F value)
{
    return {name, type, 1, tracks.size(),
            [&tracks, value](CVtkSink& sink)
            {
                for (const CTrackRef& track : tracks)
                    sink.Put(T(value(track)));
            }};
}

// A point array over the points of every track, in track order.
template <class F>
CVtkArray PerPoint(const std::string& name, int components, std::uint64_t points,
                   const std::vector<CTrackRef>& tracks, F put)
{
    return {name, EVtkScalar::Float64, components, points,
            [&tracks, put](CVtkSink& sink)
            {
                for (const CTrackRef& track : tracks)
                    for (const CSegment& point : track.m_pParticle->m_Points)
                        put(sink, point);
            }};
}
} // namespace

bool WriteTracksVtk(const CParticleDataReader& store, ETrackSelection selection,
                    const CVtkXmlWriter& writer, const std::string& path, std::string& message)
{
    std::size_t empty = 0;
    const std::vector<CTrackRef> tracks = SelectTracks(store, selection, empty);
    if (tracks.empty())
    {
        message = NothingMessage(selection);
        return false;
    }
    std::uint64_t points = 0;
    CVtkTypeNames names;
    for (const CTrackRef& track : tracks)
    {
        points += track.m_pParticle->m_Points.size();
        names.Add(track.m_pParticle->m_Type);
    }
    CVtkPolyData poly;
    poly.m_CellKind = CVtkPolyData::ECells::Lines;
    poly.m_Points = PerPoint("Points", 3, points, tracks,
                             [](CVtkSink& sink, const CSegment& p)
                             {
                                 const double xyz[3] = {p.x, p.y, p.z};
                                 sink.Put(xyz, 3);
                             });
    poly.m_CellOffsets = {"offsets", EVtkScalar::Int64, 1, tracks.size(),
                          [&tracks](CVtkSink& sink)
                          {
                              std::int64_t end = 0;
                              for (const CTrackRef& track : tracks)
                                  sink.Put(end += std::int64_t(track.m_pParticle->m_Points.size()));
                          }};
    poly.m_PointData.push_back(PerPoint("time", 1, points, tracks,
                                        [](CVtkSink& sink, const CSegment& p) { sink.Put(p.t); }));
    using S = EVtkScalar;
    poly.m_CellData.push_back(PerTrack<std::int32_t>(
        "type", S::Int32, tracks, [](const CTrackRef& t) { return t.m_pParticle->m_Type; }));
    poly.m_CellData.push_back(PerTrack<std::int32_t>(
        "type name index", S::Int32, tracks,
        [&names](const CTrackRef& t) { return names.Index(t.m_pParticle->m_Type); }));
    poly.m_CellData.push_back(PerTrack<double>(
        "energy", S::Float64, tracks, [](const CTrackRef& t) { return t.m_pParticle->m_Energy; }));
    poly.m_CellData.push_back(PerTrack<std::int32_t>("energy group", S::Int32, tracks,
                                                     [](const CTrackRef& t) { return t.m_Group; }));
    poly.m_FieldData.push_back(names.Array());
    poly.m_FieldData.push_back(GroupBounds(store));
    if (!writer.Write(path, poly, message)) return false;
    message.clear();
    if (empty)
        message = std::to_string(empty) + " track(s) with fewer than two points were not exported.";
    return true;
}

void ExportTracksVtk(CTrakor3DDlg& dlg, const CParticleDataReader& store, ETrackSelection selection)
{
    // Nothing is drawn before Visualize is pressed.
    std::size_t empty = 0;
    const bool shown = selection == ETrackSelection::Shown;
    if ((shown && !dlg.m_Visualize) || SelectTracks(store, selection, empty).empty())
    {
        AfxMessageBox(NothingMessage(selection), MB_ICONINFORMATION);
        return;
    }
    ExportVtkWithDialog(
        &dlg, "vtp", VtkPolyFilter,
        [&](const std::string& path, const CVtkXmlWriter& writer, std::string& message)
        { return WriteTracksVtk(store, selection, writer, path, message); });
}
} // namespace trakor3d
