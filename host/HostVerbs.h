// Helpers for the host's script verbs: each verb is a small function of the runner that runs it
// and of the command, registered into the verb table from the file that defines it.
#pragma once
#include "host/BatchRunner.h"
#include "platform/ScriptVerbs.h"

#include <cstddef>
#include <string>

using HostVerbHandler = bool (*)(CBatchRunner& runner, const CScriptCommand& cmd);

struct CHostVerbArgs
{
    size_t m_Min = 0;
    size_t m_Max = 0;
};

// A number as the verbs print it (%g).
std::string NumberText(double v);

// A verb whose handler is given the host's runner (its context in batch and window scripts).
CScriptVerb HostVerb(const std::string& name, const std::string& usage, CHostVerbArgs args,
                     HostVerbHandler run, bool onDialog = false);
