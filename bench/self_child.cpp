#include "bench/self_child.h"

#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/spawn_program.h"

std::string SelfExecutable()
{
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    return n > 0 ? std::string(exe, static_cast<std::size_t>(n)) : std::string("/proc/self/exe");
}

std::optional<std::string> RunSelf(const std::vector<std::string>& args)
{
    int pipeFd[2];
    if (pipe(pipeFd) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFd[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFd[0]);
    std::vector<std::string> all{SelfExecutable()};
    all.insert(all.end(), args.begin(), args.end());
    const pid_t pid = SpawnProgram(all, &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFd[1]);
    std::string text;
    char buffer[256];
    ssize_t got;
    while (pid > 0 && (got = read(pipeFd[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(got));
    close(pipeFd[0]);
    if (pid <= 0)
        return std::nullopt;
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return text;
}

std::string LastLine(const std::string& text)
{
    const std::size_t end = text.size() >= 1 && text.back() == '\n' ? text.size() - 1 : text.size();
    const std::size_t start = text.rfind('\n', end == 0 ? 0 : end - 1);
    return start == std::string::npos ? text.substr(0, end) : text.substr(start + 1, end - start - 1);
}
