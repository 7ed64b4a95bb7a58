// The view's camera: orbits a target point, zooms and pans; fits itself to a box.
#pragma once
#include "common/Vector.h"

class CCamera
{
public:
    enum class EProjection
    {
        Perspective,
        Orthographic
    };

    void FitTo(const CVector& min, const CVector& max);
    void Orbit(double dYawDeg, double dPitchDeg);
    void SetAngles(double yawDeg, double pitchDeg);
    void Zoom(double factor); // > 1 moves closer
    void Pan(double dxPixels, double dyPixels, int viewHeight);
    void SetProjection(EProjection p) { m_Projection = p; }
    EProjection Projection() const { return m_Projection; }

    // Sets the GL projection and model-view matrices for a viewport of this size.
    void Apply(int width, int height) const;

    double Yaw() const { return m_Yaw; }
    double Pitch() const { return m_Pitch; }

private:
    CVector Forward() const;
    CVector Up() const;

    CVector m_Target;
    double m_Radius = 100; // half the diagonal of the fitted box
    double m_Distance = 400;
    double m_Yaw = 0, m_Pitch = 0; // 0, 0 looks along -z with x to the right and y up
    EProjection m_Projection = EProjection::Perspective;
    static constexpr double FovYDeg = 30;
};
