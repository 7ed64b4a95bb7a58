// The load operations of the volume formats. Each takes a path, fills the grid (clearing it once
// the header is accepted) and returns true on success; its log lines go to the log, its messages to
// message boxes. The steps common to every load (data options, display range) are the caller's.
#pragma once
#include "platform/Win.h"
#include "volume/loading/CylinderSource.h"
#include "volume/model/VoxelArray.h"

#include <cstdint>
#include <string>
#include <vector>

namespace volumira3d
{
class CVoxelGrid;
class ILoadLog;
class CFlukaRZAsciiReader;
class CFlukaBinaryReader;
class CVolumeSettings;
class CPHITSReader;
struct CMCNPXDescriptor;
class CMeshtalReader;
struct CMeshtalTally;
struct CMeshtalChoice;

class CVolumeLoader
{
public:
    // Settings, when given, keep the column widths of the dialogs a load shows.
    CVolumeLoader(CVoxelGrid& grid, ILoadLog& log, CVolumeSettings* pSettings = nullptr)
        : m_Grid(grid), m_Log(log), m_pSettings(pSettings)
    {
    }

    bool LoadXYZ(const std::string& path);
    bool LoadFlukaCartesian(const std::string& path);
    bool LoadFlukaRZ(const std::string& path);
    bool LoadFlukaRPhiZ(const std::string& path);
    bool LoadMCNPX(const std::string& path);
    bool LoadPHITS(const std::string& path);
    bool LoadFlukaBinary(const std::string& path);
    bool LoadFlukaVoxel(const std::string& path);
    bool LoadMeshtal(const std::string& path);

    // A failed load showed its own message box (or the user declined); otherwise the caller
    // shows one, naming LastError() when there is one.
    bool Reported() const { return m_Reported; }
    // The last error line the load logged.
    const std::string& LastError() const { return m_LastError; }

    // The size above which a grid that its file cannot fill needs the user's yes (1 GiB); the
    // fuzz targets lower it so that no input spends its time allocating.
    void SetLargeGridBytes(double bytes) { m_LargeGridBytes = bytes; }

    // Records (voxels) per piece of a cartesian file held in memory at once.
    static constexpr size_t ChunkRecords = 1 << 16;

private:
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

    // Resample the values of a cylindrical binning onto the grid (R-Z rings, R-Phi-Z sectors).
    bool MapRZ(ICylinderSource& source, const CCylinderGeometry& geometry);
    bool MapRPhiZ(ICylinderSource& source, const CCylinderGeometry& geometry);
    bool PlanRadialLayout(const CCylinderGeometry& geometry, CRadialLayout& layout);
    bool ReadRingValue(ICylinderSource& reader, const CRadialLayout& layout, double& value);
    void FinishRow(ICylinderSource& reader, const CRadialLayout& layout);
    bool OpenCylinderFile(CFlukaRZAsciiReader& reader);
    void SetCylinderGeometry(const CCylinderGeometry& geometry, const CRadialLayout& layout);
    long ReadSectorPlane(ICylinderSource& reader, const CRadialLayout& layout, long long nphi,
                         std::vector<double>& values);
    void ReportShortCylinderFile(const ICylinderSource& reader, long long expected);

    bool MapPHITSCartesian(CPHITSReader& reader);
    bool MapPHITSCylinder(CPHITSReader& reader);
    int ChooseMCNPXDataSet(const std::vector<CMCNPXDescriptor>& descriptors);
    bool ChooseBinaryArray(CFlukaBinaryReader& reader);
    bool MapBinaryCartesian(CFlukaBinaryReader& reader);
    // False when the user cancels the choice of tally and bin.
    bool ChooseMeshtalBin(const std::vector<CMeshtalTally>& tallies, CMeshtalChoice& choice);
    bool MapMeshtalCartesian(CMeshtalReader& reader, const CMeshtalChoice& choice);
    bool MapMeshtalCylinder(CMeshtalReader& reader, const CMeshtalChoice& choice);
    static int FirstMeshtalSector(const CMeshtalTally& tally);

    // Allocates the grid. A grid above m_LargeGridBytes that a file of fileBytes cannot fill (fewer
    // bytes than voxels; 0: size unknown) is allocated only when the user says so.
    bool PrepareGrid(std::int64_t nx, std::int64_t ny, std::int64_t nz, std::uint64_t fileBytes = 0,
                     EVoxelStart start = EVoxelStart::Zeros);
    bool Normalised(double raw, double& value) const;
    void LogElapsed(DWORD startTicks);
    void LogError(const std::string& text);
    void ReportProblem(const std::string& text, UINT icon);
    // The message box of a failure, without a log line.
    void ShowProblem(const std::string& text, UINT icon);

    CVoxelGrid& m_Grid;
    ILoadLog& m_Log;
    CVolumeSettings* m_pSettings;
    bool m_Reported = false;
    std::string m_LastError;
    double m_LargeGridBytes = 1024.0 * 1024.0 * 1024.0;
};
} // namespace volumira3d
