// System time and tick count.
#pragma once
#include "platform/Win.h"

#include <string>

// Milliseconds since an arbitrary start, as the system tick counter.
DWORD GetTickCount();
// The local date and time formatted with strftime conventions.
std::string FormatCurrentTime(const char* format);
