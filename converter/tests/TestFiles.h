#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace trakor::testing
{

// An empty folder for one test under the build tree.
inline std::filesystem::path WorkFolder(const std::string& name)
{
    const std::filesystem::path folder =
        std::filesystem::path(TESSARON_BINARY_DIR) / "converter-tests" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// The folder of the running test (tests may run in parallel processes).
inline std::filesystem::path CurrentTestFolder()
{
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    return WorkFolder(name);
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace trakor::testing
