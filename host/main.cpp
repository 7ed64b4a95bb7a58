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
    if (options.m_BatchScript.empty()) return RunGui(argc, argv, host, options);

    CBatchRunner runner(host, std::cout, std::cerr);
    for (const auto& path : options.m_PlugIns)
    {
        bool refused = false;
        if (!host.LoadPlugIn(path, error, refused))
        {
            std::cerr << error << "\n";
            return 1;
        }
    }
    const int failures = runner.RunFile(options.m_BatchScript);
    host.UnloadAll();
    if (failures != 0)
        std::cerr << (failures < 0 ? std::string("batch script not run")
                                   : std::to_string(failures) + " command(s) failed")
                  << "\n";
    return failures == 0 ? 0 : 1;
}
