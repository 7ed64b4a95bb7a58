// The wx views of the dialog framework's own kinds, by kind name.
#pragma once
#include "platform/wx/WxControlView.h"

#include <map>

std::map<std::string, std::shared_ptr<const CWxControlView>> WxBuiltinViews();
