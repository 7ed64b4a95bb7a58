// Reads the mesh tallies of an MCNP meshtal file (FMESH output, in the column layout or the matrix
// layouts of out=ij/ik/jk). Open scans the whole file once: every tally's header (bin boundaries,
// cylinder frame, layout) and the number of its rows or pages, checked against what the boundaries
// call for. ReadBin then reads one tally and one energy/time (and nuclide) bin, placing each value
// by the bin indices of its coordinates.
// Both fail with Error() naming the tally and line; nothing is allocated from an unchecked count.
#pragma once
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace volumira3d
{
enum class EMeshKind
{
    Cartesian,
    Cylindrical,
};

struct CMeshtalTally
{
    int m_Number = 0;
    std::string m_Particle;
    EMeshKind m_Kind = EMeshKind::Cartesian;
    // Bin boundaries of X, Y, Z, or of R, Z, Theta (in revolutions).
    std::vector<double> m_Bounds[3];
    // Energy and time bin boundaries; empty when the header has none (one bin).
    std::vector<double> m_Energy, m_Time;
    double m_Origin[3] = {0, 0, 0};
    double m_Axis[3] = {0, 0, 1};
    double m_Vec[3] = {1, 0, 0};
    // Where a row holds each quantity (-1: not in the rows) and how many columns it has.
    int m_EnergyColumn = -1, m_TimeColumn = -1;
    int m_CoordColumn[3] = {-1, -1, -1};
    int m_ResultColumn = -1, m_ErrorColumn = -1;
    int m_NuclideColumn = -1;
    int m_Columns = 0;
    // The nuclides the rows name, in the order of their first row (empty: no nuclide column).
    std::vector<std::string> m_Nuclides;
    // The matrix layout: pages of one axis "across" by one "down", one page per bin of the third
    // (by its index in m_Bounds), each with its relative errors after it.
    bool m_Matrix = false;
    int m_Across = -1, m_Down = -1;
    std::uint64_t m_Pages = 0;
    // The rows hold "Total" bins beside the energy (time) bins.
    bool m_EnergyTotal = false, m_TimeTotal = false;
    std::uint64_t m_DataOffset = 0; // byte offset of the first row
    std::uint64_t m_FirstRowLine = 0;
    std::uint64_t m_Rows = 0;

    int Bins(int axis) const { return static_cast<int>(m_Bounds[axis].size()) - 1; }
    std::int64_t Cells() const;
    int EnergyBins() const { return m_Energy.size() > 1 ? int(m_Energy.size()) - 1 : 1; }
    int TimeBins() const { return m_Time.size() > 1 ? int(m_Time.size()) - 1 : 1; }
    // Bins a choice can name: the bins, and "Total" after them when the rows hold it.
    int EnergyChoices() const { return EnergyBins() + (m_EnergyTotal ? 1 : 0); }
    int TimeChoices() const { return TimeBins() + (m_TimeTotal ? 1 : 0); }
    int NuclideChoices() const { return std::max<int>(1, static_cast<int>(m_Nuclides.size())); }
    int Group() const { return 3 - m_Across - m_Down; }
    // "Total", or the bin's range such as "1.00e-09 - 0.001 MeV".
    std::string EnergyLabel(int choice) const;
    std::string TimeLabel(int choice) const;
    std::string NuclideLabel(int choice) const;
    // "R Z Th" or "X Y Z", and "5 x 5 x 5".
    std::string KindName() const;
    std::string Sizes() const;
};

// What to read: a tally (index into Tallies()), its energy and time bin (an index; the bin count
// names "Total"), its nuclide (an index into m_Nuclides), and whether the relative errors are read
// instead of the results.
struct CMeshtalChoice
{
    int m_Tally = 0;
    int m_Energy = 0;
    int m_Time = 0;
    bool m_Errors = false;
    int m_Nuclide = 0;

    bool operator==(const CMeshtalChoice&) const = default;
};

class CMeshtalReader
{
public:
    // A cell's value by the bin indices of its three axes (in the order of m_Bounds).
    using StoreFn = std::function<void(int i, int j, int k, double value)>;
    using ProgressFn = std::function<void(int percent)>;

    // Scans the file. False (Error() set) when it holds no mesh tally, a tally in a layout that is
    // not read, a header that cannot be read, or rows that disagree with the boundaries.
    bool Open(const std::string& path);
    const std::vector<CMeshtalTally>& Tallies() const { return m_Tallies; }
    // "Number of histories used for normalizing tallies" (0 when the file does not say).
    double Histories() const { return m_Histories; }
    // The first tally, its "Total" bins where it has them, else its first bins.
    static CMeshtalChoice DefaultChoice(const CMeshtalTally& tally);

    // Calls store once for every cell of the chosen bin. False (Error() set) on a row that cannot
    // be read, lies outside the boundaries or repeats a cell, or when cells are left without one.
    bool ReadBin(const CMeshtalChoice& choice, const StoreFn& store, const ProgressFn& progress);
    const std::string& Error() const { return m_Error; }

private:
    // Open's pass, one function per state of a tally's lines.
    struct CScan;
    bool ScanLine(CScan& scan, std::string_view t);
    bool StartTally(CScan& scan, std::string_view t);
    void ScanPreamble(std::string_view t);
    bool ScanHeader(CScan& scan, std::string_view t);
    bool EndTally(CScan& scan);

    bool ScanRow(CScan& scan, std::string_view t);
    bool ScanMatrix(CScan& scan, std::string_view t);
    bool StartMatrix(CScan& scan, std::string_view t);

    bool Fail(const std::string& text);
    bool FinishTally(CMeshtalTally& tally);
    bool ReadColumns(const CMeshtalTally& tally, const CMeshtalChoice& choice, const StoreFn& store,
                     const ProgressFn& progress);
    bool ReadMatrix(const CMeshtalTally& tally, const CMeshtalChoice& choice, const StoreFn& store,
                    const ProgressFn& progress);

    std::string m_Path;
    std::vector<CMeshtalTally> m_Tallies;
    double m_Histories = 0;
    std::string m_Error;
};
} // namespace volumira3d
