// Files of a running test: a folder of its own under the build folder, scratch files written
// into it and read back, and paths into the source tree.
#pragma once
#include <filesystem>
#include <string>

namespace testkit
{
// build/test-scratch/SUITE.NAME, created on first use and emptied when a test first asks for it
// in this process, so that a rerun starts clean. Throws outside a running test.
std::filesystem::path TestDir();
// Writes content byte for byte into TestDir()/name; returns the path. Throws when it cannot.
std::string WriteScratch(const std::string& name, const std::string& content);
// The whole file as bytes; empty when it cannot be read.
std::string ReadText(const std::string& path);
// A path below the source tree, e.g. SourcePath("volume/tests/data/x.usrbin").
std::string SourcePath(const std::string& relative);
} // namespace testkit
