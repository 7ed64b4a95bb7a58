// The host's geometry verbs: a geometry input to show, its section planes, the regions at a
// point, region volumes and the check for undefined space and overlaps.
#include "host/HostVerbs.h"

#include "geometry/RegionVolume.h"

namespace
{
bool NeedGeometry(CBatchRunner& r, const CScriptCommand& cmd)
{
    return r.Host().Geometry().Loaded() || r.Fail(cmd, "no geometry is loaded");
}

bool Geometry(CBatchRunner& r, const CScriptCommand& cmd)
{
    std::vector<std::string> errors, notes;
    CHostGeometry& geometry = r.Host().Geometry();
    if (!geometry.Load(cmd.m_Args[1], errors, notes))
    {
        std::string text;
        for (const std::string& e : errors)
            text += (text.empty() ? "" : "\n") + e;
        return r.Fail(cmd, text);
    }
    r.Out() << "geometry: " << geometry.Model().Summary() << "\n";
    for (const std::string& note : notes)
        r.Out() << "geometry: " << note << "\n";
    r.ViewChanged();
    return true;
}

bool Section(CBatchRunner& r, const CScriptCommand& cmd)
{
    const std::string& axis = cmd.m_Args[1];
    if (axis != "x" && axis != "y" && axis != "z") return r.Wrong(cmd, "the axis is x, y or z");
    if (!NeedGeometry(r, cmd)) return false;
    const int a = axis[0] - 'x';
    CHostGeometry& geometry = r.Host().Geometry();
    double position = geometry.Section(a).m_Position;
    const bool on = cmd.m_Args[2] != "off";
    if (on && !r.Double(cmd, 2, position)) return false;
    geometry.SetSection(a, on, position);
    r.Out() << "section " << axis << " "
            << (on ? NumberText(position) + ": " + std::to_string(geometry.Outline(a).size()) +
                         " segments"
                   : std::string("off"))
            << "\n";
    r.ViewChanged();
    return true;
}

bool Region(CBatchRunner& r, const CScriptCommand& cmd)
{
    CVector p;
    if (!r.Double(cmd, 1, p.x) || !r.Double(cmd, 2, p.y) || !r.Double(cmd, 3, p.z) ||
        !NeedGeometry(r, cmd))
        return false;
    const CGeometry& g = r.Host().Geometry().Model();
    int found[2];
    const int n = g.RegionsAt(p, found, 2);
    r.Out() << "region " << NumberText(p.x) << " " << NumberText(p.y) << " " << NumberText(p.z)
            << ": ";
    if (n == 0)
        r.Out() << (g.IsOutside(p) ? "outside" : "undefined") << "\n";
    else if (n == 1)
        r.Out() << g.m_Regions[found[0]].m_Name << " " << g.MaterialName(found[0]) << "\n";
    else
        r.Out() << "overlap " << g.m_Regions[found[0]].m_Name << " " << g.m_Regions[found[1]].m_Name
                << "\n";
    return true;
}

bool RegionVolume(CBatchRunner& r, const CScriptCommand& cmd)
{
    int points = 0;
    if (!NeedGeometry(r, cmd) || !r.Int(cmd, 2, points)) return false;
    const CGeometry& g = r.Host().Geometry().Model();
    const int region = g.RegionIndex(cmd.m_Args[1]);
    if (region < 0) return r.Fail(cmd, "no region " + cmd.m_Args[1]);
    CVolumeEstimate e;
    if (points <= 0) return r.Wrong(cmd, "give a positive number of points");
    if (!EstimateRegionVolume(g, region, points, 1, e))
        return r.Fail(cmd, "the region " + cmd.m_Args[1] + " is unbounded: it has no volume");
    r.Out() << "regionvolume " << cmd.m_Args[1] << ": " << VolumeText(e) << "\n";
    return true;
}

bool Check(CBatchRunner& r, const CScriptCommand& cmd)
{
    int cells = 50;
    if (!NeedGeometry(r, cmd) || (cmd.m_Args.size() > 1 && !r.Int(cmd, 1, cells))) return false;
    if (cells < 1 || cells > 1000) return r.Wrong(cmd, "give 1 to 1000 cells per axis");
    const CGeometry& g = r.Host().Geometry().Model();
    const CBox box = g.InnerBounds();
    if (box.IsEmpty() || !box.IsFinite()) return r.Fail(cmd, NoExtentMessage);
    const auto problems = CheckGeometry(g, box, cells);
    for (const CGeometryProblem& p : problems)
        r.Out() << "check: " << ProblemText(g, p) << "\n";
    if (problems.empty()) r.Out() << "check: " << NoProblemText(cells) << "\n";
    return true;
}

const CScriptVerbRegistration registration({
    HostVerb("geometry", "geometry PATH", {1, 1}, Geometry),
    HostVerb("section", "section x|y|z POS|off", {2, 2}, Section),
    HostVerb("region", "region X Y Z", {3, 3}, Region),
    HostVerb("regionvolume", "regionvolume NAME N", {2, 2}, RegionVolume),
    HostVerb("geometrycheck", "geometrycheck [CELLS]", {0, 1}, Check),
});
} // namespace
