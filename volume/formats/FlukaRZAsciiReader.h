// Streaming readers of FLUKA R-Z and R-Phi-Z USRBIN text: the header, then one value at a time,
// so that a cylindrical data set never holds its file values in memory.
#pragma once
#include "volume/formats/FlukaHeader.h"
#include "volume/formats/TextScanner.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace volumira3d
{
class CFlukaRZAsciiReader
{
public:
    explicit CFlukaRZAsciiReader(std::string path);
    virtual ~CFlukaRZAsciiReader();

    // Opens the file and reads the header; false if either fails (Error() says why).
    virtual bool Open();
    // The next value; on failure the file is closed and every later call fails too.
    virtual bool ReadValue(double& value);
    // Ends the reading early: every later ReadValue fails.
    void Close() { m_In.Close(); }
    // A read has failed (or the file was closed): no value will come any more.
    bool Exhausted() const { return !m_In.IsOpen(); }
    // Values the rest of the file can hold at most (each takes a character and a separator).
    std::uint64_t MaxValuesLeft() const
    {
        return m_In.IsOpen() ? (m_In.Size() - std::min(m_In.Size(), m_In.Position())) / 2 + 1 : 0;
    }

    virtual std::int32_t GetCount() const { return m_Count; }
    virtual std::int32_t GetNR() const { return m_NR; }
    virtual std::int32_t GetNZ() const { return m_NZ; }
    virtual std::int32_t GetNrOfParticles() const { return m_NrOfParticles; }
    virtual void GetRRange(double& min, double& max) const { min = m_RMin, max = m_RMax; }
    virtual void GetZRange(double& min, double& max) const { min = m_ZMin, max = m_ZMax; }
    virtual double GetDR() const { return m_DR; }
    virtual double GetDZ() const { return m_DZ; }
    virtual double GetAxisX() const { return m_AxisX; }
    virtual double GetAxisY() const { return m_AxisY; }
    virtual double GetTotalWeight() const { return m_TotalWeight; }
    virtual std::int32_t GetGenParticle() const { return m_GenParticle; }
    virtual void SetNR(std::int32_t n) { m_NR = n; }
    virtual void SetNZ(std::int32_t n) { m_NZ = n; }
    virtual void SetRRange(double min, double max) { m_RMin = min, m_RMax = max; }
    virtual void SetZRange(double min, double max) { m_ZMin = min, m_ZMax = max; }
    virtual void SetDR(double d) { m_DR = d; }
    virtual void SetDZ(double d) { m_DZ = d; }
    virtual void SetAxis(double x, double y) { m_AxisX = x, m_AxisY = y; }
    virtual void SetTotalWeight(double w) { m_TotalWeight = w; }
    virtual void SetGenParticle(std::int32_t p) { m_GenParticle = p; }
    virtual void SetNrOfParticles(std::int32_t n) { m_NrOfParticles = n; }
    virtual bool ReadHeader(CTextScanner& in);
    // Which binning of this kind the header is read from (0, the default, is the first).
    void SetBinningIndex(int index) { m_BinningIndex = index; }

    const std::string& Error() const { return m_Error; }
    const std::string& Path() const { return m_Path; }

protected:
    // The header fields both binnings share.
    void ApplyCommon(const CFlukaHeader& header);

    double m_RMin = 0, m_RMax = 0, m_ZMin = 0, m_ZMax = 0;
    std::int32_t m_NZ = 0;
    double m_DZ = 0;
    std::int32_t m_NR = 0;
    double m_DR = 0;
    double m_AxisX = 0, m_AxisY = 0;
    double m_TotalWeight = 0;
    std::int32_t m_GenParticle = 0;
    std::int32_t m_NrOfParticles = 0;
    CTextScanner m_In;
    std::string m_Path;
    std::int32_t m_Count = 0;
    std::string m_Error;
    int m_BinningIndex = 0;
};

// The angular range is always -pi .. +pi, the axis at x = 0, y = 0.
class CFlukaRPhiZAsciiReader : public CFlukaRZAsciiReader
{
public:
    using CFlukaRZAsciiReader::CFlukaRZAsciiReader;

    bool ReadHeader(CTextScanner& in) override;
    virtual std::int32_t GetNPhi() const { return m_NPhi; }
    virtual void GetPhiRange(double& min, double& max) const { min = m_PhiMin, max = m_PhiMax; }
    virtual double GetDPhi() const { return m_DPhi; }
    virtual void SetNPhi(std::int32_t n) { m_NPhi = n; }
    virtual void SetPhiRange(double min, double max) { m_PhiMin = min, m_PhiMax = max; }
    virtual void SetDPhi(double d) { m_DPhi = d; }

private:
    double m_PhiMin = 0, m_PhiMax = 0, m_DPhi = 0;
    std::int32_t m_NPhi = 0;
};
} // namespace volumira3d
