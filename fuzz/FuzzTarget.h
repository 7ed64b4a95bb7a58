// The fuzz targets: one entry per file reader, naming the reader, the seed files that start its
// corpus and how one input is fed to it. A new reader joins the fuzzing with one entry in
// FuzzTargets.cpp.
#pragma once
#include <string>
#include <string_view>

struct CFuzzInput
{
    std::string m_Path;       // the input written to a file, for readers that take a path
    std::string_view m_Bytes; // the same bytes, for readers of text in memory
};

struct CFuzzTarget
{
    const char* m_Name;
    // Blank-separated file patterns relative to the repository root; "$REALDATA" stands for the
    // shared folder of real output files.
    const char* m_Seeds;
    void (*m_Run)(const CFuzzInput& input);
};

// Every target, ending with an entry whose name is null.
extern const CFuzzTarget FuzzTargets[];
