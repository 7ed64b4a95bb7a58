// What the volume display shows besides the grid: planes and their layers, mode, palette and
// colour table, scale, transparency, settings, thresholds and legend switches. The drawing,
// legend and contour code reads the grid and this object; the main dialog wires its controls
// to it.
#pragma once
#include "common/Vector.h"
#include "volume/model/ColorLUT.h"
#include "volume/model/ColorMapping.h"
#include "volume/model/Matrix.h"
#include "volume/model/VoxelGrid.h"

#include <vector>

namespace volumira3d
{

enum EDisplayMode : int
{
    ColorPlot = 0,
    SmoothColorPlot,
    ContourPlot,
    SurfacePlot,
    BoundaryColorPlot,
    PointCloud,
    ShadedCloud,
    DisplayModeCount
};
extern const char* const DisplayModeNames[DisplayModeCount];

enum EPlane : int
{
    PlaneXY = 0,
    PlaneYZ,
    PlaneZX,
};
// The axis a plane stands on: XY -> Z, YZ -> X, ZX -> Y; -1 for no plane.
inline int PlaneNormal(int plane)
{
    constexpr int normals[3] = {2, 0, 1};
    return plane >= 0 && plane < 3 ? normals[plane] : -1;
}

struct CThreshold
{
    bool m_Enabled = false;
    double m_Value = -9999;
};

class CDisplayState
{
public:
    static constexpr int LegendIntervals = 21;
    static constexpr int ThresholdCount = 3;

    CDisplayState();
    virtual ~CDisplayState() = default;

    bool AnyPlaneEnabled() const
    {
        return m_PlaneEnabled[0] || m_PlaneEnabled[1] || m_PlaneEnabled[2];
    }
    bool IsLogarithmic() const { return m_ScaleMode == 0; }
    bool IsPointCloud() const
    {
        return m_DisplayMode == PointCloud || m_DisplayMode == ShadedCloud;
    }
    CColorMapping Mapping(const CVoxelGrid& grid) const;
    // The layer a plane shows: its slider position kept inside the grid.
    int Layer(int plane, const CVoxelGrid& grid) const;
    // The 22 boundary values of the legend for the grid's display range.
    std::vector<double> LegendValues(const CVoxelGrid& grid) const;
    // Alpha of every coloured primitive.
    double Alpha() const { return 1.0 - m_Transparency; }

    int m_ScaleMode = 0;                            // 0 logarithmic, 1 linear
    bool m_PlaneEnabled[3] = {false, false, false}; // XY, YZ, ZX
    // Slider positions by plane: the z layer of XY, the x layer of YZ, the y layer of ZX.
    int m_PlaneLayer[3] = {0, 0, 0};
    int m_DisplayMode = ColorPlot;
    int m_Palette = 0;
    double m_Transparency = 0;
    bool m_ShowPlaneBorders = false;
    bool m_EnforceOverlay = false;
    double m_ExtrusionOffset = 0;
    double m_ExtrusionScale = 1;
    CMatrix m_Transform;
    CThreshold m_Thresholds[ThresholdCount];
    CVector m_ThresholdColors[ThresholdCount];
    bool m_EmphasizeThresholds = false;
    bool m_ShowThresholdsInLegend = false;
    bool m_OverlayThresholds = false;
    bool m_NonInterpolatedLegend = false;
    bool m_ExpNotation = true;
    CColorLUT m_LUT;
    // Data probing around the crossing point: the "Cell" item (0..7 a voxel, 8 "Average 8",
    // 9 "Arbitrary avg.") and the voxel counts of the arbitrary box on either side.
    bool m_DataProbing = false;
    int m_ProbeCell = 0;
    CIndex3 m_AvgMinusDelta{1, 1, 1};
    CIndex3 m_AvgPlusDelta{1, 1, 1};
};

// The n + 1 boundary values of n intervals of [min, max], evenly spaced in the scale.
std::vector<double> LegendBoundaries(double min, double max, int n, bool logarithmic);
} // namespace volumira3d
