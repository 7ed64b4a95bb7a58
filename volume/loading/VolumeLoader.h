// The loader of the volume formats: it runs the load function a format's entry in the format table
// names (in the format's LoadFoo.cpp). A load takes a path, fills the grid (clearing it once the
// header is accepted) and returns true on success; its log lines go to the log, its messages to
// message boxes. The steps common to every load (data options, display range) are the caller's.
#pragma once
#include "platform/Win.h"
#include "volume/formats/FlukaHeader.h"
#include "volume/loading/CylinderResampling.h"
#include "volume/loading/CylinderSource.h"
#include "volume/model/VoxelArray.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace volumira3d
{
class CVoxelGrid;
class ILoadLog;
class CVolumeSettings;
struct CVolumeFormat;

// "FLUKA binnings", the chooser of a file's binning.
enum : int
{
    IDD_FLUKA_BINNINGS = 1650,
    IDC_FLUKA_BINNINGS_LIST = 1651,
};

// The answers of a load that asks nobody (the Python module): its choosers and questions take
// them from here instead of a dialog; what is left unset is the dialog's default.
struct CLoadChoices
{
    int m_Binning = 0;      // FLUKA: among the file's binnings of its kind, from 0
    int m_DataSet = 0;      // MCNPX: the data set, from 1; 0 the dialog's default
    int m_Tally = -1;       // meshtal: the tally of this number; -1 the first (of m_Particle)
    std::string m_Particle; // meshtal: the first tally of this particle; empty any
    // Meshtal bins from 0; -1 the total (else the first), as the dialog offers them.
    int m_Energy = -1;
    int m_Time = -1;
    int m_Nuclide = -1;
    bool m_Errors = false;       // relative errors instead of values, where the file has them
    bool m_AllowLarge = false;   // the answer to "The grid needs ... GB. Continue?"
    bool m_KeepCylinder = false; // a cylindrical mesh is kept as read, not resampled
};

// A cylindrical mesh as its file gives it, kept when the choices ask so: values indexed
// (it * nphi + iphi) * nr + ir, one per bin of the mesh.
struct CCylinderData
{
    CCylinderMesh m_Mesh;
    std::vector<double> m_Values;
};

class CVolumeLoader
{
public:
    // Settings, when given, keep the column widths of the dialogs a load shows.
    CVolumeLoader(CVoxelGrid& grid, ILoadLog& log, CVolumeSettings* pSettings = nullptr)
        : m_Grid(grid), m_Log(log), m_pSettings(pSettings)
    {
    }

    // Runs the format's load function on the path.
    bool Load(const CVolumeFormat& format, const std::string& path);
    // The same for the format of that name in the format table; false with a log line when no
    // format has it.
    bool Load(std::string_view formatName, const std::string& path);

    // A failed load showed its own message box (or the user declined); otherwise the caller
    // shows one, naming LastError() when there is one.
    bool Reported() const { return m_Reported; }
    // The last error line the load logged.
    const std::string& LastError() const { return m_LastError; }

    // The size above which a grid that its file cannot fill needs the user's yes (1 GiB); the
    // fuzz targets lower it so that no input spends its time allocating.
    void SetLargeGridBytes(double bytes) { m_LargeGridBytes = bytes; }
    // A file opened for the host with the dialogs' defaults shows its values: the statistics
    // question is not asked.
    void SetValuesOnly(bool valuesOnly) { m_ValuesOnly = valuesOnly; }
    // "Do you want to display the statistics information instead of the data?", or no when only
    // values are wanted.
    bool AskStatistics() const;
    // A load that asks nobody: the choices answer (the caller keeps them alive).
    void SetChoices(const CLoadChoices* pChoices) { m_pChoices = pChoices; }
    const CLoadChoices* Choices() const { return m_pChoices; }
    // Whether the last load's file offered relative errors (the statistics question came up).
    bool OfferedStatistics() const { return m_OfferedStatistics; }
    // Whether the last load stopped at a large grid its choices did not allow.
    bool LargeGridRefused() const { return m_LargeGridRefused; }
    // The cylindrical mesh the last load kept (m_KeepCylinder), handed over; empty edges when
    // none.
    CCylinderData TakeCylinder() { return std::move(m_Cylinder); }
    // What the file says of the loaded data (binning, tally, particle...), as the chooser and the
    // log name it, in the order the load met it.
    const std::vector<std::pair<std::string, std::string>>& Facts() const { return m_Facts; }
    void AddFact(const std::string& key, const std::string& value);

    // Records (voxels) per piece of a cartesian file held in memory at once.
    static constexpr size_t ChunkRecords = 1 << 16;

    // What the formats' load functions share.
    CVoxelGrid& Grid() { return m_Grid; }
    ILoadLog& Log() { return m_Log; }
    CVolumeSettings* Settings() { return m_pSettings; }

    // Allocates the grid. A grid above m_LargeGridBytes that a file of fileBytes cannot fill (fewer
    // bytes than voxels; 0: size unknown) is allocated only when the user says so.
    bool PrepareGrid(std::int64_t nx, std::int64_t ny, std::int64_t nz, std::uint64_t fileBytes = 0,
                     EVoxelStart start = EVoxelStart::Zeros);
    bool Normalised(double raw, double& value) const;
    // Sets an axis of the grid from its bin edges; an axis of unequal bins is logged.
    void SetGridEdges(int axis, const std::vector<double>& edges);
    // The factor values are read with: the normalization, except for relative errors, which are
    // ratios (the load says so in the log once it knows).
    double Factor() const;
    void ReadRelativeErrors();
    void LogElapsed(DWORD startTicks);
    void LogError(const std::string& text);
    void ReportProblem(const std::string& text, UINT icon);
    // The message box of a failure, without a log line.
    void ShowProblem(const std::string& text, UINT icon);

    // Reads the values of a cylindrical binning (R-Z rings, R-Phi-Z sectors, along z at the
    // geometry's axis) and resamples them onto the grid.
    bool MapCylinderFile(ICylinderSource& source, const CCylinderGeometry& geometry);
    // Resamples normalised values of a mesh onto a grid that covers it, in voxels of the set
    // cylinder resolution or, without one, of radialWidth; logMemory adds the memory lines.
    bool MapCylinder(const CCylinderMesh& mesh, const std::vector<double>& values, long long count,
                     double radialWidth, bool logMemory = false);
    // One binning of a FLUKA file, as the "FLUKA binnings" chooser lists it.
    struct CBinningRow
    {
        int m_Number = 0;
        std::string m_Name, m_Type, m_Sizes;
        int m_Particle = 0;
    };
    // With several binnings, asks which to load (default the first) and logs the choice; false
    // when the user cancels.
    bool ChooseFlukaBinning(const std::vector<CBinningRow>& rows, int& index);
    // The same for the binnings of this kind in a FLUKA text file.
    bool ChooseFlukaTextBinning(const std::string& path, EFlukaBinning binning, int& index);

    // The voxel size across a cylinder's axis (cm): the one set here, else the settings' one; 0
    // for the radial bin width.
    double CylinderResolution() const;
    void SetCylinderResolution(double cm) { m_CylinderResolution = cm; }

private:
    // The large-grid question, or the choices' answer to it.
    bool AllowLargeGrid(double bytes);
    void KeepCylinder(const CCylinderMesh& mesh, const std::vector<double>& values,
                      long long count);
    void LogBinning(const std::vector<CBinningRow>& rows, int index);
    bool TakeBinningChoice(const std::vector<CBinningRow>& rows, int& index);

    // The radial layout of a cylindrical file on the grid.
    struct CRadialLayout
    {
        long long m_N = 0;   // grid half-width in bins (Rmin / DR + NR)
        long long m_Off = 0; // first ring of the file (Rmin / DR, rounded)
        double m_DR = 0;
        int m_NR = 0; // rings per row after compaction
        bool m_Compact = false;
        bool m_OddLeftover = false; // a compacted row leaves one file value over
    };

    bool PlanRadialLayout(const CCylinderGeometry& geometry, CRadialLayout& layout);
    bool ReadRingValue(ICylinderSource& reader, const CRadialLayout& layout, double& value);
    void FinishRow(ICylinderSource& reader, const CRadialLayout& layout);
    long long ReadCylinderValues(ICylinderSource& reader, const CRadialLayout& layout,
                                 std::vector<double>& values);
    void ReportShortCylinderFile(const ICylinderSource& reader, long long expected);

    CVoxelGrid& m_Grid;
    ILoadLog& m_Log;
    CVolumeSettings* m_pSettings;
    bool m_Reported = false;
    std::string m_LastError;
    // A few hundred MB: a small file announcing many rings once built 800 MB without asking.
    double m_LargeGridBytes = 256.0 * 1024.0 * 1024.0;
    bool m_ValuesOnly = false;
    double m_CylinderResolution = 0;
    bool m_RelativeErrors = false;
    const CLoadChoices* m_pChoices = nullptr;
    mutable bool m_OfferedStatistics = false;
    bool m_LargeGridRefused = false;
    CCylinderData m_Cylinder;
    std::vector<std::pair<std::string, std::string>> m_Facts;
};

// The base of one format's load (a class in its LoadFoo.cpp): the loader's grid, log and
// settings under the names the load code uses; the shared steps are the loader's.
class CFormatLoad
{
public:
    explicit CFormatLoad(CVolumeLoader& loader)
        : m_Loader(loader), m_Grid(loader.Grid()), m_Log(loader.Log()),
          m_pSettings(loader.Settings())
    {
    }

protected:
    CVolumeLoader& m_Loader;
    CVoxelGrid& m_Grid;
    ILoadLog& m_Log;
    CVolumeSettings* m_pSettings;
};
} // namespace volumira3d
