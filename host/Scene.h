// What the host view draws: its background, its own geometry (solid boxes standing in for the
// editor's model) and then the plug-ins, through the camera.
#pragma once
#include "host/Camera.h"
#include "host/Host.h"

#include <vector>

class CScene
{
public:
    struct CSolid
    {
        CVector m_Min, m_Max, m_Color;
    };

    explicit CScene(CHost& host) : m_Host(host) {}

    CCamera& Camera() { return m_Camera; }
    void AddSolid(const CSolid& solid) { m_Solids.push_back(solid); }
    void SetBackground(const CVector& rgb) { m_Background = rgb; }
    // Fits the camera to the plug-ins' boxes and the solids; false when there is nothing.
    bool FitCamera();
    void Draw(int width, int height, HDC dc, HGLRC rc);

private:
    void DrawSolid(const CSolid& solid) const;

    CHost& m_Host;
    CCamera m_Camera;
    std::vector<CSolid> m_Solids;
    CVector m_Background{0.12, 0.12, 0.16};
};
