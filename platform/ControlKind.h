// A control kind as one unit: the state it keeps beyond the common part, how it takes its
// template, how it answers a user's click or selection, and how the batch commands describe it.
// Kinds are registered by name; the built-in kinds under the names the batch dump prints
// ("edit", "list", ...), others under the class name their templates give (CDlgTemplate::Custom).
// The wx backend keeps a parallel table of views under the same names (platform/wx).
#pragma once
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

struct CControlState;

// What a kind keeps for one control beyond CControlState's common part.
class CControlKindState
{
public:
    virtual ~CControlKindState() = default;
};

class CControlKind
{
public:
    virtual ~CControlKind() = default;
    // The registry name; for the built-in kinds also the word the dump prints.
    virtual std::string Name() const = 0;
    // The word "dump" prints for the kind; kinds of templates' custom classes print "custom".
    virtual std::string DumpName() const { return "custom"; }
    virtual std::unique_ptr<CControlKindState> NewState() const { return nullptr; }
    // Takes what the template says into a fresh state (the common part is already set).
    virtual void Init(CControlState& s) const;

    virtual bool HasItems() const { return false; }
    // A click changes the state before BN_CLICKED reaches the dialog (check boxes toggle).
    virtual void OnClick(CControlState&) const {}
    // The notification code a changed selection sends.
    virtual int SelectionCode() const;

    // The control's value as one line ("print ID" and the value of "dump").
    virtual std::string Describe(const CControlState& s) const;
    // The lines "print ID" shows below the value line.
    virtual void PrintDetails(const CControlState&, std::ostream&) const {}
    // The " = value" part of a "dump" line (nothing at all for labels) and the lines below it.
    virtual void DumpValue(const CControlState& s, std::ostream& out) const;
    virtual void DumpDetails(const CControlState&, std::ostream&) const {}
};

// The one table of kinds; the built-in kinds are in it from the start.
class CControlKinds
{
public:
    // Registering a name again shadows the earlier kind until the later one is unregistered
    // (controls made before keep theirs). Returns the ticket that unregisters it; 0 for no kind.
    static std::uint64_t Register(std::shared_ptr<CControlKind> kind);
    // Removes the kind registered with ticket (and nothing registered under the name since).
    static void Unregister(const std::string& name, std::uint64_t ticket);
    static std::shared_ptr<CControlKind> Find(const std::string& name);
    // The kind that shows a control nobody registered (its text, as a label would).
    static std::shared_ptr<const CControlKind> Fallback();
};

// Registers a kind for as long as it lives. A plug-in registers its kinds this way (a static
// object) so that they leave the table when it is unloaded, before their code is unmapped; its
// dialogs, which share the kind, must be gone by then.
class CControlKindRegistration
{
public:
    explicit CControlKindRegistration(std::shared_ptr<CControlKind> kind);
    ~CControlKindRegistration();
    CControlKindRegistration(const CControlKindRegistration&) = delete;
    CControlKindRegistration& operator=(const CControlKindRegistration&) = delete;

private:
    std::string m_Name;
    std::uint64_t m_Ticket = 0;
};
