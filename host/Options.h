// Command-line options of tessaron-host.
#pragma once
#include <string>
#include <vector>

struct CHostOptions
{
    std::string m_BatchScript;          // --batch SCRIPT: headless run
    double m_InterfaceVersion = 2.4;    // --interface-version V
    float m_SnapPointSize = 1.0f;       // --snap-point-size S
    std::vector<std::string> m_PlugIns; // plug-in libraries named on the command line
    std::string m_GuiScript;            // --script SCRIPT: user actions run in the window
    bool m_BatchHelp = false;           // --batch-help: print the script verbs
    std::string m_Geometry;             // --geometry INPUT: a geometry shown under the data

    // False with a message for unknown or incomplete options.
    bool Parse(int argc, char** argv, std::string& error);
    static const char* Usage();
};

// The folder of the running executable.
std::string ExecutableDir();
// Plug-in libraries next to the executable (lib*.so that are not our own support libraries).
std::vector<std::string> PlugInsBeside();
