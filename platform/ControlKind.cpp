#include "platform/ControlKind.h"

#include "platform/BuiltinKinds.h"
#include "platform/Dialog.h"

#include <list>
#include <map>
#include <sstream>

namespace
{
struct CEntry
{
    std::uint64_t m_Ticket; // 0 for the built-in kinds
    std::shared_ptr<CControlKind> m_Kind;
};

// Per name the kinds registered under it, the latest last.
std::map<std::string, std::list<CEntry>>& Table()
{
    static std::map<std::string, std::list<CEntry>> table = []
    {
        std::map<std::string, std::list<CEntry>> kinds;
        for (auto& kind : BuiltinKinds())
        {
            std::string name = kind->Name();
            kinds[name].push_back({0, std::move(kind)});
        }
        return kinds;
    }();
    return table;
}

class CUnregisteredKind : public CControlKind
{
public:
    std::string Name() const override { return {}; }
};
} // namespace

void CControlKind::Init(CControlState& s) const
{
    s.m_Text = s.m_Template.m_Text;
}

int CControlKind::SelectionCode() const
{
    return LBN_SELCHANGE;
}

std::string CControlKind::Describe(const CControlState& s) const
{
    return s.m_Text;
}

void CControlKind::DumpValue(const CControlState& s, std::ostream& out) const
{
    out << " = " << Describe(s);
}

std::uint64_t CControlKinds::Register(std::shared_ptr<CControlKind> kind)
{
    static std::uint64_t lastTicket = 0;
    if (!kind) return 0;
    std::string name = kind->Name();
    Table()[name].push_back({++lastTicket, std::move(kind)});
    return lastTicket;
}

void CControlKinds::Unregister(const std::string& name, std::uint64_t ticket)
{
    auto it = Table().find(name);
    if (ticket == 0 || it == Table().end()) return;
    it->second.remove_if([ticket](const CEntry& e) { return e.m_Ticket == ticket; });
    if (it->second.empty()) Table().erase(it);
}

std::shared_ptr<CControlKind> CControlKinds::Find(const std::string& name)
{
    auto it = Table().find(name);
    return it == Table().end() ? nullptr : it->second.back().m_Kind;
}

std::shared_ptr<const CControlKind> CControlKinds::Fallback()
{
    static const auto fallback = std::make_shared<CUnregisteredKind>();
    return fallback;
}

CControlKindRegistration::CControlKindRegistration(std::shared_ptr<CControlKind> kind)
    : m_Name(kind ? kind->Name() : std::string()),
      m_Ticket(CControlKinds::Register(std::move(kind)))
{
}

CControlKindRegistration::~CControlKindRegistration()
{
    CControlKinds::Unregister(m_Name, m_Ticket);
}
