#include "platform/wx/WxControlView.h"

#include "platform/wx/WxBuiltinViews.h"

#include <map>

namespace
{
std::map<std::string, std::shared_ptr<const CWxControlView>>& Table()
{
    static std::map<std::string, std::shared_ptr<const CWxControlView>> table = WxBuiltinViews();
    return table;
}
} // namespace

void CWxControlViews::Register(const std::string& kindName,
                               std::shared_ptr<const CWxControlView> view)
{
    Table()[kindName] = std::move(view);
}

const CWxControlView* CWxControlViews::Find(const std::string& kindName)
{
    auto it = Table().find(kindName);
    return it == Table().end() ? nullptr : it->second.get();
}
