#include "testkit/BatchRun.h"

#include "testkit/Scratch.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

extern char** environ;

namespace testkit
{
namespace
{
// The child's output goes to files: pipes would need draining while it runs.
void RedirectTo(posix_spawn_file_actions_t& actions, int fd, const std::string& path)
{
    posix_spawn_file_actions_addopen(&actions, fd, path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
}

int Spawn(const std::vector<std::string>& args, const std::string& dir, const std::string& out,
          const std::string& err)
{
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    RedirectTo(actions, 1, out); // opened after the change of folder: paths are absolute
    RedirectTo(actions, 2, err);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (failed || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}
} // namespace

CBatchResult RunBatch(const std::string& script, const std::vector<std::string>& hostArgs)
{
    const std::string work = TestDir().string();
    const std::string scriptPath = WriteScratch("session.batch", script);
    setenv("PLUGINS", TESSARON_PLUGIN_DIR, 1);
    setenv("SOURCE", TESSARON_SOURCE_DIR, 1);
    setenv("WORK", work.c_str(), 1);
    std::vector<std::string> args{TESSARON_HOST};
    args.insert(args.end(), hostArgs.begin(), hostArgs.end());
    args.insert(args.end(), {"--batch", scriptPath});
    CBatchResult result;
    result.m_ExitCode = Spawn(args, work, work + "/stdout.txt", work + "/stderr.txt");
    result.m_Out = ReadText(work + "/stdout.txt");
    result.m_Err = ReadText(work + "/stderr.txt");
    return result;
}
} // namespace testkit
