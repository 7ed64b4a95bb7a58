// The particle container of the cloud viewer and the reader of its own ".dat" format. The
// readers of other formats derive from it and replace only Read. The container owns its
// particles; Clear, a new load and destruction delete them.
#pragma once
#include "cloud/Particle.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CProgressCtrl;

namespace nebulo3d
{
// Moves a progress bar over 1..25000 by the share of the input consumed, about a hundred times
// per load rather than once per particle.
class CLoadProgress
{
public:
    CLoadProgress(CProgressCtrl* pProgress, std::uint64_t total);
    ~CLoadProgress();
    void Update(std::uint64_t done);

private:
    CProgressCtrl* m_pProgress;
    std::uint64_t m_Total, m_Next = 0;
};

class CParticleDataReader
{
public:
    using Particles = std::unordered_multimap<int, std::unique_ptr<CParticle>>;

    CParticleDataReader();
    virtual ~CParticleDataReader();
    CParticleDataReader(const CParticleDataReader&) = delete;
    CParticleDataReader& operator=(const CParticleDataReader&) = delete;

    // Reads the file into the container; false when nothing valid was read (a message box has
    // said why, or the file could not be opened). Problems on single lines are kept in
    // Warnings().
    virtual bool Read(const std::string& fileName, CProgressCtrl* pProgress);
    // Every particle, whatever its visible flag, as a VRML97 node.
    virtual void ExportVRML(std::ostream& os);
    // Takes ownership; particles of type NoType are deleted, not stored.
    virtual void Add(std::unique_ptr<CParticle> particle);
    void Clear();

    // The own format from a stream of size bytes (for the progress bar).
    bool ReadOwnFormat(std::istream& in, std::uint64_t size, CProgressCtrl* pProgress);

    size_t Count() const { return m_Particles.size(); }
    size_t CountOfType(int type) const { return m_Particles.count(type); }
    // The types present, in ascending order.
    std::vector<int> Types() const;
    bool TypeVisible(int type) const;
    void SetTypeVisible(int type, bool visible);
    void SetAllVisible(bool visible);

    enum class EDirectionScale
    {
        None,
        Energy,
        Weight
    };
    // Direction length factors: energy or weight over the data's maximum, or 1.
    void ScaleDirections(EDirectionScale scale);

    const Particles& AllParticles() const { return m_Particles; }
    // Rises with every change of what the particles look like (added, removed, shown, hidden).
    unsigned long Generation() const { return m_Generation; }
    const std::vector<std::string>& Warnings() const { return m_Warnings; }
    // What the read did to the data that is no problem (units converted, fields left out);
    // the statistics report lists them.
    const std::vector<std::string>& Notes() const { return m_Notes; }
    // The energies' unit in MeV: 1000 for FLUKA's GeV, which files of unstated unit are taken
    // to be in.
    virtual double MeVPerEnergyUnit() const { return 1000.0; }
    // Whether that unit is the file's word, not the assumption.
    virtual bool StatesEnergyUnit() const { return false; }

    CVector m_ExtentMin{1e15, 1e15, 1e15};
    CVector m_ExtentMax{-1e15, -1e15, -1e15};
    double m_MaxEnergy = 1e-12, m_MinEnergy = 1e12;
    double m_MaxWeight = 1e-12, m_MinWeight = 1e12;
    bool m_Loaded = false;

protected:
    // Checks the name and opens the file as a regular file; the message box for an empty name
    // is shown here.
    static bool OpenInput(const std::string& fileName, std::ifstream& in, std::uint64_t& size);
    void Warn(std::string text) { m_Warnings.push_back(std::move(text)); }
    void Note(std::string text) { m_Notes.push_back(std::move(text)); }
    void Touch() { ++m_Generation; }

    Particles m_Particles;
    std::unordered_map<int, bool> m_Types;

private:
    std::vector<std::string> m_Warnings, m_Notes;
    unsigned long m_Generation = 0;
};
} // namespace nebulo3d
