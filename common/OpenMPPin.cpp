#include "common/OpenMPPin.h"

#include <dlfcn.h>

bool PinOpenMPRuntime()
{
    return dlopen("libgomp.so.1", RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
}
