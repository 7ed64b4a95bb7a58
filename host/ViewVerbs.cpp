// The host's view verbs: camera, projection, what the view shows besides the data (axes, bounding
// box, background), stand-in solids, offscreen renders and their pixels, the data's extent and
// VRML export.
#include "host/HostVerbs.h"
#include "platform/SafeWrite.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace
{
constexpr int MaxImageSide = 8192;

bool Box(CBatchRunner& r, const CScriptCommand&)
{
    CVector min, max;
    if (!r.Host().Box(min, max))
    {
        r.Out() << "box empty\n";
        return true;
    }
    r.Out() << "box min " << NumberText(min.x) << " " << NumberText(min.y) << " "
            << NumberText(min.z) << " max " << NumberText(max.x) << " " << NumberText(max.y) << " "
            << NumberText(max.z) << "\n";
    return true;
}

bool Camera(CBatchRunner& r, const CScriptCommand& cmd)
{
    double yaw, pitch;
    if (!r.Double(cmd, 1, yaw) || !r.Double(cmd, 2, pitch)) return false;
    r.Scene().Camera().SetAngles(yaw, pitch);
    r.ViewChanged();
    return true;
}

bool Projection(CBatchRunner& r, const CScriptCommand& cmd)
{
    const std::string& p = cmd.m_Args[1];
    if (p != "ortho" && p != "perspective")
        return r.Wrong(cmd, "projection must be ortho or perspective");
    r.Scene().Camera().SetProjection(p == "ortho" ? CCamera::EProjection::Orthographic
                                                  : CCamera::EProjection::Perspective);
    r.ViewChanged();
    return true;
}

bool OnOff(CBatchRunner& r, const CScriptCommand& cmd, bool& value)
{
    const std::string& v = cmd.m_Args[1];
    if (v != "on" && v != "off") return r.Wrong(cmd, "give on or off");
    value = v == "on";
    r.ViewChanged();
    return true;
}

bool BoundingBox(CBatchRunner& r, const CScriptCommand& cmd)
{
    return OnOff(r, cmd, r.Scene().Settings().m_BoundingBox);
}

bool Axes(CBatchRunner& r, const CScriptCommand& cmd)
{
    return OnOff(r, cmd, r.Scene().Settings().m_Axes);
}

bool Background(CBatchRunner& r, const CScriptCommand& cmd)
{
    double c[3];
    for (size_t i = 0; i < 3; ++i)
        if (!r.Double(cmd, i + 1, c[i])) return false;
    for (double v : c)
        if (!(v >= 0 && v <= 1)) return r.Wrong(cmd, "colour components are 0..1");
    r.Scene().Settings().m_Background = {c[0], c[1], c[2]};
    r.ViewChanged();
    return true;
}

bool Solid(CBatchRunner& r, const CScriptCommand& cmd)
{
    const size_t count = cmd.m_Args.size() - 1;
    if (count != 6 && count != 9) return r.Wrong(cmd, "needs 6 or 9 numbers");
    double v[9] = {0, 0, 0, 0, 0, 0, 0.6, 0.6, 0.6};
    for (size_t i = 0; i < count; ++i)
        if (!r.Double(cmd, i + 1, v[i])) return false;
    r.Scene().AddSolid({CVector::Min({v[0], v[1], v[2]}, {v[3], v[4], v[5]}),
                        CVector::Max({v[0], v[1], v[2]}, {v[3], v[4], v[5]}),
                        {v[6], v[7], v[8]}});
    r.ViewChanged();
    return true;
}

bool Render(CBatchRunner& r, const CScriptCommand& cmd)
{
    int w, h;
    if (!r.Int(cmd, 2, w) || !r.Int(cmd, 3, h)) return false;
    if (w < 1 || h < 1 || w > MaxImageSide || h > MaxImageSide)
        return r.Wrong(cmd, "width and height are 1.." + std::to_string(MaxImageSide));
    if (!r.RenderTo(w, h)) return r.Fail(cmd, "cannot render offscreen");
    std::string error;
    if (!WritePng(cmd.m_Args[1], w, h, r.Image(), &error)) return r.Fail(cmd, error);
    r.Out() << "rendered " << cmd.m_Args[1] << " " << w << "x" << h << "\n";
    return true;
}

bool Pixel(CBatchRunner& r, const CScriptCommand& cmd)
{
    int x, y;
    if (!r.Int(cmd, 1, x) || !r.Int(cmd, 2, y)) return false;
    if (x < 0 || y < 0 || x >= r.ImageWidth() || y >= r.ImageHeight())
        return r.Fail(cmd, "outside the last rendered image");
    const std::uint8_t* p = &r.Image()[(static_cast<size_t>(y) * r.ImageWidth() + x) * 4];
    r.Out() << "pixel " << x << " " << y << ": " << int(p[0]) << " " << int(p[1]) << " "
            << int(p[2]) << "\n";
    return true;
}

bool Count(CBatchRunner& r, const CScriptCommand& cmd)
{
    int c[3], tol = 8;
    for (size_t i = 0; i < 3; ++i)
        if (!r.Int(cmd, i + 1, c[i])) return false;
    if (cmd.m_Args.size() > 4 && !r.Int(cmd, 4, tol)) return false;
    const auto& image = r.Image();
    long n = 0;
    for (size_t i = 0; i + 3 < image.size(); i += 4)
        n += std::abs(image[i] - c[0]) <= tol && std::abs(image[i + 1] - c[1]) <= tol &&
             std::abs(image[i + 2] - c[2]) <= tol;
    r.Out() << "count " << c[0] << " " << c[1] << " " << c[2] << ": " << (n > 0 ? "some" : "none")
            << " (" << n << ")\n";
    return true;
}

bool Vrml(CBatchRunner& r, const CScriptCommand& cmd)
{
    const std::string& path = cmd.m_Args[1];
    CSafeOutput out(path);
    if (!out.IsOpen()) return r.Fail(cmd, out.Error());
    r.Host().ExportVRML(out.Stream());
    if (!out.Commit()) return r.Fail(cmd, out.Error());
    r.Out() << "exported " << path << "\n";
    return true;
}

bool View(CBatchRunner& r, const CScriptCommand& cmd)
{
    if (!r.Scene().Camera().SetView(cmd.m_Args[1]))
        return r.Wrong(cmd, "the view is x, y, z, -x, -y, -z or iso");
    r.Scene().FitCamera(r.ImageWidth() > 0 ? r.ImageWidth() : 800,
                        r.ImageHeight() > 0 ? r.ImageHeight() : 600);
    r.ViewChanged();
    return true;
}

bool Legend(CBatchRunner& r, const CScriptCommand& cmd)
{
    bool show = r.Host().ShowLegend();
    if (!OnOff(r, cmd, show)) return false;
    r.Host().SetShowLegend(show);
    r.Host().RedrawView();
    return true;
}

bool Title(CBatchRunner& r, const CScriptCommand& cmd)
{
    std::string title;
    for (size_t i = 1; i < cmd.m_Args.size(); ++i)
        title += (i > 1 ? " " : "") + cmd.m_Args[i];
    r.Scene().SetTitle(title);
    r.ViewChanged();
    return true;
}

const CScriptVerbRegistration registration({
    HostVerb("box", "box", {0, 0}, Box),
    HostVerb("camera", "camera YAW PITCH", {2, 2}, Camera),
    HostVerb("projection", "projection ortho|perspective", {1, 1}, Projection),
    HostVerb("view", "view x|y|z|-x|-y|-z|iso", {1, 1}, View),
    HostVerb("legend", "legend on|off", {1, 1}, Legend),
    HostVerb("title", "title [TEXT ...]", {0, 64}, Title),
    HostVerb("boundingbox", "boundingbox on|off", {1, 1}, BoundingBox),
    HostVerb("axes", "axes on|off", {1, 1}, Axes),
    HostVerb("background", "background R G B", {3, 3}, Background),
    HostVerb("solid", "solid X0 Y0 Z0 X1 Y1 Z1 [R G B]", {6, 9}, Solid),
    HostVerb("render", "render PATH.png W H", {3, 3}, Render),
    HostVerb("pixel", "pixel X Y", {2, 2}, Pixel),
    HostVerb("count", "count R G B [TOL]", {3, 4}, Count),
    HostVerb("vrml", "vrml PATH.wrl", {1, 1}, Vrml),
});
} // namespace
