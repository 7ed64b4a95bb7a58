// Where the cylindrical mappings take their values from: a FLUKA R-Z or R-Phi-Z text file, the
// value record of a binary file, or the pages of a PHITS r-z tally. The geometry comes with it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace volumira3d
{
struct CCylinderGeometry
{
    double m_RMin = 0, m_RMax = 0, m_DR = 0;
    std::int32_t m_NR = 0;
    double m_ZMin = 0, m_ZMax = 0, m_DZ = 0;
    std::int32_t m_NZ = 0;
    std::int32_t m_NPhi = 1;
    double m_AxisX = 0, m_AxisY = 0;
    double m_TotalWeight = 1;
    std::int32_t m_GenParticle = 1;
    std::int32_t m_NrOfParticles = 1;
};

class ICylinderSource
{
public:
    virtual ~ICylinderSource() = default;
    // The next raw value (not normalised); false once the values have run out, and ever after.
    virtual bool ReadValue(double& value) = 0;
    // Ends the reading early: every later ReadValue fails.
    virtual void Close() = 0;
    virtual bool Exhausted() const = 0;
    // Values the source can still give at most.
    virtual std::uint64_t MaxValuesLeft() const = 0;
    // Values given so far.
    virtual std::int64_t GetCount() const = 0;
};

// Values gathered beforehand (a PHITS r-z page, a meshtal bin), in the order a mapping reads them.
class CVectorCylinderSource : public ICylinderSource
{
public:
    explicit CVectorCylinderSource(std::vector<double> values) : m_Values(std::move(values)) {}
    bool ReadValue(double& value) override
    {
        if (m_Next >= m_Values.size()) return false;
        value = m_Values[m_Next++];
        return true;
    }
    void Close() override { m_Next = m_Values.size(); }
    bool Exhausted() const override { return m_Next >= m_Values.size(); }
    std::uint64_t MaxValuesLeft() const override { return m_Values.size() - m_Next; }
    std::int64_t GetCount() const override { return static_cast<std::int64_t>(m_Next); }

private:
    std::vector<double> m_Values;
    std::size_t m_Next = 0;
};
} // namespace volumira3d
