// tessaron-host: a stand-in for the 3D editor that loads the plug-ins, in a window or in batch.
#include "host/BatchRunner.h"
#include "host/Host.h"
#include "host/Options.h"
#include "platform/ScriptVerbs.h"

#include "common/ColorPicker.h"

#include <iostream>

int RunGui(int argc, char** argv, CHost& host, const CHostOptions& options);

int main(int argc, char** argv)
{
    RegisterColorPicker();
    CHostOptions options;
    std::string error;
    if (!options.Parse(argc, argv, error))
    {
        std::cerr << error << "\n";
        return 2;
    }
    if (options.m_BatchHelp)
    {
        for (const CScriptVerb* verb : CScriptVerbs::All())
            std::cout << verb->m_Usage << "\n";
        return 0;
    }
    CHost host;
    host.SetInterfaceVersion(options.m_InterfaceVersion);
    host.m_SnapPointSize = options.m_SnapPointSize;
    if (!options.m_Geometry.empty())
    {
        std::vector<std::string> errors, notes;
        const bool loaded = host.Geometry().Load(options.m_Geometry, errors, notes);
        for (const std::string& line : loaded ? notes : errors)
            std::cerr << line << "\n";
        if (!loaded) return 1;
    }
    const bool render = !options.m_Output.empty();
    if (options.m_BatchScript.empty() && !render) return RunGui(argc, argv, host, options);

    CBatchRunner runner(host, std::cout, std::cerr);
    // A one-line render takes every plug-in there is, as the window does.
    const auto plugIns = render && options.m_PlugIns.empty() ? PlugInsBeside() : options.m_PlugIns;
    for (const auto& path : plugIns)
    {
        bool refused = false;
        if (!host.LoadPlugIn(path, error, refused))
        {
            std::cerr << error << "\n";
            return 1;
        }
    }
    const int failures = render ? runner.RunText(options.FileScript(), "the command line")
                                : runner.RunFile(options.m_BatchScript);
    host.UnloadAll();
    if (failures != 0)
        std::cerr << (failures < 0 ? std::string("batch script not run")
                                   : std::to_string(failures) + " command(s) failed")
                  << "\n";
    return failures == 0 ? 0 : 1;
}
