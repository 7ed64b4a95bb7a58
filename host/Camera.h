// The view's camera: orbits a target point, zooms and pans; fits itself to a box.
#pragma once
#include "common/Vector.h"

#include <string>

class CCamera
{
public:
    enum class EProjection
    {
        Perspective,
        Orthographic
    };

    // An oblique view from above, with z to the right and y up, so that a beam along z shows
    // its length rather than a dot.
    static constexpr double DefaultYaw = -60, DefaultPitch = 25;

    // Centres the box and moves so that its projection fills the view of this aspect ratio
    // (width / height) with a margin on every side, at the current angles and projection.
    void FitTo(const CVector& min, const CVector& max, double aspect);
    void Orbit(double dYawDeg, double dPitchDeg);
    void SetAngles(double yawDeg, double pitchDeg);
    // A named view: "z" looks along -z (x right, y up), "-z" along +z, "x", "-x", "y", "-y" the
    // same for the other axes, "iso" the first oblique view. False for another name.
    bool SetView(const std::string& name);
    void Zoom(double factor); // > 1 moves closer
    void Pan(double dxPixels, double dyPixels, int viewHeight);
    void SetProjection(EProjection p) { m_Projection = p; }
    EProjection Projection() const { return m_Projection; }

    // Sets the GL projection and model-view matrices for a viewport of this size.
    void Apply(int width, int height) const;

    double Yaw() const { return m_Yaw; }
    double Pitch() const { return m_Pitch; }
    // The view's axes in world coordinates: into the screen, up and to the right.
    CVector Forward() const;
    CVector Up() const;
    CVector Right() const;
    // World units (cm) per pixel at the target's depth in a view this many pixels high.
    double UnitsPerPixel(int viewHeight) const;

private:
    CVector m_Target;
    double m_Radius = 100; // half the diagonal of the fitted box
    double m_Distance = 400;
    double m_Yaw = DefaultYaw, m_Pitch = DefaultPitch; // 0, 0 looks along -z, x right, y up
    EProjection m_Projection = EProjection::Perspective;
    static constexpr double FovYDeg = 30;
    static constexpr double FitMargin = 1.15; // the data fills 1/1.15 of the view
};
