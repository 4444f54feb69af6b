#pragma once

// Benchmarks that time work in a fresh process start themselves again as a
// child ("<self> --child ...") and read the one line it prints.

#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/spawn_program.h"

// This program's own file, for starting it again.
inline std::string SelfPath()
{
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    return n > 0 ? std::string(exe, static_cast<std::size_t>(n)) : std::string("/proc/self/exe");
}

// Runs args (args[0] the program) and returns what it printed on its
// standard output; empty when it could not start or did not exit with 0.
inline std::string RunForOutput(const std::vector<std::string>& args)
{
    int pipeFd[2];
    if (pipe(pipeFd) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFd[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFd[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFd[1]);
    const pid_t pid = SpawnProgram(args, &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFd[1]);
    std::string text;
    char block[256];
    ssize_t got = 0;
    while (pid > 0 && (got = read(pipeFd[0], block, sizeof block)) > 0)
        text.append(block, static_cast<std::size_t>(got));
    close(pipeFd[0]);
    int status = 0;
    if (pid <= 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return text;
}
