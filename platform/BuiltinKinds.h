// The kinds of the dialog framework's own controls (ECtrlKind), registered under the words the
// batch dump prints for them.
#pragma once
#include "platform/ControlKind.h"

#include <vector>

std::vector<std::shared_ptr<CControlKind>> BuiltinKinds();
