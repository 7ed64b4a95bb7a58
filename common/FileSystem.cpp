#include "common/FileSystem.h"

#include <filesystem>

bool IsRegularFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool RegularFileSize(const std::string& path, std::uint64_t& size)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    if (error) return false;
    size = static_cast<std::uint64_t>(bytes);
    return true;
}

std::uint64_t FileBytes(const std::string& path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<std::uint64_t>(size);
}
