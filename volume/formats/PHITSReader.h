// PHITS tally output with an xyz or r-z mesh: the header keys, then the pages of values, one
// plane per page. Every walk through lines stops at the end of the file with a reason.
#pragma once
#include "volume/formats/TextScanner.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <set>
#include <string>

namespace volumira3d
{
struct CPHITSHeader
{
    bool m_Cylindrical = false; // mesh = r-z
    std::string m_Axis;         // plane of the printed pages: xy, xz, yz (or x, y, z: 1-D pages)
    double m_Min[3] = {0, 0, 0}, m_Width[3] = {0, 0, 0};
    std::int32_t m_Bins[3] = {0, 0, 0}; // x, y, z; r-z: r, (1), z
    double m_Max[3] = {NAN, NAN, NAN};  // xmax, ymax, zmax where the header gives them
    double m_RMax = 0, m_X0 = 0, m_Y0 = 0;
};

class CPHITSReader
{
public:
    // Opens the file and reads the header up to the first page. False with a reason (the
    // format's own messages where it has them: Message() non-empty) otherwise.
    bool Open(const std::string& path);
    const CPHITSHeader& Header() const { return m_Header; }
    // Values the rest of the file can hold at most (each takes a character and a separator).
    std::uint64_t MaxValuesLeft() const { return (m_In.Size() - m_In.Position()) / 2 + 1; }

    // Pages in file order; store(page, row, column, value) is called for every value, rows and
    // columns counted as printed. False (Error() says why) when the file ends early.
    using Store = std::function<void(int page, int row, int column, double value)>;
    bool ReadPages(int pages, int rows, int columns, const Store& store,
                   const std::function<void(int page)>& pageDone);

    // The message box text of a refused header ("Mesh type could not be identified!", ...).
    const std::string& Message() const { return m_Message; }
    const std::string& Error() const { return m_Error; }

private:
    bool ReadMeshType();
    bool ReadHeaderKeys();
    bool TakeKey(const std::string& line);
    bool CheckHeader();
    bool SkipToLine(const char* text, bool atStart, int page);
    bool ReadPlanePage(int page, int rows, int columns, const Store& store);
    bool ReadLinePage(int page, int rows, const Store& store);
    // The page's values as its "hc:" line announces them agree with rows x columns.
    bool CheckPageShape(int page, int rows, int columns);
    // No number follows the page's last value.
    bool CheckPageEnd(int page, const std::string& rest);
    bool OneDimensional() const { return m_Header.m_Axis.size() == 1; }
    bool Fail(const std::string& error, const std::string& message = "");

    CTextScanner m_In;
    CPHITSHeader m_Header;
    std::string m_Path, m_Message, m_Error;
    std::string m_PageLine; // the "hc:" line of the page being read
    std::set<std::string> m_KeysSeen;
};
} // namespace volumira3d
