#include "isotopes/IsotopeDataReader.h"

#include <cmath>
#include <new>

namespace nuclira3d
{
bool CountedWeight(double weight)
{
    return std::isfinite(weight);
}

bool CIsotopeDataReader::Read(const std::string&, CProgressCtrl*)
{
    return false;
}

bool CIsotopeDataReader::Add(std::unique_ptr<CIsotope> emitter)
{
    if (!emitter) return false;
    try
    {
        CIsotope& e = *emitter;
        m_Masses[e.m_Z].emplace(e.m_A, true);
        m_Emitters.emplace(e.m_Z, std::move(emitter));
        m_ExtentMin = CVector::Min(m_ExtentMin, e.m_ExtentMin);
        m_ExtentMax = CVector::Max(m_ExtentMax, e.m_ExtentMax);
        if (CountedWeight(e.m_Weight))
        {
            m_MinWeight = std::min(m_MinWeight, e.m_Weight);
            m_MaxWeight = std::max(m_MaxWeight, e.m_Weight);
            m_TotalWeight += e.m_Weight;
        }
        return true;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}

void CIsotopeDataReader::Warn(std::string text)
{
    if (m_WarningCount++ < KeptWarnings) m_Warnings.push_back(std::move(text));
}

void CIsotopeDataReader::Clear()
{
    m_Emitters.clear();
    m_Masses.clear();
    m_Factors.clear();
    m_Warnings.clear();
    m_WarningCount = 0;
    m_ExtentMin = m_ExtentMax = CVector();
    m_MaxWeight = 1e-12;
    m_MinWeight = 1e12;
    m_TotalWeight = 0;
    m_Loaded = false;
}

double CIsotopeDataReader::NuclideWeight(int z, int a) const
{
    double sum = 0;
    auto [first, last] = m_Emitters.equal_range(z);
    for (auto it = first; it != last; ++it)
        if (it->second->m_A == a && CountedWeight(it->second->m_Weight))
            sum += it->second->m_Weight;
    return sum;
}

void CIsotopeDataReader::SetElementVisible(int z, bool visible)
{
    auto [first, last] = m_Emitters.equal_range(z);
    for (auto it = first; it != last; ++it)
        it->second->m_Visible = visible;
}

void CIsotopeDataReader::SetMassVisible(int z, int a, bool visible)
{
    auto [first, last] = m_Emitters.equal_range(z);
    for (auto it = first; it != last; ++it)
        if (it->second->m_A == a) it->second->m_Visible = visible;
    const auto element = m_Masses.find(z);
    if (element == m_Masses.end()) return;
    const auto mass = element->second.find(a);
    if (mass != element->second.end()) mass->second = visible;
}

void CIsotopeDataReader::SetAllVisible(bool visible)
{
    for (auto& [z, emitter] : m_Emitters)
        emitter->m_Visible = visible;
}

void CIsotopeDataReader::ScaleWithWeight(bool on)
{
    for (auto& [z, emitter] : m_Emitters)
    {
        const double w = emitter->m_Weight;
        emitter->m_DirectionLength =
            on && m_MaxWeight != 0 && CountedWeight(w) ? w / m_MaxWeight : 1.0;
    }
}

void CIsotopeDataReader::InsertFactor(int z, int a, double factor)
{
    m_Factors.emplace(std::make_pair(z, a), factor);
}

double CIsotopeDataReader::Factor(int z, int a) const
{
    const auto it = m_Factors.find({z, a});
    return it == m_Factors.end() ? 0.0 : it->second;
}
} // namespace nuclira3d
