#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace trakor::testing
{

// An empty folder for one test under the build tree.
inline std::filesystem::path workFolder(const std::string& name)
{
    const std::filesystem::path folder =
        std::filesystem::path(TESSARON_BINARY_DIR) / "converter-tests" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace trakor::testing
