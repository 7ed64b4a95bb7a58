#include "platform/Clock.h"

#include <chrono>
#include <ctime>

DWORD GetTickCount()
{
    using namespace std::chrono;
    return static_cast<DWORD>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::string FormatCurrentTime(const char* format)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[256];
    const size_t n = std::strftime(buffer, sizeof buffer, format, &local);
    return std::string(buffer, n);
}
