// The OpenMP runtime comes in with a plug-in that uses it, and its worker threads outlive the
// parallel loops. Unloading the plug-in must not unload the runtime under those threads: each such
// plug-in pins the runtime once when it is loaded.
#pragma once

// True when the runtime is loaded and now stays loaded.
bool PinOpenMPRuntime();
