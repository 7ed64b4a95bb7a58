// Outputs either complete or leave the old file: long names, failures, a full disk, kill -9.
#include "platform/SafeWrite.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
fs::path Folder(const std::string& name)
{
    const fs::path dir = fs::temp_directory_path() / ("safewrite-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string Text(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Write(const fs::path& path, const std::string& text, std::string& error)
{
    CSafeOutput out(path.string());
    out.Stream() << text;
    const bool ok = out.Commit();
    error = out.Error();
    return ok;
}

size_t Entries(const fs::path& dir)
{
    return size_t(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}
} // namespace

TEST(SafeWrite, ALegalLongestNameIsWrittenThroughAShortTemporaryName)
{
    const fs::path dir = Folder("long");
    const fs::path path = dir / (std::string(250, 'a') + ".vtk"); // 254 bytes
    std::string error;
    ASSERT_TRUE(Write(path, "new", error)) << error; // NAME.part was "File name too long"
    EXPECT_EQ(Text(path), "new");
    EXPECT_EQ(Entries(dir), 1u);
    EXPECT_EQ(PartName(path.string()), PartName(path.string())) << "a leftover is reused";
    EXPECT_EQ(PartName("/x/run.avg"), "/x/run.avg.part");
}

TEST(SafeWrite, AFailedWriteKeepsTheOldFileAndLeavesNothing)
{
    const fs::path dir = Folder("fail");
    std::string error;
    ASSERT_TRUE(Write(dir / "out.txt", "old", error));
    {
        CSafeOutput out((dir / "out.txt").string());
        out.Stream() << "half";
    } // no commit: an exception or an early return
    EXPECT_EQ(Text(dir / "out.txt"), "old");
    EXPECT_EQ(Entries(dir), 1u);
    // The final name is taken by a folder: the rename fails, the reason is said.
    fs::create_directory(dir / "taken");
    EXPECT_FALSE(Write(dir / "taken", "x", error));
    EXPECT_EQ(error, "Cannot write " + (dir / "taken").string() + ": Is a directory");
    EXPECT_FALSE(Write(dir / "missing" / "out.txt", "x", error));
    EXPECT_EQ(error, "Cannot write " + (dir / "missing" / "out.txt").string() +
                         ": No such file or directory");
    EXPECT_EQ(Entries(dir), 2u);
}

TEST(SafeWrite, AFullDiskKeepsTheOldFileAndLeavesNothing)
{
    const fs::path dir = Folder("full");
    if (mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "a small tmpfs cannot be mounted here (" << std::strerror(errno) << ")";
    std::string error;
    const bool old = Write(dir / "out.bin", "old", error);
    const bool big = Write(dir / "out.bin", std::string(1 << 20, 'x'), error);
    const std::string kept = Text(dir / "out.bin");
    const size_t entries = Entries(dir);
    umount(dir.c_str());
    ASSERT_TRUE(old);
    EXPECT_FALSE(big);
    EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
    EXPECT_EQ(kept, "old");
    EXPECT_EQ(entries, 1u);
}

TEST(SafeWrite, AKilledWriterLeavesNothingUnderTheFinalName)
{
    const fs::path dir = Folder("kill");
    std::string error;
    ASSERT_TRUE(Write(dir / "out.txt", "old", error));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0)
    {
        CSafeOutput out((dir / "out.txt").string());
        out.Stream() << std::string(1 << 16, 'x') << std::flush;
        (void)!write(ready[1], "x", 1);
        pause(); // killed in the middle of the write
        _exit(0);
    }
    char c;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(Text(dir / "out.txt"), "old");
    // The leftover is the next write's temporary file, and goes with it.
    ASSERT_TRUE(Write(dir / "out.txt", "new", error)) << error;
    EXPECT_EQ(Text(dir / "out.txt"), "new");
    EXPECT_EQ(Entries(dir), 1u);
}
