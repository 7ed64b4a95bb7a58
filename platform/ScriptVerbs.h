// The vocabulary of scripted user actions (batch runs and window scripts): one table of verbs
// that the host, control kinds and plug-ins add to. A verb is its name, a usage line, its
// argument count and a small handler; the runner checks the count and reports a wrong command
// once, with the usage line.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

class CDialog;

struct CScriptCommand
{
    std::string m_File;
    int m_Line = 0;
    std::vector<std::string> m_Args;     // m_Args[0] is the verb
    std::vector<CScriptCommand> m_Block; // the commands of a block verb ("modal ... end")
};

// What a verb handler may use of the runner that calls it.
class CScriptContext
{
public:
    virtual ~CScriptContext() = default;
    virtual std::ostream& Out() = 0;
    // Reports one failure of cmd (file, line, verb and message on one line); returns false.
    virtual bool Fail(const CScriptCommand& cmd, const std::string& message) = 0;
    // The dialog that dialog verbs act on; null when none is addressed.
    virtual CDialog* CurrentDialog() = 0;
    virtual void SetCurrentDialog(CDialog* pDlg) = 0;
    // Runs the commands of a block (inside a modal dialog, say).
    virtual void RunBlock(const std::vector<CScriptCommand>& block) = 0;
    // The window cmd acts on is not there (yet); called before the command has changed anything.
    // A runner that lets windows come up in their own time tries the command again later and
    // reports nothing now; otherwise this is Fail. Returns false.
    virtual bool Awaiting(const CScriptCommand& cmd, const std::string& message)
    {
        return Fail(cmd, message);
    }

    // Reports a wrongly written command once, with its verb's usage line; returns false.
    bool Wrong(const CScriptCommand& cmd, const std::string& message);
    // Argument parsing that reports through Wrong; false when cmd.m_Args[index] is not a number.
    bool Int(const CScriptCommand& cmd, size_t index, int& value);
    bool Double(const CScriptCommand& cmd, size_t index, double& value);
    // Three components 0..255 from cmd.m_Args[first..first+2].
    bool Rgb(const CScriptCommand& cmd, size_t first, std::uint32_t& color);
};

struct CScriptVerb
{
    using Handler = std::function<bool(CScriptContext&, const CScriptCommand&)>;
    std::string m_Name;
    std::string m_Usage; // e.g. "check ID 0|1"
    size_t m_MinArgs = 0;
    size_t m_MaxArgs = std::numeric_limits<size_t>::max();
    bool m_OnDialog = false; // needs an addressed dialog (the runner checks it first)
    bool m_Block = false;    // followed by a block of commands closed by "end"
    Handler m_Run;
};

// The one table. Registering a name again shadows the earlier verb until the later one is
// unregistered.
class CScriptVerbs
{
public:
    // Returns the ticket that unregisters this verb again.
    static std::uint64_t Register(CScriptVerb verb);
    // Removes the verb registered with ticket (and nothing registered under the name since).
    static void Unregister(const std::string& name, std::uint64_t ticket);
    // The pointer stays valid until the verb is unregistered.
    static const CScriptVerb* Find(const std::string& name);
    static std::vector<const CScriptVerb*> All(); // by name
    // False (and a message) when the command's argument count does not fit its verb.
    static bool CountFits(const CScriptVerb& verb, const CScriptCommand& cmd);
};

// Registers verbs for as long as it lives: `static CScriptVerbRegistration reg({...});`. A
// plug-in registers this way so that its verbs leave the table when it is unloaded, before
// their handlers' code is unmapped.
class CScriptVerbRegistration
{
public:
    explicit CScriptVerbRegistration(std::vector<CScriptVerb> verbs);
    ~CScriptVerbRegistration();
    CScriptVerbRegistration(const CScriptVerbRegistration&) = delete;
    CScriptVerbRegistration& operator=(const CScriptVerbRegistration&) = delete;

private:
    std::vector<std::pair<std::string, std::uint64_t>> m_Tickets;
};
