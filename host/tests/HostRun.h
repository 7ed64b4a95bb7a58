// Runs script text through the host's runner in this process, on a freshly reset headless
// backend; what the script printed collects in m_Out and m_Err.
#pragma once
#include "host/BatchRunner.h"
#include "platform/HeadlessBackend.h"

#include <sstream>
#include <string>
#include <vector>

struct CHostRun
{
    CHost m_Host;
    std::ostringstream m_Out, m_Err;

    // The runner's result: failed commands, or -1 when the script does not parse.
    int Run(const std::string& script)
    {
        CHeadlessBackend::Instance().Reset();
        CBatchRunner runner(m_Host, m_Out, m_Err);
        return runner.RunText(script, "test");
    }
    // The lines written to the error stream, without the echoed message boxes.
    std::vector<std::string> Errors() const
    {
        std::vector<std::string> lines;
        std::istringstream in(m_Err.str());
        for (std::string line; std::getline(in, line);)
            if (line.rfind("[message box", 0) != 0) lines.push_back(line);
        return lines;
    }
};
