#include "host/BatchRunner.h"
#include "host/tests/HostRun.h"
#include "platform/HeadlessBackend.h"
#include "platform/ScriptVerbs.h"
#include "platform/UiServices.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace
{
std::vector<std::string> Tokens(const std::string& line)
{
    std::vector<std::string> args;
    std::string error;
    EXPECT_TRUE(CBatchRunner::Tokenize(line, args, error)) << error;
    return args;
}
} // namespace

TEST(BatchRunner, TokensQuotesCommentsAndVariables)
{
    setenv("TESSARON_TEST_DIR", "/data dir", 1);
    EXPECT_EQ(Tokens("set 1001 \"a b\"  # comment"),
              (std::vector<std::string>{"set", "1001", "a b"}));
    EXPECT_EQ(Tokens("file \"\""), (std::vector<std::string>{"file", ""}));
    EXPECT_EQ(Tokens("plugin ${TESSARON_TEST_DIR}/x.so"),
              (std::vector<std::string>{"plugin", "/data dir/x.so"}));
    EXPECT_EQ(Tokens("echo $TESSARON_TEST_DIR!"), (std::vector<std::string>{"echo", "/data dir!"}));
    EXPECT_EQ(Tokens("echo \"say \\\"hi\\\"\""), (std::vector<std::string>{"echo", "say \"hi\""}));
    EXPECT_TRUE(Tokens("   # only a comment").empty());
}

TEST(BatchRunner, QuotesJoinWithTheirNeighboursAndEscapeOnlyInside)
{
    EXPECT_EQ(Tokens("a\"b c\"d e"), (std::vector<std::string>{"ab cd", "e"}));
    EXPECT_EQ(Tokens("\"a # b\" # c"), (std::vector<std::string>{"a # b"}));
    EXPECT_EQ(Tokens("\"back\\\\slash\""), (std::vector<std::string>{"back\\slash"}));
    EXPECT_EQ(Tokens("C:\\dir \"\\n\""), (std::vector<std::string>{"C:\\dir", "\\n"}))
        << "outside quotes, and before other characters, a backslash is itself";
    EXPECT_EQ(Tokens("\tset\t1\r"), (std::vector<std::string>{"set", "1"}));
}

TEST(BatchRunner, VariablesExpandEverywhereAndUnsetOnesAreEmpty)
{
    setenv("TESSARON_TEST_A", "x y", 1);
    unsetenv("TESSARON_TEST_UNSET");
    EXPECT_EQ(Tokens("$TESSARON_TEST_A"), (std::vector<std::string>{"x y"}))
        << "a value with blanks stays one argument";
    EXPECT_EQ(Tokens("\"<$TESSARON_TEST_A>\""), (std::vector<std::string>{"<x y>"}));
    EXPECT_EQ(Tokens("${TESSARON_TEST_A}_b $TESSARON_TEST_A_b"),
              (std::vector<std::string>{"x y_b", ""}))
        << "without braces the name runs to the last name character";
    EXPECT_EQ(Tokens("a$TESSARON_TEST_UNSET.b"), (std::vector<std::string>{"a.b"}));
    EXPECT_EQ(Tokens("cost $ 5 $-"), (std::vector<std::string>{"cost", "$", "5", "$-"}));
}

TEST(BatchRunner, TwoDollarsAreOneLiteralDollar)
{
    setenv("TESSARON_TEST_HOME", "/home/x", 1);
    EXPECT_EQ(Tokens("set 1001 dollar$$TESSARON_TEST_HOME.usrbin"),
              (std::vector<std::string>{"set", "1001", "dollar$TESSARON_TEST_HOME.usrbin"}));
    EXPECT_EQ(Tokens("\"a$$$$b\" $$${TESSARON_TEST_HOME}"),
              (std::vector<std::string>{"a$$b", "$/home/x"}));
}

TEST(BatchRunner, UnterminatedQuotesAndBracesAreErrors)
{
    std::vector<std::string> args;
    std::string error;
    EXPECT_FALSE(CBatchRunner::Tokenize("set 1 \"open", args, error));
    EXPECT_EQ(error, "unterminated quote");
    EXPECT_FALSE(CBatchRunner::Tokenize("echo ${HOME", args, error));
    EXPECT_EQ(error, "unterminated ${");
    CHost host;
    std::ostringstream out, err;
    CBatchRunner runner(host, out, err);
    EXPECT_EQ(runner.RunText("echo one\necho \"two\n", "s"), -1);
    EXPECT_EQ(out.str(), "") << "nothing runs from a script that does not parse";
    EXPECT_EQ(err.str(), "s:2: unterminated quote\n");
}

TEST(BatchRunner, UnbalancedModalBlocksAreRefusedBeforeAnythingRuns)
{
    CHostRun run;
    EXPECT_EQ(run.Run("echo first\nmodal Caption\nclick 1\n"), -1);
    EXPECT_EQ(run.m_Out.str(), "");
    EXPECT_NE(run.m_Err.str().find("\"modal\" without \"end\""), std::string::npos);
    EXPECT_EQ(run.Run("end\n"), -1);
}

