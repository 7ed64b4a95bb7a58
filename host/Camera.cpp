#include "host/Camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
double Rad(double deg)
{
    return deg * std::numbers::pi / 180.0;
}

CVector Corner(const CVector& min, const CVector& max, int i)
{
    return {i & 1 ? max.x : min.x, i & 2 ? max.y : min.y, i & 4 ? max.z : min.z};
}
} // namespace

// The distance is the smallest at which every corner of the box lies inside the view shrunk by
// the margin; a sphere around the box would leave most of the frame empty.
void CCamera::FitTo(const CVector& min, const CVector& max, double aspect)
{
    m_Target = (min + max) * 0.5;
    m_Radius = std::max((max - min).Length() * 0.5, 1e-6);
    const double tanY = std::tan(Rad(FovYDeg / 2));
    const double tanX = tanY * std::max(aspect, 1e-3);
    const CVector f = Forward(), u = Up(), r = Right();
    // A point or a line seen end-on still gets a view of some extent around it.
    double need = m_Radius * 0.05 / tanY;
    for (int i = 0; i < 8; ++i)
    {
        const CVector c = Corner(min, max, i) - m_Target;
        const double across =
            std::max(std::abs(CVector::Dot(c, u)) / tanY, std::abs(CVector::Dot(c, r)) / tanX);
        const double depth = m_Projection == EProjection::Perspective ? -CVector::Dot(c, f) : 0;
        need = std::max(need, depth + across * FitMargin);
    }
    m_Distance = need;
}

void CCamera::Orbit(double dYawDeg, double dPitchDeg)
{
    SetAngles(m_Yaw + dYawDeg, m_Pitch + dPitchDeg);
}

void CCamera::SetAngles(double yawDeg, double pitchDeg)
{
    m_Yaw = std::fmod(yawDeg, 360.0);
    m_Pitch = std::clamp(pitchDeg, -89.9, 89.9);
}

bool CCamera::SetView(const std::string& name)
{
    static const struct
    {
        const char* m_Name;
        double m_Yaw, m_Pitch;
    } views[] = {{"z", 0, 0},
                 {"-z", 180, 0},
                 {"x", 90, 0},
                 {"-x", -90, 0},
                 {"y", 0, 90},
                 {"-y", 0, -90},
                 {"iso", DefaultYaw, DefaultPitch}};
    for (const auto& v : views)
        if (name == v.m_Name)
        {
            SetAngles(v.m_Yaw, v.m_Pitch);
            return true;
        }
    return false;
}

void CCamera::Zoom(double factor)
{
    if (factor > 0) m_Distance = std::max(m_Distance / factor, m_Radius * 1e-4);
}

CVector CCamera::Forward() const
{
    const double y = Rad(m_Yaw), p = Rad(m_Pitch);
    return {-std::sin(y) * std::cos(p), -std::sin(p), -std::cos(y) * std::cos(p)};
}

CVector CCamera::Up() const
{
    const double y = Rad(m_Yaw), p = Rad(m_Pitch);
    return {-std::sin(y) * std::sin(p), std::cos(p), -std::cos(y) * std::sin(p)};
}

CVector CCamera::Right() const
{
    const CVector f = Forward(), u = Up();
    return {f.y * u.z - f.z * u.y, f.z * u.x - f.x * u.z, f.x * u.y - f.y * u.x};
}

double CCamera::UnitsPerPixel(int viewHeight) const
{
    return 2.0 * m_Distance * std::tan(Rad(FovYDeg / 2)) / std::max(viewHeight, 1);
}

void CCamera::Pan(double dxPixels, double dyPixels, int viewHeight)
{
    const double unitsPerPixel = UnitsPerPixel(viewHeight);
    m_Target = m_Target - Right() * (dxPixels * unitsPerPixel) + Up() * (dyPixels * unitsPerPixel);
}

void CCamera::Apply(int width, int height) const
{
    const double aspect = double(std::max(width, 1)) / std::max(height, 1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double nearPlane = std::max(m_Distance - m_Radius * 4, m_Distance * 1e-3);
    const double farPlane = m_Distance + m_Radius * 4;
    const double halfHeight = m_Distance * std::tan(Rad(FovYDeg / 2));
    if (m_Projection == EProjection::Perspective)
        gluPerspective(FovYDeg, aspect, nearPlane, farPlane);
    else
        glOrtho(-halfHeight * aspect, halfHeight * aspect, -halfHeight, halfHeight, nearPlane,
                farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const CVector eye = m_Target - Forward() * m_Distance, up = Up();
    gluLookAt(eye.x, eye.y, eye.z, m_Target.x, m_Target.y, m_Target.z, up.x, up.y, up.z);
}
