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
} // namespace

void CCamera::FitTo(const CVector& min, const CVector& max)
{
    m_Target = (min + max) * 0.5;
    m_Radius = std::max((max - min).Length() * 0.5, 1e-6);
    // Far enough that a sphere around the box fills the field of view with a small margin.
    m_Distance = m_Radius * 1.05 / std::sin(Rad(FovYDeg / 2));
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

void CCamera::Pan(double dxPixels, double dyPixels, int viewHeight)
{
    const double unitsPerPixel =
        2.0 * m_Distance * std::tan(Rad(FovYDeg / 2)) / std::max(viewHeight, 1);
    const CVector f = Forward(), u = Up();
    const CVector right(f.y * u.z - f.z * u.y, f.z * u.x - f.x * u.z, f.x * u.y - f.y * u.x);
    m_Target = m_Target - right * (dxPixels * unitsPerPixel) + u * (dyPixels * unitsPerPixel);
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
