// "Extract" of the main dialog: asks for the file and whatever the chosen "Source-format" entry
// needs, writes it with the extraction writers and reports success or failure by message box.
#pragma once
#include "volume/analysis/GridAnalysis.h"

#include <string>

class CDialog;

class CSafeOutput;

namespace volumira3d
{
class CVolumeSettings;

enum ESourceFormat : int
{
    SourcePlane = 0,
    SourceProfile,
    SourceAvgProfile,
    SourceOctant,
    SourceAvgVolume,
    SourceComsol,
    SourceNative,
    SourceRebinned,
    SourceFormatCount
};
extern const char* const SourceFormatNames[SourceFormatCount];

class CDataExtraction
{
public:
    CDataExtraction(CDialog* pOwner, const CVoxelGrid& grid, const CDisplayState& state,
                    CVolumeSettings* pSettings)
        : m_pOwner(pOwner), m_Grid(grid), m_State(state), m_pSettings(pSettings)
    {
    }
    void Run(int entry);

    // The unit text of the data: the y-axis title of profile charts.
    std::string m_UnitText;

private:
    // The save dialog of an entry; empty when cancelled.
    std::string AskPath(int entry);
    void Report(bool ok, const char* success, const char* failure);
    // Commits the file when ok, then reports.
    void Report(CSafeOutput& file, bool ok, const char* success, const char* failure);
    void ExtractPlane();
    void ExtractProfile();
    void ExtractAvgProfile();
    void ExtractOctants();
    void ExtractAvgVolume();
    void ExtractComsol();
    void ExtractNative();
    void ExtractRebinned();
    bool AllPlanesOn();

    CDialog* m_pOwner;
    const CVoxelGrid& m_Grid;
    const CDisplayState& m_State;
    CVolumeSettings* m_pSettings;
};
} // namespace volumira3d
