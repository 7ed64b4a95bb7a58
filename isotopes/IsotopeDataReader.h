// The emitter container of the isotope viewer and the base of its readers (collector files,
// FLUKA isodumps). It owns its emitters; Clear, a new load and destruction delete them. Weights
// that are not finite numbers stay with their emitters but never enter the weight totals.
#pragma once
#include "isotopes/Isotope.h"

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class CProgressCtrl;

namespace nuclira3d
{
class CIsotopeDataReader
{
public:
    using Emitters = std::unordered_multimap<int, std::unique_ptr<CIsotope>>;
    // Z -> A -> shown; every added emitter enters its (Z, A).
    using MassFlags = std::map<int, std::map<int, bool>>;

    CIsotopeDataReader() = default;
    virtual ~CIsotopeDataReader() = default;
    CIsotopeDataReader(const CIsotopeDataReader&) = delete;
    CIsotopeDataReader& operator=(const CIsotopeDataReader&) = delete;

    // Reads the file into the container; false when nothing valid was read (a message box has
    // said why, or the file could not be opened). The base reads nothing.
    virtual bool Read(const std::string& fileName, CProgressCtrl* pProgress);
    // Takes ownership. False when memory ran out (the emitter is gone).
    virtual bool Add(std::unique_ptr<CIsotope> emitter);
    void Clear();

    size_t Count() const { return m_Emitters.size(); }
    const Emitters& AllEmitters() const { return m_Emitters; }
    const MassFlags& Masses() const { return m_Masses; }
    // Sum of the counted weights of the emitters of (Z, A).
    double NuclideWeight(int z, int a) const;

    void SetElementVisible(int z, bool visible);
    void SetMassVisible(int z, int a, bool visible);
    void SetAllVisible(bool visible);
    // Direction length factors: weight over the data's maximum weight, or 1.
    void ScaleWithWeight(bool on);

    // The nuclide factor table: the first factor given for (Z, A) stays. An absent pair reads
    // as 0 and is not entered, so a later record can still give its factor.
    void InsertFactor(int z, int a, double factor);
    double Factor(int z, int a) const;

    // Problems on single lines: the first few texts, and how many there were in all.
    const std::vector<std::string>& Warnings() const { return m_Warnings; }
    size_t WarningCount() const { return m_WarningCount; }
    static constexpr size_t KeptWarnings = 20;

    CVector m_ExtentMin{0, 0, 0};
    CVector m_ExtentMax{0, 0, 0};
    double m_MaxWeight = 1e-12, m_MinWeight = 1e12;
    double m_TotalWeight = 0;
    bool m_Loaded = false;

protected:
    void Warn(std::string text);

private:
    Emitters m_Emitters;
    MassFlags m_Masses;
    std::map<std::pair<int, int>, double> m_Factors;
    std::vector<std::string> m_Warnings;
    size_t m_WarningCount = 0;
};

// Weights that may enter totals, histograms and statistics.
bool CountedWeight(double weight);
} // namespace nuclira3d
