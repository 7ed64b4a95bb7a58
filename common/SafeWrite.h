// The last step of every output written through a temporary file beside it: the temporary
// file reaches the disk, then replaces the final name in one rename, so that a failed or
// interrupted write leaves the old file as it was.
#pragma once
#include <string>

// The temporary name a write of path goes to first.
std::string PartName(const std::string& path);

// Syncs temp and renames it to path; on any failure removes temp and puts "Cannot write PATH:
// reason" into error.
bool CommitFile(const std::string& temp, const std::string& path, std::string& error);

// Removes temp and puts "Cannot write PATH: reason" into error; false, for returning.
bool AbandonFile(const std::string& temp, const std::string& path, const std::string& reason,
                 std::string& error);
