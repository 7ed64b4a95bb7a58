#include "host/BatchRunner.h"
#include "platform/HeadlessBackend.h"

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

struct CRun
{
    CHost host;
    std::ostringstream out, err;
    int Run(const std::string& script)
    {
        CHeadlessBackend::Instance().Reset();
        CBatchRunner runner(host, out, err);
        return runner.RunText(script, "test");
    }
};
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
    std::vector<std::string> args;
    std::string error;
    EXPECT_FALSE(CBatchRunner::Tokenize("set 1 \"open", args, error));
    EXPECT_EQ(error, "unterminated quote");
}

TEST(BatchRunner, UnbalancedModalBlocksAreRefusedBeforeAnythingRuns)
{
    CRun run;
    EXPECT_EQ(run.Run("echo first\nmodal Caption\nclick 1\n"), -1);
    EXPECT_EQ(run.out.str(), "");
    EXPECT_NE(run.err.str().find("\"modal\" without \"end\""), std::string::npos);
    EXPECT_EQ(run.Run("end\n"), -1);
}

TEST(BatchRunner, FailuresAreCountedAndNamed)
{
    CRun run;
    EXPECT_EQ(run.Run("frobnicate\nclick 5\ntoolbar Nothing\nanswer maybe\necho done\n"), 4);
    EXPECT_EQ(run.out.str(), "done\n");
    const std::string err = run.err.str();
    EXPECT_NE(err.find("test:1: frobnicate: unknown command"), std::string::npos);
    EXPECT_NE(err.find("test:2: click: no dialog is addressed"), std::string::npos);
    EXPECT_NE(err.find("test:3: toolbar: no toolbar button \"Nothing\""), std::string::npos);
}

TEST(BatchRunner, AnswersAndMessagesGoThroughTheHeadlessBackend)
{
    CRun run;
    EXPECT_EQ(run.Run("box\nmessages\n"), 0);
    EXPECT_EQ(run.out.str(), "box empty\n");
}
