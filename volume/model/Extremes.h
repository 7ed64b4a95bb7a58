// The smallest and largest non-zero value of values met in any order, each with the first place
// in file order where it occurs. Entered into the grid's statistics they give what storing the
// values one by one in file order gives, so that threads can store values side by side.
#pragma once
#include "volume/model/VoxelGrid.h"

#include <limits>

namespace volumira3d
{
class CExtremes
{
public:
    void Add(double value, long long order, int ix, int iy, int iz)
    {
        if (value == 0) return;
        if (value < m_Min.m_Value || (value == m_Min.m_Value && order < m_Min.m_Order))
            m_Min = {value, order, {ix, iy, iz}};
        if (value > m_Max.m_Value || (value == m_Max.m_Value && order < m_Max.m_Order))
            m_Max = {value, order, {ix, iy, iz}};
    }
    void Merge(const CExtremes& other)
    {
        for (const CPlace& place : {other.m_Min, other.m_Max})
            if (place.m_Order >= 0)
                Add(place.m_Value, place.m_Order, place.m_Voxel[0], place.m_Voxel[1],
                    place.m_Voxel[2]);
    }
    // Both extremes through the statistics: a tie keeps the place the grid holds.
    void EnterInto(CVoxelGrid& grid) const
    {
        for (const CPlace& place : {m_Min, m_Max})
            if (place.m_Order >= 0)
                grid.UpdateStatistics(place.m_Value, place.m_Voxel[0], place.m_Voxel[1],
                                      place.m_Voxel[2]);
    }

private:
    struct CPlace
    {
        double m_Value;
        long long m_Order;
        int m_Voxel[3];
    };
    CPlace m_Min{std::numeric_limits<double>::infinity(), -1, {0, 0, 0}};
    CPlace m_Max{-std::numeric_limits<double>::infinity(), -1, {0, 0, 0}};
};
} // namespace volumira3d
