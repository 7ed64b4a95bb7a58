#include "platform/ControlKind.h"

#include "platform/BuiltinKinds.h"
#include "platform/Dialog.h"

#include <map>
#include <sstream>

namespace
{
std::map<std::string, std::shared_ptr<CControlKind>>& Table()
{
    static std::map<std::string, std::shared_ptr<CControlKind>> table = []
    {
        std::map<std::string, std::shared_ptr<CControlKind>> kinds;
        for (auto& kind : BuiltinKinds())
            kinds[kind->Name()] = std::move(kind);
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

void CControlKinds::Register(std::shared_ptr<CControlKind> kind)
{
    if (!kind) return;
    std::string name = kind->Name();
    Table()[name] = std::move(kind);
}

std::shared_ptr<CControlKind> CControlKinds::Find(const std::string& name)
{
    auto it = Table().find(name);
    return it == Table().end() ? nullptr : it->second;
}

std::shared_ptr<const CControlKind> CControlKinds::Fallback()
{
    static const auto fallback = std::make_shared<CUnregisteredKind>();
    return fallback;
}
