// What the readers ask of a path before they open it, without exceptions: is it a regular file,
// and how large is it.
#pragma once
#include <cstdint>
#include <string>

bool IsRegularFile(const std::string& path);
// False when the path is no regular file or its size cannot be told.
bool RegularFileSize(const std::string& path, std::uint64_t& size);
// The size of a file in bytes; 0 when it cannot be told.
std::uint64_t FileBytes(const std::string& path);
