// What the host view draws: its background, its own geometry (solid boxes standing in for the
// editor's model, and the section outlines of a geometry input), the plug-ins through the camera,
// the data's bounding box when asked for, and last the orientation aids.
#pragma once
#include "host/Camera.h"
#include "host/Host.h"
#include "host/ViewSettings.h"

#include <string>
#include <vector>

class CScene
{
public:
    struct CSolid
    {
        CVector m_Min, m_Max, m_Color;
    };

    static constexpr float BoxColor[3] = {1, 1, 1};

    explicit CScene(CHost& host) : m_Host(host) {}

    CCamera& Camera() { return m_Camera; }
    CViewSettings& Settings() { return m_Settings; }
    void AddSolid(const CSolid& solid) { m_Solids.push_back(solid); }
    // A line of text over the top of the view (a figure's title); empty: none.
    void SetTitle(const std::string& title) { m_Title = title; }
    // The union of the plug-ins' boxes and the solids; false when there is nothing.
    bool DataBox(CVector& min, CVector& max) const;
    // Fits the camera to the data for a view of this size; false when there is nothing.
    bool FitCamera(int width, int height);
    void Draw(int width, int height, HDC dc, HGLRC rc);

private:
    void DrawBackground() const;
    void DrawSolid(const CSolid& solid) const;
    void DrawBoundingBox() const;
    void DrawGeometry() const;

    CHost& m_Host;
    CCamera m_Camera;
    CViewSettings m_Settings;
    std::vector<CSolid> m_Solids;
    std::string m_Title;
};
