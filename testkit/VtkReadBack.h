// Reads a VTK XML file with VTK's own readers (Debian's python3-vtk9, run by /usr/bin/python3)
// and returns what they saw, so that tests check exported files against a real reader.
#pragma once
#include <map>
#include <string>
#include <vector>

namespace testkit
{
struct CVtkFileView
{
    std::string m_Skip;  // why the check cannot run here (the reader is not installed)
    std::string m_Error; // the reader failed or reported an error
    // Facts by key: "class", "points", "cells", "extent", "origin", "spacing", "direction",
    // "verts", "lines", "array\tcell\tNAME" (components, tuples, type), "cell\tN" (cell class
    // and point ids), "values\tcell/NAME" and "values\tpoints" (the values as text).
    std::map<std::string, std::vector<std::string>> m_Facts;

    const std::vector<std::string>& Fact(const std::string& key) const;
    std::vector<double> Numbers(const std::string& key) const;
    std::vector<double> Values(const std::string& array) const
    {
        return Numbers("values\t" + array);
    }
    long long Count(const std::string& key) const;
};

CVtkFileView ReadVtkFile(const std::string& path);
} // namespace testkit

// Skips the running test with a clear line when VTK's readers are not installed.
#define SKIP_WITHOUT_VTK_READER(view)                                                              \
    if (!(view).m_Skip.empty()) GTEST_SKIP() << (view).m_Skip