TEST(BatchRunner, FailuresAreCountedAndNamed)
{
    CHostRun run;
    EXPECT_EQ(run.Run("frobnicate\nclick 5\ntoolbar Nothing\nanswer maybe\necho done\n"), 4);
    EXPECT_EQ(run.m_Out.str(), "done\n");
    const std::string err = run.m_Err.str();
    EXPECT_NE(err.find("test:1: frobnicate: unknown command"), std::string::npos);
    EXPECT_NE(err.find("test:4: answer: answer must be ok"), std::string::npos);
    EXPECT_NE(err.find("test:2: click: no dialog is addressed"), std::string::npos);
    EXPECT_NE(err.find("test:3: toolbar: no toolbar button \"Nothing\""), std::string::npos);
}

TEST(BatchRunner, AnswersAndMessagesGoThroughTheHeadlessBackend)
{
    CHostRun run;
    EXPECT_EQ(run.Run("box\nmessages\n"), 0);
    EXPECT_EQ(run.m_Out.str(), "box empty\n");
}

// In the window a dialog may come up a tick late: the command is tried again without an error
// line, until the runner no longer allows it.
TEST(BatchRunner, AnAwaitedWindowIsRetriedSilentlyOnlyWhenAllowed)
{
    CHost host;
    std::ostringstream out, err;
    CBatchRunner runner(host, out, err);
    std::vector<CBatchRunner::CCommand> commands;
    std::string error;
    ASSERT_TRUE(CBatchRunner::ParseScript("dialog Later\necho now\n", "test", commands, error));

    runner.AllowRetry(true);
    EXPECT_FALSE(runner.RunOne(commands[0]));
    EXPECT_TRUE(runner.RetryWanted());
    EXPECT_TRUE(runner.RunOne(commands[1]));
    EXPECT_FALSE(runner.RetryWanted());
    EXPECT_EQ(err.str(), "");

    runner.AllowRetry(false);
    EXPECT_FALSE(runner.RunOne(commands[0]));
    EXPECT_FALSE(runner.RetryWanted());
    EXPECT_EQ(err.str(), "test:1: dialog: no shown dialog \"Later\"\n");
}

// A block runs inside a dialog that is already up: a missing window there fails at once.
TEST(BatchRunner, CommandsOfABlockAreNeverRetried)
{
    CHost host;
    std::ostringstream out, err;
    CBatchRunner runner(host, out, err);
    runner.AllowRetry(true);
    CBatchRunner::CCommand inner{"test", 2, {"dialog", "Gone"}, {}};
    runner.RunBlock({inner});
    EXPECT_FALSE(runner.RetryWanted());
    EXPECT_EQ(err.str(), "test:2: dialog: no shown dialog \"Gone\"\n");
}

namespace
{
// A command that shows a box with the icon it names, as a failed load does.
bool ShowBox(CScriptContext&, const CScriptCommand& cmd)
{
    const UINT icon = cmd.m_Args[1] == "error"  ? MB_ICONERROR
                      : cmd.m_Args[1] == "stop" ? MB_ICONSTOP
                                                : MB_ICONWARNING;
    AfxMessageBox("a box", icon);
    return true;
}
} // namespace

// A script must be able to tell that a load failed: the error box it showed fails the run.
TEST(BatchRunner, AnErrorBoxFailsTheCommandUnlessTheScriptExpectsIt)
{
    const CScriptVerbRegistration boxVerb(
        {{"testbox", "testbox error|stop|warning", 1, 1, false, false, ShowBox}});
    CHostRun plain;
    EXPECT_EQ(plain.Run("testbox warning\necho fine\n"), 0);
    CHostRun error;
    EXPECT_EQ(error.Run("testbox error\ntestbox stop\necho after\n"), 2);
    EXPECT_NE(error.m_Err.str().find("test:1: testbox: an error message box appeared: a box"),
              std::string::npos)
        << error.m_Err.str();
    EXPECT_NE(error.m_Out.str().find("after"), std::string::npos) << "the script goes on";
    CHostRun expected;
    EXPECT_EQ(expected.Run("expect error\ntestbox error\ntestbox warning\n"), 0)
        << expected.m_Err.str();
    CHostRun onlyTheNext;
    EXPECT_EQ(onlyTheNext.Run("expect error\ntestbox error\ntestbox error\n"), 1);
    CHostRun missing;
    EXPECT_EQ(missing.Run("expect error\ntestbox warning\n"), 1);
    EXPECT_NE(missing.m_Err.str().find("an error message box was expected, none appeared"),
              std::string::npos);
    CHostRun wrong;
    EXPECT_EQ(wrong.Run("expect warning\n"), 1);
}
