#include "platform/ScriptVerbs.h"

#include <cstdlib>
#include <map>

namespace
{
std::map<std::string, CScriptVerb>& Table()
{
    static std::map<std::string, CScriptVerb> table;
    return table;
}
} // namespace

void CScriptVerbs::Register(CScriptVerb verb)
{
    std::string name = verb.m_Name;
    Table()[name] = std::move(verb);
}

const CScriptVerb* CScriptVerbs::Find(const std::string& name)
{
    auto it = Table().find(name);
    return it == Table().end() ? nullptr : &it->second;
}

std::vector<const CScriptVerb*> CScriptVerbs::All()
{
    std::vector<const CScriptVerb*> all;
    for (const auto& [name, verb] : Table())
        all.push_back(&verb);
    return all;
}

bool CScriptContext::Int(const CScriptCommand& cmd, size_t index, int& value)
{
    if (index >= cmd.m_Args.size()) return Fail(cmd, "missing argument " + std::to_string(index));
    const std::string& arg = cmd.m_Args[index];
    char* end = nullptr;
    const long v = std::strtol(arg.c_str(), &end, 10);
    if (end == arg.c_str() || *end) return Fail(cmd, "not an integer: " + arg);
    value = static_cast<int>(v);
    return true;
}

bool CScriptContext::Double(const CScriptCommand& cmd, size_t index, double& value)
{
    if (index >= cmd.m_Args.size()) return Fail(cmd, "missing argument " + std::to_string(index));
    const std::string& arg = cmd.m_Args[index];
    char* end = nullptr;
    value = std::strtod(arg.c_str(), &end);
    if (end == arg.c_str() || *end) return Fail(cmd, "not a number: " + arg);
    return true;
}
