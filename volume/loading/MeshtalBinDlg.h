// "MCNP mesh tallies": lists every tally and energy/time bin of a meshtal file (tally number,
// particle, mesh kind, sizes, energy, time, and the nuclide where the tallies have them) and
// returns the chosen one; the given choice is selected at the start and kept when nothing is
// selected.
#pragma once
#include "volume/formats/MeshtalReader.h"
#include "volume/loading/RowChooserDlg.h"

#include <vector>

namespace volumira3d
{
enum : int
{
    IDD_MESHTAL_BINS = 1600,
    IDC_MESHTAL_BINS = 1601,
    IDD_MESHTAL_NUCLIDE_BINS = 1602,
};

// Every tally with every energy and time bin it can show, in file order.
std::vector<CMeshtalChoice> MeshtalBinEntries(const std::vector<CMeshtalTally>& tallies);

class CMeshtalBinDlg : public CRowChooserDlg
{
public:
    CMeshtalBinDlg(const std::vector<CMeshtalTally>& tallies,
                   const std::vector<CMeshtalChoice>& entries, const CMeshtalChoice& choice,
                   CDialog* pParent = nullptr);

    void OnOK() override;

    CMeshtalChoice m_Choice;

private:
    const std::vector<CMeshtalChoice>& m_Entries;
};
} // namespace volumira3d
