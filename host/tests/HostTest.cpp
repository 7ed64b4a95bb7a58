#include "host/Host.h"
#include "host/BatchRunner.h"
#include "platform/ControlKind.h"
#include "platform/Dialog.h"
#include "platform/HeadlessBackend.h"
#include "platform/ScriptVerbs.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <sstream>

namespace
{
const std::string PlugInDir = TESSARON_BINARY_DIR "/bin";
}

TEST(Host, LoadFailuresQuoteTheLoader)
{
    CHost host;
    std::string error;
    bool refused = false;
    EXPECT_FALSE(host.LoadPlugIn("/nonexistent/libNothing.so", error, refused));
    EXPECT_NE(error.find("libNothing.so"), std::string::npos);
    EXPECT_FALSE(host.LoadPlugIn(PlugInDir + "/libplatform.so", error, refused));
    EXPECT_EQ(error.rfind("cannot resolve InitPlugIn: ", 0), 0u) << error;
}

TEST(Host, ToolbarBoxAndRedrawThroughARealPlugIn)
{
    CHeadlessBackend::Instance().Reset();
    CHost host;
    int redraws = 0;
    host.SetRedrawHandler([&] { ++redraws; });
    std::string error;
    bool refused = true;
    ASSERT_TRUE(host.LoadPlugIn(PlugInDir + "/libTrakor3D.so", error, refused)) << error;
    EXPECT_FALSE(refused);
    ASSERT_EQ(host.Buttons().size(), 1u);
    EXPECT_EQ(host.Buttons()[0].m_Caption, "Trakor3D");
    EXPECT_EQ(host.PlugIns()[0]->m_Name, "Trakor 3D V 3.6");
    EXPECT_EQ(host.PlugIns()[0]->m_CommandId, 101);
    EXPECT_TRUE(host.PressButton("Trakor3D"));
    EXPECT_NE(CDialog::FindShown("Trakor 3D"), nullptr);

    CVector lo, hi;
    EXPECT_FALSE(host.Box(lo, hi)) << "an inverted box counts as empty";
    std::ostringstream vrml;
    host.ExportVRML(vrml);
    EXPECT_EQ(vrml.str(), "#VRML V2.0 utf8\n\n");

    host.UnloadAll();
    EXPECT_TRUE(host.Buttons().empty());
    EXPECT_EQ(CDialog::FindShown("Trakor 3D"), nullptr) << "unloading destroys the dialog";
}

TEST(Host, RefusingPlugInIsUnloadedAndLeavesNoButton)
{
    CHeadlessBackend::Instance().Reset();
    CHost host;
    host.SetInterfaceVersion(2.2);
    std::string error;
    bool refused = false;
    ASSERT_TRUE(host.LoadPlugIn(PlugInDir + "/libTrakor3D.so", error, refused));
    EXPECT_TRUE(refused);
    EXPECT_TRUE(host.PlugIns().empty());
    EXPECT_FALSE(host.PressButton("Trakor3D"));
    EXPECT_EQ(CHeadlessBackend::Instance().Messages().size(), 1u);
}

namespace
{
const std::string TinyDir = TINY_PLUGIN_DIR;
}

TEST(Host, AMissingExportIsNamedWithTheLoadersText)
{
    CHost host;
    std::string error;
    bool refused = false;
    EXPECT_FALSE(host.LoadPlugIn(TinyDir + "/libTinyNoBox.so", error, refused));
    EXPECT_EQ(error.rfind("cannot resolve Box: ", 0), 0u) << error;
    EXPECT_NE(error.find("undefined symbol: Box"), std::string::npos) << error;
    EXPECT_TRUE(host.PlugIns().empty());
}

TEST(Host, AnUnloadableLibraryQuotesTheLoader)
{
    CHost host;
    std::string error;
    bool refused = false;
    EXPECT_FALSE(host.LoadPlugIn(TinyDir + "/libTinyUnresolved.so", error, refused));
    EXPECT_NE(error.find("libTinyUnresolved.so"), std::string::npos) << error;
    EXPECT_NE(error.find("undefined symbol: TinySymbolNobodyDefines"), std::string::npos) << error;
}

TEST(Host, TheInterfaceVersionDecidesWhetherATinyPlugInStarts)
{
    CHost host;
    std::string error;
    bool refused = true;
    ASSERT_TRUE(host.LoadPlugIn(TinyDir + "/libTinyGood.so", error, refused)) << error;
    EXPECT_FALSE(refused);
    EXPECT_EQ(host.PlugIns().at(0)->m_Name, "Tiny");
    EXPECT_TRUE(host.PressButton("Tiny"));
    host.UnloadAll();

    host.SetInterfaceVersion(2.2);
    ASSERT_TRUE(host.LoadPlugIn(TinyDir + "/libTinyGood.so", error, refused)) << error;
    EXPECT_TRUE(refused);
    EXPECT_TRUE(host.PlugIns().empty());
    EXPECT_TRUE(host.Buttons().empty());
}

// Verbs and kinds a plug-in registers point into its code: they must be gone once it is unmapped.
TEST(Host, AnUnloadedPlugInTakesItsVerbAndKindAlong)
{
    const std::string path = TinyDir + "/libTinyVerbs.so";
    CHost host;
    std::string error;
    bool refused = true;
    ASSERT_TRUE(host.LoadPlugIn(path, error, refused)) << error;
    ASSERT_NE(CScriptVerbs::Find("tinyverb"), nullptr);
    ASSERT_NE(CControlKinds::Find("TinyKind"), nullptr);
    std::ostringstream out, err;
    CBatchRunner runner(host, out, err);
    EXPECT_EQ(runner.RunText("tinyverb\n", "test"), 0);
    EXPECT_EQ(out.str(), "tiny verb\n");

    host.UnloadAll();
    EXPECT_EQ(dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr) << "still mapped";
    EXPECT_EQ(CScriptVerbs::Find("tinyverb"), nullptr);
    EXPECT_EQ(CControlKinds::Find("TinyKind"), nullptr);
    for (const CScriptVerb* verb : CScriptVerbs::All())
        EXPECT_FALSE(verb->m_Usage.empty());
    EXPECT_EQ(runner.RunText("tinyverb\n", "test"), 1);
    EXPECT_NE(err.str().find("tinyverb: unknown command"), std::string::npos) << err.str();
}
