#include "host/Options.h"

#include "host/Camera.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <utility>

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
        else if (arg == "--output" || arg == "--camera" || arg == "--planes" ||
                 arg == "--palette" || arg == "--range" || arg == "--title")
        {
            std::string& out = arg == "--output"    ? m_Output
                               : arg == "--camera"  ? m_Camera
                               : arg == "--planes"  ? m_Planes
                               : arg == "--palette" ? m_Palette
                               : arg == "--range"   ? m_Range
                                                    : m_Title;
            if (!value(out)) return false;
        }
        else if (arg == "--size")
        {
            if (!value(v)) return false;
            char x = 0;
            int w = 0, h = 0;
            if (std::sscanf(v.c_str(), "%d%c%d", &w, &x, &h) != 3 || x != 'x' || w < 16 || h < 16 ||
                w > 8192 || h > 8192)
            {
                error = "--size: give WIDTHxHEIGHT, 16 to 8192 each: " + v;
                return false;
            }
            m_Width = w, m_Height = h;
        }
        else if (arg == "--linear")
            m_Linear = true;
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
        else if (arg.size() > 3 && arg.ends_with(".so"))
            m_PlugIns.push_back(arg);
        else
            m_Files.push_back(arg);
    }
    if (!m_Output.empty() && m_Files.empty())
    {
        error = "--output needs a data file to render";
        return false;
    }
    for (const auto& [key, value] :
         {std::pair<std::string, std::string>{"planes", m_Planes}, {"range", m_Range}})
        if (!value.empty() && !CheckOpenOption(key + "=" + value, error))
        {
            error = "--" + error;
            return false;
        }
    if (!m_Camera.empty() && CCamera().SetView(m_Camera) == false)
    {
        error = "--camera: give x, y, z, -x, -y, -z or iso, not " + m_Camera;
        return false;
    }
    return true;
}

namespace
{
// One script argument: quoted, with \, " and $ kept as they are.
std::string Quoted(const std::string& arg)
{
    std::string q = "\"";
    for (const char c : arg)
    {
        if (c == '"' || c == '\\') q += '\\';
        q += c == '$' ? std::string("$$") : std::string(1, c);
    }
    return q + "\"";
}
} // namespace

bool CHostOptions::CheckOpenOption(const std::string& option, std::string& problem)
{
    const size_t eq = option.find('=');
    const std::string key = option.substr(0, eq),
                      value = eq == std::string::npos ? "" : option.substr(eq + 1);
    double a = 0, b = 0, c = 0;
    char tail = 0;
    if (key == "planes" && std::sscanf(value.c_str(), "%lf,%lf,%lf%c", &a, &b, &c, &tail) == 3)
        return true;
    if (key == "range" && std::sscanf(value.c_str(), "%lf:%lf%c", &a, &b, &tail) == 2 && a < b)
        return true;
    if ((key == "palette" && !value.empty()) || option == "linear") return true;
    problem = key == "planes"  ? "planes: give X,Y,Z in cm, not " + value
              : key == "range" ? "range: give MIN:MAX with MIN below MAX, not " + value
                               : "unknown option " + option +
                                     " (planes=X,Y,Z, palette=NAME, range=MIN:MAX, linear)";
    return false;
}

std::string CHostOptions::FileScript() const
{
    std::ostringstream script;
    for (const std::string& file : m_Files)
    {
        script << "open " << Quoted(file);
        const std::pair<const char*, const std::string*> options[] = {
            {"planes=", &m_Planes}, {"palette=", &m_Palette}, {"range=", &m_Range}};
        for (const auto& [key, value] : options)
            if (!value->empty()) script << ' ' << Quoted(key + *value);
        if (m_Linear) script << " linear";
        script << '\n';
    }
    if (!m_Camera.empty()) script << "view " << m_Camera << '\n';
    if (!m_Title.empty()) script << "title " << Quoted(m_Title) << '\n';
    if (!m_Output.empty())
        script << "render " << Quoted(m_Output) << ' ' << m_Width << ' ' << m_Height << '\n';
    return script.str();
}

const char* CHostOptions::Usage()
{
    return "usage: tessaron-host [--interface-version V] [--snap-point-size S] [--geometry INPUT]\n"
           "                    [PLUGIN.so ...] [FILE ...]\n"
           "       tessaron-host FILE ... --output PATH.png [--size WxH] [--camera "
           "x|y|z|-x|-y|-z|iso]\n"
           "                    [--planes X,Y,Z] [--palette NAME] [--range MIN:MAX] [--linear]\n"
           "                    [--title TEXT]   (render without a window)\n"
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
