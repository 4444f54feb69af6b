#pragma once

// For the life of the object, the data root is a fresh folder in memory
// (/dev/shm) when the system has one: these tests write files for every
// input and every round, and a disk under other builds makes that slow.

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/core/files.h"

class MemoryHome {
public:
    MemoryHome() : m_before(NativePath(DataRoot()))
    {
        char tmpl[] = "/dev/shm/zorva-test-XXXXXX";
        if (std::filesystem::is_directory("/dev/shm") && mkdtemp(tmpl) != nullptr) {
            m_home = tmpl;
            setenv("ZORVA_HOME", tmpl, 1);
        }
    }
    ~MemoryHome()
    {
        if (m_home.empty())
            return;
        setenv("ZORVA_HOME", m_before.c_str(), 1);
        std::error_code ec;
        std::filesystem::remove_all(m_home, ec);
    }
    MemoryHome(const MemoryHome&) = delete;
    MemoryHome& operator=(const MemoryHome&) = delete;

private:
    std::string m_before, m_home;
};
