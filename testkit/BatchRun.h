// Runs tessaron-host --batch on a script text, as a user's session would run, and returns what
// it printed. The script is written into the test's folder; $PLUGINS names the folder of the
// built plug-ins, $SOURCE the source tree and $WORK the test's folder, which is also the
// working directory.
#pragma once
#include <string>
#include <vector>

namespace testkit
{
struct CBatchResult
{
    int m_ExitCode = -1; // -1 when the host could not be started or did not exit normally
    std::string m_Out, m_Err;
};

CBatchResult RunBatch(const std::string& script, const std::vector<std::string>& hostArgs = {});
} // namespace testkit
