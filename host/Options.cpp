#include "host/Options.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

bool CHostOptions::Parse(int argc, char** argv, std::string& error)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        auto value = [&](std::string& out)
        {
            if (i + 1 >= argc)
            {
                error = arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "--batch")
        {
            if (!value(m_BatchScript)) return false;
        }
        else if (arg == "--script")
        {
            if (!value(m_GuiScript)) return false;
        }
        else if (arg == "--geometry")
        {
            if (!value(m_Geometry)) return false;
        }
        else if (arg == "--interface-version" || arg == "--snap-point-size")
        {
            if (!value(v)) return false;
            char* end = nullptr;
            const double d = std::strtod(v.c_str(), &end);
            if (end == v.c_str() || *end)
            {
                error = arg + ": not a number: " + v;
                return false;
            }
            if (arg == "--interface-version")
                m_InterfaceVersion = d;
            else
                m_SnapPointSize = static_cast<float>(d);
        }
        else if (arg == "--batch-help")
            m_BatchHelp = true;
        else if (arg == "--help" || arg == "-h")
        {
            error = Usage();
            return false;
        }
        else if (!arg.empty() && arg[0] == '-')
        {
            error = "unknown option " + arg + "\n" + Usage();
            return false;
        }
        else
            m_PlugIns.push_back(arg);
    }
    return true;
}

const char* CHostOptions::Usage()
{
    return "usage: tessaron-host [--interface-version V] [--snap-point-size S] [--geometry INPUT]\n"
           "                    [PLUGIN.so ...]\n"
           "       tessaron-host [options] --batch SCRIPT [PLUGIN.so ...]\n"
           "       tessaron-host [options] --script SCRIPT [PLUGIN.so ...]   (in the window)\n"
           "       tessaron-host --batch-help   (the script commands)";
}

std::string ExecutableDir()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

std::vector<std::string> PlugInsBeside()
{
    namespace fs = std::filesystem;
    std::error_code ec;
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(ExecutableDir(), ec))
    {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("lib") && name.ends_with(".so") && name != "libplatform.so")
            found.push_back(entry.path().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}
