// The load operations of the text formats. Each takes a path, fills the grid (clearing it once the
// header is accepted) and returns true on success; its log lines go to the log, its messages to
// message boxes. The steps common to every load (data options, display range) are the caller's.
#pragma once
#include "platform/Win.h"

#include <cstdint>
#include <string>
#include <vector>

namespace volumira3d
{
class CVoxelGrid;
class ILoadLog;
class CFlukaRZAsciiReader;

class CVolumeLoader
{
public:
    CVolumeLoader(CVoxelGrid& grid, ILoadLog& log) : m_Grid(grid), m_Log(log) {}

    bool LoadXYZ(const std::string& path);
    bool LoadFlukaCartesian(const std::string& path);
    bool LoadFlukaRZ(const std::string& path);
    bool LoadFlukaRPhiZ(const std::string& path);

    // Records (voxels) per piece of a cartesian file held in memory at once.
    static constexpr size_t ChunkRecords = 1 << 16;

private:
    // The radial layout of a cylindrical file on the grid.
    struct CRadialLayout
    {
        long long m_N = 0;   // grid half-width in bins (Rmax / DR)
        long long m_Off = 0; // first ring of the file (Rmin / DR)
        double m_DR = 0;
        int m_NR = 0; // rings per row after compaction
        bool m_Compact = false;
        bool m_OddLeftover = false; // a compacted row leaves one file value over
    };

    bool PlanRadialLayout(const CFlukaRZAsciiReader& reader, CRadialLayout& layout);
    bool ReadRingValue(CFlukaRZAsciiReader& reader, const CRadialLayout& layout, double& value);
    void FinishRow(CFlukaRZAsciiReader& reader, const CRadialLayout& layout);
    bool OpenCylinderFile(CFlukaRZAsciiReader& reader);
    void SetCylinderGeometry(const CFlukaRZAsciiReader& reader, const CRadialLayout& layout);
    long ReadSectorPlane(CFlukaRZAsciiReader& reader, const CRadialLayout& layout, long long nphi,
                         std::vector<double>& values);
    void ReportShortCylinderFile(const CFlukaRZAsciiReader& reader, long long expected);

    // Allocates the grid. A grid above 1 GiB that a file of fileBytes cannot fill (fewer bytes
    // than voxels; 0: size unknown) is allocated only when the user says so.
    bool PrepareGrid(std::int64_t nx, std::int64_t ny, std::int64_t nz,
                     std::uint64_t fileBytes = 0);
    bool Normalised(double raw, double& value) const;
    void LogElapsed(DWORD startTicks);
    void LogError(const std::string& text);
    void ReportProblem(const std::string& text, UINT icon);

    CVoxelGrid& m_Grid;
    ILoadLog& m_Log;
};
} // namespace volumira3d
