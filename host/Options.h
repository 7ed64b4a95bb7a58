// Command-line options of tessaron-host.
#pragma once
#include <string>
#include <vector>

struct CHostOptions
{
    std::string m_BatchScript;          // --batch SCRIPT: headless run
    double m_InterfaceVersion = 2.5;    // --interface-version V
    float m_SnapPointSize = 1.0f;       // --snap-point-size S
    std::vector<std::string> m_PlugIns; // plug-in libraries named on the command line
    std::string m_GuiScript;            // --script SCRIPT: user actions run in the window
    bool m_BatchHelp = false;           // --batch-help: print the script verbs
    std::string m_Geometry;             // --geometry INPUT: a geometry shown under the data
    std::vector<std::string> m_Files;   // data files named on the command line
    // --output PATH.png: render what the files show without a window, and exit.
    std::string m_Output;
    int m_Width = 800, m_Height = 600; // --size WxH
    std::string m_Camera;              // --camera x|y|z|-x|-y|-z|iso
    std::string m_Planes;              // --planes X,Y,Z (cm)
    std::string m_Palette;             // --palette NAME
    std::string m_Range;               // --range MIN:MAX
    bool m_Linear = false;             // --linear
    std::string m_Title;               // --title TEXT

    // Whether an option of the open verb reads: "planes=X,Y,Z", "range=MIN:MAX" (MIN < MAX),
    // "palette=NAME", "linear"; false with the problem.
    static bool CheckOpenOption(const std::string& option, std::string& problem);
    // The batch script that opens the files and, with --output, renders them.
    std::string FileScript() const;

    // False with a message for unknown or incomplete options.
    bool Parse(int argc, char** argv, std::string& error);
    static const char* Usage();
};

// The folder of the running executable.
std::string ExecutableDir();
// Plug-in libraries next to the executable (lib*.so that are not our own support libraries).
std::vector<std::string> PlugInsBeside();
