// Particles from the source table of an MCNPX output ("print table 110"). A table line with 12
// fields has no particle-symbol column (the particle is a neutron); with 13, the symbol follows
// nps and the other columns move by one. Each line is read by its own field count, every number
// in full. The table runs from the line naming it to the next table or the summary, over
// repeated page headers and the lines an MPI run interleaves; its column header may be missing.
#pragma once
#include "cloud/ParticleDataReader.h"

namespace nebulo3d
{
class CMCNPXReader : public CParticleDataReader
{
public:
    bool Read(const std::string& fileName, CProgressCtrl* pProgress) override;
    bool ReadTable(std::istream& in, std::uint64_t size, CProgressCtrl* pProgress);
    // MCNP's energies are in MeV.
    double MeVPerEnergyUnit() const override { return 1.0; }
    bool StatesEnergyUnit() const override { return true; }
};
} // namespace nebulo3d
