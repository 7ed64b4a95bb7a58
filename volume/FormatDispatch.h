// Which loader reads a file: by the first of the known name parts that occurs in the lower-cased
// path, or, failing that, by the content of its first 10 lines.
#pragma once
#include <string>

namespace volumira3d
{
enum class EVolumeFormat
{
    Unknown,
    XYZ,
    MCNPX,
    FlukaBinary,
    FlukaCartesian,
    FlukaRZ,
    FlukaRPhiZ,
    PHITS,
    FlukaVoxel,
};

// The loader named by the path; Unknown when no name part occurs.
EVolumeFormat FormatFromPath(const std::string& path);
// The loader named by the first of the file's first 10 lines that holds an identifying phrase;
// Unknown when none does, or the file cannot be opened.
EVolumeFormat IdentifyContent(const std::string& path);
// The log line of a format found by content ("Identified ...").
const char* IdentifiedLogLine(EVolumeFormat format);
} // namespace volumira3d
