// The nuclide-vector collector file (".dat"): header lines holding "#" name the nuclide (fields
// 1 and 2: Z and A) whose emitter lines (x y z weight) follow. Fields are separated by runs of
// blanks, tabs, commas or semicolons.
#pragma once
#include "isotopes/IsotopeDataReader.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace nuclira3d
{
// A field of an emitter line: empty or starting with "?" is a quiet NaN; anything the standard
// conversion does not consume completely is no number (nothing).
std::optional<double> CollectorNumber(std::string_view field);

class CNucVecCollectorReader : public CIsotopeDataReader
{
public:
    // False for an empty name (with its message), an unopened file, or a first line without
    // "#" (with its message). A field that is no number ends the read early with the message
    // "unrecognized numeric data"; what was read before it stays. Blank lines are skipped;
    // lines with fewer than three fields, and emitters after a header that names no nuclide,
    // are skipped and counted in the warnings.
    bool Read(const std::string& fileName, CProgressCtrl* pProgress) override;
    bool ReadStream(std::istream& in, std::uint64_t size, CProgressCtrl* pProgress);

private:
    bool ReadHeader(std::string_view line);
    enum class ELine
    {
        Next,
        Stop,
    };
    ELine ReadEmitter(std::string_view line, long lineNo);

    int m_Z = -1000, m_A = -1000;
    bool m_HeaderValid = false;
};

} // namespace nuclira3d
