#include "volume/formats/FlukaXYZAsciiIO.h"

namespace volumira3d
{
void ApplyCartesianHeader(const CFlukaHeader& header, CVoxelIOBase& geometry)
{
    const CFlukaAxis& x = header.m_Axis[0];
    const CFlukaAxis& y = header.m_Axis[1];
    const CFlukaAxis& z = header.m_Axis[2];
    geometry.SetNX(x.m_Bins);
    geometry.SetNY(y.m_Bins);
    geometry.SetNZ(z.m_Bins);
    geometry.SetXRange(x.m_Min, x.m_Max);
    geometry.SetYRange(y.m_Min, y.m_Max);
    geometry.SetZRange(z.m_Min, z.m_Max);
    geometry.SetDX(x.m_Width);
    geometry.SetDY(y.m_Width);
    geometry.SetDZ(z.m_Width);
    geometry.SetOrigin(x.m_Min, y.m_Min, z.m_Min);
}
} // namespace volumira3d
