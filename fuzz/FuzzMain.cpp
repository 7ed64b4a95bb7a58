// The one fuzzing executable: --target=NAME picks the reader (libFuzzer passes flags starting with
// "--" through untouched), --list prints every target with its seed patterns.
#include "fuzz/FuzzTarget.h"

#include "platform/HeadlessBackend.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace
{
const CFuzzTarget* g_pTarget = nullptr;
std::string g_InputPath;

const CFuzzTarget* FindTarget(const char* name)
{
    for (const CFuzzTarget* t = FuzzTargets; t->m_Name; ++t)
        if (std::strcmp(t->m_Name, name) == 0) return t;
    return nullptr;
}

void ListTargets()
{
    for (const CFuzzTarget* t = FuzzTargets; t->m_Name; ++t)
        std::printf("%s\t%s\n", t->m_Name, t->m_Seeds);
}

std::string InputPath()
{
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/tessaron-fuzz-" + std::to_string(getpid()) +
           ".input";
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    const char* name = nullptr;
    for (int i = 1; i < *argc; ++i)
    {
        const char* arg = (*argv)[i];
        if (std::strcmp(arg, "--list") == 0)
        {
            ListTargets();
            std::exit(0);
        }
        if (std::strncmp(arg, "--target=", 9) == 0) name = arg + 9;
    }
    g_pTarget = name ? FindTarget(name) : nullptr;
    if (!g_pTarget)
    {
        std::fprintf(stderr, "name a fuzz target with --target=NAME; --list shows them\n");
        std::exit(2);
    }
    g_InputPath = InputPath();
    std::atexit([] { unlink(g_InputPath.c_str()); });
    // Readers report to message boxes; headless, they are recorded and answered by default.
    CHeadlessBackend::Instance().Reset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    {
        std::ofstream out(g_InputPath, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    g_pTarget->m_Run({g_InputPath, std::string_view(reinterpret_cast<const char*>(data), size)});
    // The records of the boxes shown would otherwise grow with every input.
    CHeadlessBackend::Instance().Reset();
    return 0;
}
