// One entry point per reader for fuzzing and for tests of hostile bytes: the bytes are given to
// the format's own load function as a file (an anonymous in-memory one), on the headless
// backend, with every question answered by its default. A fuzz target is one call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace volumira3d
{
// Loads the bytes as the named format (FormatName of the declarations); true when the load
// reported success.
bool LoadVolumeBytes(std::string_view formatName, const std::uint8_t* data, std::size_t size);
// Averages the bytes with themselves, with errors, into a scratch file.
bool AverageBytes(const std::uint8_t* data, std::size_t size);
} // namespace volumira3d
