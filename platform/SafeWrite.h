// Every output is written through a temporary file beside it: the temporary file reaches the
// disk, then replaces the final name in one rename, so that a failed or interrupted write leaves
// the old file as it was and nothing half-written under the final name.
#pragma once
#include <fstream>
#include <string>

// The temporary name a write of path goes to first: "NAME.part" beside it, or, where that would
// pass the longest name the folder allows, a short name made from NAME. An interrupted write
// leaves it behind; the next write of the same path starts it afresh.
std::string PartName(const std::string& path);

// Syncs temp and renames it to path; on any failure removes temp and puts "Cannot write PATH:
// reason" into error.
bool CommitFile(const std::string& temp, const std::string& path, std::string& error);

// Removes temp and puts "Cannot write PATH: reason" into error; false, for returning.
bool AbandonFile(const std::string& temp, const std::string& path, const std::string& reason,
                 std::string& error);

// An output stream to PartName(path). Commit makes it path; without Commit (a failure, an
// exception, an early return) the temporary file is removed and path stays as it was.
class CSafeOutput
{
public:
    explicit CSafeOutput(const std::string& path,
                         std::ios::openmode mode = std::ios::binary | std::ios::trunc);
    ~CSafeOutput();
    CSafeOutput(const CSafeOutput&) = delete;
    CSafeOutput& operator=(const CSafeOutput&) = delete;

    // False, with Error() set, when the temporary file could not be created.
    bool IsOpen() const { return m_Out.is_open(); }
    std::ostream& Stream() { return m_Out; }
    // Flushes, closes, syncs and renames; false with Error() ("Cannot write PATH: reason").
    bool Commit();
    const std::string& Error() const { return m_Error; }

private:
    std::string m_Path, m_Temp, m_Error;
    std::ofstream m_Out;
    bool m_Done = false;
};
