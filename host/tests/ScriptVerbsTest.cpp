#include "platform/ScriptVerbs.h"
#include "host/BatchRunner.h"
#include "host/tests/HostRun.h"
#include "platform/HeadlessBackend.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

TEST(ScriptVerbs, EveryVerbHasAUsageLineStartingWithItsName)
{
    const auto all = CScriptVerbs::All();
    ASSERT_GE(all.size(), 30u);
    for (const CScriptVerb* verb : all)
    {
        EXPECT_EQ(verb->m_Usage.rfind(verb->m_Name, 0), 0u) << verb->m_Name;
        EXPECT_TRUE(verb->m_Run) << verb->m_Name;
        EXPECT_LE(verb->m_MinArgs, verb->m_MaxArgs) << verb->m_Name;
    }
}

TEST(ScriptVerbs, AVerbRegisteredFromOutsideRunsAndItsBlockParses)
{
    std::vector<std::string> seen;
    CScriptVerb verb;
    verb.m_Name = "tally";
    verb.m_Usage = "tally WORD ... end";
    verb.m_MinArgs = verb.m_MaxArgs = 1;
    verb.m_Block = true;
    verb.m_Run = [&](CScriptContext& ctx, const CScriptCommand& cmd)
    {
        seen.push_back(cmd.m_Args[1]);
        ctx.RunBlock(cmd.m_Block);
        return true;
    };
    const CScriptVerbRegistration registration({verb});
    CHostRun run;
    EXPECT_EQ(run.Run("tally a\necho inside\nend\ntally\nend\n"), 1);
    EXPECT_EQ(seen, std::vector<std::string>{"a"});
    EXPECT_EQ(run.m_Out.str(), "inside\n");
    EXPECT_EQ(run.Errors(),
              std::vector<std::string>{
                  "test:4: tally: wrong number of arguments (usage: tally WORD ... end)"});
    EXPECT_EQ(run.Run("tally b\n"), -1);
    EXPECT_NE(run.m_Err.str().find("\"tally\" without \"end\""), std::string::npos);
}

TEST(ScriptVerbs, ALaterVerbShadowsTheEarlierUntilItIsUnregistered)
{
    auto echoing = [](const char* word)
    {
        return CScriptVerb{"shadowed",
                           "shadowed",
                           0,
                           0,
                           false,
                           false,
                           [word](CScriptContext& ctx, const CScriptCommand&)
                           {
                               ctx.Out() << word << "\n";
                               return true;
                           }};
    };
    CHostRun run;
    {
        const CScriptVerbRegistration first({echoing("first")});
        {
            const CScriptVerbRegistration second({echoing("second")});
            EXPECT_EQ(run.Run("shadowed\n"), 0);
        }
        EXPECT_EQ(run.Run("shadowed\n"), 0);
    }
    EXPECT_EQ(run.m_Out.str(), "second\nfirst\n");
    EXPECT_EQ(CScriptVerbs::Find("shadowed"), nullptr);
}

// A wrongly written command is one failure and one line naming the usage.
TEST(ScriptVerbs, AWrongCommandIsOneErrorWithTheUsage)
{
    struct
    {
        const char* m_Script;
        const char* m_Error;
    } cases[] = {
        {"frobnicate 1", "test:1: frobnicate: unknown command (tessaron-host --batch-help lists "
                         "them)"},
        {"click", "test:1: click: wrong number of arguments (usage: click ID)"},
        {"click 1 2", "test:1: click: wrong number of arguments (usage: click ID)"},
        {"timer x", "test:1: timer: not an integer: x (usage: timer COUNT)"},
        {"timer 99999999999", "test:1: timer: out of range: 99999999999 (usage: timer COUNT)"},
        {"camera 1 up", "test:1: camera: not a number: up (usage: camera YAW PITCH)"},
        {"color 1 2 300", "test:1: color: a colour component is 0..255 (usage: color R G B)"},
        {"solid 0 0 0 1 1 1 0.5", "test:1: solid: needs 6 or 9 numbers (usage: solid X0 Y0 Z0 X1 "
                                  "Y1 Z1 [R G B])"},
        {"render a.png 0 10", "test:1: render: width and height are 1..8192 (usage: render "
                              "PATH.png W H)"},
        {"answer maybe", "test:1: answer: answer must be ok, cancel, yes or no (usage: answer "
                         "ok|cancel|yes|no)"},
    };
    for (const auto& c : cases)
    {
        CHostRun run;
        EXPECT_EQ(run.Run(c.m_Script), 1) << c.m_Script;
        EXPECT_EQ(run.Errors(), std::vector<std::string>{c.m_Error}) << c.m_Script;
    }
}

TEST(ScriptVerbs, ANonNumberInADialogCommandIsOneError)
{
    CHostRun run;
    ASSERT_EQ(run.Run("plugin " TESSARON_BINARY_DIR "/bin/libTrakor3D.so\ntoolbar Trakor3D\n"
                      "check 1019 x\n"),
              1);
    EXPECT_EQ(run.Errors(),
              std::vector<std::string>{"test:3: check: not an integer: x (usage: check ID 0|1)"});
}

TEST(ScriptVerbs, ReadmeDocumentsEveryVerb)
{
    std::ifstream in(TESSARON_SOURCE_DIR "/README.md");
    ASSERT_TRUE(in);
    std::stringstream text;
    text << in.rdbuf();
    for (const CScriptVerb* verb : CScriptVerbs::All())
    {
        if (verb->m_Name == "tally") continue; // this file's own
        const std::string row = "| `" + verb->m_Name;
        const bool found = text.str().find(row + " ") != std::string::npos ||
                           text.str().find(row + "`") != std::string::npos;
        EXPECT_TRUE(found) << verb->m_Name << " is missing from the batch table in README.md";
    }
}
