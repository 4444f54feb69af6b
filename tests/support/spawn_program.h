#pragma once

#include <spawn.h>
#include <string>
#include <unistd.h>
#include <vector>

// Starts args[0] with args in this process's environment, with the file
// actions given (none by default); -1 when it could not be started.
inline pid_t SpawnProgram(const std::vector<std::string>& args, const posix_spawn_file_actions_t* actions = nullptr)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (args.empty() || posix_spawn(&pid, argv[0], actions, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}
