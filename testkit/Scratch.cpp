#include "testkit/Scratch.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>

namespace testkit
{
namespace
{
// Parameterised tests carry "/" in their names.
std::string FolderName(const ::testing::TestInfo& info)
{
    std::string name = std::string(info.test_suite_name()) + "." + info.name();
    for (char& c : name)
        if (c == '/') c = '_';
    return name;
}
} // namespace

std::filesystem::path TestDir()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!info) throw std::logic_error("TestDir() outside a running test");
    const auto dir =
        std::filesystem::path(TESSARON_BINARY_DIR) / "test-scratch" / FolderName(*info);
    static std::set<std::filesystem::path> emptied;
    if (emptied.insert(dir).second) std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

std::string WriteScratch(const std::string& name, const std::string& content)
{
    const std::string path = (TestDir() / name).string();
    std::ofstream out(path, std::ios::binary);
    out << content;
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
    return path;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string SourcePath(const std::string& relative)
{
    return std::string(TESSARON_SOURCE_DIR) + "/" + relative;
}
} // namespace testkit
