#include "platform/ScriptVerbs.h"

#include "platform/Win.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <list>
#include <map>

namespace
{
struct CEntry
{
    std::uint64_t m_Ticket;
    CScriptVerb m_Verb;
};

// Per name the verbs registered under it, the latest last (a list: entries never move).
std::map<std::string, std::list<CEntry>>& Table()
{
    static std::map<std::string, std::list<CEntry>> table;
    return table;
}
} // namespace

std::uint64_t CScriptVerbs::Register(CScriptVerb verb)
{
    static std::uint64_t lastTicket = 0;
    std::string name = verb.m_Name;
    Table()[name].push_back({++lastTicket, std::move(verb)});
    return lastTicket;
}

void CScriptVerbs::Unregister(const std::string& name, std::uint64_t ticket)
{
    auto it = Table().find(name);
    if (it == Table().end()) return;
    it->second.remove_if([ticket](const CEntry& e) { return e.m_Ticket == ticket; });
    if (it->second.empty()) Table().erase(it);
}

const CScriptVerb* CScriptVerbs::Find(const std::string& name)
{
    auto it = Table().find(name);
    return it == Table().end() ? nullptr : &it->second.back().m_Verb;
}

std::vector<const CScriptVerb*> CScriptVerbs::All()
{
    std::vector<const CScriptVerb*> all;
    for (const auto& [name, entries] : Table())
        all.push_back(&entries.back().m_Verb);
    return all;
}

CScriptVerbRegistration::CScriptVerbRegistration(std::vector<CScriptVerb> verbs)
{
    for (auto& v : verbs)
    {
        std::string name = v.m_Name;
        m_Tickets.emplace_back(std::move(name), CScriptVerbs::Register(std::move(v)));
    }
}

CScriptVerbRegistration::~CScriptVerbRegistration()
{
    for (const auto& [name, ticket] : m_Tickets)
        CScriptVerbs::Unregister(name, ticket);
}

bool CScriptVerbs::CountFits(const CScriptVerb& verb, const CScriptCommand& cmd)
{
    const size_t n = cmd.m_Args.empty() ? 0 : cmd.m_Args.size() - 1;
    return n >= verb.m_MinArgs && n <= verb.m_MaxArgs;
}

bool CScriptContext::Wrong(const CScriptCommand& cmd, const std::string& message)
{
    const CScriptVerb* verb = cmd.m_Args.empty() ? nullptr : CScriptVerbs::Find(cmd.m_Args[0]);
    return Fail(cmd, verb ? message + " (usage: " + verb->m_Usage + ")" : message);
}

bool CScriptContext::Int(const CScriptCommand& cmd, size_t index, int& value)
{
    if (index >= cmd.m_Args.size()) return Wrong(cmd, "missing argument " + std::to_string(index));
    const std::string& arg = cmd.m_Args[index];
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(arg.c_str(), &end, 10);
    if (end == arg.c_str() || *end) return Wrong(cmd, "not an integer: " + arg);
    if (errno == ERANGE || v < std::numeric_limits<int>::min() ||
        v > std::numeric_limits<int>::max())
        return Wrong(cmd, "out of range: " + arg);
    value = static_cast<int>(v);
    return true;
}

bool CScriptContext::Double(const CScriptCommand& cmd, size_t index, double& value)
{
    if (index >= cmd.m_Args.size()) return Wrong(cmd, "missing argument " + std::to_string(index));
    const std::string& arg = cmd.m_Args[index];
    char* end = nullptr;
    value = std::strtod(arg.c_str(), &end);
    if (end == arg.c_str() || *end) return Wrong(cmd, "not a number: " + arg);
    return true;
}

bool CScriptContext::Rgb(const CScriptCommand& cmd, size_t first, std::uint32_t& color)
{
    int c[3];
    for (size_t i = 0; i < 3; ++i)
    {
        if (!Int(cmd, first + i, c[i])) return false;
        if (c[i] < 0 || c[i] > 255) return Wrong(cmd, "a colour component is 0..255");
    }
    color = RGB(c[0], c[1], c[2]);
    return true;
}
