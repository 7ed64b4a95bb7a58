#include "volume/formats/FlukaRZAsciiReader.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace volumira3d
{
CFlukaRZAsciiReader::CFlukaRZAsciiReader(std::string path) : m_Path(std::move(path)) {}

CFlukaRZAsciiReader::~CFlukaRZAsciiReader() = default;

bool CFlukaRZAsciiReader::Open()
{
    m_Error.clear();
    m_Count = 0;
    if (!m_In.Open(m_Path))
    {
        m_Error = "cannot open " + m_Path;
        return false;
    }
    if (!ReadHeader(m_In))
    {
        m_In.Close();
        return false;
    }
    return true;
}

bool CFlukaRZAsciiReader::ReadValue(double& value)
{
    if (m_In.IsOpen() && m_Count < std::numeric_limits<std::int32_t>::max() && m_In.Extract(value))
    {
        ++m_Count;
        return true;
    }
    m_In.Close();
    return false;
}

void CFlukaRZAsciiReader::ApplyCommon(const CFlukaHeader& header)
{
    const CFlukaAxis& r = header.m_Axis[0];
    const CFlukaAxis& z = header.m_Axis[2];
    SetNR(r.m_Bins);
    SetRRange(r.m_Min, r.m_Max);
    SetDR(r.m_Width);
    SetNZ(z.m_Bins);
    SetZRange(z.m_Min, z.m_Max);
    SetDZ(z.m_Width);
    SetTotalWeight(header.m_TotalWeight);
    SetGenParticle(header.m_GenParticle);
    SetNrOfParticles(header.m_NrOfParticles);
}

bool CFlukaRZAsciiReader::ReadHeader(CTextScanner& in)
{
    CFlukaHeader header;
    if (!ReadFlukaHeader(in, EFlukaBinning::RZ, header, m_Error, m_BinningIndex)) return false;
    ApplyCommon(header);
    SetAxis(header.m_AxisX, header.m_AxisY);
    return true;
}

bool CFlukaRPhiZAsciiReader::ReadHeader(CTextScanner& in)
{
    CFlukaHeader header;
    if (!ReadFlukaHeader(in, EFlukaBinning::RPhiZ, header, m_Error, m_BinningIndex)) return false;
    ApplyCommon(header);
    SetAxis(header.m_AxisX, header.m_AxisY);
    SetNPhi(header.m_Axis[1].m_Bins);
    SetPhiRange(-std::numbers::pi, std::numbers::pi);
    SetDPhi(2 * std::numbers::pi / header.m_Axis[1].m_Bins);
    return true;
}
} // namespace volumira3d
